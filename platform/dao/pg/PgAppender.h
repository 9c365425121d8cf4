#pragma once

#include <string>
#include <vector>

#include "DaoAppender.h"

class PgConnection;

// Loads many rows into one table of a server with a single COPY: the rows stream to the server
// in large blocks instead of taking a round trip each. Runs inside the connection's current
// write transaction; while it lives the connection takes no other statement. Failures throw
// CDaoException pointers with the server's message.
class PgAppender : public DaoAppender {
public:
    // `table` and `columns` as an SQL text names them unquoted. With `emptyTable` the table's
    // secondary indexes are dropped now and built again by Finish: built once over all the rows
    // they cost much less than kept up to date row by row.
    PgAppender(PgConnection& connection, const std::string& table,
               const std::vector<std::string>& columns, bool emptyTable);
    // A copy that was not finished ends as failed, which leaves its transaction to roll back.
    ~PgAppender() override;
    PgAppender(const PgAppender&) = delete;
    PgAppender& operator=(const PgAppender&) = delete;

    void Append(std::span<const std::optional<std::string>> values) override;
    // Sends what is left, waits until the server has stored every row, builds the indexes that
    // were put off and moves the key generators of the loaded columns above their highest key.
    void Finish() override;

private:
    void PutOffIndexes();
    void ContinueKeyGenerators();
    void Send();

    PgConnection& m_connection;
    std::string m_table;                 // as the server names it, quoted
    std::vector<std::string> m_columns;  // as the server names them
    std::vector<std::string> m_indexes;  // the definitions of the indexes put off
    std::string m_buffer;
    bool m_bOpen = false;
};
