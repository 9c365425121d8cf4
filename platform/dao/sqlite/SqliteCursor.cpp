#include "SqliteCursor.h"

#include <sqlite3.h>

#include "SqliteError.h"

SqliteCursor::SqliteCursor(sqlite3* db, const std::string& sql,
                           const std::vector<std::string>& parameters)
    : m_db(db), m_stmt(PrepareStatement(db, sql)) {
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        if (sqlite3_bind_text64(m_stmt.get(), static_cast<int>(i + 1), parameters[i].data(),
                                parameters[i].size(), SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK) {
            ThrowSqliteError(m_db);
        }
    }
}

bool SqliteCursor::MoveNext() {
    switch (sqlite3_step(m_stmt.get())) {
        case SQLITE_ROW:
            return true;
        case SQLITE_DONE:
            return false;
        default:
            ThrowSqliteError(m_db);
    }
}

std::optional<std::string_view> SqliteCursor::GetValue(int index) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt.get(), index));
    if (text == nullptr) {
        return std::nullopt;
    }
    return std::string_view(text,
                            static_cast<std::size_t>(sqlite3_column_bytes(m_stmt.get(), index)));
}

int SqliteCursor::GetFieldCount() const {
    return sqlite3_column_count(m_stmt.get());
}

std::string SqliteCursor::GetFieldName(int index) const {
    const char* name = sqlite3_column_name(m_stmt.get(), index);
    return name != nullptr ? name : "";
}
