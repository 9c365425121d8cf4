#pragma once

#include <string>
#include <vector>

#include "DaoCursor.h"
#include "SqliteStatement.h"

struct sqlite3;

// A query's rows stepped through once by one prepared statement.
class SqliteCursor : public DaoCursor {
public:
    // Throws CDaoException when the SQL text does not compile or takes other values.
    SqliteCursor(sqlite3* db, const std::string& sql, const std::vector<std::string>& parameters);

    bool MoveNext() override;
    std::optional<std::string_view> GetValue(int index) const override;
    int GetFieldCount() const override;
    std::string GetFieldName(int index) const override;

private:
    sqlite3* m_db;
    SqliteStatement m_stmt;
};
