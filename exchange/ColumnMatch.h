#pragma once

#include <vector>

#include "ImportSettings.h"

// Finds the columns a user named (by heading, or by number counted from 1) among a source's.
class ColumnMatch {
public:
    // The target of each of `headings`: the one of the first wanted column of its name not yet
    // matched, None for a column nobody named. Throws ExchangeError naming a wanted column that
    // the source does not have.
    static std::vector<ColumnTarget> Targets(const std::vector<QString>& headings,
                                             const std::vector<ImportColumn>& wanted);
    // Whether `name`, as a user typed it, names the column `heading` at `index` (from 0).
    static bool Names(const QString& name, const QString& heading, std::size_t index);
};
