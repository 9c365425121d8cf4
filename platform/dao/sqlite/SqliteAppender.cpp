#include "SqliteAppender.h"

#include <sqlite3.h>

#include "DaoErrorCode.h"
#include "SqliteError.h"

SqliteAppender::SqliteAppender(sqlite3* db, const std::string& table,
                               const std::vector<std::string>& columns)
    : m_db(db), m_nColumns(columns.size()) {
    std::string names;
    std::string params;
    for (const std::string& column : columns) {
        names += (names.empty() ? "" : ", ") + QuoteIdentifier(column);
        params += params.empty() ? "?" : ", ?";
    }
    m_insert = PrepareStatement(
        db, "INSERT INTO " + QuoteIdentifier(table) + " (" + names + ") VALUES (" + params + ")");
}

void SqliteAppender::Append(std::span<const std::optional<std::string>> values) {
    if (values.size() != m_nColumns) {
        ThrowDaoError(DaoErrorCode::kRange, "The row has the wrong number of values.");
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
            ThrowSqliteError(m_db);
        }
    }
    if (sqlite3_step(stmt) != SQLITE_DONE) {
        ThrowSqliteError(m_db);
    }
}
