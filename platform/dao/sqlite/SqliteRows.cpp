#include "SqliteRows.h"

#include <sqlite3.h>

#include <string_view>

#include "DaoErrorCode.h"
#include "SqliteError.h"

namespace {

[[noreturn]] void ThrowRowDeleted() {
    ThrowDaoError(DaoErrorCode::kNotFound, "The record has been deleted.");
}

COleVariant ColumnValue(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_NULL:
            return COleVariant();
        case SQLITE_INTEGER:
            return COleVariant(static_cast<std::int64_t>(sqlite3_column_int64(stmt, column)));
        default: {
            // Reals as SQLite renders them, blobs byte for byte.
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
            const auto size = static_cast<std::size_t>(sqlite3_column_bytes(stmt, column));
            return COleVariant(std::string(text != nullptr ? text : "", size));
        }
    }
}

}  // namespace

SqliteRows::SqliteRows(sqlite3* db, const SqliteDynasetSource& source)
    : m_db(db),
      m_table(QuoteIdentifier(source.schema) + "." + QuoteIdentifier(source.table)),
      m_key(QuoteIdentifier(source.columns[static_cast<std::size_t>(source.keyColumn)])) {
    std::string list;
    for (const std::string& column : source.columns) {
        m_columns.push_back(QuoteIdentifier(column));
        list += (list.empty() ? "" : ",") + m_columns.back();
    }
    m_read = PrepareStatement(db, "SELECT " + list + " FROM " + m_table + " WHERE " + m_key + "=?");
}

std::optional<std::vector<COleVariant>> SqliteRows::Read(std::int64_t key) {
    sqlite3_stmt* stmt = m_read.get();
    SqliteStatementReset reset(stmt);
    sqlite3_bind_int64(stmt, 1, key);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) {
        return std::nullopt;
    }
    if (rc != SQLITE_ROW) {
        ThrowSqliteError(m_db);
    }
    std::vector<COleVariant> values;
    values.reserve(m_columns.size());
    for (int column = 0; column < static_cast<int>(m_columns.size()); ++column) {
        values.push_back(ColumnValue(stmt, column));
    }
    return values;
}

void SqliteRows::Write(std::int64_t key, const std::vector<PendingField>& changed) {
    std::string mask(m_columns.size(), '0');
    for (std::size_t i = 0; i < changed.size(); ++i) {
        mask[i] = changed[i].isSet ? '1' : '0';
    }
    sqlite3_stmt* stmt = UpdateStatement(mask);
    SqliteStatementReset reset(stmt);
    BindPending(stmt, mask, changed);
    sqlite3_bind_int64(stmt, sqlite3_bind_parameter_count(stmt), key);
    Execute(stmt);
    if (sqlite3_changes(m_db) == 0) {
        ThrowRowDeleted();  // deleted by another connection after it was read
    }
}

std::int64_t SqliteRows::Insert(const std::vector<PendingField>& pending) {
    std::string mask(m_columns.size(), '0');
    for (std::size_t i = 0; i < pending.size(); ++i) {
        mask[i] = pending[i].isSet ? '1' : '0';
    }
    sqlite3_stmt* stmt = InsertStatement(mask);
    SqliteStatementReset reset(stmt);
    BindPending(stmt, mask, pending);
    Execute(stmt);
    return sqlite3_last_insert_rowid(m_db);
}

bool SqliteRows::Remove(std::int64_t key) {
    if (!m_delete) {
        m_delete = PrepareStatement(m_db, "DELETE FROM " + m_table + " WHERE " + m_key + "=?");
    }
    SqliteStatementReset reset(m_delete.get());
    sqlite3_bind_int64(m_delete.get(), 1, key);
    Execute(m_delete.get());
    return sqlite3_changes(m_db) > 0;
}

sqlite3_stmt* SqliteRows::UpdateStatement(const std::string& mask) {
    SqliteStatement& stmt = m_updates[mask];
    if (!stmt) {
        std::string sql = "UPDATE " + m_table + " SET ";
        const char* separator = "";
        for (std::size_t i = 0; i < mask.size(); ++i) {
            if (mask[i] == '1') {
                sql += separator + m_columns[i] + "=?";
                separator = ",";
            }
        }
        sql += " WHERE " + m_key + "=?";
        stmt = PrepareStatement(m_db, sql);
    }
    return stmt.get();
}

sqlite3_stmt* SqliteRows::InsertStatement(const std::string& mask) {
    SqliteStatement& stmt = m_inserts[mask];
    if (!stmt) {
        std::string columns;
        std::string values;
        for (std::size_t i = 0; i < mask.size(); ++i) {
            if (mask[i] == '1') {
                columns += (columns.empty() ? "" : ",") + m_columns[i];
                values += values.empty() ? "?" : ",?";
            }
        }
        stmt = PrepareStatement(m_db, columns.empty() ? "INSERT INTO " + m_table + " DEFAULT VALUES"
                                                      : "INSERT INTO " + m_table + " (" + columns +
                                                            ") VALUES (" + values + ")");
    }
    return stmt.get();
}

void SqliteRows::BindPending(sqlite3_stmt* stmt, const std::string& mask,
                             const std::vector<PendingField>& pending) {
    int parameter = 0;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] != '1') {
            continue;
        }
        const std::optional<std::string>& value = pending[i].value;
        // The pending values outlive the statement's run, so SQLite need not copy them.
        const int rc = value ? sqlite3_bind_text64(stmt, ++parameter, value->data(), value->size(),
                                                   nullptr, SQLITE_UTF8)
                             : sqlite3_bind_null(stmt, ++parameter);
        if (rc != SQLITE_OK) {
            ThrowSqliteError(m_db);
        }
    }
}

void SqliteRows::Execute(sqlite3_stmt* stmt) {
    if (sqlite3_step(stmt) != SQLITE_DONE) {
        ThrowSqliteError(m_db);
    }
}
