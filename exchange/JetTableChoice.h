#pragma once

#include <QString>
#include <array>
#include <vector>

#include "JetColumn.h"

// Which table of an old catalogue holds the articles, and which of its columns are the four
// fields and the key:
// - the table named by the user, if any;
// - else "Zeitschriften", the Windows program's own table, whose fields 1 to 4 are the record's
//   texts and whose field 0 its number;
// - else the table whose column names name the most fields (at least two), by the names the CSV
//   import knows;
// - else the only table there is.
// A table other than "Zeitschriften" gives its fields by name, else its first four text
// columns. The key is the primary key, else the first column, if it is a whole number.
struct JetTableChoice {
    std::size_t table = 0;
    std::array<int, 4> fields{-1, -1, -1, -1};  // column of each article field, -1 for none
    int key = -1;

    // Throws TableChoiceError when the rules do not decide, ExchangeError when the named table
    // does not exist or the chosen one has no column with texts. `file` names the file in the
    // messages.
    static JetTableChoice Make(const std::vector<JetTableInfo>& tables, const QString& requested,
                               const QString& file);
};
