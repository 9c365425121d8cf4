#include <QFile>
#include <memory>

#include "catalogue/CatalogueCopy.h"
#include "catalogue/CatalogueLink.h"
#include "framework/PdfPages.h"
#include "server/ServerCatalogue.h"
#include "server/TestServer.h"
#include "support/ProgramTest.h"

namespace {

// How a command names the catalogue it works on.
enum class Kind { File, Link, Server };

// Every command of the command line that takes a catalogue, run as a shell runs the program,
// on the example catalogue kept in a file, on a server named by a link, and on a server named
// by its address: each kind does what the file does.
class CatalogueKindsTest : public ProgramTest, public testing::WithParamInterface<Kind> {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        m_example = CopyOfExample();
        if (GetParam() == Kind::File) {
            m_catalogue = CopyOfExample(QStringLiteral("Katalog.plx"));
            return;
        }
        REQUIRE_TEST_SERVER();
        m_server = ServerCatalogue::Make();
        m_server->Exec("DROP TABLE Zeitschriften");
        ASSERT_EQ(CatalogueCopy(m_example, Server(), false).Run({}), 333);
        m_catalogue = Server();
        if (GetParam() == Kind::Link) {
            m_catalogue = TempPath(QStringLiteral("Team.plx"));
            QFile link(m_catalogue);
            ASSERT_TRUE(link.open(QIODevice::WriteOnly));
            link.write(CatalogueLink::Text(Server()).toUtf8());
        }
    }
    QString Server() const { return QString::fromStdString(m_server->Target()); }
    // The records that the catalogue holds now, read behind the program's back.
    std::vector<StoredRecord> Records() const {
        if (GetParam() == Kind::File) {
            return StoredRecords(m_catalogue);
        }
        const QString copy = TempPath(QStringLiteral("nachgesehen.plx"));
        QFile::remove(copy);
        EXPECT_EQ(CatalogueCopy(Server(), copy, false).Run({}), static_cast<long>(Count()));
        return StoredRecords(copy);
    }
    std::size_t Count() const {
        return GetParam() == Kind::File
                   ? StoredRecords(m_catalogue).size()
                   : std::stoul(m_server->Scalar("SELECT count(*) FROM Zeitschriften"));
    }
    static QByteArray Bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void ExpectSucceeded(const Outcome& run) {
        EXPECT_EQ(run.status, QProcess::NormalExit);
        EXPECT_EQ(run.code, 0) << run.errorLines.join('\n').toStdString();
    }

    QString m_example;
    QString m_catalogue;
    std::unique_ptr<ServerCatalogue> m_server;
};

TEST_P(CatalogueKindsTest, ExportWritesWhatTheQueryShowsInTheFormsOrder) {
    const QString expected = TempPath(QStringLiteral("erwartet.ris"));
    ExpectSucceeded(RunProgram({"--export", expected, m_example, "--contains", "im test"}));
    const QString exported = TempPath(QStringLiteral("liste.ris"));
    ExpectSucceeded(RunProgram({"--export", exported, m_catalogue, "--contains", "im test"}));
    EXPECT_TRUE(Bytes(exported).contains("Fünf 17-Zoll-Monitore im Test"));
    EXPECT_EQ(Bytes(exported), Bytes(expected));

    const QString whole = TempPath(QStringLiteral("alles.csv"));
    ExpectSucceeded(RunProgram({"--export", whole, m_catalogue}));
    EXPECT_EQ(Bytes(whole).count('\n'), 1 + 333);
}

TEST_P(CatalogueKindsTest, ImportAppendsToTheCatalogue) {
    const QString csv = TempPath(QStringLiteral("neu.csv"));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "Zeitschriftennummer;Zeitschriftenname;Artikelname;Seite\n"
        "1/2001;Neue Zeitschrift;Erster neuer Artikel;1\n"
        "1/2001;Neue Zeitschrift;Zweiter neuer Artikel;2\n");
    file.close();
    ExpectSucceeded(RunProgram({"--import", csv, m_catalogue}));
    const std::vector<StoredRecord> records = Records();
    ASSERT_EQ(records.size(), 335u);
    EXPECT_EQ(records.back(),
              (StoredRecord{"1/2001", "Neue Zeitschrift", "Zweiter neuer Artikel", "2"}));
}

TEST_P(CatalogueKindsTest, PrintingWritesEveryRecord) {
    const QString pdf = TempPath(QStringLiteral("liste.pdf"));
    ExpectSucceeded(RunProgram({"--print-to", pdf, m_catalogue}));
    const QStringList pages = PdfPages(pdf);
    EXPECT_EQ(pages.size(), (333 + 44) / 45);
    EXPECT_TRUE(pages.value(0).contains("Fünf 17-Zoll-Monitore im Test"));
}

TEST_P(CatalogueKindsTest, CopyTakesTheCatalogueThereAndBack) {
    const QString copy = TempPath(QStringLiteral("Kopie.plx"));
    ExpectSucceeded(RunProgram({"--copy", m_catalogue, copy}));
    EXPECT_EQ(StoredRecords(copy), StoredRecords(m_example));

    // Back over what is there, which the copy refuses unless asked to replace it.
    const QString seven = GeneratedCatalogue(7);
    const Outcome refused = RunProgram({"--copy", seven, m_catalogue});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(Count(), 333u);
    ExpectSucceeded(RunProgram({"--copy", seven, m_catalogue, "--overwrite"}));
    EXPECT_EQ(Records(), StoredRecords(seven));
}

INSTANTIATE_TEST_SUITE_P(Catalogues, CatalogueKindsTest,
                         testing::Values(Kind::File, Kind::Link, Kind::Server),
                         [](const testing::TestParamInfo<Kind>& info) {
                             switch (info.param) {
                                 case Kind::File:
                                     return "File";
                                 case Kind::Link:
                                     return "Link";
                                 case Kind::Server:
                                     return "Server";
                             }
                             return "";
                         });

}  // namespace
