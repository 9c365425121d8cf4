#include <CDaoDatabase.h>
#include <CDaoException.h>
#include <CDaoRecordset.h>
#include <CDaoTransaction.h>
#include <DaoErrorCode.h>
#include <EventLoopWaiter.h>
#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <memory>

#include "server/ServerCatalogue.h"
#include "server/ServerProxy.h"
#include "server/TestServer.h"
#include "support/ProgramTest.h"

namespace {

// The record store waits through the event loop for as long as the test runs.
class WaiterInstalled {
public:
    WaiterInstalled() { DaoWaiter::Install(&m_waiter); }
    ~WaiterInstalled() { DaoWaiter::Install(nullptr); }
    WaiterInstalled(const WaiterInstalled&) = delete;
    WaiterInstalled& operator=(const WaiterInstalled&) = delete;

private:
    EventLoopWaiter m_waiter;
};

// The network goes away without a word while a commit is on its way: the server still holds
// the old session, and settling what became of the commit takes more than a second. Meanwhile
// the windows must stay alive, and the outcome must be as certain as ever.
TEST(EventLoopWaiter, SettlingALostCommitKeepsTheEventLoopRunning) {
    EnsureTestApplication();
    REQUIRE_TEST_SERVER();
    const std::unique_ptr<ServerCatalogue> catalogue = ServerCatalogue::Make();
    catalogue->Exec("INSERT INTO Zeitschriften (ID, Artikelname) VALUES (1, 'alt')");
    ServerProxy network(*TestServer::Host());
    CDaoDatabase db;
    db.Open(catalogue->TargetVia(network.Host(), "waiter-test"));
    CDaoRecordset rs(&db);
    rs.Open(dbOpenDynaset, "SELECT * FROM Zeitschriften");
    const WaiterInstalled waiter;
    int ticks = 0;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();

    network.CutAt("COMMIT", false, false, true);
    const auto started = std::chrono::steady_clock::now();
    int code = 0;
    try {
        CDaoTransaction transaction(db, true);
        std::vector<COleVariant> current;
        rs.StoreChanges(COleVariant(std::int64_t{1}), {{3, "alt", "neu"}}, current);
        transaction.Commit();
    } catch (CDaoException* e) {
        code = e->GetErrorCode();
        e->Delete();
    }
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);

    EXPECT_EQ(code, DaoErrorCode::kConnectionLost);
    EXPECT_EQ(catalogue->Scalar("SELECT Artikelname FROM Zeitschriften WHERE ID = 1"), "alt");
    ASSERT_GT(took.count(), 500) << "the settling was expected to take a while";
    // A timer of 20 ms fires about once for every 20 ms that the loop runs; a third of that is
    // far above what a few turns of the loop between blocking waits would give.
    EXPECT_GT(ticks, took.count() / 20 / 3) << ticks << " ticks in " << took.count() << " ms";
}

}  // namespace
