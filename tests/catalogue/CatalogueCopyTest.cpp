#include <CDaoDatabase.h>
#include <PgConnection.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <QFile>
#include <memory>

#include "catalogue/CatalogueCopy.h"
#include "server/ServerCatalogue.h"
#include "server/TestServer.h"
#include "support/ProgramTest.h"

namespace {

class CatalogueCopyTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        REQUIRE_TEST_SERVER();
        m_server = ServerCatalogue::Make();
        m_server->Exec("DROP TABLE Zeitschriften");
        // The program's texts, for the messages.
        ASSERT_TRUE(Start());
    }
    long Copy(const QString& source, const QString& target, bool overwrite = false) {
        CatalogueCopy copy(source, target, overwrite);
        const long copied = copy.Run({});
        m_error = copy.GetError();
        return copied;
    }
    QString Server() const { return QString::fromStdString(m_server->Target()); }
    // A catalogue file holding exactly these rows, written as SQL.
    QString CatalogueWith(const std::string& rows) const {
        const QString path = CopyOfExample(QStringLiteral("roh.plx"));
        CDaoDatabase catalogue;
        catalogue.Open(path.toStdString());
        catalogue.Execute("DELETE FROM Zeitschriften; INSERT INTO Zeitschriften VALUES " + rows);
        return path;
    }

    std::unique_ptr<ServerCatalogue> m_server;
    QString m_error;
};

TEST_F(CatalogueCopyTest, FileToServerToFileComesBackIdentical) {
    const QString original = CopyOfExample();
    ASSERT_EQ(Copy(original, Server()), 333) << m_error.toStdString();
    EXPECT_EQ(m_server->Scalar("SELECT count(*) FROM Zeitschriften"), "333");
    // The server's key generator goes on above the copied keys.
    m_server->Exec("INSERT INTO Zeitschriften (Artikelname) VALUES ('neu')");
    EXPECT_EQ(m_server->Scalar("SELECT max(ID) > 333 FROM Zeitschriften"), "t");
    m_server->Exec("DELETE FROM Zeitschriften WHERE Artikelname = 'neu'");

    const QString back = TempPath(QStringLiteral("zurück.plx"));
    ASSERT_EQ(Copy(Server(), back), 333) << m_error.toStdString();
    EXPECT_EQ(StoredRecords(back), StoredRecords(original));
    EXPECT_FALSE(QFile::exists(back + QStringLiteral(".kopie")));
}

TEST_F(CatalogueCopyTest, ANonEmptyTargetIsReplacedOnlyWhenAsked) {
    const QString original = CopyOfExample();
    const QString other = GeneratedCatalogue(7);
    const QByteArray before = FileBytes(other);
    EXPECT_EQ(Copy(original, other), -1);
    EXPECT_TRUE(m_error.contains(QStringLiteral("nicht leer"))) << m_error.toStdString();
    EXPECT_EQ(FileBytes(other), before);

    // Any file that holds something is kept, a few lines of notes as much as a catalogue.
    const QString notes = TempPath(QStringLiteral("notizen.txt"));
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Heft 3 fehlt noch\n");
    file.close();
    EXPECT_EQ(Copy(original, notes), -1);
    EXPECT_EQ(FileBytes(notes), "Heft 3 fehlt noch\n");

    // On the server one record is not empty either.
    ASSERT_EQ(Copy(GeneratedCatalogue(1, QStringLiteral("eins.plx")), Server()), 1);
    EXPECT_EQ(Copy(original, Server()), -1);
    EXPECT_EQ(m_server->Scalar("SELECT count(*) FROM Zeitschriften"), "1");
    ASSERT_EQ(Copy(other, Server(), true), 7);
    EXPECT_EQ(Copy(original, Server()), -1);
    EXPECT_EQ(m_server->Scalar("SELECT count(*) FROM Zeitschriften"), "7");
    ASSERT_EQ(Copy(original, Server(), true), 333);
    EXPECT_EQ(m_server->Scalar("SELECT count(*) FROM Zeitschriften"), "333");
    ASSERT_EQ(Copy(Server(), other, true), 333);
    EXPECT_EQ(StoredRecords(other), StoredRecords(original));
}

