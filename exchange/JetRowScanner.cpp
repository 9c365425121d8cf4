#include "JetRowScanner.h"

#include <QtEndian>
#include <unordered_set>
#include <vector>

#include "JetDatabaseHandle.h"
#include "JetText.h"
#include "JetUsageMap.h"
#include "JetValue.h"

namespace {

constexpr unsigned char kDataPage = 0x01;
constexpr int kOffsetMask = 0x1fff;
// Set on a row that was deleted, and on one that only points to where the row moved (the row
// itself is read where it lies).
constexpr int kNotHereFlag = 0x4000;
// A memo field's 12 bytes in the row: its length with two flags, then where it lies.
constexpr int kMemoHeaderSize = 12;
constexpr quint32 kMemoInline = 0x80000000;
constexpr quint32 kMemoOnePage = 0x40000000;
constexpr quint32 kMemoLengthMask = 0x3fffffff;
// The engine allows 255 columns and 32 indexes a table; more is a broken definition.
constexpr unsigned kMaxColumns = 255;
constexpr unsigned kMaxIndexes = 64;
constexpr int kPrimaryKeyIndex = 1;

}  // namespace

struct JetRowScanner::State {
    MdbCatalogEntry entry{};  // the table's place in the file, for libmdb
    MdbHandle* mdb = nullptr;
    unsigned long pages = 0;
    std::unique_ptr<MdbTableDef, decltype(&mdb_free_tabledef)> table{nullptr, &mdb_free_tabledef};
    std::vector<MdbField> fields;
    std::optional<JetUsageMap> usageMap;
    bool unicode = false;
    unsigned long page = 0;  // the data page in mdb->pg_buf; 0 before the first
    int rowsOnPage = 0;
    int nextRow = 0;
    int rowStart = 0;  // the current row in mdb->pg_buf
    int rowEnd = 0;
    // Pages the table's page list names that hold none of its rows: harmless in a file that was
    // not closed properly, loss when rows are missing.
    bool strayPage = false;
    unsigned long rowsRead = 0;

    QString Decode(QByteArrayView bytes) const {
        return unicode ? JetText::FromUnicode(bytes) : JetText::FromWindows1252(bytes);
    }
    QByteArrayView Bytes(int start, int size) const {
        return {reinterpret_cast<const char*>(mdb->pg_buf) + start, size};
    }
};

JetRowScanner::JetRowScanner(const JetDatabase& database, const QString& name,
                             unsigned long definitionPage)
    : m_database(database), m_strTable(name), m_state(new State) {
    State& s = *m_state;
    const JetDatabase::Handle& handle = *database.m_handle;
    s.mdb = handle.mdb;
    s.pages = handle.pages;
    s.unicode = database.Header().HasUnicodeTexts();
    s.entry.mdb = s.mdb;
    s.entry.object_type = MDB_TABLE;
    s.entry.table_pg = definitionPage;
    const QString unreadable = QStringLiteral("die Tabelle „%1“ ist unlesbar").arg(name);
    if (definitionPage >= s.pages) {
        ThrowCutShort();
    }
    s.table.reset(mdb_read_table(&s.entry));
    if (!s.table || s.table->num_cols == 0 || s.table->num_cols > kMaxColumns ||
        s.table->num_real_idxs > kMaxIndexes || s.table->num_idxs > kMaxIndexes ||
        !mdb_read_columns(s.table.get()) || s.table->columns->len != s.table->num_cols) {
        database.ThrowDamaged(unreadable);
    }
    for (unsigned c = 0; c < s.table->num_cols; ++c) {
        const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(s.table->columns, c));
        m_columns.push_back(
            {QString::fromUtf8(column->name), static_cast<JetType>(column->col_type)});
    }
    s.fields.resize(s.table->num_cols);
    const QByteArray map(reinterpret_cast<const char*>(s.table->usage_map),
                         s.table->usage_map ? static_cast<qsizetype>(s.table->map_sz) : 0);
    MdbHandle* mdb = s.mdb;
    s.usageMap.emplace(map, s.pages, static_cast<int>(mdb->fmt->pg_size),
                       [mdb](unsigned long page) -> const unsigned char* {
                           return mdb_read_alt_pg(mdb, page) == mdb->fmt->pg_size ? mdb->alt_pg_buf
                                                                                  : nullptr;
                       });
}

unsigned long JetRowScanner::RowCount() const {
    return m_state->table->num_rows;
}

