#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "CDaoDatabase.h"
#include "CDaoException.h"
#include "CDaoRecordset.h"
#include "CDaoTransaction.h"
#include "DaoErrorCode.h"
#include "ScratchDatabase.h"
#include "server/ServerCatalogue.h"
#include "server/ServerProxy.h"
#include "server/TestServer.h"

namespace {

// A record set on a server catalogue whose connection runs through a network that the tests
// cut: the server stops, the network drops, an answer gets lost.
class ServerReconnect : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_SERVER();
        m_catalogue = ServerCatalogue::Make();
        m_catalogue->Exec(
            "INSERT INTO Zeitschriften (ID, Artikelname) VALUES (1, 'a'), (2, 'b'), (3, 'c')");
        m_proxy = std::make_unique<ServerProxy>(*TestServer::Host());
        m_db.Open(m_catalogue->TargetVia(m_proxy->Host(), "reconnect-test"));
        m_rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");
    }

    // Waits for the change descriptor to turn readable: a notification, or the connection's end.
    bool ChangeArrives() {
        pollfd watched{m_db.ChangeDescriptor(), POLLIN, 0};
        return watched.fd >= 0 && poll(&watched, 1, 5000) == 1;
    }
    // Stores `text` as article name of record `key`, as the form does, in one transaction.
    MergeOutcome Store(long key, const std::string& loaded, const std::string& text) {
        std::vector<COleVariant> current;
        CDaoTransaction transaction(m_db, true);
        const MergeOutcome outcome = m_rs.StoreChanges(COleVariant(static_cast<std::int64_t>(key)),
                                                       {{3, loaded, text}}, current);
        transaction.Commit();
        return outcome;
    }
    void Add(const std::string& text) {
        CDaoTransaction transaction(m_db, true);
        m_rs.AddNew();
        m_rs.SetFieldValue(3, text);
        m_rs.Update();
        transaction.Commit();
    }
    std::string Count(const std::string& text) {
        return m_catalogue->Scalar("SELECT count(*) FROM Zeitschriften WHERE Artikelname = '" +
                                   text + "'");
    }

    std::unique_ptr<ServerCatalogue> m_catalogue;
    std::unique_ptr<ServerProxy> m_proxy;
    CDaoDatabase m_db;
    CDaoRecordset m_rs{&m_db};
};

// Not about breaks, but about what goes over the network: a step of the form costs one round
// trip, while a command that reads more sees one state of the catalogue throughout.
TEST_F(ServerReconnect, AReadCommandOfOneRowIsOneRoundTrip) {
    const auto sendsFor = [&](const std::function<void()>& command) {
        const long before = m_proxy->Sends();
        CDaoTransaction transaction(m_db, false);
        command();
        transaction.Commit();
        return m_proxy->Sends() - before;
    };
    EXPECT_EQ(sendsFor([&] {
                  m_rs.MoveNext();
                  EXPECT_EQ(m_rs.GetFieldValue(3).GetString(), "b");
              }),
              1);
    // Keys and rows of a longer command come from one snapshot, whatever others commit.
    std::string later;
    sendsFor([&] {
        m_rs.Requery();
        m_catalogue->Exec("UPDATE Zeitschriften SET Artikelname = 'neu' WHERE ID = 1");
        m_rs.MoveFirst();
        later = m_rs.GetFieldValue(3).GetString();
    });
    EXPECT_EQ(later, "a");
}

TEST_F(ServerReconnect, ADropNobodyNoticedYetIsMadeGoodByTheNextReadCommand) {
    m_proxy->Cut(false);
    CDaoTransaction transaction(m_db, false);
    m_rs.Requery();
    m_rs.MoveNext();
    EXPECT_EQ(m_rs.GetFieldValue(3).GetString(), "b");
    transaction.Commit();
}

TEST_F(ServerReconnect, ADropWhileIdleIsNoticedAndTheNextTransactionConnectsAgain) {
    m_proxy->Cut(false);
    ASSERT_TRUE(ChangeArrives());
    EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Broken);
    m_catalogue->Exec("UPDATE Zeitschriften SET Artikelname = 'anderswo' WHERE ID = 2");

    {
        // What others did while the connection was gone counts as changed elsewhere.
        CDaoTransaction transaction(m_db, false);
        EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Changed);
        m_rs.Requery();
        m_rs.MoveNext();
        EXPECT_EQ(m_rs.GetFieldValue(3).GetString(), "anderswo");
        transaction.Commit();
    }
    EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Unchanged);
    // The new connection listens again.
    m_catalogue->Exec("UPDATE Zeitschriften SET Artikelname = 'später' WHERE ID = 3");
    ASSERT_TRUE(ChangeArrives());
    EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Changed);
}

// Between commands the connection is made again without a command, so that the program
// follows others again once the server is back. The break is news once, however often the
// program looks meanwhile.
TEST_F(ServerReconnect, BetweenCommandsTheConnectionIsMadeAgainOnceTheServerIsBack) {
    m_proxy->Cut(true);
    ASSERT_TRUE(ChangeArrives());
    EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Broken);
    for (int look = 0; look < 5; ++look) {
        EXPECT_EQ(m_db.CheckForChanges(), DaoChange::StillBroken);
    }
    m_catalogue->Exec("UPDATE Zeitschriften SET Artikelname = 'anderswo' WHERE ID = 2");
    m_proxy->Restore();

    DaoChange change = DaoChange::StillBroken;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (change == DaoChange::StillBroken && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        change = m_db.CheckForChanges();
    }
    ASSERT_EQ(change, DaoChange::Changed);
    m_rs.Requery();
    m_rs.MoveNext();
    EXPECT_EQ(m_rs.GetFieldValue(3).GetString(), "anderswo");
    m_catalogue->Exec("UPDATE Zeitschriften SET Artikelname = 'später' WHERE ID = 3");
    ASSERT_TRUE(ChangeArrives());
    EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Changed);
}

