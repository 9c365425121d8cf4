#include "RecordWriter.h"

#include <QIODevice>

#include "ExchangeError.h"

namespace {

// Large enough that a million records cost a few hundred writes, small enough to stay unnoticed.
constexpr qsizetype kBufferSize = 1 << 20;

}  // namespace

RecordWriter::RecordWriter(QIODevice& device) : m_device(device) {
    m_buffer.reserve(kBufferSize);
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

void RecordWriter::Flush() {
    if (!m_buffer.isEmpty() && m_device.write(m_buffer) != m_buffer.size()) {
        throw ExchangeError(QStringLiteral("Die Datei kann nicht geschrieben werden: %1")
                                .arg(m_device.errorString()));
    }
    m_buffer.clear();
}
