#include "PgCursor.h"

#include <libpq-fe.h>

#include "CDaoException.h"

namespace {

// Cursors of one connection need names of their own while they live side by side.
std::string NewCursorName() {
    static unsigned long s_nCursors = 0;
    return "periolex_rows_" + std::to_string(++s_nCursors);
}

}  // namespace

PgCursor::PgCursor(PgConnection& connection, const PgQueryText& query, int chunk)
    : m_connection(connection),
      m_nChunk(chunk),
      m_name(NewCursorName()),
      m_fetch("FETCH " + std::to_string(chunk) + " FROM " + m_name) {
    m_connection.Run("DECLARE " + m_name + " NO SCROLL CURSOR FOR " + query.sql, query.values);
    m_rows = m_connection.Run(m_fetch);
}

PgCursor::~PgCursor() {
    // The end of the transaction closes the cursor as well; only a transaction that goes on
    // needs it closed, and a failure here has nobody to tell.
    if (m_connection.IsBroken() || !m_connection.InTransaction()) {
        return;
    }
    try {
        m_connection.RunWaiting("CLOSE " + m_name, {}, m_connection.AnswerDeadline());
    } catch (CDaoException* e) {
        e->Delete();
    }
}

bool PgCursor::MoveNext() {
    if (++m_nRow < PQntuples(m_rows.get())) {
        return true;
    }
    if (PQntuples(m_rows.get()) < m_nChunk) {
        return false;  // a short chunk was the last
    }
    m_rows = m_connection.Run(m_fetch);
    m_nRow = 0;
    return PQntuples(m_rows.get()) > 0;
}

std::optional<std::string_view> PgCursor::GetValue(int index) const {
    if (PQgetisnull(m_rows.get(), m_nRow, index) != 0) {
        return std::nullopt;
    }
    return std::string_view(PQgetvalue(m_rows.get(), m_nRow, index),
                            static_cast<std::size_t>(PQgetlength(m_rows.get(), m_nRow, index)));
}

int PgCursor::GetFieldCount() const {
    return PQnfields(m_rows.get());
}

std::string PgCursor::GetFieldName(int index) const {
    const char* name = PQfname(m_rows.get(), index);
    return name != nullptr ? name : "";
}
