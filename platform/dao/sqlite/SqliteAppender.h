#pragma once

#include <string>
#include <vector>

#include "DaoAppender.h"
#include "SqliteStatement.h"

struct sqlite3;

// Appends rows in the caller's transaction, many rows to one prepared INSERT: each statement
// costs SQLite a setup and, for a key that counts up, a write of its counter, which a batch pays
// once. Rows wait here until a batch is full or Finish; a failing row therefore fails there.
// Keys given with the rows move SQLite's key generator along by themselves.
class SqliteAppender : public DaoAppender {
public:
    // Throws CDaoException when the table or a column does not exist.
    SqliteAppender(sqlite3* db, const std::string& table, const std::vector<std::string>& columns);

    void Append(std::span<const std::optional<std::string>> values) override;
    void Finish() override;

private:
    // Inserts the rows that wait, with one statement.
    void Flush();
    SqliteStatement Prepare(std::size_t rows) const;

    sqlite3* m_db;
    std::size_t m_nColumns;
    std::string m_insertInto;  // up to VALUES
    SqliteStatement m_batch;   // for a full batch
    // The waiting rows' values one after another, and where each stands.
    std::string m_values;
    struct Span {
        std::size_t offset;
        std::size_t size;
        bool null;
    };
    std::vector<Span> m_spans;
};
