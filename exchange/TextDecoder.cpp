#include "TextDecoder.h"

#include <algorithm>

#include "ExchangeError.h"

namespace {

bool IsAscii(const char* data, qsizetype size) {
    return std::all_of(data, data + size,
                       [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
}

}  // namespace

TextDecoder::TextDecoder(bool utf8, std::optional<TextEncoding> chosen)
    : m_mode(utf8 ? Mode::Utf8 : Mode::Undecided) {
    if (chosen == TextEncoding::Windows1252) {
        m_mode = Mode::Windows1252;
    } else if (chosen) {
        // UTF-16 reaches us as UTF-8.
        m_mode = Mode::Utf8;
    }
}

TextEncoding TextDecoder::Encoding() const {
    return m_mode == Mode::Windows1252 ? TextEncoding::Windows1252 : TextEncoding::Utf8;
}

QString TextDecoder::Decode(const char* data, qsizetype size, qint64 line) {
    if (IsAscii(data, size)) {
        return QString::fromLatin1(data, size);
    }
    const QByteArrayView bytes(data, size);
    if (m_mode != Mode::Windows1252) {
        m_utf8.resetState();
        QString text = m_utf8(bytes);
        if (!m_utf8.hasError()) {
            m_mode = Mode::Utf8;
            return text;
        }
        if (m_mode == Mode::Utf8) {
            throw ExchangeError(
                QStringLiteral("Zeile %1: Die Datei ist als UTF-8 geschrieben, enthält hier aber "
                               "Zeichen, die kein UTF-8 sind.")
                    .arg(line));
        }
        m_mode = Mode::Windows1252;
    }
    m_windows1252.resetState();
    return m_windows1252(bytes);
}
