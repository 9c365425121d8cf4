#include "SqliteStatement.h"

#include <sqlite3.h>

#include <climits>

#include "DaoErrorCode.h"
#include "SqliteError.h"

void SqliteStatementFinalizer::operator()(sqlite3_stmt* stmt) const {
    sqlite3_finalize(stmt);
}

SqliteStatement PrepareStatement(sqlite3* db, std::string_view sql) {
    if (sql.size() > static_cast<std::size_t>(INT_MAX)) {
        ThrowDaoError(DaoErrorCode::kTooBig, "The SQL text is too long.");
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(stmt);
        ThrowSqliteError(db);
    }
    if (stmt == nullptr) {
        ThrowDaoError(DaoErrorCode::kMisuse, "The SQL text contains no statement.");
    }
    return SqliteStatement(stmt);
}

SqliteStatementReset::~SqliteStatementReset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

std::string QuoteIdentifier(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    quoted += '"';
    return quoted;
}
