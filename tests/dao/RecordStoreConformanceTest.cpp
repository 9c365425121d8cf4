// What the program relies on from the record store, run on every engine: a file and a server
// catalogue must behave alike in every case below.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CDaoDatabase.h"
#include "CDaoRecordset.h"
#include "CDaoTransaction.h"
#include "DaoErrorCode.h"
#include "ScratchCatalogue.h"
#include "ScratchDatabase.h"
#include "TableAppender.h"
#include "server/TestServer.h"

namespace {

using Keys = std::vector<std::int64_t>;
constexpr const char* kWholeTable = "SELECT * FROM Zeitschriften";
constexpr const char* kArticleQuery =
    "SELECT * FROM Zeitschriften WHERE (((Zeitschriften.Artikelname) Like ?))";

class RecordStoreConformance : public testing::TestWithParam<ScratchEngine> {
protected:
    void SetUp() override {
        if (GetParam().make == MakeServerCatalogue) {
            REQUIRE_TEST_SERVER();
        }
    }
    void Make(int articles) {
        m_catalogue = GetParam().make(articles);
        ASSERT_TRUE(m_catalogue);
        m_db.Open(m_catalogue->Target());
    }
    Keys AllKeys() {
        Keys keys;
        for (m_rs.MoveFirst(); !m_rs.IsEOF(); m_rs.MoveNext()) {
            keys.push_back(*m_rs.GetBookmark().GetInteger());
        }
        return keys;
    }
    std::string Field(int index) { return m_rs.GetFieldValue(index).GetString(); }

