#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>
#include "SqliteHandleOf.h"

#include <chrono>
#include <map>
#include <string>
#include <thread>

#include "CDaoDatabase.h"
#include "CDaoRecordset.h"
#include "CDaoTransaction.h"
#include "ScratchDatabase.h"

namespace {

using namespace std::chrono_literals;

TEST(RecordsetConcurrency, WritersWaitForEachOtherAndBothEditsStay) {
    ScratchDatabase scratch(2);
    CDaoDatabase db;
    db.Open(scratch.Path());
    CDaoRecordset rs(&db);
    rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");

    scratch.Exec("BEGIN IMMEDIATE");
    scratch.Exec("UPDATE Zeitschriften SET Artikelname = 'von B' WHERE ID = 2");
    std::thread other([&] {
        std::this_thread::sleep_for(200ms);
        scratch.Exec("COMMIT");
    });
    // Reading goes on while the other connection holds its write lock.
    EXPECT_EQ(rs.GetFieldValue(3).GetString(), "Artikel 1");
    const auto start = std::chrono::steady_clock::now();
    rs.Edit();
    rs.SetFieldValue(3, "von A");
    const int code = ErrorCode([&] { rs.Update(); });
    const auto waited = std::chrono::steady_clock::now() - start;
    other.join();

    EXPECT_EQ(code, 0);
    EXPECT_GE(waited, 100ms);
    EXPECT_LT(waited, 3s);
    EXPECT_EQ(scratch.Scalar("SELECT group_concat(Artikelname, '|') FROM Zeitschriften"),
              "von A|von B");
    EXPECT_TRUE(sqlite3_get_autocommit(SqliteHandleOf(db)));
}

// The record is read, then deleted by another connection while the edit waits for the write
// lock: the edit says the record is gone rather than reporting a write that stored nothing.
TEST(RecordsetConcurrency, AnEditOfARecordDeletedWhileWaitingSaysItIsGone) {
    ScratchDatabase scratch(2);
    CDaoDatabase db;
    db.Open(scratch.Path());
    CDaoRecordset rs(&db);
    rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");

    scratch.Exec("BEGIN IMMEDIATE");
    scratch.Exec("DELETE FROM Zeitschriften WHERE ID = 1");
    std::thread other([&] {
        std::this_thread::sleep_for(200ms);
        scratch.Exec("COMMIT");
    });
    rs.Edit();
    rs.SetFieldValue(3, "von A");
    const int code = ErrorCode([&] { rs.Update(); });
    other.join();

    EXPECT_EQ(code, SQLITE_NOTFOUND);
    EXPECT_EQ(scratch.Scalar("SELECT group_concat(Artikelname, '|') FROM Zeitschriften"),
              "Artikel 2");
}

// The child edits records round-robin, each edit writing the next counter value, and reports
// every Update that returned through the pipe until it is killed.
[[noreturn]] void WriteCountersUntilKilled(const std::string& path, int reportFd, int records) {
    CDaoDatabase db;
    db.Open(path);
    CDaoRecordset rs(&db);
    rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");
    for (std::int64_t counter = 1;; ++counter) {
        rs.SetBookmark(COleVariant(counter % records + 1));
        rs.Edit();
        rs.SetFieldValue(4, std::to_string(counter));
        rs.Update();
        if (write(reportFd, &counter, sizeof counter) != sizeof counter) {
            _exit(1);
        }
    }
}

TEST(RecordsetConcurrency, KilledWriterLeavesEveryReportedWrite) {
    constexpr int records = 7;
    ScratchDatabase scratch(records);
    scratch.Disconnect();
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        close(pipeFds[0]);
        WriteCountersUntilKilled(scratch.Path(), pipeFds[1], records);
    }
    close(pipeFds[1]);

    std::map<std::int64_t, std::int64_t> lastReported;  // key -> counter
    std::int64_t counter = 0;
    bool killed = false;
    while (read(pipeFds[0], &counter, sizeof counter) == sizeof counter) {
        lastReported[counter % records + 1] = counter;
        if (counter == 150 && !killed) {
            kill(child, SIGKILL);  // reports already in the pipe are still read
            killed = true;
        }
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";

    EXPECT_EQ(scratch.Scalar("PRAGMA integrity_check"), "ok");
    for (const auto& [key, reported] : lastReported) {
        const std::int64_t stored = std::stoll(
            scratch.Scalar("SELECT Seite FROM Zeitschriften WHERE ID = " + std::to_string(key)));
        // The write the child was in when killed may or may not have been committed.
        EXPECT_TRUE(stored == reported || stored == reported + records) << key;
    }
}

// Adds and deletes change the set's keys at once; a transaction that does not commit must take
// those changes back with it, or the set names records the file does not hold.
TEST(RecordsetConcurrency, KeysFollowTheFileWhenACommitFailsOrATransactionRollsBack) {
    ScratchDatabase scratch(3);
    CDaoDatabase db;
    db.Open(scratch.Path());
    sqlite3_busy_timeout(SqliteHandleOf(db), 50);
    CDaoRecordset rs(&db);
    rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");
    const auto keys = [&] {
        std::string listed;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            listed += std::to_string(*rs.GetBookmark().GetInteger()) + " ";
        }
        return listed;
    };
    const auto deleteSecondAndAdd = [&] {
        rs.SetBookmark(COleVariant(std::int64_t{2}));
        rs.Delete();
        rs.AddNew();
        rs.SetFieldValue(3, "neu");
        rs.Update();
        rs.SetBookmark(COleVariant(std::int64_t{3}));
    };

    // A reader elsewhere keeps the commit from getting its exclusive lock.
    scratch.Exec("BEGIN");
    scratch.Scalar("SELECT count(*) FROM Zeitschriften");
    db.BeginTrans(true);
    deleteSecondAndAdd();
    EXPECT_EQ((ErrorCode([&] { db.CommitTrans(); }) & 0xFF), SQLITE_BUSY);
    scratch.Exec("COMMIT");
    EXPECT_EQ(rs.GetBookmark(), COleVariant(std::int64_t{3})) << "the current record stays";
    EXPECT_EQ(keys(), "1 2 3 ");

    {
        CDaoTransaction transaction(db, true);
        deleteSecondAndAdd();
    }
    EXPECT_EQ(keys(), "1 2 3 ");
    EXPECT_EQ(scratch.Scalar("SELECT group_concat(ID, ' ') FROM Zeitschriften"), "1 2 3");

    // What a transaction committed stays when the next one rolls back.
    {
        CDaoTransaction transaction(db, true);
        deleteSecondAndAdd();
        transaction.Commit();
    }
    {
        CDaoTransaction transaction(db, true);
        rs.MoveFirst();
        rs.Delete();
    }
    EXPECT_EQ(keys(), scratch.Scalar("SELECT group_concat(ID, ' ') FROM Zeitschriften") + " ");
    EXPECT_EQ(rs.GetRecordCount(), 3);

    // After an inner rollback an add is written on its own, and no later rollback takes it back.
    db.BeginTrans(true);
    CDaoTransaction(db, true).Rollback();
    rs.AddNew();
    rs.SetFieldValue(3, "allein");
    rs.Update();
    db.CommitTrans();
    { CDaoTransaction transaction(db, true); }
    EXPECT_EQ(rs.GetRecordCount(), 4);
    EXPECT_EQ(keys(), scratch.Scalar("SELECT group_concat(ID, ' ') FROM Zeitschriften") + " ");
}

}  // namespace
