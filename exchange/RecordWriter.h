#pragma once

#include <QByteArray>

#include "ArticleFields.h"

class QIODevice;

// Writes records one by one to a device, buffered; a failing device throws ExchangeError.
class RecordWriter {
public:
    explicit RecordWriter(QIODevice& device);
    virtual ~RecordWriter() = default;
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    virtual void Write(const ArticleFields& record) = 0;
    // Writes what is still buffered. Must be called once after the last record.
    virtual void Finish();

protected:
    void Put(QByteArrayView bytes);
    void Put(const QString& text) { Put(QByteArrayView(text.toUtf8())); }

private:
    void Flush();

    QIODevice& m_device;
    QByteArray m_buffer;
};
