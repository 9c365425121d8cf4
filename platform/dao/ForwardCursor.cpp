#include "ForwardCursor.h"

#include <sqlite3.h>

#include "CDaoDatabase.h"
#include "SqliteEngine.h"
#include "SqliteError.h"

ForwardCursor::ForwardCursor(CDaoDatabase& database, std::string_view sql,
                             const std::vector<std::string>& parameters)
    : m_database(database), m_stmt(PrepareStatement(SqliteHandleOf(database), sql)) {
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        if (sqlite3_bind_text(m_stmt.get(), static_cast<int>(i + 1), parameters[i].data(),
                              static_cast<int>(parameters[i].size()),
                              SQLITE_TRANSIENT) != SQLITE_OK) {
            ThrowSqliteError(SqliteHandleOf(m_database));
        }
    }
}

bool ForwardCursor::MoveNext() {
    switch (sqlite3_step(m_stmt.get())) {
        case SQLITE_ROW:
            return true;
        case SQLITE_DONE:
            return false;
        default:
            ThrowSqliteError(SqliteHandleOf(m_database));
    }
}

std::string_view ForwardCursor::GetText(int index) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt.get(), index));
    if (text == nullptr) {
        return {};
    }
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(m_stmt.get(), index))};
}

bool ForwardCursor::IsNull(int index) const {
    return sqlite3_column_type(m_stmt.get(), index) == SQLITE_NULL;
}

int ForwardCursor::GetFieldCount() const {
    return sqlite3_column_count(m_stmt.get());
}

std::string_view ForwardCursor::GetFieldName(int index) const {
    const char* name = sqlite3_column_name(m_stmt.get(), index);
    return name ? std::string_view(name) : std::string_view();
}
