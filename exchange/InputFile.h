#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <optional>

#include "ImportSettings.h"

// A text file read in blocks of bounded size, so that no file is ever held whole. The byte-order
// mark of UTF-8 is taken off the first block. UTF-16, recognised by its byte-order mark or by
// the zero bytes of its ASCII letters, or named by the caller, is handed out as UTF-8. Files with
// NUL characters are no text and are refused.
class InputFile {
public:
    // Throws ExchangeError when the file cannot be opened or is no regular file.
    explicit InputFile(const QString& path, std::optional<TextEncoding> encoding = std::nullopt);

    // The next block; false at the end. Throws ExchangeError on a read failure or a NUL byte.
    bool Read(QByteArray& block);
    // The blocks are UTF-8 for certain: the file began with a byte-order mark or was UTF-16.
    bool HadByteOrderMark() const { return m_bByteOrderMark; }
    // UTF-16LE or UTF-16BE when the file was read as such, after the first block.
    std::optional<TextEncoding> Utf16() const { return m_utf16; }
    const QString& Path() const { return m_strPath; }

private:
    void StartUtf16(QByteArray& block);

    QString m_strPath;
    QFile m_file;
    std::optional<TextEncoding> m_requested;
    std::optional<TextEncoding> m_utf16;
    QStringDecoder m_utf16Decoder;
    bool m_bFirst = true;
    bool m_bByteOrderMark = false;
    qint64 m_nLinesBefore = 0;  // line breaks in the blocks already handed out
};
