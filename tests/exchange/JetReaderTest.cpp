#include <JetDatabase.h>
#include <JetReader.h>
#include <TableChoiceError.h>

#include <QCryptographicHash>
#include <QFile>
#include <QStringEncoder>
#include <QtEndian>
#include <map>
#include <random>

#include "ExchangeFiles.h"
#include "jetfiles/JetTestFile.h"

namespace {

using Fields = std::array<std::optional<QString>, 4>;

struct Record {
    std::optional<qint64> key;
    Fields fields;
    bool operator==(const Record&) const = default;
};

void PrintTo(const Record& record, std::ostream* os) {
    *os << (record.key ? std::to_string(*record.key) : "-");
    for (const auto& field : record.fields) {
        *os << " | " << (field ? field->toStdString() : "NULL");
    }
}

const std::nullopt_t kNull = std::nullopt;

class JetReaderTest : public ExchangeFiles {
protected:
    static std::vector<Record> Read(const QString& path, const QString& table = QString()) {
        JetReader reader(path, table);
        std::vector<Record> records;
        ImportRecord record;
        while (reader.Next(record)) {
            records.push_back({record.key, record.fields});
        }
        return records;
    }
    static QString ErrorOf(const QString& path, const QString& table = QString()) {
        try {
            Read(path, table);
        } catch (const ExchangeError& e) {
            return e.Message();
        }
        return {};
    }
    static QByteArray Checksum(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }
};

// Jet 3 keeps 8-bit texts: each row "rowN" of this table holds character N between "AA"s, as
// the test corpus wrote them through Windows-1252 (characters that it lacks became "?"). Made
// into its byte N, every row from 128 to 159 must give Windows-1252's character, not Latin-1's.
TEST_F(JetReaderTest, ReadsJet3TextsAsWindows1252) {
    const QString path = JetTestFile::DataPath(QStringLiteral("testIndexCodesV1997.mdb"));
    std::map<QString, QString> texts;
    for (const Record& record : Read(path, QStringLiteral("Table1"))) {
        texts[record.fields[0].value()] = record.fields[1].value_or("NULL");
        EXPECT_EQ(record.fields[2], kNull);
    }
    EXPECT_EQ(texts.size(), 275u);
    for (int n : {32, 65, 126, 160, 196, 214, 220, 223, 228, 246, 252, 255}) {
        EXPECT_EQ(texts[QStringLiteral("row%1").arg(n)], QStringLiteral("AA%1AA").arg(QChar(n)))
            << n;
    }
    EXPECT_EQ(texts[QStringLiteral("row128")], QStringLiteral("AA?AA"));

    JetTestFile edited(QStringLiteral("testIndexCodesV1997.mdb"));
    for (int n = 128; n < 160; ++n) {
        const QByteArray row = "row" + QByteArray::number(n) + "AA";
        if (edited.Bytes().contains(row + "?AA")) {
            edited.Replace(row + "?AA", row + char(n) + "AA");
        }
    }
    texts.clear();
    for (const Record& record : Read(edited.Save(Path("1252.mdb")), QStringLiteral("Table1"))) {
        texts[record.fields[0].value()] = record.fields[1].value_or("NULL");
    }
    const std::map<int, QString> windows1252{
        {128, "€"}, {129, "\u0081"}, {132, "„"},      {138, "Š"}, {140, "Œ"},
        {145, "‘"}, {146, "’"},      {147, "“"},      {148, "”"}, {150, "–"},
        {151, "—"}, {153, "™"},      {157, "\u009D"}, {159, "Ÿ"}};
    for (const auto& [n, character] : windows1252) {
        EXPECT_EQ(texts[QStringLiteral("row%1").arg(n)], "AA" + character + "AA") << n;
    }
}

// Jet 4 texts are UTF-16, "compressed" to one byte a character where they can be; the only table
// is taken, its only text column is field 1, and its long-integer primary key is the key.
TEST_F(JetReaderTest, ReadsJet4UnicodeTextsWithTheirKeys) {
    QString everyLatin1;
    for (int c = 1; c < 256; ++c) {
        everyLatin1 += QChar(c);
    }
    // As the file's bytes spell them: the Greek with its own accented letters, the
    // sixth text with three control characters.
    const QStringList texts{"only ascii chars",
                            "ääkkösiä",
                            "Мир",
                            QStringLiteral("\u03F0\u03B1\u1F76 \u03C4\u1F79\u03C4' "
                                           "\u1F10\u03B3\u1F7C \u039A\u1F7B\u03F0\u03BB"
                                           "\u03C9\u03C0\u03B1"),
                            "漢字仮名交じり文",
                            QStringLiteral("3L9\u001D52\u0002_AB(\u00A5\u0005!!V"),
                            "ümlaut",
                            everyLatin1};
    std::vector<Record> expected;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        expected.push_back({i + 1, {texts[i], kNull, kNull, kNull}});
    }
    EXPECT_EQ(Read(JetTestFile::DataPath(QStringLiteral("testUnicodeCompV2003.mdb"))), expected);

