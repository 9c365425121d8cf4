#pragma once

#include <csv.h>

#include <deque>
#include <optional>
#include <vector>

#include "FieldCollector.h"
#include "InputFile.h"
#include "RecordReader.h"
#include "TextDecoder.h"

// Reads a CSV file as spreadsheets write it (RFC 4180): UTF-8 with or without byte-order mark,
// Windows-1252 or UTF-16; separator ';', ',' or tab, whichever the first records use equally
// often; quoted fields may hold separators, quotes and line breaks. The first records decide
// whether the first row is a heading (see CsvHeader); a heading maps the columns it names, the
// year joined to the issue, otherwise the columns are taken in the catalogue's order. Whatever
// was detected can be set instead.
//
// A row of quoted empty fields is an empty record; blank lines are none, and neither are rows of
// bare separators at the end of the file (spreadsheets write them for formatted empty rows).
class CsvReader : public RecordReader {
public:
    // Throws ExchangeError when the file cannot be opened.
    explicit CsvReader(const QString& path, const ImportSettings& settings = {});
    ~CsvReader() override;
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    bool Next(ImportRecord& record) override;
    ImportSettings Settings() const override;
    QStringList UntakenColumns() const override;

private:
    using Row = std::vector<std::optional<QString>>;

    static void OnField(void* data, size_t size, void* self);
    static void OnRowEnd(int terminator, void* self);
    void Field(const char* data, size_t size);
    void RowEnd();
    void Start(const QByteArray& firstBlock);
    void Feed(const QByteArray& block);
    void Finish();
    // Settles heading and columns from the rows read so far and hands those rows on.
    void Decide();
    void TakeCell(std::size_t column, const char* data, qsizetype size);
    void TakeText(std::size_t column, const std::optional<QString>& cell);
    void MarkUntaken(std::size_t column, bool hasText);
    void EndRecord();
    QString Heading(std::size_t column) const;
    [[noreturn]] void FailParse(qint64 line);

    InputFile m_file;
    TextDecoder m_decoder;
    ImportSettings m_requested;
    csv_parser m_parser{};
    char m_cSeparator = ';';
    bool m_bStarted = false;
    bool m_bEnded = false;
    qint64 m_nLine = 1;     // the physical line being fed
    qint64 m_nRowLine = 0;  // where the row being read began; 0 between rows
    std::size_t m_nColumn = 0;

    // Until the columns are settled, the first rows are kept whole.
    bool m_bDecided = false;
    std::vector<Row> m_sample;
    Row m_sampleRow;

    bool m_bHeader = false;
    std::vector<QString> m_headings;
    std::vector<ColumnTarget> m_targets;  // per column
    std::vector<QString> m_examples;      // per column
    std::vector<bool> m_hadText;          // per column: some record held text there
    FieldCollector m_collector;
    bool m_bRowBare = true;  // the row so far is separators only
    long m_nBareRows = 0;    // such rows held back until a record follows
    std::deque<ArticleFields> m_ready;
};
