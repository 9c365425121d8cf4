#include "TableAppender.h"

#include <sqlite3.h>

#include "CDaoDatabase.h"
#include "SqliteEngine.h"
#include "SqliteError.h"

TableAppender::TableAppender(CDaoDatabase& database, std::string_view table,
                             const std::vector<std::string>& columns)
    : m_database(database), m_table(QuoteIdentifier(table)), m_nColumns(columns.size()) {
    std::string names;
    std::string params;
    for (const std::string& column : columns) {
        names += (names.empty() ? "" : ", ") + QuoteIdentifier(column);
        params += params.empty() ? "?" : ", ?";
    }
    m_insert = PrepareStatement(SqliteHandleOf(database), "INSERT INTO " + m_table + " (" + names +
                                                              ") VALUES (" + params + ")");
}

void TableAppender::Append(std::span<const std::optional<std::string>> values) {
    if (values.size() != m_nColumns) {
        ThrowDaoError(SQLITE_RANGE, "The row has the wrong number of values.");
    }
    sqlite3_stmt* stmt = m_insert.get();
    SqliteStatementReset reset(stmt);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int parameter = static_cast<int>(i + 1);
        const int rc = values[i]
                           ? sqlite3_bind_text64(stmt, parameter, values[i]->data(),
                                                 values[i]->size(), SQLITE_STATIC, SQLITE_UTF8)
                           : sqlite3_bind_null(stmt, parameter);
        if (rc != SQLITE_OK) {
            ThrowSqliteError(SqliteHandleOf(m_database));
        }
    }
    if (sqlite3_step(stmt) != SQLITE_DONE) {
        ThrowSqliteError(SqliteHandleOf(m_database));
    }
}

void TableAppender::Clear() {
    const SqliteStatement remove =
        PrepareStatement(SqliteHandleOf(m_database), "DELETE FROM " + m_table);
    if (sqlite3_step(remove.get()) != SQLITE_DONE) {
        ThrowSqliteError(SqliteHandleOf(m_database));
    }
}
