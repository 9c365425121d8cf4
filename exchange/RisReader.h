#pragma once

#include <QHash>
#include <vector>

#include "FieldCollector.h"
#include "InputFile.h"
#include "RecordReader.h"
#include "TaggedColumns.h"
#include "TextDecoder.h"

// Reads RIS as reference managers and literature databases export it: entries from "TY  - " to
// "ER  - ", one tag a line, a line without a tag continuing the value above it. Whatever stands
// outside the entries (numbered "1." lines, "Record #1 of 2" and "Provider:" preambles, stray
// tags after an "ER") is passed over. Magazine, journal and newspaper articles give title,
// periodical, issue with the year ("3/1996") and start page, each from the first tag of its chain
// that has text; other entry types keep their title. Each tag is a column that can be sent
// elsewhere: the volume (VL), for one, goes to the issue only when asked.
class RisReader : public RecordReader {
public:
    // Throws ExchangeError when the file cannot be opened.
    explicit RisReader(const QString& path, const ImportSettings& settings = {});

    bool Next(ImportRecord& record) override;
    ImportSettings Settings() const override;
    QStringList UntakenColumns() const override;

private:
    // The next line without its line break; false at the end of the file.
    bool ReadLine(QByteArray& line);
    ArticleFields Entry();
    QString* TagValue(const QString& tag);
    [[noreturn]] void FailNoEntries() const;

    InputFile m_file;
    TextDecoder m_decoder;
    std::optional<TextEncoding> m_chosenEncoding;
    QByteArray m_block;
    qsizetype m_nPos = 0;
    bool m_bAtEnd = false;
    qint64 m_nLine = 0;
    bool m_bEntrySeen = false;
    qint64 m_nFirstStrayLine = 0;  // the first line outside an entry that had text
    QString m_strFirstStrayTag;    // its tag, when it had one
    QString m_strType;
    // The first value of each tag of the entry being read, in the order of the file.
    std::vector<std::pair<QString, QString>> m_tags;
    FieldCollector m_collector;
    TaggedColumns m_columns;
};
