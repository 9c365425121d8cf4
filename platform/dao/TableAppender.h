#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "DaoAppender.h"

class CDaoDatabase;

// Appends many rows to one table inside a write transaction of the database, each engine in its
// fastest way (a prepared statement on a file, a stream of rows to a server). Values are bound
// as text, never spliced into SQL. Finish ends the load before the transaction commits.
class TableAppender {
public:
    // `table` and `columns` as an SQL text names them. `emptyTable`: the table holds no rows in
    // this transaction (it was just made or emptied), so its indexes may be built after the
    // load. Throws CDaoException when the table or a column does not exist, or no write
    // transaction is open.
    TableAppender(CDaoDatabase& database, const std::string& table,
                  const std::vector<std::string>& columns, bool emptyTable = false);

    // One value per column, in the order given to the constructor; nullopt stands for NULL.
    void Append(std::span<const std::optional<std::string>> values) { m_pAppender->Append(values); }
    // Stores what is left, makes the indexes whole and sets the key generator above the
    // highest key.
    void Finish() { m_pAppender->Finish(); }

private:
    std::unique_ptr<DaoAppender> m_pAppender;
};
