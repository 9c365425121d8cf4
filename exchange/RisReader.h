#pragma once

#include <QHash>

#include "InputFile.h"
#include "RecordReader.h"
#include "TextDecoder.h"

// Reads RIS as reference managers export it: entries from "TY  - " to "ER  - ", one tag a line,
// a line without a tag continuing the value above it. Magazine, journal and newspaper articles
// and the like give title, periodical name, issue (with the year, as in "3/1996") and start page;
// other entry types keep their title. Tags that carry none of these are skipped.
class RisReader : public RecordReader {
public:
    // Throws ExchangeError when the file cannot be opened.
    explicit RisReader(const QString& path);

    bool Next(ImportRecord& record) override;

private:
    // The next line without its line break; false at the end of the file.
    bool ReadLine(QByteArray& line);
    ArticleFields Entry() const;
    QString Tag(const char* tag) const;

    InputFile m_file;
    TextDecoder m_decoder;
    QByteArray m_block;
    qsizetype m_nPos = 0;
    bool m_bAtEnd = false;
    qint64 m_nLine = 0;
    QString m_strType;
    QHash<QString, QString> m_tags;  // the first value of each tag of the entry being read
};