// Tabs, line ends, backslashes and other control characters are what the bulk transfers to and
// from a server must not take for their own separators or escapes; NULL, the empty text and a
// text reading \N must stay three different things.
TEST_F(CatalogueCopyTest, AwkwardTextsAndKeysWithGapsSurviveTheWayThereAndBack) {
    const QString original = CatalogueWith(
        "(3, 'Spalte\tzwei', 'Zeile 1\nZeile 2', 'Wagen\rRücklauf', 'C:\\Pfad\\N'),"
        " (7, NULL, '', '\\N', NULL),"
        " (42, '\\.', '\n\\.\n', '\\\\', '\\t'),"
        " (43, char(8, 12, 11, 1, 127), '\\b\\x41\\101', '\t', '\\N\t\\N'),"
        // 10 MiB of text, in which every fifth byte needs an escape.
        " (1000, 'lang', 'lang', replace(hex(zeroblob(2097152)), '00', 'ü\t\\\n'), '1')");
    ASSERT_EQ(Copy(original, Server()), 5) << m_error.toStdString();

    EXPECT_EQ(m_server->Scalar("SELECT string_agg(ID::text, ',' ORDER BY ID) FROM Zeitschriften"),
              "3,7,42,43,1000");
    EXPECT_EQ(m_server->Scalar("SELECT Zeitschriftennummer FROM Zeitschriften WHERE ID = 3"),
              "Spalte\tzwei");
    EXPECT_EQ(m_server->Scalar("SELECT Seite FROM Zeitschriften WHERE ID = 3"), "C:\\Pfad\\N");
    EXPECT_EQ(m_server->Scalar("SELECT Zeitschriftennummer FROM Zeitschriften WHERE ID = 7"),
              "<null>");
    EXPECT_EQ(m_server->Scalar("SELECT Zeitschriftenname FROM Zeitschriften WHERE ID = 7"), "");
    EXPECT_EQ(m_server->Scalar("SELECT Artikelname FROM Zeitschriften WHERE ID = 7"), "\\N");
    EXPECT_EQ(
        m_server->Scalar("SELECT octet_length(Artikelname) FROM Zeitschriften WHERE ID = 1000"),
        "10485760");
    // The key generator goes on above the highest copied key, not after the count of records.
    EXPECT_EQ(
        m_server->Scalar("INSERT INTO Zeitschriften (Artikelname) VALUES ('neu') RETURNING ID"),
        "1001");
    m_server->Exec("DELETE FROM Zeitschriften WHERE ID = 1001");

    const QString back = TempPath(QStringLiteral("zurück.plx"));
    ASSERT_EQ(Copy(Server(), back), 5) << m_error.toStdString();
    EXPECT_EQ(StoredRecords(back), StoredRecords(original));
    EXPECT_EQ(StoredKeys(back), "3,7,42,43,1000");
}

TEST_F(CatalogueCopyTest, TheArticlesOfACopyOnTheServerAreIndexedByTrigrams) {
    ASSERT_EQ(Copy(CopyOfExample(), Server()), 333) << m_error.toStdString();
    EXPECT_EQ(m_server->Scalar("SELECT indexdef LIKE '%gin_trgm_ops%' FROM pg_indexes"
                               " WHERE schemaname = current_schema()"
                               " AND indexname = 'zeitschriften_artikelname_trgm'"),
              "t");
}

// A role that may not create the extension (a database of its own, where nobody has created it
// yet) still gets a complete catalogue, only without the index.
TEST_F(CatalogueCopyTest, ARoleThatMayNotAddTheExtensionStillGetsTheCatalogue) {
    const std::string suffix = std::to_string(getpid());
    const std::string database = "ohne_trgm_" + suffix;
    const std::string role = "ohne_recht_" + suffix;
    TestServer::Scalar("DROP DATABASE IF EXISTS " + database);
    TestServer::Scalar("DROP ROLE IF EXISTS " + role);
    TestServer::Scalar("CREATE ROLE " + role + " LOGIN");
    TestServer::Scalar("CREATE DATABASE " + database);
    const std::string host = *TestServer::Host();
    {
        PgConnection owner("host='" + host + "' dbname=" + database + " user=periolex");
        owner.RunScript("CREATE SCHEMA katalog AUTHORIZATION " + role);
    }
    const QString target =
        QString::fromStdString("postgresql:///" + database + "?host=" + host + "&user=" + role +
                               "&options=-csearch_path%3Dkatalog");
    EXPECT_EQ(Copy(CopyOfExample(), target), 333) << m_error.toStdString();
    {
        PgConnection reader(target.toStdString());
        const PgResult result = reader.Run(
            "SELECT (SELECT count(*) FROM Zeitschriften)::text || ' '"
            " || (SELECT count(*) FROM pg_indexes WHERE schemaname = 'katalog')::text"
            " || ' ' || (SELECT count(*) FROM pg_extension WHERE extname = 'pg_trgm')::text");
        EXPECT_EQ(std::string(PQgetvalue(result.get(), 0, 0)), "333 1 0");
    }
    TestServer::Scalar("DROP DATABASE " + database + " WITH (FORCE)");
    TestServer::Scalar("DROP ROLE " + role);
}

}  // namespace