    std::unique_ptr<ScratchCatalogue> m_catalogue;
    CDaoDatabase m_db;
    CDaoRecordset m_rs{&m_db};
};

TEST_P(RecordStoreConformance, DynasetCountsPositionsAndEnds) {
    Make(5);
    m_rs.Open(dbOpenDynaset, kWholeTable);
    EXPECT_FALSE(m_rs.IsBOF());
    m_rs.MoveLast();
    EXPECT_EQ(m_rs.GetRecordCount(), 5);
    EXPECT_EQ(m_rs.GetAbsolutePosition(), 4);
    EXPECT_EQ(Field(3), "Artikel 5");
    m_rs.MoveNext();
    EXPECT_TRUE(m_rs.IsEOF());
    EXPECT_EQ(m_rs.GetAbsolutePosition(), -1);
    EXPECT_EQ(ErrorCode([&] { m_rs.MoveNext(); }), 21);
    m_rs.MoveFirst();
    m_rs.Move(2);
    EXPECT_EQ(Field(4), "30");
    EXPECT_EQ(AllKeys(), Keys({1, 2, 3, 4, 5}));

    // The order is the order of adding, also after a record was changed.
    m_catalogue->Exec("UPDATE Zeitschriften SET Seite = 'neu' WHERE ID = 2");
    m_rs.Open(dbOpenDynaset, kWholeTable);
    EXPECT_EQ(AllKeys(), Keys({1, 2, 3, 4, 5}));

    m_catalogue->Exec("DELETE FROM Zeitschriften");
    m_rs.Open(dbOpenDynaset, kWholeTable);
    EXPECT_TRUE(m_rs.IsBOF() && m_rs.IsEOF());
    EXPECT_EQ(m_rs.GetRecordCount(), 0);
    EXPECT_NE(ErrorCode([&] { m_rs.MoveFirst(); }), 0);
}

TEST_P(RecordStoreConformance, AddJoinsTheEndAndDeleteLeavesNoCurrentRecord) {
    Make(3);
    m_rs.Open(dbOpenDynaset, kWholeTable);
    m_rs.AddNew();
    m_rs.SetFieldValue(3, "Neu");
    m_rs.Update();
    EXPECT_EQ(m_rs.GetRecordCount(), 4);
    m_rs.MoveLast();
    EXPECT_EQ(Field(3), "Neu");
    EXPECT_EQ(m_rs.GetFieldValue(1).IsNull(), true);
    EXPECT_EQ(m_catalogue->Scalar("SELECT count(*) FROM Zeitschriften"), "4");

    m_rs.MoveFirst();
    m_rs.MoveNext();
    m_rs.Delete();
    EXPECT_EQ(m_rs.GetAbsolutePosition(), -1);
    EXPECT_EQ(m_rs.GetRecordCount(), 3);
    m_rs.MoveNext();
    EXPECT_EQ(Field(3), "Artikel 3");
    EXPECT_EQ(m_catalogue->Scalar("SELECT count(*) FROM Zeitschriften WHERE ID = 2"), "0");
}

TEST_P(RecordStoreConformance, NullsEmptyTextsAndLongTextsComeBackAsStored) {
    Make(1);
    const std::string longText = std::string(70000, 'x') + "Ärger ΟΔΟΣ Жук";
    m_rs.Open(dbOpenDynaset, kWholeTable);
    m_rs.Edit();
    m_rs.SetFieldValueNull(1);
    m_rs.SetFieldValue(2, "");
    m_rs.SetFieldValue(3, longText);
    m_rs.Update();
    m_rs.Open(dbOpenDynaset, kWholeTable);
    EXPECT_TRUE(m_rs.GetFieldValue(1).IsNull());
    EXPECT_TRUE(m_rs.GetFieldValue(2).IsText());
    EXPECT_EQ(Field(2), "");
    EXPECT_EQ(Field(3), longText);
    EXPECT_EQ(m_catalogue->Scalar("SELECT count(*) FROM Zeitschriften WHERE "
                                  "Zeitschriftennummer IS NULL AND Zeitschriftenname = ''"),
              "1");
}

TEST_P(RecordStoreConformance, SavesMergeFieldByFieldAndReportConflicts) {
    Make(2);
    m_rs.Open(dbOpenDynaset, kWholeTable);
    EXPECT_EQ(Field(3), "Artikel 1");
    std::vector<COleVariant> current;
    m_catalogue->Exec("UPDATE Zeitschriften SET Seite = 'von B' WHERE ID = 1");
    EXPECT_EQ(m_rs.StoreChanges(COleVariant(std::int64_t{1}), {{3, "Artikel 1", "von A"}}, current),
              MergeOutcome::Stored);
    EXPECT_EQ(m_catalogue->Scalar("SELECT Artikelname || '|' || Seite FROM Zeitschriften "
                                  "WHERE ID = 1"),
              "von A|von B");
    // The current record reads as stored now, the other program's field included.
    EXPECT_EQ(Field(3) + "|" + Field(4), "von A|von B");

    m_catalogue->Exec("UPDATE Zeitschriften SET Artikelname = 'von B' WHERE ID = 2");
    EXPECT_EQ(m_rs.StoreChanges(COleVariant(std::int64_t{2}),
                                {{2, "Heft", "Heft A"}, {3, "Artikel 2", "von A"}}, current),
              MergeOutcome::Conflict);
    ASSERT_EQ(current.size(), 2u);
    EXPECT_EQ(current[1].GetString(), "von B");
    EXPECT_EQ(m_catalogue->Scalar("SELECT Zeitschriftenname FROM Zeitschriften WHERE ID = 2"),
              "Heft");

    m_catalogue->Exec("DELETE FROM Zeitschriften WHERE ID = 2");
    EXPECT_EQ(m_rs.StoreChanges(COleVariant(std::int64_t{2}), {{3, "von B", "x"}}, current),
              MergeOutcome::Deleted);
}

// NULL is no text: storing over it, and comparing it with what the form loaded, keeps the two
// apart on every engine.
TEST_P(RecordStoreConformance, NullAndTheEmptyTextStayApartWhenStoring) {
    Make(2);
    m_rs.Open(dbOpenDynaset, kWholeTable);
    std::vector<COleVariant> current;
    const auto articleOf = [&](int key) {
        return m_catalogue->Scalar(
            "SELECT CASE WHEN Artikelname IS NULL THEN 'NULL' ELSE '[' || Artikelname || ']' END"
            " FROM Zeitschriften WHERE ID = " +
            std::to_string(key));
    };
    m_catalogue->Exec("UPDATE Zeitschriften SET Artikelname = NULL WHERE ID = 1");
    EXPECT_EQ(m_rs.StoreChanges(COleVariant(std::int64_t{1}), {{3, std::nullopt, ""}}, current),
              MergeOutcome::Stored);
    EXPECT_EQ(articleOf(1), "[]");

    // Someone else emptied the field, or set it to NULL, after the form loaded the other.
    EXPECT_EQ(m_rs.StoreChanges(COleVariant(std::int64_t{1}), {{3, std::nullopt, "x"}}, current),
              MergeOutcome::Conflict);
    ASSERT_EQ(current.size(), 1u);
    EXPECT_FALSE(current[0].IsNull());
    m_catalogue->Exec("UPDATE Zeitschriften SET Artikelname = NULL WHERE ID = 2");
    EXPECT_EQ(m_rs.StoreChanges(COleVariant(std::int64_t{2}), {{3, "", "x"}}, current),
              MergeOutcome::Conflict);
    ASSERT_EQ(current.size(), 1u);
    EXPECT_TRUE(current[0].IsNull());
    EXPECT_EQ(articleOf(2), "NULL");
}

TEST_P(RecordStoreConformance, ChangesByOthersAreNoticedAndTakenIn) {
    Make(3);
    m_rs.Open(dbOpenDynaset, kWholeTable);
    m_db.CheckForChanges();
    m_rs.Edit();
    m_rs.SetFieldValue(3, "selbst");
    m_rs.Update();
    EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Unchanged) << "own writes are no news";

