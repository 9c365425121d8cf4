#pragma once

#include <QByteArrayView>
#include <QString>

// The first page of a database file of the Windows program's engine (Jet 3, Jet 4 or the newer
// ACE format): what the file is, and whether it is protected. Recognised by its content alone.
class JetHeader {
public:
    enum class Format { Jet3, Jet4, Ace };

    // Enough of the file's start to tell a Jet or ACE file from any other.
    static constexpr qsizetype kSignatureSize = 0x15;
    // The part of the first page that Parse needs.
    static constexpr qsizetype kSize = 0x98;

    // True when `start` (at least kSignatureSize bytes) begins a Jet or ACE database.
    static bool Matches(QByteArrayView start);
    // The header of a file that Matches; its protection is known when `start` holds kSize bytes.
    static JetHeader Parse(QByteArrayView start);

    Format GetFormat() const { return m_format; }
    // Jet 3 keeps texts in the 8-bit code page, the later formats in Unicode.
    bool HasUnicodeTexts() const { return m_format != Format::Jet3; }
    int PageSize() const { return m_format == Format::Jet3 ? 2048 : 4096; }
    // A database password, or pages encoded with a key: either way the file is protected.
    bool IsProtected() const { return m_bPassword || m_bEncoded; }
    // The German name of the format for messages.
    QString FormatName() const;

private:
    Format m_format = Format::Jet3;
    bool m_bPassword = false;
    bool m_bEncoded = false;
};
