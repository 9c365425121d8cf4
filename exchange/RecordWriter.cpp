#include "RecordWriter.h"

#include <QDir>
#include <QFileDevice>

#include "ExchangeError.h"

namespace {

// Large enough that a million records cost a few hundred writes, small enough to stay unnoticed.
constexpr qsizetype kBufferSize = 1 << 20;

}  // namespace

RecordWriter::RecordWriter(QIODevice& device) : m_device(device) {
    m_buffer.reserve(kBufferSize);
}

void RecordWriter::WriteUtf8(const ArticleBytes& record) {
    ArticleFields texts;
    for (std::size_t i = 0; i < record.size(); ++i) {
        texts[i] = QString::fromUtf8(record[i].data(), static_cast<qsizetype>(record[i].size()));
    }
    Write(texts);
}

void RecordWriter::Finish() {
    Flush();
}

void RecordWriter::Put(QByteArrayView bytes) {
    m_buffer.append(bytes);
    if (m_buffer.size() >= kBufferSize) {
        Flush();
    }
}

char* RecordWriter::Room(qsizetype most) {
    m_nRoomAt = m_buffer.size();
    m_buffer.resize(m_nRoomAt + most);
    return m_buffer.data() + m_nRoomAt;
}

void RecordWriter::Used(qsizetype written) {
    m_buffer.resize(m_nRoomAt + written);
    if (m_buffer.size() >= kBufferSize) {
        Flush();
    }
}

void RecordWriter::Flush() {
    // A file takes what fits when its disk fills up, without a word; writing the rest then says
    // why it cannot be written.
    for (qsizetype written = 0; written < m_buffer.size();) {
        const qint64 taken =
            m_device.write(m_buffer.constData() + written, m_buffer.size() - written);
        if (taken <= 0) {
            const auto* file = qobject_cast<const QFileDevice*>(&m_device);
            throw ExchangeError(
                QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
                    .arg(file ? QDir::toNativeSeparators(file->fileName()) : QString(),
                         m_device.errorString()));
        }
        written += taken;
    }
    // Emptied, not freed: the next records fill the same memory instead of faulting in new.
    m_buffer.resize(0);
}
