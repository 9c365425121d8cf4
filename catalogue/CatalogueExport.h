#pragma once

#include <QString>
#include <string>
#include <vector>

// Writes the records that `sql`, with `parameters` bound to its placeholders, selects from the
// catalogue (a file, a link or a server) into `target`, in the format of its extension (.csv,
// .ris, .bib), in the order of their keys, as the form shows them; `sql` has no ORDER BY of its
// own. The file appears only once it is complete; an existing file is replaced then. Returns
// the number of records written.
//
// Throws ExchangeError with a German message.
long ExportRecords(const QString& catalogue, const std::string& sql,
                   const std::vector<std::string>& parameters, const QString& target);
