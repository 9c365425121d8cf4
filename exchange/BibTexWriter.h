#pragma once

#include "RecordWriter.h"

// Writes one @article per record. Keys are the magazine's name in plain letters followed by the
// record's place in the file ("datenkompass:12"), so they are unique without remembering the ones
// written. Text is escaped so that no field can end its braces or start a TeX command, and braces
// balance for every reader: the characters # $ % & _ are escaped with a backslash, { } \ ~ ^ are
// written as TeX's text symbols in braces of their own ({\textbraceleft}), German umlauts and ß as
// TeX accents, two hyphens apart so that they are no dash; line breaks stay line breaks; other
// characters stay UTF-8. A page range is written with TeX's "--".
class BibTexWriter : public RecordWriter {
public:
    explicit BibTexWriter(QIODevice& device) : RecordWriter(device) {}

    void Write(const ArticleFields& record) override;

    static QString Escaped(const QString& text);
    static QString PageRange(const QString& page);
    static QString KeyBase(const QString& magazine);

private:
    void PutField(const char* name, const QString& value, bool keepCase = false,
                  bool escape = true);

    long m_nWritten = 0;
};
