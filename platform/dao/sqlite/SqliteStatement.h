#pragma once

#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

struct SqliteStatementFinalizer {
    void operator()(sqlite3_stmt* stmt) const;
};

// A prepared statement that is finalized with its owner.
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteStatementFinalizer>;

// Prepares one statement; throws CDaoException with SQLite's message when it does not compile.
SqliteStatement PrepareStatement(sqlite3* db, std::string_view sql);

// Resets a statement when the scope ends, so that no statement keeps a read lock on the file
// once the caller has what it needed from it.
class SqliteStatementReset {
public:
    explicit SqliteStatementReset(sqlite3_stmt* stmt) : m_stmt(stmt) {}
    ~SqliteStatementReset();
    SqliteStatementReset(const SqliteStatementReset&) = delete;
    SqliteStatementReset& operator=(const SqliteStatementReset&) = delete;

private:
    sqlite3_stmt* m_stmt;
};

// `name` as an SQL identifier in double quotes.
std::string QuoteIdentifier(std::string_view name);