int JetRowScanner::Column(const QString& name) const {
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        if (m_columns[c].name.compare(name, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(c);
        }
    }
    return -1;
}

int JetRowScanner::PrimaryKey() {
    State& s = *m_state;
    if (!mdb_read_indices(s.table.get())) {
        return -1;
    }
    int key = -1;
    for (unsigned x = 0; x < s.table->indices->len; ++x) {
        const auto* index = static_cast<MdbIndex*>(g_ptr_array_index(s.table->indices, x));
        if (index->index_type != kPrimaryKeyIndex || index->num_keys != 1) {
            continue;
        }
        // Index keys name a column by its number in the file, counted from 1.
        for (unsigned c = 0; c < s.table->num_cols; ++c) {
            const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(s.table->columns, c));
            if (column->col_num + 1 == index->key_col_num[0]) {
                key = static_cast<int>(c);
            }
        }
    }
    return key;
}

JetRowScanner::~JetRowScanner() = default;

void JetRowScanner::ThrowCutShort() const {
    m_database.ThrowDamaged(
        QStringLiteral("die Datei ist unvollständig, ihr fehlen Seiten der Tabelle „%1“ "
                       "(abgeschnitten, etwa beim Kopieren)")
            .arg(m_strTable));
}

bool JetRowScanner::Next() {
    State& s = *m_state;
    const MdbFormatConstants& format = *s.mdb->fmt;
    const auto pageSize = static_cast<int>(format.pg_size);
    for (;;) {
        if (s.nextRow >= s.rowsOnPage) {
            if (!NextPage()) {
                return false;
            }
            continue;
        }
        const int row = s.nextRow++;
        const int entry = mdb_get_int16(s.mdb->pg_buf, format.row_count_offset + 2 + row * 2);
        if (entry & kNotHereFlag) {
            continue;
        }
        int start = 0;
        size_t size = 0;
        if (mdb_find_row(s.mdb, row, &start, &size) != 0) {
            m_database.ThrowDamaged(
                QStringLiteral("eine Seite der Tabelle „%1“ ist unlesbar").arg(m_strTable));
        }
        start &= kOffsetMask;
        if (size == 0) {
            continue;
        }
        if (mdb_crack_row(s.table.get(), start, size, s.fields.data()) < 0) {
            m_database.ThrowDamaged(
                QStringLiteral("ein Datensatz der Tabelle „%1“ ist unlesbar").arg(m_strTable));
        }
        s.rowStart = start;
        s.rowEnd = start + static_cast<int>(size);
        for (const MdbField& field : s.fields) {
            if (!field.is_null && (field.start < start || field.siz < 0 ||
                                   field.start + field.siz > s.rowEnd || s.rowEnd > pageSize)) {
                m_database.ThrowDamaged(
                    QStringLiteral("ein Datensatz der Tabelle „%1“ ist unlesbar").arg(m_strTable));
            }
        }
        ++s.rowsRead;
        return true;
    }
}

bool JetRowScanner::NextPage() {
    State& s = *m_state;
    MdbTableDef& table = *s.table;
    const MdbFormatConstants& format = *s.mdb->fmt;
    for (;;) {
        bool valid = true;
        const unsigned long next = s.usageMap->Next(s.page, valid);
        if (!valid) {
            m_database.ThrowDamaged(
                QStringLiteral("die Seitenliste der Tabelle „%1“ ist unlesbar").arg(m_strTable));
        }
        if (next == 0) {
            if (s.strayPage && s.rowsRead < table.num_rows) {
                m_database.ThrowDamaged(
                    QStringLiteral("der Tabelle „%1“ fehlen Seiten mit Datensätzen (%2 von %3 "
                                   "lesbar)")
                        .arg(m_strTable)
                        .arg(s.rowsRead)
                        .arg(table.num_rows));
            }
            return false;
        }
        s.page = next;
        if (s.page >= s.pages) {
            ThrowCutShort();
        }
        if (mdb_read_pg(s.mdb, s.page) != format.pg_size || s.mdb->pg_buf[0] != kDataPage ||
            static_cast<unsigned long>(mdb_get_int32(s.mdb->pg_buf, 4)) !=
                s.table->entry->table_pg) {
            s.strayPage = true;
            continue;
        }
        const int rows = mdb_get_int16(s.mdb->pg_buf, format.row_count_offset);
        if (format.row_count_offset + 2 + rows * 2 > format.pg_size) {
            m_database.ThrowDamaged(
                QStringLiteral("eine Seite der Tabelle „%1“ ist unlesbar").arg(m_strTable));
        }
        s.rowsOnPage = rows;
        s.nextRow = 0;
        return true;
    }
}

