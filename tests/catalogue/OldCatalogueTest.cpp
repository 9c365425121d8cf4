#include <ExchangeError.h>
#include <ResourceLookup.h>
#include <TableChoiceError.h>

#include <QDir>
#include <QFile>

#include "catalogue/CatalogueCopy.h"
#include "catalogue/CatalogueImport.h"
#include "catalogue/OldCatalogue.h"
#include "jetfiles/JetTestFile.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"

namespace {

class OldCatalogueTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        AfxSetResourceTables(&PeriolexResources());
    }

    // The test file `name` saved in the test's folder as `as`.
    QString Old(const QString& name, const QString& as) const {
        return JetTestFile(name).Save(TempPath(as));
    }
    // Eight Unicode texts keyed 1 to 8 but for the seventh, keyed 0: the keys do not follow the
    // file's order, so that keeping them shows.
    QString Renumbered(const QString& as) const {
        JetTestFile file(QStringLiteral("testUnicodeCompV2003.mdb"));
        const QByteArray umlaut("\x07\x00\x00\x00\xff\xfe\xfcml", 9);
        file.Replace(umlaut, '\0' + umlaut.mid(1));
        return file.Save(TempPath(as));
    }
    QStringList FolderFiles() const {
        return QDir(TempPath({})).entryList(QDir::Files | QDir::Hidden);
    }
    static QString ErrorOf(const std::function<void()>& work) {
        try {
            work();
        } catch (const ExchangeError& e) {
            return e.Message();
        }
        return {};
    }
};

const QString kNull = QStringLiteral("<null>");

// A new catalogue keeps the old numbers and every NULL; rows without any text are records too.
TEST_F(OldCatalogueTest, ANewCatalogueKeepsTheOldNumbersAndNulls) {
    const QString old = Renumbered("alt.plx");
    const QByteArray before = FileBytes(old);
    const ImportSummary summary = ImportRecords(old, TempPath("neu.plx"), ImportTarget::Replace);
    EXPECT_EQ(summary.records, 8);
    EXPECT_EQ(StoredKeys(TempPath("neu.plx")), "0,1,2,3,4,5,6,8");
    const std::vector<StoredRecord> records = StoredRecords(TempPath("neu.plx"));
    ASSERT_EQ(records.size(), 8u);
    EXPECT_EQ(records[0], (StoredRecord{"ümlaut", kNull, kNull, kNull}));
    EXPECT_EQ(records[3], (StoredRecord{"Мир", kNull, kNull, kNull}));
    EXPECT_EQ(FileBytes(old), before);

    JetTestFile catalogue(QStringLiteral("overflowTestV1997.mdb"));
    catalogue.RenameTable("Table1", "Zeitschriften");
    const QString zeitschriften = catalogue.Save(TempPath("zeitschriften.mdb"));
    EXPECT_EQ(ImportRecords(zeitschriften, TempPath("z.plx"), ImportTarget::Replace).records, 7);
    EXPECT_EQ(StoredRecords(TempPath("z.plx")).front(), (StoredRecord{kNull, kNull, kNull, kNull}));
}

// Appended records come after those already there, with keys of their own.
TEST_F(OldCatalogueTest, AppendedRecordsGetNewKeys) {
    const QString catalogue = CopyOfExample();
    ImportRecords(Old("fixedTextTestV2000.mdb", "alt.mdb"), catalogue,
                  ImportTarget::AppendOrCreate);
    const std::vector<StoredRecord> records = StoredRecords(catalogue);
    ASSERT_EQ(records.size(), 335u);
    EXPECT_EQ(records[333], (StoredRecord{"CORE USER", " ", "-1", "Core User"}));
    EXPECT_TRUE(StoredKeys(catalogue).endsWith(",333,334,335"));
}

