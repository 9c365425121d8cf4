#pragma once

#include <string>
#include <vector>

struct sqlite3;

// What a dynaset needs to know about its SQL text: the one table the rows come from, the
// table column behind each result column, and how to list the selected keys in order.
struct SqliteDynasetSource {
    std::string schema;
    std::string table;
    // The table's columns that the result columns show, each once, in order of first use.
    std::vector<std::string> columns;
    // For each result column, its entry in `columns`.
    std::vector<int> fieldColumns;
    // The entry in `columns` that is the table's INTEGER PRIMARY KEY.
    int keyColumn = -1;
    // Lists the keys of the selected rows in the SQL text's order, reading no more columns than
    // the selection needs; keyQueryColumn is the column of its result that holds the key.
    std::string keyQuery;
    int keyQueryColumn = 0;
    // The keys above `?` that the selection holds, in order; empty when the key's result name
    // is ambiguous.
    std::string laterKeysQuery;
    // One row if the selection holds the row whose key is `?`; empty like laterKeysQuery.
    std::string selectsKeyQuery;
    // The number of rows the selection holds.
    std::string countQuery;
    // How many values the SQL text's placeholders take; every query above takes them first.
    int parameterCount = 0;
};

// Compiles `sql` to learn its source; throws CDaoException when it does not compile, is not a
// single query, reads more than one table or does not show that table's integer primary key.
SqliteDynasetSource AnalyseDynasetQuery(sqlite3* db, const std::string& sql);