std::optional<QString> JetRowScanner::Text(int column) {
    State& s = *m_state;
    const MdbField& field = s.fields.at(static_cast<std::size_t>(column));
    const auto* definition =
        static_cast<MdbColumn*>(g_ptr_array_index(s.table->columns, field.colnum));
    const auto type = static_cast<JetType>(definition->col_type);
    // A yes/no column keeps its value where other columns keep whether they are NULL.
    if (type == JetType::Boolean) {
        return JetValue::BooleanText(!field.is_null);
    }
    if (field.is_null) {
        return std::nullopt;
    }
    switch (type) {
        case JetType::Text:
            return s.Decode(s.Bytes(field.start, field.siz));
        case JetType::Memo:
            return s.Decode(LongValue(field.start, field.siz));
        case JetType::Decimal: {
            std::unique_ptr<char, decltype(&g_free)> text(
                mdb_numeric_to_string(s.mdb, field.start, definition->col_scale,
                                      definition->col_prec),
                &g_free);
            return QString::fromLatin1(text.get()).replace(QLatin1Char('.'), QLatin1Char(','));
        }
        default:
            return JetValue::Text(type, s.Bytes(field.start, field.siz));
    }
}

std::optional<qint64> JetRowScanner::WholeNumber(int column) {
    const State& s = *m_state;
    const MdbField& field = s.fields.at(static_cast<std::size_t>(column));
    if (field.is_null) {
        return std::nullopt;
    }
    const unsigned char* data = s.mdb->pg_buf + field.start;
    switch (m_columns.at(static_cast<std::size_t>(column)).type) {
        case JetType::Byte:
            return field.siz >= 1 ? std::optional<qint64>(data[0]) : std::nullopt;
        case JetType::Integer:
            return field.siz >= 2 ? std::optional<qint64>(qFromLittleEndian<qint16>(data))
                                  : std::nullopt;
        case JetType::Long:
            return field.siz >= 4 ? std::optional<qint64>(qFromLittleEndian<qint32>(data))
                                  : std::nullopt;
        default:
            return std::nullopt;
    }
}

QByteArray JetRowScanner::LongValue(int start, int size) {
    State& s = *m_state;
    const QString unreadable =
        QStringLiteral("ein langer Text der Tabelle „%1“ ist unlesbar").arg(m_strTable);
    if (size < kMemoHeaderSize) {
        m_database.ThrowDamaged(unreadable);
    }
    const quint32 header = static_cast<quint32>(mdb_get_int32(s.mdb->pg_buf, start));
    const qsizetype length = header & kMemoLengthMask;
    if (header & kMemoInline) {
        return s.Bytes(start + kMemoHeaderSize, size - kMemoHeaderSize).toByteArray();
    }
    // The value lies in rows of other pages, each naming the next; a chain that comes back to a
    // row it passed is damaged, whatever length it would give.
    qint32 pageRow = static_cast<qint32>(mdb_get_int32(s.mdb->pg_buf, start + 4));
    const bool onePage = (header & kMemoOnePage) != 0;
    QByteArray value;
    value.reserve(
        std::min<qsizetype>(length, static_cast<qsizetype>(s.pages) * s.mdb->fmt->pg_size));
    std::unordered_set<qint32> visited;
    while (value.size() < length) {
        void* page = nullptr;
        int offset = 0;
        size_t rowSize = 0;
        if (static_cast<unsigned long>(pageRow) >> 8 >= s.pages) {
            ThrowCutShort();
        }
        if (pageRow == 0 || !visited.insert(pageRow).second ||
            mdb_find_pg_row(s.mdb, pageRow, &page, &offset, &rowSize) != 0) {
            m_database.ThrowDamaged(unreadable);
        }
        const char* row = static_cast<const char*>(page) + offset;
        if (onePage) {
            value.append(row, std::min<qsizetype>(static_cast<qsizetype>(rowSize), length));
            break;
        }
        if (rowSize < 4) {
            m_database.ThrowDamaged(unreadable);
        }
        pageRow = static_cast<qint32>(mdb_get_int32(page, offset));
        value.append(row + 4, std::min<qsizetype>(static_cast<qsizetype>(rowSize) - 4,
                                                  length - value.size()));
    }
    if (value.size() < length) {
        m_database.ThrowDamaged(unreadable);
    }
    return value;
}
