#include "RisWriter.h"

#include <QStringList>

#include "IssueNumber.h"
#include "RisLine.h"

void RisWriter::Write(const ArticleFields& record) {
    Put(QByteArrayView("TY  - MGZN\r\n"));
    PutTag("TI", record[kArticleField]);
    PutTag("T2", record[kMagazineField]);
    const IssueNumber number = IssueNumber::Split(record[kIssueField]);
    PutTag("IS", number.issue);
    PutTag("PY", number.year);
    PutTag("SP", record[kPageField]);
    Put(QByteArrayView("ER  - \r\n\r\n"));
}

void RisWriter::PutTag(const char* tag, const QString& value) {
    if (value.isEmpty()) {
        return;
    }
    // Split at "\n" alone: a "\r" stays in its line, and the reader takes only the last "\r"
    // of a line for part of the line break.
    const QStringList lines = value.split(QLatin1Char('\n'));
    Put(QByteArrayView(tag));
    Put(QByteArrayView("  - "));
    Put(lines.first());
    Put(QByteArrayView("\r\n"));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        Put(QByteArrayView(RisLine::Continuation(lines[i])));
        Put(QByteArrayView("\r\n"));
    }
}
