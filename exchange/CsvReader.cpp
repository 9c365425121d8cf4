#include "CsvReader.h"

#include <array>
#include <vector>

#include "ColumnMatch.h"
#include "CsvHeader.h"
#include "ExchangeError.h"

namespace {

// A field longer than this is no article text but a broken file (a quote never closed); reading
// on would only fill the memory.
constexpr std::size_t kMaxFieldBytes = 64u << 20;
constexpr std::size_t kFieldBufferStep = 1u << 20;
// Headings, examples and columns not taken are kept for the first columns only.
constexpr std::size_t kMaxColumns = 256;
// Enough rows to see what the data under a heading looks like.
constexpr std::size_t kHeadingSample = 20;

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

CsvReader::CsvReader(const QString& path, const ImportSettings& settings)
    : m_file(path, settings.encoding), m_decoder(false, settings.encoding), m_requested(settings) {
    csv_init(&m_parser, CSV_STRICT | CSV_STRICT_FINI | CSV_EMPTY_IS_NULL);
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

ImportSettings CsvReader::Settings() const {
    ImportSettings settings;
    settings.encoding = m_file.Utf16() ? m_file.Utf16() : m_decoder.Encoding();
    settings.separator = m_cSeparator;
    settings.header = m_bHeader;
    std::vector<ImportColumn> columns;
    for (std::size_t i = 0; i < m_targets.size(); ++i) {
        columns.push_back({Heading(i), m_targets[i], m_examples[i]});
    }
    settings.columns = std::move(columns);
    return settings;
}

QStringList CsvReader::UntakenColumns() const {
    QStringList untaken;
    for (std::size_t i = 0; i < m_hadText.size(); ++i) {
        if (m_hadText[i] && (i >= m_targets.size() || m_targets[i] == ColumnTarget::None)) {
            untaken.append(Heading(i));
        }
    }
    return untaken;
}

QString CsvReader::Heading(std::size_t column) const {
    if (column < m_headings.size() && !m_headings[column].trimmed().isEmpty()) {
        return m_headings[column];
    }
    return QStringLiteral("Spalte %1").arg(column + 1);
}

void CsvReader::Start(const QByteArray& firstBlock) {
    m_bStarted = true;
    m_decoder = TextDecoder(m_file.HadByteOrderMark(), m_requested.encoding);
    m_cSeparator = m_requested.separator ? *m_requested.separator
                                         : static_cast<char>(DetectSeparator(firstBlock));
    csv_set_delim(&m_parser, static_cast<unsigned char>(m_cSeparator));
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
    if (!m_bDecided) {
        Decide();
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
    if (m_bDecided) {
        TakeCell(column, data, length);
    } else if (column < kMaxColumns) {
        // A bare empty field (no quotes) comes as a null pointer.
        m_sampleRow.push_back(
            data ? std::optional<QString>(m_decoder.Decode(data, length, m_nRowLine))
                 : std::nullopt);
    }
}

void CsvReader::RowEnd() {
    m_nColumn = 0;
    m_nRowLine = 0;
    if (m_bDecided) {
        EndRecord();
        return;
    }
    m_sample.push_back(std::move(m_sampleRow));
    m_sampleRow.clear();
    if (m_sample.size() == kHeadingSample + 1) {
        Decide();
    }
}

void CsvReader::Decide() {
    m_bDecided = true;
    const auto texts = [](const Row& row) {
        std::vector<QString> cells;
        for (const std::optional<QString>& cell : row) {
            cells.push_back(cell.value_or(QString()));
        }
        return cells;
    };
    std::vector<std::vector<QString>> below;
    std::size_t width = 0;
    for (std::size_t i = 0; i < m_sample.size(); ++i) {
        width = std::max(width, m_sample[i].size());
        if (i > 0) {
            below.push_back(texts(m_sample[i]));
        }
    }
    const std::vector<QString> first =
        m_sample.empty() ? std::vector<QString>() : texts(m_sample[0]);
    m_bHeader =
        m_requested.header.value_or(!m_sample.empty() && CsvHeader::IsHeading(first, below));
    if (m_bHeader) {
        m_headings = first;
        m_headings.resize(width);
    }
    std::vector<QString> headings;
    for (std::size_t i = 0; i < width; ++i) {
        headings.push_back(Heading(i));
    }
    if (m_requested.columns) {
        m_targets = ColumnMatch::Targets(headings, *m_requested.columns);
    } else if (m_bHeader) {
        m_targets = CsvHeader::Targets(first);
    } else {
        m_targets = {ColumnTarget::Issue, ColumnTarget::Magazine, ColumnTarget::Article,
                     ColumnTarget::Page};
    }
    // Rows wider than the first ones still fill the form's fields.
    m_targets.resize(std::max(width, m_targets.size()), ColumnTarget::None);
    m_examples.resize(m_targets.size());
    for (std::size_t i = m_bHeader ? 1 : 0; i < m_sample.size(); ++i) {
        for (std::size_t column = 0; column < m_sample[i].size(); ++column) {
            const std::optional<QString>& cell = m_sample[i][column];
            if (cell && column < m_examples.size() && m_examples[column].isEmpty()) {
                m_examples[column] = *cell;
            }
            TakeText(column, cell);
        }
        EndRecord();
    }
    m_sample.clear();
}

void CsvReader::TakeCell(std::size_t column, const char* data, qsizetype size) {
    if (!data) {
        return;
    }
    m_bRowBare = false;
    // Columns that go nowhere are not even decoded.
    const ColumnTarget target = column < m_targets.size() ? m_targets[column] : ColumnTarget::None;
    if (target != ColumnTarget::None) {
        m_collector.Offer(target, static_cast<int>(column),
                          m_decoder.Decode(data, size, m_nRowLine));
    } else {
        MarkUntaken(column, size > 0);
    }
}

void CsvReader::TakeText(std::size_t column, const std::optional<QString>& cell) {
    if (!cell) {
        return;
    }
    m_bRowBare = false;
    const ColumnTarget target = column < m_targets.size() ? m_targets[column] : ColumnTarget::None;
    if (target != ColumnTarget::None) {
        m_collector.Offer(target, static_cast<int>(column), *cell);
    } else {
        MarkUntaken(column, !cell->isEmpty());
    }
}

void CsvReader::MarkUntaken(std::size_t column, bool hasText) {
    if (hasText && column < kMaxColumns) {
        if (m_hadText.size() <= column) {
            m_hadText.resize(column + 1);
        }
        m_hadText[column] = true;
    }
}

void CsvReader::EndRecord() {
    if (m_bRowBare) {
        ++m_nBareRows;
        return;
    }
    // Bare rows between records stand for empty rows of the sheet.
    for (; m_nBareRows > 0; --m_nBareRows) {
        m_ready.emplace_back();
    }
    m_ready.push_back(m_collector.Take());
    m_bRowBare = true;
}
