#pragma once

#include <QByteArray>
#include <QString>

// The lines of a RIS file. A value with line breaks goes on over continuation lines. Readers drop
// empty continuation lines and take one that looks like a tag for a tag; such lines, and those
// that begin with the mark itself, are written behind a zero-width space, which reference
// managers show as nothing and our reader takes off again. So every text comes back exactly.
class RisLine {
public:
    // Two characters, two spaces, a hyphen, then a space and the value (some writers leave out
    // the space after "ER  -").
    static bool IsTag(QByteArrayView line);

    // The bytes of one line of a value after the first, as it is to be written.
    static QByteArray Continuation(const QString& text);
    // The text of a continuation line as read.
    static QString ContinuationText(const QString& line);
};
