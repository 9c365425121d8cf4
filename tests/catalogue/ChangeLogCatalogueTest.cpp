#include <CDaoDatabase.h>
#include <CDaoRecordset.h>
#include <ResourceLookup.h>
#include <sqlite3.h>

#include <QFile>
#include <memory>
#include <string>

#include "catalogue/CatalogueCopy.h"
#include "catalogue/CatalogueExport.h"
#include "catalogue/CatalogueImport.h"
#include "res/Resource.h"
#include "server/ServerCatalogue.h"
#include "server/TestServer.h"
#include "support/ProgramTest.h"
#include "view/ArticleQuery.h"

namespace {

// A catalogue that the program has written to carries the triggers and the table of its change
// log; every other way in and out of a catalogue takes it as before.
class ChangeLogCatalogueTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        AfxSetResourceTables(&PeriolexResources());
    }

    // The example with one record changed and one deleted through a record set, as the form
    // does it.
    QString WrittenExample() {
        const QString path = CopyOfExample(QStringLiteral("geschrieben.plx"));
        CDaoDatabase db;
        db.Open(path.toStdString());
        CDaoRecordset rs(&db);
        rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");
        rs.Edit();
        rs.SetFieldValue(3, "geändert");
        rs.Update();
        rs.MoveNext();
        rs.Delete();
        return path;
    }

    static std::string Scalar(const QString& path, const std::string& sql) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
        std::string value = "<none>";
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return value;
    }
    static std::string LogEntries(const QString& path) {
        return Scalar(path, "SELECT count(*) FROM periolex_changes_v1_Zeitschriften");
    }
};

TEST_F(ChangeLogCatalogueTest, ExportsAndTakesImportsAsBefore) {
    const QString catalogue = WrittenExample();
    ASSERT_EQ(LogEntries(catalogue), "2");
    const std::vector<StoredRecord> records = StoredRecords(catalogue);
    ASSERT_EQ(records.size(), 332u);

    const QString csv = TempPath(QStringLiteral("geschrieben.csv"));
    EXPECT_EQ(ExportRecords(catalogue, WholeTableQuery().statement, {}, csv), 332);
    ImportOptions keep;
    keep.keepDuplicates = true;
    EXPECT_EQ(ImportRecords(csv, catalogue, ImportTarget::AppendOrCreate, keep).records, 332);
    EXPECT_EQ(StoredRecords(catalogue).size(), 664u);
    // Records appended above all others need no entry: an import does not fill the log.
    EXPECT_EQ(LogEntries(catalogue), "2");

    const QString fresh = TempPath(QStringLiteral("neu.plx"));
    EXPECT_EQ(ImportRecords(csv, fresh, ImportTarget::Replace).records, 332);
    EXPECT_EQ(StoredRecords(fresh), records);
}

TEST_F(ChangeLogCatalogueTest, CopiesToAServerAndBack) {
    REQUIRE_TEST_SERVER();
    const std::unique_ptr<ServerCatalogue> server = ServerCatalogue::Make();
    server->Exec("DROP TABLE Zeitschriften");
    const QString catalogue = WrittenExample();
    const QString target = QString::fromStdString(server->Target());
    CatalogueCopy there(catalogue, target, false);
    EXPECT_EQ(there.Run({}), 332) << there.GetError().toStdString();
    const QString back = TempPath(QStringLiteral("zurück.plx"));
    CatalogueCopy home(target, back, false);
    EXPECT_EQ(home.Run({}), 332) << home.GetError().toStdString();
    EXPECT_EQ(StoredRecords(back), StoredRecords(catalogue));
}

}  // namespace