    m_catalogue->Exec(
        "INSERT INTO Zeitschriften (ID, Artikelname) VALUES (4, 'Artikel 4'), (5, 'Artikel 5')");
    m_catalogue->Exec("DELETE FROM Zeitschriften WHERE ID = 1");
    // A server's notification travels a moment after the commit.
    bool changed = false;
    for (int attempt = 0; attempt < 100 && !changed; ++attempt) {
        changed = m_db.CheckForChanges() == DaoChange::Changed;
        if (!changed) {
            usleep(10000);
        }
    }
    EXPECT_TRUE(changed);
    m_rs.Requery();
    EXPECT_EQ(AllKeys(), Keys({2, 3, 4, 5}));
}

TEST_P(RecordStoreConformance, AWriteTransactionIsAllOrNothing) {
    Make(2);
    m_rs.Open(dbOpenDynaset, kWholeTable);
    {
        CDaoTransaction transaction(m_db, true);
        m_rs.AddNew();
        m_rs.SetFieldValue(3, "verworfen");
        m_rs.Update();
        m_rs.MoveFirst();
        m_rs.Delete();
    }
    EXPECT_EQ(m_catalogue->Scalar("SELECT count(*) FROM Zeitschriften"), "2");
    CDaoTransaction transaction(m_db, true);
    m_rs.AddNew();
    m_rs.SetFieldValue(3, "behalten");
    m_rs.Update();
    transaction.Commit();
    EXPECT_EQ(m_catalogue->Scalar("SELECT count(*) FROM Zeitschriften"), "3");
}

// A bulk load hands rows over in batches: every row arrives as given, whatever batch it fell
// into, NULL apart from the empty text, a long text among them.
TEST_P(RecordStoreConformance, AppendedRowsArriveWholeWhateverTheirBatch) {
    Make(0);
    {
        CDaoTransaction transaction(m_db, true);
        TableAppender rows(m_db, "Zeitschriften", {"ID", "Zeitschriftennummer", "Artikelname"},
                           true);
        for (int i = 1; i <= 200; ++i) {
            std::optional<std::string> number;
            if (i % 3 != 0) {
                number = i % 3 == 1 ? "" : std::to_string(i);
            }
            const std::array<std::optional<std::string>, 3> row{
                std::to_string(2 * i), number,
                i == 100 ? std::string(5 << 20, 'x') : "A" + std::to_string(i)};
            rows.Append(row);
        }
        rows.Finish();
        transaction.Commit();
    }
    EXPECT_EQ(m_catalogue->Scalar("SELECT count(*) || ' ' || sum(ID) FROM Zeitschriften"),
              "200 40200");
    EXPECT_EQ(m_catalogue->Scalar("SELECT count(*) FROM Zeitschriften WHERE "
                                  "Artikelname = 'A' || CAST(ID / 2 AS TEXT)"),
              "199");
    EXPECT_EQ(m_catalogue->Scalar("SELECT length(Artikelname) FROM Zeitschriften WHERE ID = 200"),
              std::to_string(5 << 20));
    EXPECT_EQ(m_catalogue->Scalar("SELECT count(*) FROM Zeitschriften WHERE "
                                  "Zeitschriftennummer = CAST(ID / 2 AS TEXT)"),
              "67");
    EXPECT_EQ(m_catalogue->Scalar("SELECT count(*) FROM Zeitschriften WHERE "
                                  "Zeitschriftennummer = '' AND ID % 3 = 2"),
              "67");
    EXPECT_EQ(m_catalogue->Scalar("SELECT count(*) FROM Zeitschriften WHERE "
                                  "Zeitschriftennummer IS NULL AND ID % 6 = 0"),
              "66");
}

