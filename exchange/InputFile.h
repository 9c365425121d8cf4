#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A text file read in blocks of bounded size, so that no file is ever held whole. The byte-order
// mark of UTF-8 is taken off the first block. Files with NUL bytes are no text and are refused.
class InputFile {
public:
    // Throws ExchangeError when the file cannot be opened or is no regular file.
    explicit InputFile(const QString& path);

    // The next block; false at the end. Throws ExchangeError on a read failure or a NUL byte.
    bool Read(QByteArray& block);
    bool HadByteOrderMark() const { return m_bByteOrderMark; }
    const QString& Path() const { return m_strPath; }

private:
    QString m_strPath;
    QFile m_file;
    bool m_bFirst = true;
    bool m_bByteOrderMark = false;
    qint64 m_nLinesBefore = 0;  // line breaks in the blocks already handed out
};
