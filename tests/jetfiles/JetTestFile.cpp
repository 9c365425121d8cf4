#include "JetTestFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QtEndian>

namespace {

// Jet 3: a data page keeps its row count here, its row offsets after it, its rows from the end.
constexpr int kRowCountAt = 8;
constexpr int kOffsetMask = 0x1fff;
// A table definition: its length, column count, real index count, then index and column entries.
constexpr int kDefinitionLengthAt = 8;
constexpr int kColumnCountAt = 25;
constexpr int kRealIndexCountAt = 31;
constexpr int kIndexesAt = 43;
constexpr int kRealIndexSize = 8;
constexpr int kColumnEntrySize = 18;
constexpr int kCatalogDefinition = 2;

int Int16(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

void SetInt16(QByteArray& bytes, int at, int value) {
    qToLittleEndian<quint16>(static_cast<quint16>(value), bytes.data() + at);
}

JetTestFile::Row ParseRow(const QByteArray& bytes) {
    JetTestFile::Row row;
    const auto size = static_cast<int>(bytes.size());
    row.columns = static_cast<unsigned char>(bytes[0]);
    const int mask = (row.columns + 7) / 8;
    row.notNull = bytes.right(mask);
    const int values = static_cast<unsigned char>(bytes[size - mask - 1]);
    std::vector<int> offsets;
    for (int i = 0; i <= values; ++i) {
        offsets.push_back(static_cast<unsigned char>(bytes[size - mask - 2 - i]));
    }
    row.fixed = bytes.mid(1, offsets[0] - 1);
    for (int i = 0; i < values; ++i) {
        row.values.push_back(bytes.mid(offsets[i], offsets[i + 1] - offsets[i]));
    }
    return row;
}

QByteArray EncodeRow(const JetTestFile::Row& row) {
    QByteArray bytes(1, static_cast<char>(row.columns));
    bytes += row.fixed;
    std::vector<int> offsets;
    for (const QByteArray& value : row.values) {
        offsets.push_back(static_cast<int>(bytes.size()));
        bytes += value;
    }
    offsets.push_back(static_cast<int>(bytes.size()));
    for (auto i = offsets.rbegin(); i != offsets.rend(); ++i) {
        bytes += static_cast<char>(*i);
    }
    bytes += static_cast<char>(row.values.size());
    bytes += row.notNull;
    EXPECT_LT(bytes.size(), 256) << "rows of 256 bytes and more need a jump table";
    return bytes;
}

}  // namespace

QString JetTestFile::DataPath(const QString& name) {
    return QStringLiteral(PERIOLEX_JET_TEST_DATA "/") + name;
}

JetTestFile::JetTestFile(const QString& name) {
    QFile file(DataPath(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    m_bytes = file.readAll();
}

QString JetTestFile::Save(const QString& path) const {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(m_bytes);
    return path;
}

void JetTestFile::Replace(const QByteArray& from, const QByteArray& to) {
    ASSERT_EQ(from.size(), to.size());
    ASSERT_TRUE(m_bytes.contains(from));
    m_bytes.replace(from, to);
}

void JetTestFile::RenameTable(const QByteArray& from, const QByteArray& to) {
    bool renamed = false;
    for (int page = 1; page < m_bytes.size() / kPageSize; ++page) {
        const int at = page * kPageSize;
        if (m_bytes[at] == 1 && qFromLittleEndian<quint32>(m_bytes.constData() + at + 4) ==
                                    static_cast<quint32>(kCatalogDefinition)) {
            // The name is the first variable-size value of a catalogue row.
            RewriteRows(page, [&](int, Row& row) {
                if (!row.values.empty() && row.values[0] == from) {
                    row.values[0] = to;
                    renamed = true;
                }
            });
        }
    }
    EXPECT_TRUE(renamed) << from.toStdString();
}

int JetTestFile::ColumnNames(int definition, int& columns) const {
    const int at = definition * kPageSize;
    columns = Int16(m_bytes, at + kColumnCountAt);
    const auto realIndexes =
        qFromLittleEndian<quint32>(m_bytes.constData() + at + kRealIndexCountAt);
    return at + kIndexesAt + static_cast<int>(realIndexes) * kRealIndexSize +
           columns * kColumnEntrySize;
}

void JetTestFile::RenameColumn(int definition, const QByteArray& from, const QByteArray& to) {
    int columns = 0;
    int name = ColumnNames(definition, columns);
    for (int c = 0; c < columns; ++c) {
        const int size = static_cast<unsigned char>(m_bytes[name]);
        if (m_bytes.mid(name + 1, size) == from) {
            // What follows the names moves with them, up to the definition's end.
            const int page = definition * kPageSize;
            const int length = Int16(m_bytes, page + kDefinitionLengthAt);
            const int end = page + kDefinitionLengthAt + length;
            const auto delta = static_cast<int>(to.size() - from.size());
            ASSERT_LE(end + delta, page + kPageSize);
            const QByteArray rest = m_bytes.mid(name + 1 + size, end - (name + 1 + size));
            QByteArray names(1, static_cast<char>(to.size()));
            names += to + rest;
            m_bytes.replace(name, end - name, names);
            if (delta < 0) {
                m_bytes.insert(end + delta, QByteArray(-delta, '\0'));
            } else {
                m_bytes.remove(end + delta, delta);
            }
            SetInt16(m_bytes, page + kDefinitionLengthAt, length + delta);
            return;
        }
        name += 1 + size;
    }
    ADD_FAILURE() << "no column " << from.toStdString();
}

void JetTestFile::SetColumnType(int definition, const QByteArray& column, char type) {
    int columns = 0;
    int name = ColumnNames(definition, columns);
    const int entries = name - columns * kColumnEntrySize;
    for (int c = 0; c < columns; ++c) {
        const int size = static_cast<unsigned char>(m_bytes[name]);
        if (m_bytes.mid(name + 1, size) == column) {
            m_bytes[entries + c * kColumnEntrySize] = type;
            return;
        }
        name += 1 + size;
    }
    ADD_FAILURE() << "no column " << column.toStdString();
}

void JetTestFile::RewriteRows(int page, const std::function<void(int, Row&)>& edit) {
    const int at = page * kPageSize;
    const int count = Int16(m_bytes, at + kRowCountAt);
    std::vector<int> flags;
    std::vector<QByteArray> rows;
    int end = kPageSize;
    for (int i = 0; i < count; ++i) {
        const int entry = Int16(m_bytes, at + kRowCountAt + 2 + 2 * i);
        const int start = entry & kOffsetMask;
        QByteArray bytes = m_bytes.mid(at + start, end - start);
        end = start;
        flags.push_back(entry & ~kOffsetMask);
        if (flags.back() == 0) {
            Row row = ParseRow(bytes);
            edit(i, row);
            bytes = EncodeRow(row);
        }
        rows.push_back(bytes);
    }
    end = kPageSize;
    for (int i = 0; i < count; ++i) {
        end -= static_cast<int>(rows[i].size());
        m_bytes.replace(at + end, rows[i].size(), rows[i]);
        SetInt16(m_bytes, at + kRowCountAt + 2 + 2 * i, end | flags[i]);
    }
    SetInt16(m_bytes, at + 2, end - (kRowCountAt + 2 + 2 * count));
    ASSERT_GE(end, kRowCountAt + 2 + 2 * count);
}

int JetTestFile::AppendLongValuePage(const std::vector<QByteArray>& rows) {
    QByteArray page(kPageSize, '\0');
    page[0] = 1;
    page[1] = 1;
    page.replace(4, 4, "LVAL");
    SetInt16(page, kRowCountAt, static_cast<int>(rows.size()));
    int end = kPageSize;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        end -= static_cast<int>(rows[i].size());
        page.replace(end, rows[i].size(), rows[i]);
        SetInt16(page, kRowCountAt + 2 + 2 * static_cast<int>(i), end);
    }
    SetInt16(page, 2, end - (kRowCountAt + 2 + 2 * static_cast<int>(rows.size())));
    EXPECT_GE(end, kRowCountAt + 2 + 2 * static_cast<int>(rows.size()));
    const auto number = static_cast<int>(m_bytes.size() / kPageSize);
    m_bytes += page;
    return number;
}
