#pragma once

#include "BibTexEntries.h"
#include "FieldCollector.h"
#include "InputFile.h"
#include "RecordReader.h"
#include "TaggedColumns.h"
#include "TextDecoder.h"

// Reads BibTeX as reference managers write it, through btparse: every entry type gives its
// title, its journal (or the book a paper appeared in), number with year ("3/1996") and first
// page; @string abbreviations are expanded, @comment and @preamble passed over. TeX in the texts
// becomes Unicode (see TexText). Each field is a column that can be sent elsewhere.
//
// btparse keeps the abbreviations of one file for the whole program, so one BibTeX file is read
// at a time.
class BibTexReader : public RecordReader {
public:
    // Throws ExchangeError when the file cannot be opened or another BibTeX file is being read.
    explicit BibTexReader(const QString& path, const ImportSettings& settings = {});
    ~BibTexReader() override;
    BibTexReader(const BibTexReader&) = delete;
    BibTexReader& operator=(const BibTexReader&) = delete;

    bool Next(ImportRecord& record) override;
    ImportSettings Settings() const override;
    QStringList UntakenColumns() const override;

    // The first page of a range ("123--145", "123-145", "123–145" give "123").
    static QString FirstPage(const QString& pages);

private:
    InputFile m_file;
    BibTexEntries m_entries;
    TextDecoder m_decoder;
    std::optional<TextEncoding> m_chosenEncoding;
    bool m_bStarted = false;
    TaggedColumns m_columns;
    FieldCollector m_collector;
};
