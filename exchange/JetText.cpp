#include "JetText.h"

#include <QtEndian>
#include <array>

namespace {

// Windows-1252 from 0x80 to 0x9F; its five unassigned bytes stand for the control characters
// of the same number, so that no byte of the file is lost.
constexpr std::array<char16_t, 32> kHighControls{
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

}  // namespace

QString JetText::FromWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = byte >= 0x80 && byte < 0xA0 ? QChar(kHighControls[byte - 0x80]) : QChar(byte);
    }
    return text;
}

QString JetText::FromUnicode(QByteArrayView bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    if (size < 2 || data[0] != 0xFF || data[1] != 0xFE) {
        QString text(size / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i + 1 < size; i += 2) {
            text[i / 2] = QChar(qFromLittleEndian<quint16>(data + i));
        }
        return text;
    }
    QString text;
    text.reserve(size);
    bool compressed = true;
    for (qsizetype i = 2; i < size;) {
        if (data[i] == 0) {
            compressed = !compressed;
            ++i;
        } else if (compressed) {
            text += QChar(data[i]);
            ++i;
        } else if (i + 1 < size) {
            text += QChar(qFromLittleEndian<quint16>(data + i));
            i += 2;
        } else {
            break;  // half a character at the end of a damaged value
        }
    }
    return text;
}
