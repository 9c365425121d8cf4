#include <gtest/gtest.h>
#include <sqlite3.h>
#include "SqliteHandleOf.h"

#include <string_view>
#include <vector>

#include "CDaoDatabase.h"
#include "CDaoRecordset.h"
#include "CDaoTransaction.h"
#include "ScratchDatabase.h"

namespace {

// One connection through the record store, and the scratch connection as another program.
class RecordsetMergeTest : public ::testing::Test {
protected:
    RecordsetMergeTest() : m_scratch(3) {
        m_db.Open(m_scratch.Path());
        m_rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");
    }
    MergeOutcome Store(std::int64_t key, const std::vector<FieldChange>& changes) {
        return m_rs.StoreChanges(COleVariant(key), changes, m_current);
    }
    std::string Row(int key) {
        return m_scratch.Scalar(
            "SELECT quote(Zeitschriftennummer) || '|' || quote(Zeitschriftenname) || '|' || "
            "Artikelname || '|' || Seite FROM Zeitschriften WHERE ID = " +
            std::to_string(key));
    }

    ScratchDatabase m_scratch;
    CDaoDatabase m_db;
    CDaoRecordset m_rs{&m_db};
    std::vector<COleVariant> m_current;
};

TEST_F(RecordsetMergeTest, OnlyFieldsStillHoldingTheLoadedTextAreWritten) {
    m_scratch.Exec("UPDATE Zeitschriften SET Seite = 'von B' WHERE ID = 2");
    EXPECT_EQ(Store(2, {{3, "Artikel 2", "von A"}}), MergeOutcome::Stored);
    EXPECT_EQ(Row(2), "'2'|'Heft'|von A|von B");
    // The same text stored by both is no conflict and needs no write.
    EXPECT_EQ(Store(2, {{4, "20", "von B"}}), MergeOutcome::Stored);
    EXPECT_EQ(Row(2), "'2'|'Heft'|von A|von B");
}

TEST_F(RecordsetMergeTest, AConflictWritesNothingAndReportsWhatIsStored) {
    m_scratch.Exec("UPDATE Zeitschriften SET Artikelname = 'von B' WHERE ID = 1");
    EXPECT_EQ(Store(1, {{2, "Heft", "Heft A"}, {3, "Artikel 1", "von A"}}), MergeOutcome::Conflict);
    ASSERT_EQ(m_current.size(), 2u);
    EXPECT_EQ(m_current[0].GetString(), "Heft");
    EXPECT_EQ(m_current[1].GetString(), "von B");
    EXPECT_EQ(Row(1), "'1'|'Heft'|von B|10") << "not even the field without conflict";
    EXPECT_TRUE(sqlite3_get_autocommit(SqliteHandleOf(m_db))) << "no lock kept for the question";
}

TEST_F(RecordsetMergeTest, NullIsNeitherTheEmptyTextNorTouchedByOtherFields) {
    m_scratch.Exec("UPDATE Zeitschriften SET Zeitschriftennummer = NULL, Zeitschriftenname = ''");
    EXPECT_EQ(Store(1, {{3, "Artikel 1", "neu"}}), MergeOutcome::Stored);
    EXPECT_EQ(Row(1), "NULL|''|neu|10");
    // A form that loaded NULL as "" and compares "" with what is stored finds a conflict
    // only where the loaded value really differs.
    EXPECT_EQ(Store(1, {{1, std::nullopt, "7"}, {2, "", "Heft 7"}}), MergeOutcome::Stored);
    EXPECT_EQ(Row(1), "'7'|'Heft 7'|neu|10");
    EXPECT_EQ(Store(1, {{1, "", "8"}}), MergeOutcome::Conflict);
}

TEST_F(RecordsetMergeTest, ARecordDeletedElsewhereIsReportedNotRecreated) {
    m_scratch.Exec("DELETE FROM Zeitschriften WHERE ID = 3");
    EXPECT_EQ(Store(3, {{3, "Artikel 3", "von A"}}), MergeOutcome::Deleted);
    EXPECT_EQ(m_scratch.Scalar("SELECT count(*) FROM Zeitschriften"), "2");
}

TEST_F(RecordsetMergeTest, ChangesElsewhereAreSeenOnceAndOwnWritesNever) {
    EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Unchanged);
    m_rs.Edit();
    m_rs.SetFieldValue(3, "eigene Änderung");
    m_rs.Update();
    EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Unchanged);
    m_scratch.Exec("INSERT INTO Zeitschriften (Artikelname) VALUES ('von B')");
    EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Changed);
    EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Unchanged);
    m_rs.Requery();
    EXPECT_EQ(m_rs.GetRecordCount(), 4);
    EXPECT_EQ(m_rs.GetAbsolutePosition(), 0);
}

TEST_F(RecordsetMergeTest, TransactionsNestAndOnlyTheOutermostCommits) {
    {
        CDaoTransaction outer(m_db, true);
        {
            CDaoTransaction inner(m_db, true);
            EXPECT_EQ(Store(1, {{4, "10", "11"}}), MergeOutcome::Stored);
            inner.Commit();
        }
        EXPECT_FALSE(sqlite3_get_autocommit(SqliteHandleOf(m_db)));
        // Leaving without a commit, as a failure would, undoes the inner level's write too.
    }
    EXPECT_TRUE(sqlite3_get_autocommit(SqliteHandleOf(m_db)));
    EXPECT_EQ(Row(1), "'1'|'Heft'|Artikel 1|10");
}

TEST_F(RecordsetMergeTest, AWriteIsRefusedInsideAReadTransaction) {
    CDaoTransaction read(m_db, false);
    EXPECT_NE(ErrorCode([&] { Store(1, {{4, "10", "11"}}); }), 0);
    EXPECT_NE(ErrorCode([&] {
                  m_rs.Edit();
                  m_rs.SetFieldValue(4, "11");
                  m_rs.Update();
              }),
              0);
    EXPECT_NE(ErrorCode([&] { m_rs.Delete(); }), 0);
    read.Commit();
    EXPECT_EQ(Row(1), "'1'|'Heft'|Artikel 1|10");
    EXPECT_EQ(m_scratch.Scalar("SELECT count(*) FROM Zeitschriften"), "3");
}

TEST_F(RecordsetMergeTest, InsideATransactionARowIsReadOnce) {
    int reads = 0;
    sqlite3_trace_v2(
        SqliteHandleOf(m_db), SQLITE_TRACE_STMT,
        [](unsigned, void* count, void*, void* sql) {
            if (std::string_view(static_cast<const char*>(sql)).starts_with("SELECT")) {
                ++*static_cast<int*>(count);
            }
            return 0;
        },
        &reads);
    CDaoTransaction read(m_db, false);
    const int before = reads;
    for (int pass = 0; pass < 2; ++pass) {
        for (int field = 1; field <= 4; ++field) {
            m_rs.GetFieldValue(field);
        }
    }
    EXPECT_EQ(reads - before, 1);
    read.Commit();
    m_rs.GetFieldValue(1);
    EXPECT_EQ(reads - before, 2) << "outside the transaction the row is read anew";
}

}  // namespace
