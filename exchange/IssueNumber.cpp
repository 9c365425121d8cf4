#include "IssueNumber.h"

#include <QRegularExpression>

IssueNumber IssueNumber::Split(const QString& number) {
    static const QRegularExpression withYear(QStringLiteral("^(.+)/([0-9]{4})$"),
                                             QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = withYear.match(number);
    if (!match.hasMatch()) {
        return {number, {}};
    }
    return {match.captured(1), match.captured(2)};
}

QString IssueNumber::Join(const QString& issue, const QString& year) {
    if (issue.isEmpty() || year.isEmpty()) {
        return issue.isEmpty() ? year : issue;
    }
    return issue + QLatin1Char('/') + year;
}
