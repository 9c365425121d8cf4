#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class PgConnection;

// Loads many rows into one table of a server with a single COPY: the rows stream to the server
// in large blocks instead of taking a round trip each. Runs inside the connection's current
// transaction; while it lives the connection takes no other statement. Failures throw
// CDaoException pointers with the server's message.
class PgCopyIn {
public:
    // `table` and `columns` are spliced in as given, so they must be trusted names.
    PgCopyIn(PgConnection& connection, std::string_view table,
             const std::vector<std::string>& columns);
    // A copy that was not finished ends as failed, which leaves its transaction to roll back.
    ~PgCopyIn();
    PgCopyIn(const PgCopyIn&) = delete;
    PgCopyIn& operator=(const PgCopyIn&) = delete;

    // One value per column, in the order given to the constructor; nullopt stands for NULL.
    void Append(std::span<const std::optional<std::string>> values);
    // Sends what is left and waits until the server has stored every row.
    void Finish();

private:
    void Send();

    PgConnection& m_connection;
    std::size_t m_nColumns;
    std::string m_buffer;
    bool m_bOpen = false;
};