struct LikeQueryCase {
    const char* pattern;
    Keys keys;
};

// The article query's pattern on titles in several scripts and with the dialect's characters.
TEST_P(RecordStoreConformance, TheLikeDialectSelectsTheSameRecords) {
    Make(0);
    m_catalogue->Exec(
        "INSERT INTO Zeitschriften (ID, Artikelname) VALUES (1, 'Motoröl wechseln'),"
        " (2, 'ÄRGER mit dem ÖL'), (3, 'Οδός'), (4, 'ЖУРНАЛ Nr. 7'), (5, '100% [Rotor]'),"
        " (6, NULL), (7, ''), (8, 'a*b?c#d'), (9, 'Motorſport'), (10, 'Zeile 1\nZeile 2')");
    const LikeQueryCase cases[] = {
        {"**", {1, 2, 3, 4, 5, 7, 8, 9, 10}},
        {"*öl*", {1, 2}},
        {"*ΟΔΌΣ*", {3}},
        {"*журнал*", {4}},
        {"*nr. #", {4}},
        {"*[[]rotor]", {5}},
        {"1##[%]*", {5}},
        {"*[*]*", {8}},
        {"*a[*]b[?]c[#]d*", {8}},
        {"*sport*", {9}},
        {"Zeile 1?Zeile 2", {10}},
        {"[!m]*", {2, 3, 4, 5, 8, 10}},
        {"[l-n]*", {1, 9}},
        {"", {7}},
    };
    for (const LikeQueryCase& c : cases) {
        m_rs.Open(dbOpenDynaset, kArticleQuery, 0, {c.pattern});
        EXPECT_EQ(m_rs.IsBOF() ? Keys() : AllKeys(), c.keys) << c.pattern;
    }
    // The pattern is a value: no text can reach the statement.
    m_rs.Open(dbOpenDynaset, kArticleQuery, 0, {"x'); DELETE FROM Zeitschriften; --"});
    EXPECT_EQ(m_catalogue->Scalar("SELECT count(*) FROM Zeitschriften"), "10");
}

// A pattern longer than any search of the program is refused before it can keep the engine
// busy; the longest that the program makes, every character escaped, still runs.
TEST_P(RecordStoreConformance, AnOverlongPatternIsRefusedByEveryEngine) {
    Make(0);
    m_catalogue->Exec("INSERT INTO Zeitschriften (ID, Artikelname) VALUES (1, 'Öl')");
    std::string longest = "*";
    for (int i = 0; i < 255; ++i) {
        longest += "[*]";
    }
    m_rs.Open(dbOpenDynaset, kArticleQuery, 0, {longest + "*"});
    EXPECT_TRUE(m_rs.IsBOF());
    std::string hostile;
    for (int i = 0; i < 30000; ++i) {
        hostile += "ö*";
    }
    EXPECT_EQ(ErrorCode([&] { m_rs.Open(dbOpenDynaset, kArticleQuery, 0, {hostile}); }) & 0xFF,
              DaoErrorCode::kTooBig);
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordStoreConformance,
                         testing::Values(ScratchEngine{"File", MakeFileCatalogue},
                                         ScratchEngine{"Server", MakeServerCatalogue}),
                         [](const testing::TestParamInfo<ScratchEngine>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
