#include "RisReader.h"

#include <algorithm>
#include <array>

#include "ExchangeError.h"
#include "RisLine.h"

namespace {

constexpr qsizetype kMaxLineBytes = qsizetype{64} << 20;

// Where each tag goes unless told otherwise; the volume stands in the issue's chain but goes
// there only when the user says so.
std::vector<TaggedColumns::Chain> Chains() {
    return {
        {ColumnTarget::Article, {"TI", "T1", "CT", "ST", "BT"}},
        {ColumnTarget::Magazine, {"JO", "JF", "T2", "JA", "J1", "J2"}},
        {ColumnTarget::Issue, {"IS", "VL"}},
        {ColumnTarget::Year, {"PY", "Y1", "DA"}},
        {ColumnTarget::Page, {"SP", "C7"}},
    };
}

bool IsArticleType(const QString& type) {
    // The short names of the RIS standard and the long ones some databases write.
    static const std::array<QLatin1String, 11> types{QLatin1String("JOUR"),
                                                     QLatin1String("JFULL"),
                                                     QLatin1String("MGZN"),
                                                     QLatin1String("NEWS"),
                                                     QLatin1String("EJOUR"),
                                                     QLatin1String("INPR"),
                                                     QLatin1String("ABST"),
                                                     QLatin1String("JOURNAL ARTICLE"),
                                                     QLatin1String("MAGAZINE ARTICLE"),
                                                     QLatin1String("NEWSPAPER ARTICLE"),
                                                     QLatin1String("ELECTRONIC ARTICLE")};
    const QString upper = type.simplified().toUpper();
    return std::find(types.begin(), types.end(), upper) != types.end();
}

}  // namespace

RisReader::RisReader(const QString& path, const ImportSettings& settings)
    : m_file(path, settings.encoding),
      m_decoder(false, settings.encoding),
      m_chosenEncoding(settings.encoding),
      m_columns(Chains(), {QStringLiteral("VL")}, settings.columns) {}

ImportSettings RisReader::Settings() const {
    ImportSettings settings;
    settings.encoding = m_file.Utf16() ? m_file.Utf16() : m_decoder.Encoding();
    settings.columns = m_columns.Columns();
    return settings;
}

QStringList RisReader::UntakenColumns() const {
    return m_columns.Untaken();
}

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
                m_decoder = TextDecoder(m_file.HadByteOrderMark(), m_chosenEncoding);
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
        const bool isTag = RisLine::IsTag(line);
        const QString tag = isTag ? QString::fromLatin1(line.first(2)) : QString();
        if (entryLine == 0 && tag != QLatin1String("TY")) {
            // Outside the entries: preambles, record numbers, stray tags.
            if (m_nFirstStrayLine == 0 && !line.trimmed().isEmpty()) {
                m_nFirstStrayLine = m_nLine;
                m_strFirstStrayTag = tag;
            }
            continue;
        }
        if (!isTag) {
            // A value that goes on over several lines; blank lines inside an entry carry nothing.
            if (QString* value = lastTag.isEmpty() ? nullptr : TagValue(lastTag);
                value && !line.isEmpty()) {
                *value += QLatin1Char('\n') + RisLine::ContinuationText(m_decoder.Decode(
                                                  line.constData(), line.size(), m_nLine));
            }
            continue;
        }
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
            m_bEntrySeen = true;
            m_strType = value.trimmed();
            m_tags.clear();
            lastTag.clear();
            continue;
        }
        if (tag == QLatin1String("ER")) {
            record = ImportRecord::OfTexts(Entry());
            return true;
        }
        // Repeated tags (authors, keywords) carry nothing for a catalogue.
        lastTag = TagValue(tag) ? QString() : tag;
        if (!lastTag.isEmpty()) {
            m_tags.emplace_back(tag, value);
        }
    }
    if (entryLine != 0) {
        throw ExchangeError(
            QStringLiteral("Zeile %1: Der Eintrag ab Zeile %2 endet nicht mit „ER  - “; die Datei "
                           "ist vermutlich unvollständig.")
                .arg(m_nLine)
                .arg(entryLine));
    }
    if (!m_bEntrySeen && m_nFirstStrayLine != 0) {
        FailNoEntries();
    }
    return false;
}

QString* RisReader::TagValue(const QString& tag) {
    for (auto& [name, value] : m_tags) {
        if (name == tag) {
            return &value;
        }
    }
    return nullptr;
}

void RisReader::FailNoEntries() const {
    if (!m_strFirstStrayTag.isEmpty()) {
        throw ExchangeError(
            QStringLiteral("Zeile %1: Vor dem Tag „%2“ beginnt kein Eintrag mit „TY  - “.")
                .arg(m_nFirstStrayLine)
                .arg(m_strFirstStrayTag));
    }
    throw ExchangeError(QStringLiteral("Zeile %1: Das ist keine RIS-Zeile; ein Eintrag beginnt "
                                       "mit „TY  - “.")
                            .arg(m_nFirstStrayLine));
}

ArticleFields RisReader::Entry() {
    const bool article = IsArticleType(m_strType);
    for (const auto& [tag, value] : m_tags) {
        const TaggedColumns::Route route = m_columns.Meet(tag, value);
        if (article || route.target == ColumnTarget::Article) {
            m_collector.Offer(route.target, route.rank, value);
        }
    }
    return m_collector.Take();
}
