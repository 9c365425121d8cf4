#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "CDaoDatabase.h"
#include "CDaoRecordset.h"
#include "ScratchDatabase.h"

namespace {

using Keys = std::vector<std::int64_t>;

COleVariant Key(std::int64_t key) {
    return COleVariant(key);
}

class RecordsetNavigation : public testing::Test {
protected:
    RecordsetNavigation() : m_scratch(5), m_rs(&m_db) { m_db.Open(m_scratch.Path()); }

    void Open(const std::string& sql = "SELECT * FROM Zeitschriften") {
        m_rs.Open(dbOpenDynaset, sql);
    }
    std::string Title() { return m_rs.GetFieldValue(3).GetString(); }
    Keys AllKeys() {
        Keys keys;
        for (m_rs.MoveFirst(); !m_rs.IsEOF(); m_rs.MoveNext()) {
            keys.push_back(*m_rs.GetBookmark().GetInteger());
        }
        return keys;
    }

    ScratchDatabase m_scratch;
    CDaoDatabase m_db;
    CDaoRecordset m_rs;
};

TEST_F(RecordsetNavigation, MovesStopAtBothEnds) {
    Open();
    EXPECT_FALSE(m_rs.IsBOF() || m_rs.IsEOF());
    m_rs.MoveLast();
    m_rs.MoveNext();
    EXPECT_TRUE(m_rs.IsEOF() && !m_rs.IsBOF());
    EXPECT_EQ(m_rs.GetAbsolutePosition(), -1);
    EXPECT_EQ(ErrorCode([&] { m_rs.MoveNext(); }), SQLITE_MISUSE);
    m_rs.MovePrev();
    EXPECT_EQ(Title(), "Artikel 5");

    m_rs.MoveFirst();
    m_rs.MovePrev();
    EXPECT_TRUE(m_rs.IsBOF() && !m_rs.IsEOF());
    EXPECT_EQ(ErrorCode([&] { m_rs.MovePrev(); }), SQLITE_MISUSE);
    m_rs.Move(3);
    m_rs.Move(-1);
    EXPECT_EQ(Title(), "Artikel 2");
    m_rs.Move(100);
    EXPECT_TRUE(m_rs.IsEOF());
    m_rs.Move(-2);
    EXPECT_EQ(Title(), "Artikel 4");
    m_rs.Move(-1000000000L);
    EXPECT_TRUE(m_rs.IsBOF());
    EXPECT_EQ(ErrorCode([&] { m_rs.Move(0); }), SQLITE_MISUSE);
}

TEST_F(RecordsetNavigation, EmptyAndSingleRecordSets) {
    Open("SELECT * FROM Zeitschriften WHERE ID > 99");
    EXPECT_TRUE(m_rs.IsBOF() && m_rs.IsEOF());
    EXPECT_EQ(m_rs.GetRecordCount(), 0);
    for (auto step : {&CDaoRecordset::MoveFirst, &CDaoRecordset::MoveLast, &CDaoRecordset::MoveNext,
                      &CDaoRecordset::MovePrev, &CDaoRecordset::Edit, &CDaoRecordset::Delete}) {
        EXPECT_EQ(ErrorCode([&] { (m_rs.*step)(); }), SQLITE_MISUSE);
    }

    Open("SELECT * FROM Zeitschriften WHERE ID = 3");
    m_rs.MoveLast();
    m_rs.MovePrev();
    EXPECT_TRUE(m_rs.IsBOF() && !m_rs.IsEOF());
    m_rs.MoveNext();
    EXPECT_EQ(Title(), "Artikel 3");
    m_rs.MoveNext();
    EXPECT_TRUE(m_rs.IsEOF() && !m_rs.IsBOF());
}

TEST_F(RecordsetNavigation, DeleteLeavesAGapBetweenItsNeighbours) {
    Open();
    m_rs.Move(2);
    m_rs.Delete();
    EXPECT_EQ(m_rs.GetAbsolutePosition(), -1);
    EXPECT_EQ(m_rs.GetRecordCount(), 4);
    m_rs.MoveNext();
    EXPECT_EQ(Title(), "Artikel 4");
    m_rs.Delete();
    m_rs.MovePrev();
    EXPECT_EQ(Title(), "Artikel 2");
    m_rs.MoveLast();
    m_rs.Delete();
    m_rs.MoveNext();
    EXPECT_TRUE(m_rs.IsEOF());
    EXPECT_EQ(AllKeys(), (Keys{1, 2}));
    EXPECT_EQ(m_scratch.Scalar("SELECT group_concat(ID) FROM Zeitschriften"), "1,2");

    m_rs.MoveFirst();
    m_rs.Delete();
    m_rs.MoveFirst();
    m_rs.Delete();
    m_rs.MoveNext();
    EXPECT_TRUE(m_rs.IsBOF() && m_rs.IsEOF());
}

TEST_F(RecordsetNavigation, AddNewAppendsWithoutMovingTheCurrentRecord) {
    Open("SELECT * FROM Zeitschriften WHERE ID <= 2");
    m_rs.MoveNext();
    m_rs.AddNew();
    m_rs.SetFieldValue(3, "Neu");
    m_rs.Update();
    EXPECT_EQ(Title(), "Artikel 2");
    EXPECT_EQ(m_rs.GetRecordCount(), 3);
    m_rs.MoveNext();
    EXPECT_EQ(m_rs.GetFieldValue(0), Key(6));

    // Past the end the set stays past the end.
    m_rs.MoveNext();
    m_rs.AddNew();
    m_rs.Update();
    EXPECT_TRUE(m_rs.IsEOF());
    m_rs.MoveLast();
    EXPECT_EQ(m_rs.GetFieldValue(0), Key(7));
}

TEST_F(RecordsetNavigation, BookmarksFindTheirRecords) {
    Open("SELECT * FROM Zeitschriften ORDER BY Seite DESC");
    EXPECT_EQ(AllKeys(), (Keys{5, 4, 3, 2, 1}));
    m_rs.MoveFirst();
    m_rs.MoveNext();
    const COleVariant bookmark = m_rs.GetBookmark();
    EXPECT_EQ(bookmark, Key(4));
    m_rs.MoveLast();
    m_rs.SetBookmark(bookmark);
    EXPECT_EQ(m_rs.GetAbsolutePosition(), 1);
    EXPECT_TRUE(m_rs.HasBookmark(Key(1)));
    EXPECT_FALSE(m_rs.HasBookmark(Key(9)));
    EXPECT_EQ(ErrorCode([&] { m_rs.SetBookmark(Key(9)); }), SQLITE_NOTFOUND);

    Open();  // ascending keys, found by binary search
    m_rs.Delete();
    EXPECT_FALSE(m_rs.HasBookmark(Key(1)));
    m_rs.SetBookmark(Key(5));
    EXPECT_EQ(m_rs.GetAbsolutePosition(), 3);
    m_rs.AddNew();
    m_rs.Update();
    m_rs.SetBookmark(Key(6));
    EXPECT_EQ(m_rs.GetAbsolutePosition(), 4);
}

TEST_F(RecordsetNavigation, QueryChoosesKeysAndFieldOrder) {
    m_scratch.Exec("UPDATE Zeitschriften SET Artikelname = 'Rotorblatt' WHERE ID = 4");
    m_scratch.Exec("UPDATE Zeitschriften SET Artikelname = 'MOTORRAD' WHERE ID = 2");
    Open("SELECT * FROM Zeitschriften WHERE (((Zeitschriften.Artikelname) Like '*otor*'));");
    EXPECT_EQ(AllKeys(), (Keys{2, 4}));

    Open("SELECT Seite, Artikelname AS Titel, ID FROM Zeitschriften WHERE ID IN (1, 3) -- Test");
    EXPECT_EQ(m_rs.GetFieldValue(0).GetString(), "10");
    EXPECT_EQ(m_rs.GetFieldValue(2), Key(1));
    EXPECT_EQ(ErrorCode([&] { m_rs.GetFieldValue(3); }), SQLITE_RANGE);

    // Duplicate result names make the key's name ambiguous; the query still lists its keys.
    Open("SELECT ID, Seite AS ID, * FROM Zeitschriften WHERE ID > 3");
    EXPECT_EQ(AllKeys(), (Keys{4, 5}));
}

TEST_F(RecordsetNavigation, RefusesWhatItCannotKeepAsADynaset) {
    m_scratch.Exec("CREATE TABLE Hefte (Nr INTEGER PRIMARY KEY, Titel TEXT)");
    m_scratch.Exec("CREATE TABLE Paare (a INTEGER, b INTEGER, PRIMARY KEY (a, b))");
    for (const char* sql :
         {"SELEC * FROM Zeitschriften", "SELECT * FROM Fehlt",
          "SELECT Artikelname FROM Zeitschriften",
          "SELECT ID, upper(Artikelname) FROM Zeitschriften",
          "SELECT z.* FROM Zeitschriften z JOIN Hefte h ON h.Nr = z.ID",
          "SELECT * FROM Zeitschriften WHERE ID IN (SELECT Nr FROM Hefte)", "SELECT * FROM Paare",
          "DELETE FROM Zeitschriften", "SELECT * FROM Zeitschriften; SELECT * FROM Hefte", ""}) {
        EXPECT_NE(ErrorCode([&] { Open(sql); }), 0) << sql;
        EXPECT_FALSE(m_rs.IsOpen()) << sql;
    }
    EXPECT_EQ(ErrorCode([&] { m_rs.Open(1, "SELECT * FROM Zeitschriften"); }), SQLITE_MISUSE);
    EXPECT_EQ(ErrorCode([&] { m_rs.Edit(); }), SQLITE_MISUSE);
    EXPECT_EQ(m_scratch.Scalar("SELECT count(*) FROM Zeitschriften"), "5");
    Open("SELECT * FROM Hefte");  // the set opens again after failures
    EXPECT_TRUE(m_rs.IsEOF());
}

}  // namespace

TEST_F(RecordsetNavigation, BoundValuesSelectAndFollowAddsElsewhere) {
    const std::string sql = "SELECT * FROM Zeitschriften WHERE Artikelname Like ? AND Seite <> ?";
    m_rs.Open(dbOpenDynaset, sql, 0, {"*el 2*", "x'); DELETE FROM Zeitschriften; --"});
    EXPECT_EQ(AllKeys(), Keys({2}));
    // Taking in the keys added elsewhere binds the same values again, beside its lower bound.
    m_scratch.Exec(
        "INSERT INTO Zeitschriften (ID, Artikelname, Seite) VALUES (6, 'Artikel 20', '1'),"
        " (7, 'Artikel 3', '1'), (8, 'Artikel 21', '1')");
    m_rs.Requery();
    EXPECT_EQ(AllKeys(), Keys({2, 6, 8}));
    EXPECT_EQ(m_scratch.Scalar("SELECT count(*) FROM Zeitschriften"), "8");

    EXPECT_EQ(ErrorCode([&] { m_rs.Open(dbOpenDynaset, sql, 0, {"*"}); }), SQLITE_RANGE);
    EXPECT_FALSE(m_rs.IsOpen());
}
