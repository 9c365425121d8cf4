#pragma once

#include <string>
#include <vector>

#include "DaoAppender.h"
#include "SqliteStatement.h"

struct sqlite3;

// Appends rows with one prepared INSERT, run once per row in the caller's transaction. Keys
// given with the rows move SQLite's key generator along by themselves.
class SqliteAppender : public DaoAppender {
public:
    // Throws CDaoException when the table or a column does not exist.
    SqliteAppender(sqlite3* db, const std::string& table, const std::vector<std::string>& columns);

    void Append(std::span<const std::optional<std::string>> values) override;
    void Finish() override {}

private:
    sqlite3* m_db;
    std::size_t m_nColumns;
    SqliteStatement m_insert;
};
