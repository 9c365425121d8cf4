#include "FieldCollector.h"

#include <QRegularExpression>

#include "IssueNumber.h"

void FieldCollector::Offer(ColumnTarget target, int rank, const QString& value) {
    const auto slot = static_cast<std::size_t>(target);
    if (target == ColumnTarget::None || value.isEmpty() || rank >= m_ranks[slot]) {
        return;
    }
    m_values[slot] = value;
    m_ranks[slot] = rank;
}

ArticleFields FieldCollector::Take() {
    const auto value = [this](ColumnTarget target) -> QString& {
        return m_values[static_cast<std::size_t>(target)];
    };
    ArticleFields fields;
    fields[kMagazineField] = std::move(value(ColumnTarget::Magazine));
    fields[kArticleField] = std::move(value(ColumnTarget::Article));
    fields[kPageField] = std::move(value(ColumnTarget::Page));
    QString issue = std::move(value(ColumnTarget::Issue));
    const QString year = YearOf(value(ColumnTarget::Year));
    // A number that already ends in its year keeps it once.
    if (!year.isEmpty() && IssueNumber::Split(issue).year != year) {
        issue = IssueNumber::Join(issue, year);
    }
    fields[kIssueField] = std::move(issue);
    m_values = {};
    m_ranks = Unranked();
    return fields;
}

QString FieldCollector::YearOf(const QString& text) {
    static const QRegularExpression year(QStringLiteral("(?<![0-9])[0-9]{4}(?![0-9])"));
    const QRegularExpressionMatch match = year.match(text);
    return match.hasMatch() ? match.captured() : text.trimmed();
}