    // Keys out of the file's order are kept; a key that two rows share is no key at all.
    const QByteArray umlaut("\x07\x00\x00\x00\xff\xfe\xfcml", 9);
    for (const char key : {'\x00', '\x03'}) {
        JetTestFile file(QStringLiteral("testUnicodeCompV2003.mdb"));
        file.Replace(umlaut, key + umlaut.mid(1));
        std::vector<Record> records = expected;
        for (Record& record : records) {
            record.key = key == 0 ? record.key : std::nullopt;
        }
        records[6].key = key == 0 ? std::optional<qint64>(0) : std::nullopt;
        EXPECT_EQ(Read(file.Save(Path("schluessel.mdb"))), records) << int(key);
    }

    // The old catalogue's shape: a long-integer key, then four text columns (and more).
    EXPECT_EQ(
        Read(JetTestFile::DataPath(QStringLiteral("fixedTextTestV2000.mdb"))),
        (std::vector<Record>{{1, {"CORE USER", " ", "-1", "Core User"}},
                             {2, {"admin", "X03MO1qnZdYdgyfeuILPmQ==", "-1", "Admin User"}}}));
}

// ACE files of two versions; with four tables, none of them the catalogue's, the user chooses.
TEST_F(JetReaderTest, ReadsAceFilesAndAsksWhichOfSeveralTables) {
    for (const char* name : {"testV2007.accdb", "testV2010.accdb"}) {
        const QString path = JetTestFile::DataPath(QString::fromLatin1(name));
        EXPECT_TRUE(JetDatabase::Recognises(path));
        // The key is column A, a text: no key, the order of the file.
        EXPECT_EQ(Read(path, QStringLiteral("table1")),
                  (std::vector<Record>{{kNull, {"a", "b", kNull, kNull}},
                                       {kNull, {"abcdefg", "hijklmnop", kNull, kNull}}}))
            << name;
        try {
            Read(path);
            ADD_FAILURE() << "no choice asked for";
        } catch (const TableChoiceError& e) {
            EXPECT_EQ(e.Tables(), (QStringList{"Table1", "Table2", "Table3", "Table4"}));
            EXPECT_TRUE(e.Message().contains(QString::fromLatin1(name)))
                << e.Message().toStdString();
            EXPECT_TRUE(e.Message().contains("--table")) << e.Message().toStdString();
        }
        const QString unknown = ErrorOf(path, QStringLiteral("Artikel"));
        EXPECT_TRUE(unknown.contains("„Artikel“") && unknown.contains("„Table4“"))
            << unknown.toStdString();
    }
}

// The Windows program's own table is found by its name and read by position: field 0 is the
// key, fields 1 to 4 the texts, whatever the columns are called and however many follow.
TEST_F(JetReaderTest, TakesTheCatalogueTableByPosition) {
    JetTestFile file(QStringLiteral("overflowTestV1997.mdb"));
    file.RenameTable("Table1", "Zeitschriften");
    const QString path = file.Save(Path("katalog.plx"));
    EXPECT_TRUE(JetDatabase::Recognises(path));
    // Columns data1, data3 ... data10; rows hold "rowNcolM" texts, others are NULL. Field 0 is a
    // text, so there is no key.
    EXPECT_EQ(Read(path), (std::vector<Record>{{kNull, {kNull, kNull, kNull, kNull}},
                                               {kNull, {"row2col3", kNull, kNull, kNull}},
                                               {kNull, {"row3col3", kNull, kNull, kNull}},
                                               {kNull, {"row4col2", kNull, kNull, kNull}},
                                               {kNull, {"row5col2", kNull, kNull, kNull}},
                                               {kNull, {"row6col2", "row6col3", kNull, kNull}},
                                               {kNull, {kNull, kNull, kNull, kNull}}}));
    // Any other single table: its first four text columns.
    EXPECT_EQ(Read(JetTestFile::DataPath(QStringLiteral("overflowTestV1997.mdb")))[1],
              (Record{kNull, {"row2col1", "row2col3", kNull, kNull}}));
}

