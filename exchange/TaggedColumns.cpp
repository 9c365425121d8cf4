#include "TaggedColumns.h"

#include <algorithm>

TaggedColumns::TaggedColumns(std::vector<Chain> chains, QStringList askedOnly,
                             std::optional<std::vector<ImportColumn>> chosen)
    : m_chains(std::move(chains)), m_askedOnly(std::move(askedOnly)), m_chosen(std::move(chosen)) {}

TaggedColumns::Route TaggedColumns::RouteOf(const QString& tag) const {
    const auto rankIn = [&](ColumnTarget target) -> std::optional<int> {
        for (const Chain& chain : m_chains) {
            if (chain.target == target && chain.tags.contains(tag)) {
                return static_cast<int>(chain.tags.indexOf(tag));
            }
        }
        return std::nullopt;
    };
    if (m_chosen) {
        const auto chosen =
            std::find_if(m_chosen->begin(), m_chosen->end(), [&](const ImportColumn& c) {
                return c.heading.trimmed().compare(tag, Qt::CaseInsensitive) == 0;
            });
        // A tag the user did not name may first appear after the records the preview showed;
        // it goes where it would have gone.
        if (chosen != m_chosen->end()) {
            // Tags sent to a target of their own chain keep their place in it; others follow.
            const int after = 100 + static_cast<int>(std::distance(m_chosen->begin(), chosen));
            return {chosen->target, rankIn(chosen->target).value_or(after)};
        }
    }
    if (!m_askedOnly.contains(tag)) {
        for (const Chain& chain : m_chains) {
            if (chain.tags.contains(tag)) {
                return {chain.target, static_cast<int>(chain.tags.indexOf(tag))};
            }
        }
    }
    return {ColumnTarget::None, 0};
}

TaggedColumns::Route TaggedColumns::Meet(const QString& tag, const QString& value) {
    auto found = m_columnOf.constFind(tag);
    if (found == m_columnOf.constEnd()) {
        const Route route = RouteOf(tag);
        found = m_columnOf.insert(tag, m_columns.size());
        m_columns.push_back({tag, route.target, {}});
        m_routes.push_back(route);
        m_untakenText.push_back(false);
    }
    const std::size_t index = *found;
    if (m_columns[index].example.isEmpty()) {
        m_columns[index].example = value;
    }
    if (m_routes[index].target == ColumnTarget::None && !value.trimmed().isEmpty()) {
        m_untakenText[index] = true;
    }
    return m_routes[index];
}

QStringList TaggedColumns::Untaken() const {
    QStringList untaken;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (m_untakenText[i]) {
            untaken.append(m_columns[i].heading);
        }
    }
    return untaken;
}
