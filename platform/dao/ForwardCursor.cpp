#include "ForwardCursor.h"

#include <sqlite3.h>

#include "CDaoDatabase.h"
#include "SqliteError.h"

ForwardCursor::ForwardCursor(CDaoDatabase& database, std::string_view sql)
    : m_database(database), m_stmt(PrepareStatement(database.Handle(), sql)) {}

bool ForwardCursor::MoveNext() {
    switch (sqlite3_step(m_stmt.get())) {
        case SQLITE_ROW:
            return true;
        case SQLITE_DONE:
            return false;
        default:
            ThrowSqliteError(m_database.Handle());
    }
}

std::string_view ForwardCursor::GetText(int index) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt.get(), index));
    if (text == nullptr) {
        return {};
    }
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(m_stmt.get(), index))};
}

int ForwardCursor::GetFieldCount() const {
    return sqlite3_column_count(m_stmt.get());
}

std::string_view ForwardCursor::GetFieldName(int index) const {
    const char* name = sqlite3_column_name(m_stmt.get(), index);
    return name ? std::string_view(name) : std::string_view();
}