// Columns named like a spreadsheet's choose the table among several and map the fields; numbers
// and dates become text. Row 2 of the table holds 222, 21.09.1974, 444.555 and 3.5 currency.
TEST_F(JetReaderTest, MapsNamedColumnsAndWritesNumbersAndDatesAsText) {
    JetTestFile file(QStringLiteral("testV1997.mdb"));
    constexpr int kTable1 = 29;  // the page of Table1's definition
    file.RenameColumn(kTable1, "D", "Heft");
    file.RenameColumn(kTable1, "G", "Zeitschrift");
    file.RenameColumn(kTable1, "F", "Titel");
    file.RenameColumn(kTable1, "H", "Seite");
    EXPECT_EQ(Read(file.Save(Path("named.mdb"))),
              (std::vector<Record>{{kNull, {"0", "12.12.1981", "0", "0"}},
                                   {kNull, {"222", "21.09.1974", "444,555", "3,5"}}}));
}

// A memo field comes whole: kept in the row, on one page of long values, or spread over a chain
// of them. A chain that breaks off or runs in a circle is a damaged file, not a shorter text.
TEST_F(JetReaderTest, ReadsMemosWholeAndRefusesBrokenChains) {
    QStringEncoder windows1252("windows-1252");
    QString longText;
    while (longText.size() < 5000) {
        longText += QStringLiteral("Fünf Straßen über Öl, Nr. %1; ").arg(longText.size());
    }
    const QByteArray bytes = windows1252(longText);
    const QString mediumText = longText.left(1500);

    const auto make = [&](bool broken, bool circle) {
        JetTestFile file(QStringLiteral("overflowTestV1997.mdb"));
        constexpr int kTable1 = 29;
        constexpr int kRows = 31;  // Table1's data page
        file.SetColumnType(kTable1, "data1", 0x0c);
        const int onePage = file.AppendLongValuePage({bytes.left(1500)});
        const int firstPage = onePage + 1;
        const auto pointer = [](int page, int row) {
            QByteArray next(4, '\0');
            qToLittleEndian<quint32>(static_cast<quint32>(page << 8 | row), next.data());
            return next;
        };
        // Three links: 1800, 1800 and the rest of the bytes; the last names no next page.
        file.AppendLongValuePage({pointer(firstPage + 1, 0) + bytes.left(1800)});
        file.AppendLongValuePage(
            {pointer(circle ? firstPage : firstPage + 2, 0) + bytes.mid(1800, 1800)});
        file.AppendLongValuePage({pointer(0, 0) + bytes.mid(3600, broken ? 100 : -1)});
        const auto memo = [&](quint32 flags, int size, int page) {
            QByteArray header(12, '\0');
            qToLittleEndian<quint32>(flags | static_cast<quint32>(size), header.data());
            qToLittleEndian<quint32>(static_cast<quint32>(page << 8), header.data() + 4);
            return header;
        };
        file.RewriteRows(kRows, [&](int index, JetTestFile::Row& row) {
            if (index == 0) {
                row.values[0] = memo(0x80000000, 11, 0) + windows1252(QStringLiteral("Kurz: Öl"));
            } else if (index == 1) {
                row.values[0] = memo(0x40000000, 1500, onePage);
            } else if (index == 3) {
                row.values[0] = memo(0, static_cast<int>(bytes.size()), firstPage);
            } else if (index == 6) {
                row.values[0] = memo(0x80000000, 0, 0);
            }
        });
        return file.Save(Path("memo.mdb"));
    };

    const std::vector<Record> records = Read(make(false, false));
    ASSERT_EQ(records.size(), 7u);
    EXPECT_EQ(records[0].fields[0], QStringLiteral("Kurz: Öl"));
    EXPECT_EQ(records[1].fields[0], mediumText);
    EXPECT_EQ(records[2].fields[0], kNull);
    EXPECT_EQ(records[3].fields[0], longText);
    EXPECT_EQ(records[3].fields[1], QStringLiteral("row4col2"));
    EXPECT_EQ(records[6].fields[0], QString(""));

    for (const bool circle : {false, true}) {
        const QString error = ErrorOf(make(!circle, circle));
        EXPECT_TRUE(error.contains("memo.mdb") && error.contains("beschädigt"))
            << circle << error.toStdString();
    }
}

