#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DaoSelection.h"
#include "KeySet.h"
#include "ScratchDatabase.h"
#include "SqliteChangeLog.h"
#include "SqliteEngine.h"

namespace {

constexpr const char* kLogTable = "periolex_changes_v1_Zeitschriften";

// A dynaset's keys on a catalogue file, followed the way a window follows another program.
class FileChangeLog : public ::testing::Test {
protected:
    void Open(const std::string& sql, bool readOnly = false) {
        m_selection.reset();
        m_engine = std::make_unique<SqliteEngine>(m_scratch.Path(), readOnly);
        m_engine->Begin(false);
        m_selection = m_engine->Select(sql, {});
        m_keys.Clear();
        m_selection->LoadKeys(m_keys);
        m_engine->Commit();
        m_sql = sql;
    }
    // Stores the first record's page unchanged through the selection: the program's first write
    // adds the log.
    void WriteOnce() {
        m_engine->Begin(true);
        std::vector<PendingField> fields(m_selection->ColumnCount());
        fields[4] = {true, "10"};
        m_selection->Write(1, fields);
        m_engine->Commit();
    }
    // Catches up as a window does, reading every key when that fails; whether it had to.
    bool FollowReadAll() {
        m_engine->Begin(false);
        const bool caughtUp = m_selection->CatchUp(m_keys);
        if (!caughtUp) {
            m_keys.Clear();
            m_selection->LoadKeys(m_keys);
        }
        m_engine->Commit();
        return !caughtUp;
    }
    std::vector<std::int64_t> Keys() const {
        std::vector<std::int64_t> keys;
        for (std::size_t i = 0; i < m_keys.Size(); ++i) {
            keys.push_back(m_keys[i]);
        }
        return keys;
    }
    // The keys as a fresh look at the file gives them.
    std::vector<std::int64_t> KeysNow() {
        SqliteEngine engine(m_scratch.Path(), true);
        engine.Begin(false);
        KeySet keys;
        engine.Select(m_sql, {})->LoadKeys(keys);
        engine.Commit();
        std::vector<std::int64_t> list;
        for (std::size_t i = 0; i < keys.Size(); ++i) {
            list.push_back(keys[i]);
        }
        return list;
    }
    bool HasLog() {
        return m_scratch.Scalar(std::string("SELECT count(*) FROM sqlite_master WHERE name = '") +
                                kLogTable + "'") == "1";
    }

    ScratchDatabase m_scratch{6};
    std::unique_ptr<SqliteEngine> m_engine;
    std::unique_ptr<DaoSelection> m_selection;
    KeySet m_keys;
    std::string m_sql;
};

// Each change by another program, in a selection whose filter the changes move records into
// and out of: the keys come out as a fresh look gives them, and only a record that joins below
// the last key needs every key read.
TEST_F(FileChangeLog, ChangesElsewhereAreFollowedFromTheLog) {
    Open("SELECT * FROM Zeitschriften WHERE Seite IS NOT 'weg'");
    EXPECT_FALSE(HasLog()) << "opening writes nothing";
    WriteOnce();
    ASSERT_TRUE(HasLog());
    struct Step {
        const char* sql;
        bool readsAll;
    };
    const Step steps[] = {
        {"DELETE FROM Zeitschriften WHERE ID = 2", false},
        {"UPDATE Zeitschriften SET Seite = 'weg' WHERE ID = 4", false},
        {"UPDATE Zeitschriften SET Artikelname = 'neu' WHERE ID = 5", false},
        {"INSERT INTO Zeitschriften (Artikelname) VALUES ('am Ende')", false},
        {"UPDATE Zeitschriften SET ID = 70 WHERE ID = 3", false},
        // The last record replaced by one the filter leaves out: no trigger logs a replacement.
        {"INSERT OR REPLACE INTO Zeitschriften (ID, Seite) VALUES (70, 'weg')", false},
        {"DELETE FROM Zeitschriften WHERE ID IN (1, 5)", false},
        {"UPDATE Zeitschriften SET Seite = '40' WHERE ID = 4", true},
        {"INSERT INTO Zeitschriften (ID, Artikelname) VALUES (2, 'zurück')", true},
    };
    for (const Step& step : steps) {
        m_scratch.Exec(step.sql);
        EXPECT_EQ(FollowReadAll(), step.readsAll) << step.sql;
        EXPECT_EQ(Keys(), KeysNow()) << step.sql;
    }
    EXPECT_EQ(Keys(), (std::vector<std::int64_t>{2, 4, 6, 7}));
}

// The log keeps its newest entries only; a reader that fell further behind reads every key
// again and then goes on from the log.
TEST_F(FileChangeLog, TheLogStaysShortAndAReaderTooFarBehindReadsEveryKey) {
    Open("SELECT * FROM Zeitschriften");
    WriteOnce();
    for (int round = 0; round < 600; ++round) {
        m_scratch.Exec("UPDATE Zeitschriften SET Seite = '" + std::to_string(round) +
                       "' WHERE ID IN (1, 2)");
    }
    m_scratch.Exec("DELETE FROM Zeitschriften WHERE ID = 3");
    EXPECT_EQ(m_scratch.Scalar(std::string("SELECT count(*) FROM ") + kLogTable),
              std::to_string(SqliteChangeLog::kKeptEntries));
    EXPECT_TRUE(FollowReadAll());
    EXPECT_EQ(Keys(), (std::vector<std::int64_t>{1, 2, 4, 5, 6}));
    m_scratch.Exec("DELETE FROM Zeitschriften WHERE ID = 4");
    EXPECT_FALSE(FollowReadAll());
    EXPECT_EQ(Keys(), (std::vector<std::int64_t>{1, 2, 5, 6}));
}

// A file opened only for reading gets no log, and a deletion there is followed by reading
// every key; a log that a write left behind serves a read-only opening too. A trigger dropped by
// another program makes the rows be counted again until the program's next write adds it back.
TEST_F(FileChangeLog, WithoutAWholeLogTheRowsAreCounted) {
    Open("SELECT * FROM Zeitschriften", true);
    m_scratch.Exec("DELETE FROM Zeitschriften WHERE ID = 2");
    EXPECT_TRUE(FollowReadAll());
    EXPECT_EQ(Keys(), KeysNow());
    EXPECT_FALSE(HasLog());

    Open("SELECT * FROM Zeitschriften");
    WriteOnce();
    Open("SELECT * FROM Zeitschriften", true);
    m_scratch.Exec("DELETE FROM Zeitschriften WHERE ID = 3");
    EXPECT_FALSE(FollowReadAll());
    EXPECT_EQ(Keys(), KeysNow());

    Open("SELECT * FROM Zeitschriften");
    m_scratch.Exec(std::string("DROP TRIGGER ") + kLogTable + "_delete");
    m_scratch.Exec("DELETE FROM Zeitschriften WHERE ID = 4");
    EXPECT_TRUE(FollowReadAll());
    m_scratch.Exec("DELETE FROM Zeitschriften WHERE ID = 5");
    EXPECT_TRUE(FollowReadAll());
    EXPECT_EQ(Keys(), KeysNow());
    // A deletion before the log was added again is not in it.
    m_scratch.Exec("DELETE FROM Zeitschriften WHERE ID = 6");
    WriteOnce();
    EXPECT_TRUE(FollowReadAll());
    EXPECT_EQ(Keys(), (std::vector<std::int64_t>{1}));
    m_scratch.Exec("UPDATE Zeitschriften SET ID = 9 WHERE ID = 1");
    EXPECT_FALSE(FollowReadAll());
    EXPECT_EQ(Keys(), (std::vector<std::int64_t>{9}));
}

}  // namespace
