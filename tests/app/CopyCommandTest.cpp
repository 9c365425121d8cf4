#include <QFile>
#include <memory>

#include "catalogue/CatalogueCopy.h"
#include "server/ServerCatalogue.h"
#include "server/TestServer.h"
#include "support/ProgramTest.h"

namespace {

// `--copy SOURCE SERVER [--link LINK]` as a shell runs it, against the test server.
class CopyCommandTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        REQUIRE_TEST_SERVER();
        m_server = ServerCatalogue::Make();
        m_server->Exec("DROP TABLE Zeitschriften");
        m_example = CopyOfExample();
    }
    QString Server() const { return QString::fromStdString(m_server->Target()); }

    std::unique_ptr<ServerCatalogue> m_server;
    QString m_example;
};

// The test server lets its user in without a password, so one given is simply not needed: the
// copy succeeds, and neither the link nor the terminal holds the password, however it was spelt.
TEST_F(CopyCommandTest, APasswordInTheTargetReachesNeitherTheLinkNorTheTerminal) {
    const QString server = Server();
    const QString query = server.mid(server.indexOf(QLatin1Char('?')) + 1);
    const QString targets[] = {
        server + QStringLiteral("&password=geheim"),
        server + QStringLiteral("&%70assword=geheim"),
        server + QStringLiteral("&passw%6Frd=geheim"),
        QStringLiteral("postgresql://periolex:geheim@/postgres?") + query,
    };
    for (const QString& target : targets) {
        const QString link = TempPath(QStringLiteral("Team.plx"));
        const Outcome run =
            RunProgram({"--copy", m_example, target, "--link", link, "--overwrite"});
        EXPECT_EQ(run.code, 0) << run.errorLines.join('\n').toStdString();
        const QString terminal = run.out + run.errorLines.join('\n');
        EXPECT_FALSE(terminal.contains(QStringLiteral("geheim"))) << terminal.toStdString();
        EXPECT_TRUE(terminal.contains(QStringLiteral("~/.pgpass"))) << terminal.toStdString();
        const QByteArray written = FileBytes(link);
        EXPECT_TRUE(written.startsWith("[Periolex-Serverkatalog]")) << written.toStdString();
        EXPECT_FALSE(written.contains("geheim")) << written.toStdString();
        EXPECT_FALSE(written.contains("assw")) << written.toStdString();

        // The link opens: what was copied comes back through it.
        const QString back = TempPath(QStringLiteral("zurück.plx"));
        QFile::remove(back);
        EXPECT_EQ(CatalogueCopy(link, back, false).Run({}), 333);
    }
}

// A target whose folder is missing fails only the link: the records are on the server, and the
// terminal says so.
TEST_F(CopyCommandTest, ALinkThatCannotBeWrittenLeavesTheCopyDone) {
    const QString link = TempPath(QStringLiteral("fehlt/Team.plx"));
    const Outcome run = RunProgram({"--copy", m_example, Server(), "--link", link});
    EXPECT_EQ(run.code, 1);
    const QString terminal = run.errorLines.join('\n');
    EXPECT_TRUE(terminal.contains(QStringLiteral("333 Datensätze nach"))) << terminal.toStdString();
    EXPECT_TRUE(terminal.contains(QStringLiteral("Nur die Katalogverknüpfung")))
        << terminal.toStdString();
    EXPECT_TRUE(terminal.contains(QStringLiteral("Der Ordner"))) << terminal.toStdString();
    EXPECT_FALSE(terminal.contains(QStringLiteral("konnte nicht nach"))) << terminal.toStdString();
    EXPECT_EQ(m_server->Scalar("SELECT count(*) FROM Zeitschriften"), "333");
}

// A refused login speaks of the database server in German; libpq's words come on a line of
// their own.
TEST_F(CopyCommandTest, ARefusedLoginNamesTheServerNotAFile) {
    const std::string role = "kopierer_" + std::to_string(getpid());
    TestServer::Scalar("DROP ROLE IF EXISTS " + role);
    TestServer::Scalar("CREATE ROLE " + role +
                       " LOGIN PASSWORD 'richtig' IN ROLE periolex_password_users");
    const QString target =
        Server().replace(QStringLiteral("user=periolex"),
                         QStringLiteral("user=") + QString::fromStdString(role)) +
        QStringLiteral("&password=falsch");
    const Outcome run = RunProgram({"--copy", m_example, target});
    TestServer::Scalar("DROP ROLE " + role);
    EXPECT_EQ(run.code, 1);
    ASSERT_GE(run.errorLines.size(), 3);
    const QString message = run.errorLines.mid(0, 2).join('\n');
    EXPECT_TRUE(message.contains(QStringLiteral("Anmeldung am Datenbankserver")))
        << message.toStdString();
    EXPECT_FALSE(message.contains(QStringLiteral("Katalogdatei"))) << message.toStdString();
    EXPECT_FALSE(message.contains(QStringLiteral("authentication"))) << message.toStdString();
    EXPECT_FALSE(message.contains(QStringLiteral("falsch"))) << message.toStdString();
    EXPECT_TRUE(run.errorLines.value(2).startsWith(QStringLiteral("Details: ")))
        << run.errorLines.join('\n').toStdString();
}

// The progress line, rewritten in place, ends before the summary starts.
TEST_F(CopyCommandTest, TheProgressLineEndsBeforeTheSummary) {
    const QString source = GeneratedCatalogue(6000);
    const Outcome run = RunProgram({"--copy", source, TempPath(QStringLiteral("Kopie.plx"))});
    EXPECT_EQ(run.code, 0);
    ASSERT_FALSE(run.errorLines.isEmpty());
    EXPECT_TRUE(run.errorLines.filter(QStringLiteral("von 6000 Datensätzen kopiert")).size() == 1)
        << run.errorLines.join('\n').toStdString();
    EXPECT_TRUE(run.errorLines.filter(QStringLiteral("6000 Datensätze nach")).size() == 1);
    for (const QString& line : run.errorLines) {
        EXPECT_FALSE(line.contains(QStringLiteral("Datensätzen kopiert")) &&
                     line.contains(QStringLiteral("Datensätze nach")))
            << line.toStdString();
    }
}

// Import and export name a server address on the terminal without its password too.
TEST_F(CopyCommandTest, ImportAndExportShowNoPassword) {
    ASSERT_EQ(RunProgram({"--copy", m_example, Server()}).code, 0);
    const QString address = Server() + QStringLiteral("&password=geheim");
    const QString csv = TempPath(QStringLiteral("neu.csv"));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "Zeitschriftennummer;Zeitschriftenname;Artikelname;Seite\n1/2001;Neu;Neuer Artikel;1\n");
    file.close();
    for (const QStringList& arguments :
         {QStringList{"--import", csv, address},
          QStringList{"--export", TempPath(QStringLiteral("alle.csv")), address},
          QStringList{"--import", csv,
                      address + QStringLiteral("&options=-csearch_path%3Dleer")}}) {
        const Outcome run = RunProgram(arguments);
        const QString terminal = run.out + run.errorLines.join('\n');
        EXPECT_FALSE(terminal.isEmpty());
        EXPECT_FALSE(terminal.contains(QStringLiteral("geheim"))) << terminal.toStdString();
    }
}

}  // namespace