// Damaged, cut and protected files each get their own German message naming the file, and the
// reader never writes to the file it reads.
TEST_F(JetReaderTest, NamesTheCauseOfEveryBadFile) {
    struct Case {
        const char* source;
        std::function<void(JetTestFile&)> damage;
        const char* table;
        const char* cause;
    };
    std::mt19937 random(16);
    const std::vector<Case> cases{
        {"testV1997.mdb", [](JetTestFile& f) { f.Bytes().truncate(50000); }, "Table1",
         "abgeschnitten"},
        {"fixedTextTestV2000.mdb", [](JetTestFile& f) { f.Bytes().truncate(20 * 4096); }, "",
         "abgeschnitten"},
        {"testUnicodeCompV2003.mdb",
         [](JetTestFile& f) {
             f.Bytes().replace(4096, f.Bytes().size() - 4096,
                               QByteArray(f.Bytes().size() - 4096, '\0'));
         },
         "", "Verzeichnis ihrer Tabellen fehlt"},
        {"testV2010.accdb",
         [&](JetTestFile& f) {
             for (qsizetype i = 4096; i < f.Bytes().size(); ++i) {
                 f.Bytes()[i] = static_cast<char>(random());
             }
         },
         "", "Verzeichnis ihrer Tabellen fehlt"},
        // A password in the header (stored scrambled, so one flipped byte sets it).
        {"testV1997.mdb", [](JetTestFile& f) { f.Bytes()[0x42] = char(f.Bytes()[0x42] ^ 'g'); },
         "Table1", "Schutz in dem Programm"},
        {"testV2007.accdb", [](JetTestFile& f) { f.Bytes()[0x43] = char(f.Bytes()[0x43] ^ 'g'); },
         "Table1", "Kennwort"},
        // Pages encoded with a key.
        {"fixedTextTestV2000.mdb",
         [](JetTestFile& f) { f.Bytes()[0x3e] = char(f.Bytes()[0x3e] ^ 1); }, "", "verschlüsselt"},
        // Table3 holds a whole number and what is made binary data here: nothing to take.
        {"testV1997.mdb", [](JetTestFile& f) { f.SetColumnType(50, "b", 0x09); }, "Table3",
         "keine Spalte mit Texten"},
        // A data page overwritten with zeros: rows are missing.
        {"testIndexCodesV1997.mdb",
         [](JetTestFile& f) {
             const qsizetype page = f.Bytes().indexOf("row200AA") / JetTestFile::kPageSize;
             f.Bytes().replace(page * 2048, 2048, QByteArray(2048, '\0'));
         },
         "Table1", "fehlen Seiten"},
    };
    for (const Case& c : cases) {
        JetTestFile file(QString::fromLatin1(c.source));
        c.damage(file);
        const QString path = file.Save(Path("alt.mdb"));
        const QByteArray before = Checksum(path);
        const QString error = ErrorOf(path, QString::fromLatin1(c.table));
        EXPECT_TRUE(error.contains(QStringLiteral("„%1“").arg(path)) &&
                    error.contains(QString::fromUtf8(c.cause)))
            << c.source << ": " << error.toStdString();
        EXPECT_EQ(Checksum(path), before);
    }

    for (const char* name : {"testV1997.mdb", "testUnicodeCompV2003.mdb", "testV2010.accdb"}) {
        const QString path = JetTestFile::DataPath(QString::fromLatin1(name));
        const QByteArray before = Checksum(path);
        ErrorOf(path, QStringLiteral("Table1"));
        EXPECT_EQ(Checksum(path), before) << name;
    }
    EXPECT_FALSE(JetDatabase::Recognises(Write("a.csv", "Nummer;Name\n1;Jet\n")));
    EXPECT_FALSE(
        JetDatabase::Recognises(Write("kurz.mdb", QByteArray("\0\1\0\0Standard Jet", 16))));
    EXPECT_FALSE(JetDatabase::Recognises(Path("fehlt.mdb")));
}

// Whatever a damaged file holds, reading it ends, with its records or with an ExchangeError:
// files cut at many places and with pages overwritten by chance.
TEST_F(JetReaderTest, DamagedFilesNeverCrashOrHang) {
    std::mt19937 random(1997);
    int failures = 0;
    for (const char* name : {"testV1997.mdb", "testIndexCodesV1997.mdb", "fixedTextTestV2000.mdb",
                             "testV2007.accdb"}) {
        const JetTestFile original{QString::fromLatin1(name)};
        for (int i = 0; i < 40; ++i) {
            JetTestFile file = original;
            QByteArray& bytes = file.Bytes();
            if (i % 2 == 0) {
                bytes.truncate(0x98 + static_cast<qsizetype>(random() % (bytes.size() - 0x98)));
            } else {
                const qsizetype at =
                    0x98 + static_cast<qsizetype>(random() % (bytes.size() - 0x98));
                const qsizetype size = std::min<qsizetype>(1 + random() % 600, bytes.size() - at);
                for (qsizetype b = at; b < at + size; ++b) {
                    bytes[b] = static_cast<char>(random());
                }
            }
            try {
                Read(file.Save(Path("zufall.mdb")), QStringLiteral("Table1"));
            } catch (const ExchangeError&) {
                ++failures;
            }
        }
    }
    EXPECT_GT(failures, 40);
}

}  // namespace
