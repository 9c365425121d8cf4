#pragma once

#include <string>

#include "DaoCursor.h"
#include "PgConnection.h"
#include "PgQueryText.h"

// Reads the rows a query selects once, front to back, through a cursor on the server that hands
// them over many at a time: neither a round trip per row nor the whole result in memory. Needs
// a transaction open on the connection for as long as it lives.
class PgCursor : public DaoCursor {
public:
    // Throws CDaoException when the query cannot run.
    PgCursor(PgConnection& connection, const PgQueryText& query, int chunk = 10000);
    ~PgCursor() override;
    PgCursor(const PgCursor&) = delete;
    PgCursor& operator=(const PgCursor&) = delete;

    bool MoveNext() override;
    std::optional<std::string_view> GetValue(int index) const override;
    int GetFieldCount() const override;
    std::string GetFieldName(int index) const override;

private:
    PgConnection& m_connection;
    int m_nChunk;
    std::string m_name;
    std::string m_fetch;
    PgResult
        m_rows;  // the chunk at hand; the first comes with the cursor, so its columns are known
    int m_nRow = -1;  // within m_rows
};
