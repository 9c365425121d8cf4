#pragma once

#include <optional>
#include <string_view>

#include "PgConnection.h"

// Reads the rows a query selects once, front to back, through a cursor on the server that hands
// them over many at a time: neither a round trip per row nor the whole result in memory. Needs
// a transaction open on the connection for as long as it lives, and only one at a time there.
class PgCursor {
public:
    // Throws CDaoException when the query cannot run.
    PgCursor(PgConnection& connection, std::string_view sql, int chunk = 10000);
    ~PgCursor();
    PgCursor(const PgCursor&) = delete;
    PgCursor& operator=(const PgCursor&) = delete;

    // Steps to the next row; false once there is none.
    bool MoveNext();
    // Column `index` of the current row as text, nullopt for NULL; valid until the next step.
    std::optional<std::string_view> GetValue(int index) const;

private:
    PgConnection& m_connection;
    int m_nChunk;
    std::string m_fetch;
    PgResult m_rows;
    int m_nRow = -1;  // within m_rows
};
