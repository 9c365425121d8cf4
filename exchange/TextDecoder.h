#pragma once

#include <QString>
#include <QStringDecoder>
#include <optional>

#include "ImportSettings.h"

// Turns the bytes of one field or line into text. A file is UTF-8 when it starts with the
// byte-order mark or when its first non-ASCII text is valid UTF-8; otherwise it is Windows-1252,
// as older German spreadsheets save it. Once decided, the whole file is read that way. An
// encoding the user chose is taken as it is: Windows-1252 then never fails.
class TextDecoder {
public:
    explicit TextDecoder(bool utf8, std::optional<TextEncoding> chosen = std::nullopt);

    // Throws ExchangeError naming `line` when a UTF-8 file holds bytes that are no UTF-8.
    QString Decode(const char* data, qsizetype size, qint64 line);
    // What the text was read as so far; UTF-8 while it was all ASCII.
    TextEncoding Encoding() const;

private:
    enum class Mode { Undecided, Utf8, Windows1252 };
    Mode m_mode;
    QStringDecoder m_utf8{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
    QStringDecoder m_windows1252{"windows-1252", QStringDecoder::Flag::Stateless};
};
