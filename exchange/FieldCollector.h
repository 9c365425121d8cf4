#pragma once

#include <array>
#include <climits>

#include "ArticleFields.h"
#include "ImportSettings.h"

// Gathers what the columns of one source record offer and makes the record's four fields of it:
// for each target the value with text from the column of the lowest rank, and the year joined to
// the issue number as "3/1996" (the year alone when there is no number). A year column may hold
// a whole date; its four-digit year is taken.
class FieldCollector {
public:
    void Offer(ColumnTarget target, int rank, const QString& value);
    // The fields of what was offered; the collector is empty again afterwards.
    ArticleFields Take();

    static QString YearOf(const QString& text);

private:
    static constexpr std::size_t kTargets = 6;
    std::array<QString, kTargets> m_values;
    std::array<int, kTargets> m_ranks = Unranked();

    static constexpr std::array<int, kTargets> Unranked() {
        std::array<int, kTargets> ranks{};
        ranks.fill(INT_MAX);
        return ranks;
    }
};
