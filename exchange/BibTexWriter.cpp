#include "BibTexWriter.h"

#include <QRegularExpression>
#include <algorithm>

#include "IssueNumber.h"

void BibTexWriter::Write(const ArticleFields& record) {
    ++m_nWritten;
    // Commas go between fields, not after the last; bibtool refuses both a comma that no field
    // follows and an entry without fields, so a record without any text has an empty title.
    Put(QStringLiteral("@article{%1:%2").arg(KeyBase(record[kMagazineField])).arg(m_nWritten));
    if (std::all_of(record.begin(), record.end(), [](const QString& f) { return f.isEmpty(); })) {
        Put(QByteArrayView(",\n  title = {}"));
    }
    // Double braces keep the capitals of German nouns, which styles would otherwise lower.
    PutField("title", record[kArticleField], true);
    PutField("journal", record[kMagazineField]);
    const IssueNumber number = IssueNumber::Split(record[kIssueField]);
    PutField("number", number.issue);
    PutField("year", number.year);
    PutField("pages", PageRange(record[kPageField]), false, false);
    Put(QByteArrayView("\n}\n\n"));
}

void BibTexWriter::PutField(const char* name, const QString& value, bool keepCase, bool escape) {
    if (value.isEmpty()) {
        return;
    }
    const QString escaped = escape ? Escaped(value) : value;
    Put(QStringLiteral(",\n  %1 = %2%3%4")
            .arg(QLatin1String(name), QLatin1String(keepCase ? "{{" : "{"), escaped,
                 QLatin1String(keepCase ? "}}" : "}")));
}

QString BibTexWriter::PageRange(const QString& page) {
    // "7-9" and "7–9" are ranges, which BibTeX writes with two hyphens; the parts are escaped.
    static const QRegularExpression dash(QStringLiteral("(?<=\\w)\\s*(?:-+|–)\\s*(?=\\w)"));
    QString out;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& match : dash.globalMatch(page)) {
        out += Escaped(page.sliced(from, match.capturedStart() - from)) + QStringLiteral("--");
        from = match.capturedEnd();
    }
    return out + Escaped(page.sliced(from));
}

QString BibTexWriter::Escaped(const QString& text) {
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
            // Braces stay balanced however the text goes: every reader counts them, escaped or
            // not.
            case '\\':
                out += QStringLiteral("{\\textbackslash}");
                break;
            case '{':
                out += QStringLiteral("{\\textbraceleft}");
                break;
            case '}':
                out += QStringLiteral("{\\textbraceright}");
                break;
            case '-':
                // Two hyphens would be read as a dash.
                out += i + 1 < text.size() && text[i + 1] == QLatin1Char('-')
                           ? QStringLiteral("-{}")
                           : QStringLiteral("-");
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
                out += QStringLiteral("{\\textasciitilde}");
                break;
            case '^':
                out += QStringLiteral("{\\textasciicircum}");
                break;
            case '\r':
                // A line break of any kind stays one; "\r\n" is one break.
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
                    break;
                }
                out += QLatin1Char('\n');
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
