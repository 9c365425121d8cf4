#include "BibTexWriter.h"

#include "IssueNumber.h"

void BibTexWriter::Write(const ArticleFields& record) {
    ++m_nWritten;
    Put(QStringLiteral("@article{%1:%2,\n").arg(KeyBase(record[kMagazineField])).arg(m_nWritten));
    // Double braces keep the capitals of German nouns, which styles would otherwise lower.
    PutField("title", record[kArticleField], true);
    PutField("journal", record[kMagazineField]);
    const IssueNumber number = IssueNumber::Split(record[kIssueField]);
    PutField("number", number.issue);
    PutField("year", number.year);
    PutField("pages", record[kPageField]);
    Put(QByteArrayView("}\n\n"));
}

void BibTexWriter::PutField(const char* name, const QString& value, bool keepCase) {
    if (value.isEmpty()) {
        return;
    }
    const QString escaped = Escaped(value);
    Put(QStringLiteral("  %1 = %2%3%4,\n")
            .arg(QLatin1String(name), QLatin1String(keepCase ? "{{" : "{"), escaped,
                 QLatin1String(keepCase ? "}}" : "}")));
}

QString BibTexWriter::Escaped(const QString& text) {
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '\\':
                out += QStringLiteral("\\textbackslash{}");
                break;
            case '{':
                out += QStringLiteral("\\{");
                break;
            case '}':
                out += QStringLiteral("\\}");
                break;
            case '#':
                out += QStringLiteral("\\#");
                break;
            case '$':
                out += QStringLiteral("\\$");
                break;
            case '%':
                out += QStringLiteral("\\%");
                break;
            case '&':
                out += QStringLiteral("\\&");
                break;
            case '_':
                out += QStringLiteral("\\_");
                break;
            case '~':
                out += QStringLiteral("\\textasciitilde{}");
                break;
            case '^':
                out += QStringLiteral("\\textasciicircum{}");
                break;
            case '\r':
                break;
            case '\n':
                out += QLatin1Char(' ');
                break;
            case 0xE4:
                out += QStringLiteral("{\\\"a}");
                break;
            case 0xF6:
                out += QStringLiteral("{\\\"o}");
                break;
            case 0xFC:
                out += QStringLiteral("{\\\"u}");
                break;
            case 0xC4:
                out += QStringLiteral("{\\\"A}");
                break;
            case 0xD6:
                out += QStringLiteral("{\\\"O}");
                break;
            case 0xDC:
                out += QStringLiteral("{\\\"U}");
                break;
            case 0xDF:
                out += QStringLiteral("{\\ss}");
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

QString BibTexWriter::KeyBase(const QString& magazine) {
    QString base;
    for (const QChar c : magazine.normalized(QString::NormalizationForm_KD)) {
        if (c.unicode() < 0x80 && c.isLetterOrNumber()) {
            base += c.toLower();
        }
        if (base.size() == 20) {
            break;
        }
    }
    return base.isEmpty() ? QStringLiteral("artikel") : base;
}
