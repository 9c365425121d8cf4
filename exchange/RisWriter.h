#pragma once

#include "RecordWriter.h"

// Writes one magazine-article entry ("TY  - MGZN") per record: title, magazine, issue and year
// apart, start page. A value with line breaks goes on over several lines, as RIS allows, so that
// it comes back exactly as it was; empty fields are left out.
class RisWriter : public RecordWriter {
public:
    explicit RisWriter(QIODevice& device) : RecordWriter(device) {}

    void Write(const ArticleFields& record) override;

private:
    void PutTag(const char* tag, const QString& value);
};
