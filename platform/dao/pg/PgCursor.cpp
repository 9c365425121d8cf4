#include "PgCursor.h"

#include <libpq-fe.h>

#include <string>

namespace {

constexpr const char* kName = "periolex_rows";

}  // namespace

PgCursor::PgCursor(PgConnection& connection, std::string_view sql, int chunk)
    : m_connection(connection),
      m_nChunk(chunk),
      m_fetch("FETCH " + std::to_string(chunk) + " FROM " + kName) {
    m_connection.RunScript("DECLARE " + std::string(kName) + " NO SCROLL CURSOR FOR " +
                           std::string(sql));
}

PgCursor::~PgCursor() {
    // Raw, so that a connection that has failed meanwhile throws nothing here.
    PQclear(PQexec(m_connection.Handle(), (std::string("CLOSE ") + kName).c_str()));
}

bool PgCursor::MoveNext() {
    if (m_rows) {
        if (++m_nRow < PQntuples(m_rows.get())) {
            return true;
        }
        if (PQntuples(m_rows.get()) < m_nChunk) {
            return false;  // a short chunk was the last
        }
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
