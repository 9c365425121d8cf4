#include "InputFile.h"

#include <QDir>

#include "ExchangeError.h"

namespace {

constexpr qint64 kBlockSize = 64 * 1024;

}  // namespace

InputFile::InputFile(const QString& path) : m_strPath(path), m_file(path) {
    if (!m_file.open(QIODevice::ReadOnly)) {
        throw ExchangeError(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                                .arg(QDir::toNativeSeparators(path), m_file.errorString()));
    }
}

bool InputFile::Read(QByteArray& block) {
    block.resize(kBlockSize);
    const qint64 got = m_file.read(block.data(), kBlockSize);
    if (got < 0) {
        throw ExchangeError(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                                .arg(QDir::toNativeSeparators(m_strPath), m_file.errorString()));
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
