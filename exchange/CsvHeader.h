#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "ImportSettings.h"

// Recognises a heading row as a person would: at least one of its cells is a known column name
// (the catalogue's German names and the usual German and English names of spreadsheets, reference
// managers and literature databases, in any case and spelling: "Titel", "title", "Journal/Book",
// "Publication Year", ...), and none of its cells looks like the data below it.
class CsvHeader {
public:
    // The target of a column of this name; nullopt for a name it does not know.
    static std::optional<ColumnTarget> KnownTarget(const QString& name);

    static bool IsHeading(const std::vector<QString>& first,
                          const std::vector<std::vector<QString>>& below);

    // The target of each column of a heading; a target named twice goes to its first column.
    static std::vector<ColumnTarget> Targets(const std::vector<QString>& heading);
};
