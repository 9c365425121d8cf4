#include "ColumnMatch.h"

#include "ExchangeError.h"

bool ColumnMatch::Names(const QString& name, const QString& heading, std::size_t index) {
    const QString wanted = name.trimmed();
    bool isNumber = false;
    const uint number = wanted.toUInt(&isNumber);
    if (isNumber) {
        return number == index + 1;
    }
    return wanted.compare(heading.trimmed(), Qt::CaseInsensitive) == 0;
}

std::vector<ColumnTarget> ColumnMatch::Targets(const std::vector<QString>& headings,
                                               const std::vector<ImportColumn>& wanted) {
    std::vector<ColumnTarget> targets(headings.size(), ColumnTarget::None);
    std::vector<bool> matched(headings.size());
    for (const ImportColumn& column : wanted) {
        bool found = false;
        for (std::size_t i = 0; i < headings.size() && !found; ++i) {
            if (!matched[i] && Names(column.heading, headings[i], i)) {
                matched[i] = true;
                targets[i] = column.target;
                found = true;
            }
        }
        if (!found) {
            throw ExchangeError(
                QStringLiteral("Eine Spalte „%1“ gibt es in der Datei nicht.").arg(column.heading));
        }
    }
    return targets;
}
