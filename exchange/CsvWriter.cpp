#include "CsvWriter.h"

#include <csv.h>

CsvWriter::CsvWriter(QIODevice& device) : RecordWriter(device) {
    Put(QByteArrayView("\xEF\xBB\xBF"));
    Write({QStringLiteral("Zeitschriftennummer"), QStringLiteral("Zeitschriftenname"),
           QStringLiteral("Artikelname"), QStringLiteral("Seite")});
}

void CsvWriter::Write(const ArticleFields& record) {
    for (std::size_t i = 0; i < record.size(); ++i) {
        if (i > 0) {
            Put(QByteArrayView(";"));
        }
        PutField(record[i]);
    }
    Put(QByteArrayView("\r\n"));
}

void CsvWriter::PutField(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    // Quoting at most doubles the text, plus the two enclosing quotes.
    m_quoted.resize(2 * utf8.size() + 2);
    const std::size_t size =
        csv_write2(m_quoted.data(), static_cast<std::size_t>(m_quoted.size()), utf8.constData(),
                   static_cast<std::size_t>(utf8.size()), '"');
    Put(QByteArrayView(m_quoted).first(static_cast<qsizetype>(size)));
}
