#include <QFile>
#include <memory>

#include "catalogue/CatalogueCopy.h"
#include "server/ServerCatalogue.h"
#include "server/TestServer.h"
#include "support/ProgramTest.h"

namespace {

// `--copy FILE SERVER --link LINK` as a shell runs it, against the test server.
class CopyLinkTest : public ProgramTest {
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
TEST_F(CopyLinkTest, APasswordInTheTargetReachesNeitherTheLinkNorTheTerminal) {
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

}  // namespace
