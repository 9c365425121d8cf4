#include "InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <cerrno>

#include "ExchangeError.h"

namespace {

constexpr qint64 kBlockSize = 64 * 1024;

[[noreturn]] void ThrowUnreadable(const QString& path, const QString& reason) {
    throw ExchangeError(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                            .arg(QDir::toNativeSeparators(path), reason));
}

}  // namespace

InputFile::InputFile(const QString& path) : m_strPath(path) {
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
        if (block.startsWith("\xEF\xBB\xBF")) {
            m_bByteOrderMark = true;
            block.remove(0, 3);
        }
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
