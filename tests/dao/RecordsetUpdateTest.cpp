#include <gtest/gtest.h>
#include <sqlite3.h>
#include "SqliteHandleOf.h"

#include <cstring>
#include <string>
#include <vector>

#include "CDaoDatabase.h"
#include "CDaoRecordset.h"
#include "ScratchDatabase.h"

namespace {

class RecordsetUpdate : public testing::Test {
protected:
    RecordsetUpdate() : m_scratch(3), m_rs(&m_db) {
        m_db.Open(m_scratch.Path());
        sqlite3_trace_v2(SqliteHandleOf(m_db), SQLITE_TRACE_STMT, CountUpdates,
                         &m_updateStatements);
        m_rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");
    }

    // Counts the UPDATE statements the record set runs; trigger programs do not count.
    static int CountUpdates(unsigned /*type*/, void* counter, void* /*stmt*/, void* sql) {
        if (std::strncmp(static_cast<const char*>(sql), "UPDATE", 6) == 0) {
            ++*static_cast<int*>(counter);
        }
        return 0;
    }

    // Edits fields 1 to 4 of the current record; nullptr stands for NULL.
    void EditRow(const std::vector<const char*>& values) {
        m_rs.Edit();
        for (int i = 0; i < static_cast<int>(values.size()); ++i) {
            if (values[i] == nullptr) {
                m_rs.SetFieldValueNull(i + 1);
            } else {
                m_rs.SetFieldValue(i + 1, values[i]);
            }
        }
        m_rs.Update();
    }

    ScratchDatabase m_scratch;
    CDaoDatabase m_db;
    CDaoRecordset m_rs;
    int m_updateStatements = 0;
};

TEST_F(RecordsetUpdate, WritesOnlyTheChangedFieldsInOneStatement) {
    m_scratch.Exec("CREATE TABLE Protokoll (Spalte TEXT)");
    for (const char* column :
         {"Zeitschriftennummer", "Zeitschriftenname", "Artikelname", "Seite"}) {
        m_scratch.Exec(std::string("CREATE TRIGGER Log") + column + " AFTER UPDATE OF " + column +
                       " ON Zeitschriften BEGIN INSERT INTO Protokoll VALUES ('" + column +
                       "'); END");
    }
    const std::string written =
        "SELECT group_concat(Spalte) FROM (SELECT Spalte FROM Protokoll ORDER BY Spalte)";
    EditRow({"1", "Heft 2", "Artikel 1", nullptr});
    EXPECT_EQ(m_updateStatements, 1);
    EXPECT_EQ(m_scratch.Scalar(written), "Seite,Zeitschriftenname");

    // NULL and the empty text are different values; the same value again is no change.
    m_scratch.Exec("DELETE FROM Protokoll");
    EditRow({"1", "Heft 2", "Artikel 1", ""});
    EditRow({"1", "Heft 2", "Artikel 1", ""});
    EditRow({"1", "Heft 2", "Artikel 1", nullptr});
    EditRow({"1", "Heft 2", "Artikel 1", nullptr});
    EXPECT_EQ(m_updateStatements, 3);
    EXPECT_EQ(m_scratch.Scalar(written), "Seite,Seite");
}

TEST_F(RecordsetUpdate, AnUnchangedRecordWritesNothing) {
    m_rs.MoveNext();
    const std::string bytes = FileBytes(m_scratch.Path());
    const std::string version = m_scratch.Scalar("PRAGMA data_version");
    const int changes = sqlite3_total_changes(SqliteHandleOf(m_db));
    EditRow({"2", "Heft", "Artikel 2", "20"});
    m_rs.Edit();
    m_rs.SetFieldValue(0, "2");  // the key, given its own value
    m_rs.Update();
    EXPECT_EQ(m_updateStatements, 0);
    EXPECT_EQ(sqlite3_total_changes(SqliteHandleOf(m_db)), changes);
    EXPECT_EQ(m_scratch.Scalar("PRAGMA data_version"), version);
    EXPECT_EQ(FileBytes(m_scratch.Path()), bytes);

    EditRow({"2", "Heft", "Artikel 2", "21"});
    EXPECT_NE(m_scratch.Scalar("PRAGMA data_version"), version);
}

TEST_F(RecordsetUpdate, PendingValuesEndWithCancelUpdateOrAMove) {
    m_rs.Edit();
    m_rs.SetFieldValue(3, "verworfen");
    m_rs.CancelUpdate();
    EXPECT_EQ(ErrorCode([&] { m_rs.Update(); }), SQLITE_MISUSE);
    m_rs.Edit();
    m_rs.SetFieldValue(3, "verworfen");
    m_rs.MoveNext();
    EXPECT_EQ(ErrorCode([&] { m_rs.Update(); }), SQLITE_MISUSE);
    EXPECT_EQ(
        m_scratch.Scalar("SELECT count(*) FROM Zeitschriften WHERE Artikelname = 'verworfen'"),
        "0");

    m_rs.Edit();
    EXPECT_EQ(ErrorCode([&] { m_rs.SetFieldValue(5, "x"); }), SQLITE_RANGE);
    m_rs.SetFieldValue(0, "99");  // a record keeps its key
    EXPECT_EQ(ErrorCode([&] { m_rs.Update(); }), SQLITE_MISUSE);
    EXPECT_EQ(m_rs.GetFieldValue(0), COleVariant(std::int64_t{2}));
}

TEST_F(RecordsetUpdate, ReadsSeeOtherConnectionsChanges) {
    EXPECT_EQ(m_rs.GetFieldValue(3).GetString(), "Artikel 1");
    m_scratch.Exec("UPDATE Zeitschriften SET Artikelname = 'von nebenan' WHERE ID = 1");
    EXPECT_EQ(m_rs.GetFieldValue(3).GetString(), "von nebenan");

    m_rs.Edit();
    m_rs.SetFieldValue(3, "zu spät");
    m_scratch.Exec("DELETE FROM Zeitschriften WHERE ID = 1");
    EXPECT_EQ(ErrorCode([&] { m_rs.GetFieldValue(3); }), SQLITE_NOTFOUND);
    EXPECT_EQ(ErrorCode([&] { m_rs.Update(); }), SQLITE_NOTFOUND);
    EXPECT_EQ(m_scratch.Scalar("SELECT count(*) FROM Zeitschriften"), "2");
    m_rs.Delete();  // only the key was left to remove
    EXPECT_EQ(m_rs.GetRecordCount(), 2);
    m_rs.MoveNext();
    EXPECT_EQ(m_rs.GetFieldValue(3).GetString(), "Artikel 2");
}

}  // namespace
