#include <ModalSeam.h>
#include <ServerWaitIndicator.h>
#include <libpq-fe.h>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

#include "app/CMainFrame.h"
#include "res/Resource.h"
#include "server/ServerCatalogue.h"
#include "server/ServerProxy.h"
#include "server/TestServer.h"
#include "support/ProgramTest.h"

namespace {

const QString kLost = QStringLiteral("Die Verbindung zum Datenbankserver ist unterbrochen");

// A window on a server catalogue whose commands meet a server that is slow, locked or silent.
class ServerDeadlineTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        REQUIRE_TEST_SERVER();
        m_server = ServerCatalogue::Make();
        m_server->AddThreeArticles();
    }
    void TearDown() override {
        if (m_other != nullptr) {
            PQfinish(m_other);
        }
        ProgramTest::TearDown();
    }
    QString Target(const std::string& setting, const std::string& host = "") const {
        return QString::fromStdString(
            m_server->TargetVia(host.empty() ? *TestServer::Host() : host, "deadline", setting));
    }
    // Another session, which holds what `sql` takes until it rolls back.
    void OtherSessionHolds(const std::string& sql) {
        m_other = PQconnectdb(m_server->Target().c_str());
        PQclear(PQexec(m_other, ("BEGIN; " + sql).c_str()));
        ASSERT_EQ(PQtransactionStatus(m_other), PQTRANS_INTRANS) << PQerrorMessage(m_other);
    }
    // Runs `command`, whose failure one message says, with `meanwhile` `after` ms into its
    // wait; the milliseconds it took.
    qint64 RunFailing(unsigned command, const std::function<void()>& meanwhile = {},
                      int after = 1500) {
        ModalSeam::Push({IDOK, {}, {}});
        if (meanwhile) {
            QTimer::singleShot(after, meanwhile);
        }
        QElapsedTimer clock;
        clock.start();
        RunCommand(command);
        return clock.elapsed();
    }
    QWidget* Indicator() const {
        return MainFrame()->MainWindow()->findChild<QWidget*>(
            QString::fromLatin1(ServerWaitIndicator::kObjectName));
    }
    // The messages since `before`; one of them, the last, saying `text`.
    ::testing::AssertionResult SaidOnce(std::size_t before, const QString& text) const {
        const std::vector<ModalRequest>& requests = ModalSeam::Requests();
        if (requests.size() != before + 1 || !requests.back().text.contains(text)) {
            return ::testing::AssertionFailure()
                   << requests.size() - before << " messages, the last: "
                   << (requests.size() > before ? requests.back().text.toStdString() : "");
        }
        return ::testing::AssertionSuccess();
    }

    std::unique_ptr<ServerCatalogue> m_server;
    pg_conn* m_other = nullptr;
};

// A server that takes the statement and never answers: the window stays alive and says that it
// waits, the command is given up after the deadline as a broken connection, said once, and
// the typed text stays.
TEST_F(ServerDeadlineTest, ASilentServerIsGivenUpAtTheDeadlineWithTheWindowAliveAndSaidOnce) {
    ServerProxy network(*TestServer::Host());
    // Answers are awaited 1 s and the margin.
    ASSERT_TRUE(Start({Target("statement_timeout=1000", network.Host())}));
    TypeInto(IDC_ARTIKELNAME, QStringLiteral("getippt"));
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(50);
    bool indicated = false;
    const std::size_t before = ModalSeam::Requests().size();
    network.Freeze(true);
    const qint64 took =
        RunFailing(ID_DATENSATZ_NAECHSTER, [&] { indicated = Indicator() != nullptr; });

    EXPECT_GE(took, 5500);
    EXPECT_LT(took, 10000);
    EXPECT_GT(ticks, took / 50 / 3) << ticks << " ticks in " << took << " ms";
    EXPECT_TRUE(indicated);
    EXPECT_EQ(Indicator(), nullptr);
    EXPECT_TRUE(SaidOnce(before, kLost));
    // The watcher's looks meanwhile, and its attempts to connect again, say nothing more.
    QTest::qWait(1500);
    EXPECT_TRUE(SaidOnce(before, kLost));
    EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), "getippt");
    EXPECT_EQ(Caption(), "Datensatz 1 von 3");
    network.Freeze(false);
    Stop();  // before the network goes
}

