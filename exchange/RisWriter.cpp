#include "RisWriter.h"

#include "IssueNumber.h"

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
    QString text = value;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    Put(QByteArrayView(tag));
    Put(QByteArrayView("  - "));
    Put(text);
    Put(QByteArrayView("\r\n"));
}
