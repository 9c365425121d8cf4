#pragma once

#include <QByteArray>
#include <QString>

// The lines of a RIS file. A value with line breaks goes on over continuation lines. Readers drop
// empty continuation lines and take one that looks like a tag for a tag; such lines, and lines of
// spaces only, are written behind one more space, which other readers trim away and our reader
// takes off again. So every text comes back exactly, and nothing shows in other programs.
class RisLine {
public:
    // Two characters, two spaces, a hyphen, then a space and the value (some writers leave out
    // the space after "ER  -").
    static bool IsTag(QByteArrayView line);
    // Whether the start of a file is RIS: a "TY  - " line comes before anything but blank
    // lines and the short preamble lines of some databases.
    static bool StartsRisFile(QByteArrayView start);

    // The bytes of one line of a value after the first, as it is to be written.
    static QByteArray Continuation(const QString& text);
    // The text of a continuation line as read. Files of earlier versions marked such lines with
    // a zero-width space; that mark is taken off too.
    static QString ContinuationText(const QString& line);

private:
    static bool NeedsGuard(const QString& text);
};
