#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "SqliteStatement.h"

class CDaoDatabase;

// Appends many rows to one table with a single prepared statement, for bulk loading inside a
// CDaoTransaction. Values are bound as text, never spliced into SQL.
class TableAppender {
public:
    // Throws CDaoException when the table or a column does not exist.
    TableAppender(CDaoDatabase& database, std::string_view table,
                  const std::vector<std::string>& columns);

    // One value per column, in the order given to the constructor; nullopt stands for NULL.
    void Append(std::span<const std::optional<std::string>> values);
    // Removes every row of the table.
    void Clear();

private:
    CDaoDatabase& m_database;
    std::string m_table;  // quoted
    std::size_t m_nColumns;
    SqliteStatement m_insert;
};
