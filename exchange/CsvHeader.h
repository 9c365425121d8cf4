#pragma once

#include <QString>
#include <vector>

// Recognises a header row by its column names: the catalogue's four German names and the usual
// German and English names of spreadsheets and reference managers ("Titel", "title", "journal",
// "issue", "page", ...). Case, spaces and punctuation do not matter.
class CsvHeader {
public:
    // The article field (0 to 3) that a column of this name holds, or -1.
    static int FieldOfName(const QString& name);

    // For each cell, the field it holds (-1 for none, and for a field named twice, whose first
    // column counts); empty when the row is data: fewer than two fields named, a cell without
    // letters (a number, an issue), or an empty cell before a named one.
    static std::vector<int> ColumnFields(const std::vector<QString>& cells);
};
