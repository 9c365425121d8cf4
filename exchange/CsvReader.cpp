#include "CsvReader.h"

#include <array>
#include <vector>

#include "CsvHeader.h"
#include "ExchangeError.h"

namespace {

// A field longer than this is no article text but a broken file (a quote never closed); reading
// on would only fill the memory.
constexpr std::size_t kMaxFieldBytes = 64u << 20;
constexpr std::size_t kFieldBufferStep = 1u << 20;
// A header row is looked for in its first columns only.
constexpr std::size_t kMaxHeaderColumns = 256;

// Spaces belong to the field: spreadsheets write them on purpose.
int NeverSpace(unsigned char) {
    return 0;
}

constexpr std::array<char, 3> kSeparators{';', '\t', ','};
// Enough records to tell a separator from a character that only some texts contain.
constexpr std::size_t kSampleRecords = 20;

using SeparatorCounts = std::array<int, kSeparators.size()>;

// How often each separator stands outside quotes in each of the block's first records; blank
// lines are no records, and a record cut off by the block's end is left out when others exist.
std::vector<SeparatorCounts> CountSeparators(const QByteArray& block) {
    std::vector<SeparatorCounts> records;
    SeparatorCounts counts{};
    bool quoted = false;
    bool blank = true;
    for (const char c : block) {
        if (c == '"') {
            quoted = !quoted;
            blank = false;
        } else if (!quoted && c == '\n') {
            if (!blank) {
                records.push_back(counts);
                if (records.size() == kSampleRecords) {
                    return records;
                }
            }
            counts = {};
            blank = true;
        } else if (!quoted) {
            for (std::size_t i = 0; i < kSeparators.size(); ++i) {
                counts[i] += c == kSeparators[i] ? 1 : 0;
            }
            blank = blank && (c == ' ' || c == '\r');
        }
    }
    if (!blank && records.empty()) {
        records.push_back(counts);
    }
    return records;
}

// The separator that every sampled record uses equally often, ';' first on a tie; failing
// that, the one the most records use; ';' when there is none.
unsigned char DetectSeparator(const QByteArray& block) {
    const std::vector<SeparatorCounts> records = CountSeparators(block);
    std::size_t best = 0;
    std::size_t bestUsers = 0;
    for (std::size_t i = 0; i < kSeparators.size(); ++i) {
        bool constant = !records.empty() && records.front()[i] > 0;
        std::size_t users = 0;
        for (const SeparatorCounts& counts : records) {
            constant = constant && counts[i] == records.front()[i];
            users += counts[i] > 0 ? 1 : 0;
        }
        if (constant) {
            return static_cast<unsigned char>(kSeparators[i]);
        }
        if (users > bestUsers) {
            best = i;
            bestUsers = users;
        }
    }
    return static_cast<unsigned char>(kSeparators[best]);
}

bool HasText(QByteArrayView segment) {
    for (const char c : segment) {
        if (c != ' ' && c != '\r' && c != '\n') {
            return true;
        }
    }
    return false;
}

}  // namespace

CsvReader::CsvReader(const QString& path) : m_file(path), m_decoder(false) {
    csv_init(&m_parser, CSV_STRICT | CSV_STRICT_FINI);
    csv_set_space_func(&m_parser, NeverSpace);
    // The field buffer grows by this much at a time; libcsv's small default makes a field of a
    // few megabytes cost thousands of copies of itself.
    csv_set_blk_size(&m_parser, kFieldBufferStep);
}

CsvReader::~CsvReader() {
    csv_free(&m_parser);
}

bool CsvReader::Next(ImportRecord& record) {
    QByteArray block;
    while (m_ready.empty() && !m_bEnded) {
        if (!m_file.Read(block)) {
            Finish();
        } else {
            if (!m_bStarted) {
                Start(block);
            }
            Feed(block);
        }
    }
    if (m_ready.empty()) {
        return false;
    }
    record = ImportRecord::OfTexts(m_ready.front());
    m_ready.pop_front();
    return true;
}