TEST_F(ServerReconnect, WhileTheServerIsDownCommandsFailAndTheFirstOneAfterStoresOnce) {
    m_proxy->Cut(true);
    EXPECT_EQ(ErrorCode([&] { Store(1, "a", "neu"); }), DaoErrorCode::kConnectionLost);
    EXPECT_EQ(ErrorCode([&] { Add("neu hinzu"); }), DaoErrorCode::kConnectionLost);
    EXPECT_EQ(m_rs.GetRecordCount(), 3);

    m_proxy->Restore();
    EXPECT_EQ(Store(1, "a", "neu"), MergeOutcome::Stored);
    Add("neu hinzu");
    EXPECT_EQ(Count("neu"), "1");
    EXPECT_EQ(Count("neu hinzu"), "1");
    EXPECT_EQ(m_rs.GetRecordCount(), 4);
}

TEST_F(ServerReconnect, ADropInsideATransactionFailsItAndTheNextOneStores) {
    EXPECT_EQ(ErrorCode([&] {
                  CDaoTransaction transaction(m_db, true);
                  m_proxy->Cut(false);
                  std::vector<COleVariant> current;
                  m_rs.StoreChanges(COleVariant(std::int64_t{2}), {{3, "b", "neu"}}, current);
                  transaction.Commit();
              }),
              DaoErrorCode::kConnectionLost);
    EXPECT_EQ(Count("neu"), "0");
    EXPECT_EQ(Store(2, "b", "neu"), MergeOutcome::Stored);
    EXPECT_EQ(Count("neu"), "1");
}

// The server committed, but its answer never came: the commit stands and is not repeated.
TEST_F(ServerReconnect, ACommitWhoseAnswerIsLostIsFoundCommitted) {
    m_proxy->CutAt("COMMIT", true);
    Add("einmal");
    EXPECT_EQ(Count("einmal"), "1");
    EXPECT_EQ(m_rs.GetRecordCount(), 4);

    m_proxy->CutAt("COMMIT", true);
    EXPECT_EQ(Store(1, "a", "geändert"), MergeOutcome::Stored);
    // Storing the same text again, as the form would after an error, finds it there already.
    EXPECT_EQ(Store(1, "a", "geändert"), MergeOutcome::Stored);
    EXPECT_EQ(Count("geändert"), "1");

    // The session made to ask about the commit listens as the first one did.
    EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Changed);
    m_catalogue->Exec("UPDATE Zeitschriften SET Artikelname = 'anderswo' WHERE ID = 3");
    ASSERT_TRUE(ChangeArrives());
    EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Changed);
}

// The server answers neither committed nor aborted (it no longer knows the transaction, or the
// old session still holds it after the wait): nobody may be told that the record was stored.
TEST_F(ServerReconnect, ACommitWhoseStateTheServerCannotTellIsUnknown) {
    const std::string question = "SELECT txid_status($1::bigint)";
    for (const std::string answer :
         {"SELECT $1::bigint::text||NULL ", "SELECT 'in progress'WHERE $1>0"}) {
        m_proxy->Rewrite(question, answer);
        m_proxy->CutAt("COMMIT", true);
        EXPECT_EQ(ErrorCode([&] { Add("unklar"); }), DaoErrorCode::kCommitUnknown) << answer;
    }
}

// The commit never reached the server: nothing was written, and the record set says so.
TEST_F(ServerReconnect, ACommitLostOnTheWayFailsAndWritesNothing) {
    m_proxy->CutAt("COMMIT", false);
    EXPECT_EQ(ErrorCode([&] { Add("einmal"); }), DaoErrorCode::kConnectionLost);
    EXPECT_EQ(Count("einmal"), "0");
    EXPECT_EQ(m_rs.GetRecordCount(), 3);
    Add("einmal");
    EXPECT_EQ(Count("einmal"), "1");
}

// The network went away without a word while the commit was on its way: the server still holds
// the old session's transaction open. It is ended, so that its outcome is certain and its
// locks are free for the next command.
TEST_F(ServerReconnect, ACommitThatTheServerNeverSawIsEndedAndFails) {
    m_proxy->CutAt("COMMIT", false, false, true);
    EXPECT_EQ(ErrorCode([&] { Store(2, "b", "verloren"); }), DaoErrorCode::kConnectionLost);
    EXPECT_EQ(Count("verloren"), "0");
    // The row lock of the old session is gone: storing again neither waits nor doubles.
    EXPECT_EQ(Store(2, "b", "gespeichert"), MergeOutcome::Stored);
    EXPECT_EQ(Count("gespeichert"), "1");
}

// The server went away with the answer to a commit: whether it took effect shows once the
// connection stands again, and nothing is sent twice meanwhile.
TEST_F(ServerReconnect, ACommitCutWhileTheServerStaysDownIsUnknownUntilItIsBack) {
    m_proxy->CutAt("COMMIT", true, true);
    EXPECT_EQ(ErrorCode([&] { Add("vielleicht"); }), DaoErrorCode::kCommitUnknown);
    EXPECT_EQ(Count("vielleicht"), "1");

    m_proxy->Restore();
    CDaoTransaction transaction(m_db, false);
    EXPECT_EQ(m_db.CheckForChanges(), DaoChange::Changed);
    m_rs.Requery();
    EXPECT_EQ(m_rs.GetRecordCount(), 4);
    transaction.Commit();
    EXPECT_EQ(Count("vielleicht"), "1");
}

}  // namespace
