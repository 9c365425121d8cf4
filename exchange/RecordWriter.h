#pragma once

#include <QByteArray>
#include <string_view>

#include "ArticleFields.h"

class QIODevice;

// The four texts of an article record as a catalogue holds them: UTF-8, as far as it is valid.
using ArticleBytes = std::array<std::string_view, 4>;

// Writes records one by one to a device, buffered; a failing device throws ExchangeError.
class RecordWriter {
public:
    explicit RecordWriter(QIODevice& device);
    virtual ~RecordWriter() = default;
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    virtual void Write(const ArticleFields& record) = 0;
    // The same for texts as a catalogue holds them; bytes that are no UTF-8 are written as the
    // replacement character, as if decoded first.
    virtual void WriteUtf8(const ArticleBytes& record);
    // Writes what is still buffered. Must be called once after the last record.
    virtual void Finish();

protected:
    void Put(QByteArrayView bytes);
    void Put(const QString& text) { Put(QByteArrayView(text.toUtf8())); }
    // Room for at most `most` bytes at the end of what is buffered; Used then says how many of
    // them were written, before anything else is put.
    char* Room(qsizetype most);
    void Used(qsizetype written);

private:
    void Flush();

    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_nRoomAt = 0;
};
