#pragma once

#include "RecordWriter.h"

// Writes one @article per record. Keys are the magazine's name in plain letters followed by the
// record's place in the file ("datenkompass:12"), so they are unique without remembering the ones
// written. Text is escaped so that no field can end its braces or start a TeX command: the
// characters # $ % & _ { } ~ ^ \ are written as TeX writes them, German umlauts and ß as TeX
// accents, line breaks as spaces; other characters stay UTF-8.
class BibTexWriter : public RecordWriter {
public:
    explicit BibTexWriter(QIODevice& device) : RecordWriter(device) {}

    void Write(const ArticleFields& record) override;

    static QString Escaped(const QString& text);
    static QString KeyBase(const QString& magazine);

private:
    void PutField(const char* name, const QString& value, bool keepCase = false);

    long m_nWritten = 0;
};
