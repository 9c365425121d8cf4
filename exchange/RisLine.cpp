#include "RisLine.h"

namespace {

constexpr QChar kMark(0x200B);

}  // namespace

bool RisLine::IsTag(QByteArrayView line) {
    const auto upperOrDigit = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    return line.size() >= 5 && line[0] >= 'A' && line[0] <= 'Z' && upperOrDigit(line[1]) &&
           line.sliced(2, 3) == QByteArrayView("  -") && (line.size() == 5 || line[5] == ' ');
}

QByteArray RisLine::Continuation(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    if (bytes.isEmpty() || IsTag(bytes) || text.startsWith(kMark)) {
        return QString(kMark).toUtf8() + bytes;
    }
    return bytes;
}

QString RisLine::ContinuationText(const QString& line) {
    return line.startsWith(kMark) ? line.sliced(1) : line;
}
