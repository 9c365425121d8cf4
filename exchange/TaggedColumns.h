#pragma once

#include <QHash>
#include <QStringList>
#include <optional>
#include <vector>

#include "ImportSettings.h"

// The columns of a tagged format (RIS tags, BibTeX fields), met as the entries come. Each goes
// to its target along chains of tags, the first with text winning ("TI", else "T1", ...), or
// where the user sent it instead. Keeps for the preview what each column held first, and which
// columns held text that went nowhere.
class TaggedColumns {
public:
    struct Chain {
        ColumnTarget target;
        QStringList tags;  // first choice first
    };
    struct Route {
        ColumnTarget target;
        int rank;  // lower wins
    };

    // `askedOnly` are tags of the chains that go there only when the user sends them.
    TaggedColumns(std::vector<Chain> chains, QStringList askedOnly,
                  std::optional<std::vector<ImportColumn>> chosen);

    // Notes the value of a tag in the entry being read; where it goes.
    Route Meet(const QString& tag, const QString& value);

    const std::vector<ImportColumn>& Columns() const { return m_columns; }
    QStringList Untaken() const;

private:
    Route RouteOf(const QString& tag) const;

    std::vector<Chain> m_chains;
    QStringList m_askedOnly;
    std::optional<std::vector<ImportColumn>> m_chosen;
    std::vector<ImportColumn> m_columns;  // in the order met
    std::vector<Route> m_routes;          // per column
    std::vector<bool> m_untakenText;      // per column
    QHash<QString, std::size_t> m_columnOf;
};
