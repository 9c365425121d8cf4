#include "InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <array>
#include <cerrno>

#include "ExchangeError.h"

namespace {

constexpr qint64 kBlockSize = 64 * 1024;

// UTF-16 without a byte-order mark: the zero high bytes of ASCII text stand at every other
// place. Which byte of a pair is zero tells the byte order.
std::optional<TextEncoding> Utf16ByItsZeros(const QByteArray& block) {
    const qsizetype pairs = std::min<qsizetype>(block.size() / 2, 512);
    std::array<qsizetype, 2> zeros{};
    for (qsizetype i = 0; i < 2 * pairs; ++i) {
        zeros[static_cast<std::size_t>(i % 2)] += block[i] == '\0' ? 1 : 0;
    }
    if (pairs < 2 || std::min(zeros[0], zeros[1]) > 0) {
        return std::nullopt;
    }
    if (2 * zeros[1] > pairs) {
        return TextEncoding::Utf16LE;
    }
    if (2 * zeros[0] > pairs) {
        return TextEncoding::Utf16BE;
    }
    return std::nullopt;
}

[[noreturn]] void ThrowUnreadable(const QString& path, const QString& reason) {
    throw ExchangeError(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                            .arg(QDir::toNativeSeparators(path), reason));
}

}  // namespace

InputFile::InputFile(const QString& path, std::optional<TextEncoding> encoding)
    : m_strPath(path), m_requested(encoding) {
    // Opened without blocking and checked on the open descriptor: a pipe or device named as the
    // source could otherwise wait for ever, and nothing can take the file's place in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        ThrowUnreadable(path, qt_error_string(errno));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        ThrowUnreadable(path, QStringLiteral("Der Name bezeichnet keine gewöhnliche Datei, sondern "
                                             "etwa einen Ordner, eine Pipe oder ein Gerät."));
    }
    if (!m_file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        ThrowUnreadable(path, m_file.errorString());
    }
}

bool InputFile::Read(QByteArray& block) {
    block.resize(kBlockSize);
    const qint64 got = m_file.read(block.data(), kBlockSize);
    if (got < 0) {
        ThrowUnreadable(m_strPath, m_file.errorString());
    }
    block.resize(got);
    if (m_bFirst) {
        m_bFirst = false;
        if (block.startsWith("\xEF\xBB\xBF") &&
            m_requested.value_or(TextEncoding::Utf8) == TextEncoding::Utf8) {
            m_bByteOrderMark = true;
            block.remove(0, 3);
        } else {
            StartUtf16(block);
        }
    }
    if (m_utf16) {
        block = QString(m_utf16Decoder.decode(block)).toUtf8();
    }
    if (const qsizetype nul = block.indexOf('\0'); nul >= 0) {
        const qint64 line = m_nLinesBefore + QByteArrayView(block).first(nul).count('\n') + 1;
        throw ExchangeError(QStringLiteral("Zeile %1: Die Datei „%2“ ist keine Textdatei.")
                                .arg(line)
                                .arg(QDir::toNativeSeparators(m_strPath)));
    }
    m_nLinesBefore += block.count('\n');
    return got > 0;
}

void InputFile::StartUtf16(QByteArray& block) {
    if (m_requested == TextEncoding::Utf16LE || m_requested == TextEncoding::Utf16BE) {
        m_utf16 = m_requested;
    } else if (m_requested) {
        return;
    } else if (block.startsWith("\xFF\xFE")) {
        m_utf16 = TextEncoding::Utf16LE;
    } else if (block.startsWith("\xFE\xFF")) {
        m_utf16 = TextEncoding::Utf16BE;
    } else {
        m_utf16 = Utf16ByItsZeros(block);
    }
    if (!m_utf16) {
        return;
    }
    if (block.startsWith(*m_utf16 == TextEncoding::Utf16LE ? "\xFF\xFE" : "\xFE\xFF")) {
        block.remove(0, 2);
    }
    m_bByteOrderMark = true;
    m_utf16Decoder = QStringDecoder(*m_utf16 == TextEncoding::Utf16LE ? QStringDecoder::Utf16LE
                                                                      : QStringDecoder::Utf16BE);
}