// Whatever is wrong with an old file, no catalogue is made, an existing one is not touched, the
// old file stays as it was, and the message names the file.
TEST_F(OldCatalogueTest, BadFilesLeaveNothingBehind) {
    JetTestFile cut(QStringLiteral("testV1997.mdb"));
    cut.Bytes().truncate(60000);
    JetTestFile locked(QStringLiteral("testV2010.accdb"));
    locked.Bytes()[0x43] = static_cast<char>(locked.Bytes()[0x43] ^ 'x');
    const QString catalogue = CopyOfExample();
    const QByteArray catalogueBefore = FileBytes(catalogue);
    ImportOptions table1;
    table1.settings.table = QStringLiteral("Table1");
    for (JetTestFile* file : {&cut, &locked}) {
        const QString old = file->Save(TempPath("alt.mdb"));
        const QByteArray before = FileBytes(old);
        const QStringList files = FolderFiles();
        const QString error = ErrorOf(
            [&] { ImportRecords(old, TempPath("neu.plx"), ImportTarget::Replace, table1); });
        EXPECT_TRUE(error.contains(QStringLiteral("„%1“").arg(old))) << error.toStdString();
        EXPECT_EQ(FolderFiles(), files);
        ErrorOf([&] { ImportRecords(old, catalogue, ImportTarget::AppendOrCreate, table1); });
        EXPECT_EQ(FileBytes(catalogue), catalogueBefore);
        EXPECT_EQ(FileBytes(old), before);
    }
    // Four tables and none chosen: the message lists them, and nothing is asked for yet.
    try {
        CheckImportSource(Old("testV2007.accdb", "alt.accdb"));
        ADD_FAILURE() << "no table to choose";
    } catch (const TableChoiceError& e) {
        EXPECT_EQ(e.Tables().size(), 4);
    }
}

// Copying takes an old catalogue to a new file with its numbers; it never writes to an old one,
// and a bad one leaves the target as it was.
TEST_F(OldCatalogueTest, CopyingReadsOldCataloguesAndNeverWritesThem) {
    const QString old = Renumbered("alt.plx");
    const QByteArray before = FileBytes(old);
    CatalogueCopy copy(old, TempPath("kopie.plx"), false);
    EXPECT_EQ(copy.Run({}), 8) << copy.GetError().toStdString();
    EXPECT_EQ(StoredKeys(TempPath("kopie.plx")), "0,1,2,3,4,5,6,8");
    EXPECT_EQ(StoredRecords(TempPath("kopie.plx"))[0],
              (StoredRecord{"ümlaut", kNull, kNull, kNull}));

    CatalogueCopy back(TempPath("kopie.plx"), old, true);
    EXPECT_EQ(back.Run({}), -1);
    EXPECT_TRUE(back.GetError().contains("Windows-Programms")) << back.GetError().toStdString();
    EXPECT_EQ(FileBytes(old), before);

    const QString several = Old("testV2010.accdb", "mehrere.accdb");
    const QByteArray target = FileBytes(TempPath("kopie.plx"));
    CatalogueCopy unchosen(several, TempPath("kopie.plx"), true);
    EXPECT_EQ(unchosen.Run({}), -1);
    EXPECT_TRUE(unchosen.GetError().contains("„Table4“")) << unchosen.GetError().toStdString();
    EXPECT_EQ(FileBytes(TempPath("kopie.plx")), target);
    unchosen.SetSourceTable(QStringLiteral("Table1"));
    EXPECT_EQ(unchosen.Run({}), 2);
}

// The new catalogue is proposed beside the old one under a name that replaces nothing.
TEST_F(OldCatalogueTest, ProposesANameThatReplacesNothing) {
    const QString old = Old("testV1997.mdb", "Zeitschriften.plx");
    EXPECT_EQ(OldCatalogue::ProposedCataloguePath(old), TempPath("Zeitschriften (Periolex).plx"));
    QFile(TempPath("Zeitschriften (Periolex).plx")).open(QIODevice::WriteOnly);
    EXPECT_EQ(OldCatalogue::ProposedCataloguePath(old), TempPath("Zeitschriften (Periolex 2).plx"));
    EXPECT_EQ(OldCatalogue::ProposedCataloguePath(Old("testV1997.mdb", "alt.mdb")),
              TempPath("alt.plx"));
    EXPECT_EQ(OldCatalogue::InUseWarning(old), QString());
    QFile(TempPath("Zeitschriften.ldb")).open(QIODevice::WriteOnly);
    EXPECT_TRUE(OldCatalogue::InUseWarning(old).contains(TempPath("Zeitschriften.ldb")));
}

}  // namespace
