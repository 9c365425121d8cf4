#pragma once

#include <QString>

// A magazine number such as "3/1996" holds the issue and the year; reference formats keep them
// apart. Splitting and joining are each other's inverse, so a number survives a round trip.
struct IssueNumber {
    QString issue;
    QString year;

    // "3/1996" gives issue "3" and year "1996"; a number without a four-digit year after the
    // last "/" is all issue.
    static IssueNumber Split(const QString& number);
    // The other way round: "3" and "1996" give "3/1996"; either part alone stands for itself.
    static QString Join(const QString& issue, const QString& year);
};
