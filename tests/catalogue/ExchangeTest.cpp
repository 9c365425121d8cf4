#include <ExchangeError.h>
#include <ResourceLookup.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>

#include "catalogue/CatalogueExport.h"
#include "catalogue/CatalogueImport.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"
#include "view/ArticleQuery.h"

namespace {

class ExchangeTest : public ProgramTest {
protected:
    // The messages come from the program's string table, which starting the program installs.
    void SetUp() override {
        ProgramTest::SetUp();
        AfxSetResourceTables(&PeriolexResources());
    }

    // A catalogue holding exactly these records, NULL where a field is a null QString.
    QString CatalogueWith(const std::vector<StoredRecord>& records, const QString& name) {
        const QString path = TempPath(name);
        QFile::copy(TemplatePath(), path);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        sqlite3_exec(db, "DELETE FROM Zeitschriften", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO Zeitschriften (Zeitschriftennummer, Zeitschriftenname, "
                           "Artikelname, Seite) VALUES (?, ?, ?, ?)",
                           -1, &insert, nullptr);
        for (const StoredRecord& record : records) {
            for (int i = 0; i < 4; ++i) {
                const QByteArray text = record[i].toUtf8();
                if (record[i].isNull()) {
                    sqlite3_bind_null(insert, i + 1);
                } else {
                    sqlite3_bind_text(insert, i + 1, text.constData(), -1, SQLITE_TRANSIENT);
                }
            }
            EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_close(db);
        return path;
    }

    // Export, then import into a new catalogue: what comes back.
    std::vector<StoredRecord> RoundTrip(const QString& catalogue, const QString& exchangeFile) {
        const long written =
            ExportRecords(catalogue, WholeTableQuery().statement, {}, TempPath(exchangeFile));
        const QString copy = TempPath(exchangeFile + ".plx");
        const ImportSummary summary =
            ImportRecords(TempPath(exchangeFile), copy, ImportTarget::Replace);
        EXPECT_EQ(summary.records, written);
        return StoredRecords(copy);
    }

    // Leaves the folder as it was: no catalogue, no half-built file beside it.
    QStringList FolderFiles() const {
        return QDir(TempPath({})).entryList(QDir::Files | QDir::Hidden);
    }

    static std::vector<StoredRecord> WithoutNulls(std::vector<StoredRecord> records) {
        for (StoredRecord& record : records) {
            for (QString& field : record) {
                field.replace(QStringLiteral("<null>"), QString());
            }
        }
        return records;
    }
};

const std::vector<StoredRecord> kHostile{
    {"3/1996", "Datenkompass", "Fünf \"17-Zoll\"; Monitore, billig", "18"},
    {"12/2001", "{c't}", "C:\\Programme\\ & 100% $ #1 _x_ ~ ^ 'a' [b]", "7-9"},
    {"Sonderheft", "Beet & Laube", "Zeile eins\nZeile zwei", " "},
    {"1/2020", "Emoji 😀 Welt", "ß äöü ÄÖÜ – „Anführung“ TY  - JOUR", "ii"},
    {QString(), QString(), "Nur ein Titel, länger als dreißig Zeichen und noch mehr", QString()},
    {"4/1996", "a\n\nb\n", "x\nAB  - weiter\r\nER  - \r", "\n"},
    {"", "", "", ""},
};

TEST_F(ExchangeTest, ExportThenImportGivesBackTheSameRecordsInOrder) {
    const QString example = CopyOfExample();
    EXPECT_EQ(RoundTrip(example, "beispiel.csv"), StoredRecords(example));
    EXPECT_EQ(RoundTrip(example, "beispiel.ris"), StoredRecords(example));

    const QString hostile = CatalogueWith(kHostile, "feindlich.plx");
    EXPECT_EQ(WithoutNulls(RoundTrip(hostile, "feindlich.csv")), WithoutNulls(kHostile));
    EXPECT_EQ(WithoutNulls(RoundTrip(hostile, "feindlich.ris")), WithoutNulls(kHostile));

    const QString generated = GeneratedCatalogue(2000);
    EXPECT_EQ(RoundTrip(generated, "gen.csv"), StoredRecords(generated));
}

TEST_F(ExchangeTest, ImportCountsLongTextsAndKeepsThemWhole) {
    const QString csv = TempPath("lang.csv");
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "Artikelname;Seite\n"
        "Ein Titel, der deutlich länger als dreißig Zeichen ist;1234567890123456789012345678901\n"
        "genau dreißig Zeichen lang ..;1\n");
    file.close();
    const QString catalogue = TempPath("lang.plx");
    const ImportSummary summary = ImportRecords(csv, catalogue, ImportTarget::AppendOrCreate);
    EXPECT_EQ(summary.records, 2);
    EXPECT_EQ(summary.longTexts, 2);
    EXPECT_EQ(StoredRecords(catalogue)[0][2],
              "Ein Titel, der deutlich länger als dreißig Zeichen ist");
    EXPECT_EQ(summary.Text("k.plx"),
              "2 Datensätze wurden in „k.plx“ übernommen. 2 Texte sind länger als 30 Zeichen; sie "
              "wurden vollständig übernommen.");
}

// Appending the same file again doubles nothing unless asked to; a file that lists a record
// twice keeps both, and what was left out is said.
TEST_F(ExchangeTest, AppendingSkipsRecordsTheCatalogueHoldsAlready) {
    const QString csv = TempPath("liste.csv");
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Heft;Titel;Autor\n3/1996;Monitore;Maier\n3/1996;Monitore;Maier\n4/1996;Drucker;\n");
    file.close();
    const QString catalogue = TempPath("liste.plx");
    const ImportSummary first = ImportRecords(csv, catalogue, ImportTarget::AppendOrCreate);
    EXPECT_EQ(first.records, 3);
    EXPECT_EQ(first.duplicates, 0);
    EXPECT_EQ(first.untaken, QStringList{"Autor"});

    const ImportSummary again = ImportRecords(csv, catalogue, ImportTarget::AppendOrCreate);
    EXPECT_EQ(again.records, 0);
    EXPECT_EQ(again.duplicates, 3);
    EXPECT_EQ(StoredRecords(catalogue).size(), 3u);
    EXPECT_EQ(again.Text("k.plx"),
              "0 Datensätze wurden in „k.plx“ übernommen. 3 Datensätze standen schon im Katalog "
              "und wurden nicht noch einmal übernommen. Nicht übernommen wurde die Spalte "
              "„Autor“.");

    ImportOptions keep;
    keep.keepDuplicates = true;
    EXPECT_EQ(ImportRecords(csv, catalogue, ImportTarget::AppendOrCreate, keep).records, 3);
    EXPECT_EQ(StoredRecords(catalogue).size(), 6u);
}

TEST_F(ExchangeTest, AFileThatCannotBeReadChangesNothing) {
    const QString broken = TempPath("kaputt.csv");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a;b;c;d\n1;2;3;4\n5;\"6\n");
    file.close();

