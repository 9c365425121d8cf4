#include <QFile>
#include <memory>

#include "doc/CatalogueCopy.h"
#include "server/ServerCatalogue.h"
#include "support/ProgramTest.h"

namespace {

class CatalogueCopyTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        m_server = ServerCatalogue::Make();
        if (!m_server) {
            GTEST_SKIP() << "needs the PostgreSQL test server: run under tools/with-test-server";
        }
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

    ASSERT_EQ(Copy(other, Server()), 7);
    EXPECT_EQ(Copy(original, Server()), -1);
    EXPECT_EQ(m_server->Scalar("SELECT count(*) FROM Zeitschriften"), "7");
    ASSERT_EQ(Copy(original, Server(), true), 333);
    EXPECT_EQ(m_server->Scalar("SELECT count(*) FROM Zeitschriften"), "333");
    ASSERT_EQ(Copy(Server(), other, true), 333);
    EXPECT_EQ(StoredRecords(other), StoredRecords(original));
}

}  // namespace
