#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "SqliteStatement.h"

class CDaoDatabase;

// Reads the rows an SQL text selects once, front to back, without keeping them: for passes over
// a whole table that must not grow with it. The database must stay open while the cursor lives.
class ForwardCursor {
public:
    // Throws CDaoException when the SQL text does not compile. `parameters` are bound as text to
    // the SQL text's placeholders, in order.
    ForwardCursor(CDaoDatabase& database, std::string_view sql,
                  const std::vector<std::string>& parameters = {});

    // Steps to the next row; false once there is none. Throws on a read failure.
    bool MoveNext();
    // Field `index` of the current row as UTF-8 text, empty for NULL. Valid until the next step.
    std::string_view GetText(int index) const;
    bool IsNull(int index) const;
    int GetFieldCount() const;
    // The name of column `index` as the SQL text gives it.
    std::string_view GetFieldName(int index) const;

private:
    CDaoDatabase& m_database;
    SqliteStatement m_stmt;
};
