#pragma once

#include <QString>

// Writes the records that `sql` selects from the catalogue into `target`, in the format of its
// extension (.csv, .ris, .bib), in the order the statement gives them. The file appears only once
// it is complete; an existing file is replaced then. Returns the number of records written.
//
// Throws ExchangeError with a German message.
long ExportRecords(const QString& catalogue, const QString& sql, const QString& target);
