#include "RisLine.h"

namespace {

constexpr QChar kEarlierMark(0x200B);

QString WithoutLeadingSpaces(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' ')) {
        ++i;
    }
    return text.sliced(i);
}

}  // namespace

bool RisLine::IsTag(QByteArrayView line) {
    const auto upperOrDigit = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    return line.size() >= 5 && line[0] >= 'A' && line[0] <= 'Z' && upperOrDigit(line[1]) &&
           line.sliced(2, 3) == QByteArrayView("  -") && (line.size() == 5 || line[5] == ' ');
}

bool RisLine::StartsRisFile(QByteArrayView start) {
    // "Record #1 of 2", "Provider: ...", "Content: ...", "1." and the like.
    constexpr int kMaxPreambleLines = 8;
    int preamble = 0;
    for (QByteArrayView rest = start; !rest.isEmpty() && preamble <= kMaxPreambleLines;) {
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (IsTag(line)) {
            return line.startsWith("TY");
        }
        preamble += line.trimmed().isEmpty() ? 0 : 1;
    }
    return false;
}

bool RisLine::NeedsGuard(const QString& text) {
    const QString rest = WithoutLeadingSpaces(text);
    return rest.isEmpty() || rest.startsWith(kEarlierMark) || IsTag(rest.toUtf8());
}

QByteArray RisLine::Continuation(const QString& text) {
    return NeedsGuard(text) ? QByteArray(" ") + text.toUtf8() : text.toUtf8();
}

QString RisLine::ContinuationText(const QString& line) {
    if (line.startsWith(kEarlierMark)) {
        return line.sliced(1);
    }
    if (line.startsWith(QLatin1Char(' ')) && NeedsGuard(line.sliced(1))) {
        return line.sliced(1);
    }
    return line;
}