// Another session keeps the record locked: the save ends at the lock deadline with its own
// message, or earlier by Abbrechen, clicked or by Escape; the typed text stays for the save
// that succeeds once the lock is gone.
TEST_F(ServerDeadlineTest, ALockedRecordEndsTheSaveAtTheLockDeadlineOrAtAbbrechen) {
    ASSERT_TRUE(Start({Target("lock_timeout=3000")}));
    OtherSessionHolds("SELECT * FROM Zeitschriften WHERE ID = 1 FOR UPDATE");
    TypeInto(IDC_ARTIKELNAME, QStringLiteral("getippt"));
    const QString cancelled = QStringLiteral("Der Befehl wurde abgebrochen");

    std::size_t before = ModalSeam::Requests().size();
    qint64 took = RunFailing(ID_DATENSATZ_NAECHSTER, [&] {
        ASSERT_NE(Indicator(), nullptr);
        auto* button = Indicator()->findChild<QPushButton*>();
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), "Abbrechen");
        QTest::mouseClick(button, Qt::LeftButton);
    });
    EXPECT_LT(took, 2900);
    EXPECT_TRUE(SaidOnce(before, cancelled));
    EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), "getippt");

    before = ModalSeam::Requests().size();
    took = RunFailing(ID_DATENSATZ_NAECHSTER,
                      [&] { QTest::keyClick(MainFrame()->MainWindow(), Qt::Key_Escape); });
    EXPECT_LT(took, 2900);
    EXPECT_TRUE(SaidOnce(before, cancelled));

    // Keys typed while the save waits go to the form once it has failed, after its text.
    before = ModalSeam::Requests().size();
    took = RunFailing(
        ID_DATENSATZ_NAECHSTER,
        [&] { QTest::keyClicks(Field(IDC_ARTIKELNAME), QStringLiteral(" und mehr")); }, 500);
    EXPECT_GE(took, 2900);
    EXPECT_TRUE(SaidOnce(before, QStringLiteral("in einer anderen Sitzung geändert")));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Field(IDC_ARTIKELNAME)->text() == "getippt und mehr"; }, 1000))
        << Field(IDC_ARTIKELNAME)->text().toStdString();
    EXPECT_EQ(Caption(), "Datensatz 1 von 3");

    PQclear(PQexec(m_other, "ROLLBACK"));
    before = ModalSeam::Requests().size();
    RunCommand(ID_DATENSATZ_NAECHSTER);
    EXPECT_EQ(ModalSeam::Requests().size(), before);
    EXPECT_EQ(m_server->Scalar("SELECT Artikelname FROM Zeitschriften WHERE ID = 1"),
              "getippt und mehr");
}

// A search that the server ends at the statement deadline (the table locked by another session
// holds it up) is said, and the set and the form stay as they were.
TEST_F(ServerDeadlineTest, ASearchEndedAtTheStatementDeadlineLeavesTheSetAsItWas) {
    ASSERT_TRUE(Start({Target("statement_timeout=1000")}));
    RunCommand(ID_DATENSATZ_NAECHSTER);
    ASSERT_EQ(Caption(), "Datensatz 2 von 3");
    OtherSessionHolds("LOCK TABLE Zeitschriften IN ACCESS EXCLUSIVE MODE");

    ModalSeam::Push({IDOK, {}, [](QWidget* dialog) {
                         dialog->findChild<QLineEdit*>()->setText(QStringLiteral("Motor"));
                     }});
    const std::size_t before = ModalSeam::Requests().size() + 1;  // after the query's own
    RunFailing(IDC_ABFRAGE);
    EXPECT_TRUE(SaidOnce(before, QStringLiteral("nicht rechtzeitig geantwortet")));
    EXPECT_EQ(Caption(), "Datensatz 2 von 3");
    EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), "Ärger");

    PQclear(PQexec(m_other, "ROLLBACK"));
    RunCommand(ID_DATENSATZ_NAECHSTER);
    EXPECT_EQ(Caption(), "Datensatz 3 von 3");
}

}  // namespace