    const QString existing = CopyOfExample("vorhanden.plx");
    const QByteArray before = FileBytes(existing);
    const QStringList files = FolderFiles();
    for (const ImportTarget target : {ImportTarget::AppendOrCreate, ImportTarget::Replace}) {
        try {
            ImportRecords(broken, existing, target);
            ADD_FAILURE() << "a broken file was imported";
        } catch (const ExchangeError& e) {
            EXPECT_EQ(e.Message(), "„" + QDir::toNativeSeparators(broken) +
                                       "“, Zeile 3: Ein Anführungszeichen wird bis zum Ende der "
                                       "Datei nicht geschlossen.");
        }
        EXPECT_EQ(FileBytes(existing), before);
    }
    EXPECT_THROW(ImportRecords(broken, TempPath("neu.plx"), ImportTarget::AppendOrCreate),
                 ExchangeError);
    EXPECT_EQ(FolderFiles(), files);

    const QString good = TempPath("gut.csv");
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::WriteOnly));
    goodFile.write("1/1996;Garten;Beete;3\n");
    goodFile.close();
    const QByteArray goodBytes = FileBytes(good);
    EXPECT_THROW(ImportRecords(good, good, ImportTarget::Replace), ExchangeError);
    EXPECT_EQ(FileBytes(good), goodBytes);
}

TEST_F(ExchangeTest, ExportNeedsAKnownFormatAndACatalogue) {
    const QString example = CopyOfExample();
    EXPECT_THROW(ExportRecords(example, WholeTableQuery().statement, {}, TempPath("x.txt")),
                 ExchangeError);
    try {
        ExportRecords(TempPath("fehlt.plx"), WholeTableQuery().statement, {}, TempPath("x.csv"));
        ADD_FAILURE() << "exported from a missing catalogue";
    } catch (const ExchangeError& e) {
        EXPECT_TRUE(e.Message().startsWith("„" + QDir::toNativeSeparators(TempPath("fehlt.plx")) +
                                           "“ kann nicht als Katalog geöffnet werden"))
            << e.Message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(TempPath("x.txt")));
    EXPECT_FALSE(QFile::exists(TempPath("x.csv")));

    // Columns are found by name, whatever their order; a missing one is no catalogue.
    const auto tableOf = [this](const QString& name, const char* columns) {
        const QString path = TempPath(name);
        sqlite3* db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        sqlite3_exec(db,
                     QByteArray("CREATE TABLE Zeitschriften (") + columns +
                         ", ID INTEGER PRIMARY KEY); INSERT INTO Zeitschriften VALUES "
                         "('7', 'Beete', 'Garten', '4/1996', 1);",
                     nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return path;
    };
    const QString reordered =
        tableOf("verdreht.plx", "Seite, Artikelname, Zeitschriftenname, Zeitschriftennummer");
    EXPECT_EQ(ExportRecords(reordered, WholeTableQuery().statement, {}, TempPath("x.csv")), 1);
    EXPECT_TRUE(FileBytes(TempPath("x.csv")).endsWith("\"4/1996\";\"Garten\";\"Beete\";\"7\"\r\n"))
        << FileBytes(TempPath("x.csv")).toStdString();
    const QString withoutPage =
        tableOf("ohneseite.plx", "Seitenzahl, Artikelname, Zeitschriftenname, Zeitschriftennummer");
    try {
        ExportRecords(withoutPage, WholeTableQuery().statement, {}, TempPath("y.csv"));
        ADD_FAILURE() << "exported from a table without pages";
    } catch (const ExchangeError& e) {
        EXPECT_TRUE(e.Message().contains("fehlt das Feld „Seite“")) << e.Message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(TempPath("y.csv")));
}

}  // namespace