void CsvReader::Start(const QByteArray& firstBlock) {
    m_bStarted = true;
    m_decoder = TextDecoder(m_file.HadByteOrderMark());
    const unsigned char separator = DetectSeparator(firstBlock);
    csv_set_delim(&m_parser, separator);
}

void CsvReader::Feed(const QByteArray& block) {
    // Fed line by line, so that every field and every error knows its line.
    qsizetype begin = 0;
    while (begin < block.size()) {
        qsizetype end = block.indexOf('\n', begin);
        const bool lineEnds = end >= 0;
        end = lineEnds ? end + 1 : block.size();
        const QByteArrayView segment = QByteArrayView(block).sliced(begin, end - begin);
        if (m_nRowLine == 0 && HasText(segment)) {
            m_nRowLine = m_nLine;
        }
        const auto size = static_cast<std::size_t>(segment.size());
        if (csv_parse(&m_parser, segment.data(), size, OnField, OnRowEnd, this) != size) {
            FailParse(m_nLine);
        }
        if (csv_get_buffer_size(&m_parser) > kMaxFieldBytes) {
            throw ExchangeError(
                QStringLiteral("Zeile %1: Ein Feld ist länger als 64 MB; vermutlich wird ein "
                               "Anführungszeichen nicht geschlossen.")
                    .arg(m_nRowLine));
        }
        m_nLine += lineEnds ? 1 : 0;
        begin = end;
    }
}

void CsvReader::Finish() {
    m_bEnded = true;
    if (csv_fini(&m_parser, OnField, OnRowEnd, this) != 0) {
        FailParse(m_nRowLine);
    }
}

void CsvReader::FailParse(qint64 line) {
    if (csv_error(&m_parser) != CSV_EPARSE) {
        throw ExchangeError(
            QStringLiteral("Zeile %1: Der Speicher reicht für dieses Feld nicht aus.").arg(line));
    }
    if (m_bEnded) {
        throw ExchangeError(QStringLiteral("Zeile %1: Ein Anführungszeichen wird bis zum Ende der "
                                           "Datei nicht geschlossen.")
                                .arg(line));
    }
    throw ExchangeError(
        QStringLiteral("Zeile %1: Ein Anführungszeichen steht mitten in einem Feld; Felder mit "
                       "Anführungszeichen müssen ganz in Anführungszeichen stehen.")
            .arg(line));
}

void CsvReader::OnField(void* data, size_t size, void* self) {
    static_cast<CsvReader*>(self)->Field(static_cast<const char*>(data), size);
}

void CsvReader::OnRowEnd(int, void* self) {
    static_cast<CsvReader*>(self)->RowEnd();
}

void CsvReader::Field(const char* data, size_t size) {
    const std::size_t column = m_nColumn++;
    const auto length = static_cast<qsizetype>(size);
    if (!m_bHeaderChecked) {
        if (column < kMaxHeaderColumns) {
            m_firstRow.push_back(m_decoder.Decode(data, length, m_nRowLine));
        }
        return;
    }
    if (column < m_columnFields.size() && m_columnFields[column] >= 0) {
        m_row[m_columnFields[column]] = m_decoder.Decode(data, length, m_nRowLine);
    }
}

void CsvReader::RowEnd() {
    m_nColumn = 0;
    m_nRowLine = 0;
    if (!m_bHeaderChecked) {
        m_bHeaderChecked = true;
        m_columnFields = CsvHeader::ColumnFields(m_firstRow);
        m_bDataRow = m_columnFields.empty();
        if (m_bDataRow) {
            m_columnFields = {kIssueField, kMagazineField, kArticleField, kPageField};
            for (std::size_t i = 0; i < m_firstRow.size() && i < m_columnFields.size(); ++i) {
                m_row[m_columnFields[i]] = m_firstRow[i];
            }
        }
        m_firstRow.clear();
    }
    if (m_bDataRow) {
        m_ready.push_back(std::move(m_row));
    }
    m_bDataRow = true;
    m_row = ArticleFields{};
}
