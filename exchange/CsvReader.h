#pragma once

#include <csv.h>

#include <deque>
#include <vector>

#include "InputFile.h"
#include "RecordReader.h"
#include "TextDecoder.h"

// Reads a CSV file as spreadsheets write it (RFC 4180): UTF-8 with or without byte-order mark or
// Windows-1252; separator ';', ',' or tab, whichever the first records use equally often; quoted
// fields may hold separators, quotes and line breaks. A first row that names the columns maps them
// to the article fields; without one the columns are taken in the catalogue's order. Columns that
// map to no field are skipped unread.
class CsvReader : public RecordReader {
public:
    // Throws ExchangeError when the file cannot be opened.
    explicit CsvReader(const QString& path);
    ~CsvReader() override;
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    bool Next(ImportRecord& record) override;

private:
    static void OnField(void* data, size_t size, void* self);
    static void OnRowEnd(int terminator, void* self);
    void Field(const char* data, size_t size);
    void RowEnd();
    void Start(const QByteArray& firstBlock);
    void Feed(const QByteArray& block);
    void Finish();
    [[noreturn]] void FailParse(qint64 line);

    InputFile m_file;
    TextDecoder m_decoder;
    csv_parser m_parser{};
    bool m_bStarted = false;
    bool m_bEnded = false;
    qint64 m_nLine = 1;     // the physical line being fed
    qint64 m_nRowLine = 0;  // where the row being read began; 0 between rows
    std::size_t m_nColumn = 0;
    bool m_bHeaderChecked = false;
    bool m_bDataRow = true;  // false for the header row
    std::vector<QString> m_firstRow;
    std::vector<int> m_columnFields;  // column -> article field or -1
    ArticleFields m_row;
    std::deque<ArticleFields> m_ready;
};
