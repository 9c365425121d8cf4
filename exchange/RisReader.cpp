#include "RisReader.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>

#include "ExchangeError.h"
#include "IssueNumber.h"
#include "RisLine.h"

namespace {

constexpr qsizetype kMaxLineBytes = qsizetype{64} << 20;

bool IsArticleType(const QString& type) {
    static const std::array<QLatin1String, 6> types{QLatin1String("JOUR"), QLatin1String("MGZN"),
                                                    QLatin1String("NEWS"), QLatin1String("EJOUR"),
                                                    QLatin1String("INPR"), QLatin1String("ABST")};
    return std::find(types.begin(), types.end(), type) != types.end();
}

QString FirstYear(const QString& date) {
    static const QRegularExpression year(QStringLiteral("[0-9]{4}"));
    return year.match(date).captured();
}

}  // namespace

RisReader::RisReader(const QString& path) : m_file(path), m_decoder(false) {}

bool RisReader::ReadLine(QByteArray& line) {
    line.clear();
    while (true) {
        if (m_nPos >= m_block.size()) {
            if (m_bAtEnd || !m_file.Read(m_block)) {
                m_bAtEnd = true;
                if (line.isEmpty()) {
                    return false;
                }
                break;
            }
            if (m_nLine == 0) {
                m_decoder = TextDecoder(m_file.HadByteOrderMark());
            }
            m_nPos = 0;
        }
        const qsizetype end = m_block.indexOf('\n', m_nPos);
        if (end < 0) {
            line.append(QByteArrayView(m_block).sliced(m_nPos));
            m_nPos = m_block.size();
            // No RIS line is this long; reading on would only fill the memory.
            if (line.size() > kMaxLineBytes) {
                throw ExchangeError(
                    QStringLiteral("Zeile %1 ist länger als 64 MB; das ist keine RIS-Datei.")
                        .arg(m_nLine + 1));
            }
            continue;
        }
        line.append(QByteArrayView(m_block).sliced(m_nPos, end - m_nPos));
        m_nPos = end + 1;
        break;
    }
    ++m_nLine;
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    return true;
}

bool RisReader::Next(ImportRecord& record) {
    QByteArray line;
    qint64 entryLine = 0;
    QString lastTag;
    while (ReadLine(line)) {
        if (!RisLine::IsTag(line)) {
            if (entryLine == 0 && line.trimmed().isEmpty()) {
                continue;
            }
            if (entryLine == 0) {
                throw ExchangeError(
                    QStringLiteral("Zeile %1: Das ist keine RIS-Zeile; ein Eintrag beginnt mit "
                                   "„TY  - “.")
                        .arg(m_nLine));
            }
            // A value that goes on over several lines; blank lines inside an entry carry nothing.
            if (!line.isEmpty() && !lastTag.isEmpty() && m_tags.contains(lastTag)) {
                m_tags[lastTag] += QLatin1Char('\n') + RisLine::ContinuationText(m_decoder.Decode(
                                                           line.constData(), line.size(), m_nLine));
            }
            continue;
        }
        const QString tag = QString::fromLatin1(line.first(2));
        const QByteArrayView rawValue =
            line.size() > 6 ? QByteArrayView(line).sliced(6) : QByteArrayView();
        const QString value = m_decoder.Decode(rawValue.data(), rawValue.size(), m_nLine);
        if (tag == QLatin1String("TY")) {
            if (entryLine != 0) {
                throw ExchangeError(
                    QStringLiteral("Zeile %1: Der Eintrag ab Zeile %2 endet nicht mit „ER  - “.")
                        .arg(m_nLine)
                        .arg(entryLine));
            }
            entryLine = m_nLine;
            m_strType = value.trimmed();
            m_tags.clear();
            lastTag.clear();
            continue;
        }
        if (entryLine == 0) {
            throw ExchangeError(
                QStringLiteral("Zeile %1: Vor dem Tag „%2“ beginnt kein Eintrag mit „TY  - “.")
                    .arg(m_nLine)
                    .arg(tag));
        }
        if (tag == QLatin1String("ER")) {
            record = ImportRecord::OfTexts(Entry());
            return true;
        }
        lastTag = m_tags.contains(tag) ? QString() : tag;
        if (!lastTag.isEmpty()) {
            m_tags.insert(tag, value);
        }
    }
    if (entryLine != 0) {
        throw ExchangeError(
            QStringLiteral("Zeile %1: Der Eintrag ab Zeile %2 endet nicht mit „ER  - “; die Datei "
                           "ist vermutlich unvollständig.")
                .arg(m_nLine)
                .arg(entryLine));
    }
    return false;
}

QString RisReader::Tag(const char* tag) const {
    return m_tags.value(QLatin1String(tag));
}

ArticleFields RisReader::Entry() const {
    ArticleFields record;
    for (const char* tag : {"TI", "T1", "CT", "BT"}) {
        if (record[kArticleField].isEmpty()) {
            record[kArticleField] = Tag(tag);
        }
    }
    if (!IsArticleType(m_strType)) {
        return record;
    }
    for (const char* tag : {"JF", "T2", "JO", "JA", "J1", "J2"}) {
        if (record[kMagazineField].isEmpty()) {
            record[kMagazineField] = Tag(tag);
        }
    }
    QString year;
    for (const char* tag : {"PY", "Y1", "DA"}) {
        if (year.isEmpty()) {
            year = FirstYear(Tag(tag));
        }
    }
    record[kIssueField] = IssueNumber::Join(Tag("IS"), year);
    record[kPageField] = Tag("SP");
    return record;
}
