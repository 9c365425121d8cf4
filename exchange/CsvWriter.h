#pragma once

#include "RecordWriter.h"

// Writes CSV that a German spreadsheet opens right on a double-click: UTF-8 with byte-order
// mark, ';' between fields, a header row with the catalogue's column names, every field quoted
// (so that "3/1996" stays text and line breaks stay inside their field), CRLF after each row.
class CsvWriter : public RecordWriter {
public:
    explicit CsvWriter(QIODevice& device);

    void Write(const ArticleFields& record) override;
    // Valid UTF-8 goes out as it is, without being decoded and encoded again.
    void WriteUtf8(const ArticleBytes& record) override;

private:
    void PutField(QByteArrayView utf8);
    void EndField(std::size_t index, std::size_t count);
};
