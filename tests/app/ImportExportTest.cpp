#include <ModalSeam.h>
#include <sys/stat.h>

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QMainWindow>
#include <QMimeData>
#include <QUrl>

#include "app/CMainFrame.h"
#include "app/CPeriolexApp.h"
#include "document/CPeriolexDoc.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"

namespace {

class ImportExportTest : public ProgramTest {
protected:
    QString WriteFile(const QString& name, const QByteArray& bytes) const {
        const QString path = TempPath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    // Runs the command line as `periolex ARGUMENTS` would; its exit code.
    int Run(const QStringList& arguments) {
        EXPECT_FALSE(Start(arguments)) << "import and export must end the program";
        return App()->m_nExitCode;
    }
};

// As a German spreadsheet saves it: Windows-1252, ';', CRLF.
const QByteArray kLegacyCsv =
    "Heft;Zeitschrift;Titel;Seite\r\n"
    "7/1998;Gr\xFCne Welt;\xC4pfel lagern;12\r\n"
    "7/1998;Gr\xFCne Welt;\"Stra\xDF\x65nb\xE4ume; Pflege\";20\r\n"
    "8/1998;Gr\xFCne Welt;\"Der \"\"beste\"\" Kompost\";5\r\n";

const std::vector<StoredRecord> kLegacyRecords{
    {"7/1998", "Grüne Welt", "Äpfel lagern", "12"},
    {"7/1998", "Grüne Welt", "Straßenbäume; Pflege", "20"},
    {"8/1998", "Grüne Welt", "Der \"beste\" Kompost", "5"},
};

// Appending the same file twice doubles nothing unless asked to.
TEST_F(ImportExportTest, ImportCreatesTheCatalogueThenAppends) {
    const QString csv = WriteFile("garten.csv", kLegacyCsv);
    const QString catalogue = TempPath("garten.plx");
    EXPECT_EQ(Run({"--import", csv, catalogue}), 0);
    EXPECT_EQ(StoredRecords(catalogue), kLegacyRecords);
    Stop();
    EXPECT_EQ(Run({"--import", csv, catalogue}), 0);
    EXPECT_EQ(StoredRecords(catalogue), kLegacyRecords);
    Stop();
    EXPECT_EQ(Run({"--import", csv, catalogue, "--keep-duplicates"}), 0);
    EXPECT_EQ(StoredRecords(catalogue).size(), 2 * kLegacyRecords.size());
}

TEST_F(ImportExportTest, TheCommandLineSaysWhichColumnGoesWhere) {
    const QString csv = WriteFile("autoren.csv", "Titel;Autor;Jahr\nÄpfel lagern;Maier;1998\n");
    const QString catalogue = TempPath("autoren.plx");
    EXPECT_EQ(Run({"--import", csv, catalogue, "--columns",
                   "Autor=Zeitschriftenname,Titel=Artikelname,3=Jahr"}),
              0);
    EXPECT_EQ(StoredRecords(catalogue),
              (std::vector<StoredRecord>{{"1998", "Maier", "Äpfel lagern", ""}}));
    Stop();
    EXPECT_EQ(Run({"--import", csv, TempPath("ohne.plx"), "--no-header"}), 0);
    EXPECT_EQ(StoredRecords(TempPath("ohne.plx")).front(),
              (StoredRecord{"Titel", "Autor", "Jahr", ""}));
    Stop();
    EXPECT_EQ(Run({"--import", csv, TempPath("x.plx"), "--columns", "Titel"}), 2);
    Stop();
    EXPECT_EQ(Run({"--import", csv, TempPath("x.plx"), "--columns", "Titel=Autor"}), 2);
    Stop();
    EXPECT_EQ(Run({"--no-header", CopyOfExample()}), 2);
    EXPECT_FALSE(QFile::exists(TempPath("x.plx")));
}

TEST_F(ImportExportTest, ExportWritesWhatTheArticleQueryShows) {
    const QString example = CopyOfExample();
    const QString csv = TempPath("test.csv");
    EXPECT_EQ(Run({"--export", csv, example, "--contains", "im test"}), 0);
    const QList<QByteArray> lines = FileBytes(csv).split('\n');
    // Header, the example's fourteen "... im Test" articles of 333, and what follows the last CRLF.
    EXPECT_EQ(lines.size(), 1 + 14 + 1);
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].contains("im Test")) << lines[i].toStdString();
    }
}

TEST_F(ImportExportTest, WrongOptionsAreUsageErrorsAndFailuresEndWithOne) {
    const QString example = CopyOfExample();
    const QString csv = WriteFile("a.csv", kLegacyCsv);
    EXPECT_EQ(Run({"--contains", "x", example}), 2);
    Stop();
    EXPECT_EQ(Run({"--import", csv}), 2);
    Stop();
    EXPECT_EQ(Run({"--import", csv, "--export", TempPath("b.csv"), example}), 2);
    Stop();
    EXPECT_EQ(Run({"--import", WriteFile("kaputt.csv", "\"offen\n"), TempPath("neu.plx")}), 1);
    EXPECT_FALSE(QFile::exists(TempPath("neu.plx")));
    Stop();
    EXPECT_EQ(Run({"--import", csv, TempPath("vertauscht.csv")}), 1);
    Stop();
    EXPECT_EQ(Run({"--export", TempPath("x.txt"), example}), 1);
}

// The preview says what goes where before anything happens; the catalogue's dialog says that
// an import follows and proposes the source's name.
TEST_F(ImportExportTest, OpeningACsvFileImportsItIntoANewCatalogue) {
    const QString csv = WriteFile("garten.csv", kLegacyCsv);
    ASSERT_TRUE(Start());
    ModalSeam::Push({IDOK, csv, {}});
    ModalSeam::Push({IDOK, {}, {}});
    ModalSeam::Push({IDOK, TempPath("Garten"), {}});
    ModalSeam::Push({IDOK, {}, {}});
    RunCommand(ID_FILE_OPEN);
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Documents().front()->GetPathName(), TempPath("Garten.plx"));
    EXPECT_EQ(Caption(), "Datensatz 1 von 3");
    EXPECT_EQ(FormTexts(), kLegacyRecords[0]);
    const auto& requests = ModalSeam::Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[1].caption, "Datei importieren – garten.csv");
    EXPECT_EQ(requests[1].text,
              "Heft → Zeitschriftennummer; Zeitschrift → Zeitschriftenname; Titel → Artikelname; "
              "Seite → Seite");
    EXPECT_EQ(requests[2].text, "Import: Katalog für „garten.csv“ anlegen");
    EXPECT_EQ(requests[2].caption, TempPath("garten.plx"));
    EXPECT_EQ(requests[3].text,
              "3 Datensätze wurden in „" + TempPath("Garten.plx") + "“ übernommen.");
}

// What the user changes in the preview is what the import takes.
TEST_F(ImportExportTest, ThePreviewsChoicesAreWhatIsImported) {
    const QString csv = WriteFile("garten.csv", kLegacyCsv);
    ASSERT_TRUE(Start());
    ModalSeam::Push({IDOK, {}, [](QWidget* dialog) {
                         const auto combos = dialog->findChildren<QComboBox*>();
                         for (QComboBox* combo : combos) {
                             if (combo->accessibleName() == "Zeitschrift") {
                                 combo->setCurrentText("nicht übernehmen");
                             }
                         }
                     }});
    ModalSeam::Push({IDOK, TempPath("ohne"), {}});
    ModalSeam::Push({IDOK, {}, {}});
    ASSERT_NE(App()->OpenDocumentFile(csv), nullptr);
    EXPECT_EQ(StoredRecords(TempPath("ohne.plx")).front(),
              (StoredRecord{"7/1998", "", "Äpfel lagern", "12"}));
    EXPECT_TRUE(ModalSeam::Requests().back().text.endsWith(
        "Nicht übernommen wurde die Spalte „Zeitschrift“."))
        << ModalSeam::Requests().back().text.toStdString();
}

// Typing the source's own name must neither turn it into a catalogue nor loop back to the import.
TEST_F(ImportExportTest, TheNewCatalogueAlwaysGetsItsOwnPlxFile) {
    const QByteArray bytes = "TY  - JOUR\nJO  - Garten\nTI  - Beete\nER  - \n";
    const QString ris = WriteFile("a.ris", bytes);
    ASSERT_TRUE(Start());
    ModalSeam::Push({IDOK, {}, {}});
    ModalSeam::Push({IDOK, ris, {}});
    ModalSeam::Push({IDOK, {}, {}});
    EXPECT_NE(App()->OpenDocumentFile(ris), nullptr);
    EXPECT_EQ(FileBytes(ris), bytes);
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Documents().front()->GetPathName(), TempPath("a.ris.plx"));
    ASSERT_EQ(ModalSeam::Requests().size(), 3u);
    EXPECT_EQ(ModalSeam::Requests()[2].text,
              "1 Datensatz wurde in „" + TempPath("a.ris.plx") + "“ übernommen.");
    Stop();

    // The appended name was not what the dialog asked about; replacing it needs its own yes.
    ASSERT_TRUE(Start());
    ModalSeam::Push({IDOK, {}, {}});
    ModalSeam::Push({IDOK, ris, {}});
    ModalSeam::Push({IDNO, {}, {}});
    EXPECT_EQ(App()->OpenDocumentFile(ris), nullptr);
    EXPECT_EQ(
        ModalSeam::Requests().back().text,
        "„" + TempPath("a.ris.plx") + "“ ist bereits vorhanden. Soll die Datei ersetzt werden?");
    EXPECT_EQ(StoredRecords(TempPath("a.ris.plx")).size(), 1u);
}

TEST_F(ImportExportTest, APipeHandedOverIsRefusedBeforeAskingForACatalogue) {
    const QString fifo = TempPath("pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(Start());
    ModalSeam::Push({IDOK, {}, {}});
    EXPECT_EQ(App()->OpenDocumentFile(fifo), nullptr);
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_TRUE(ModalSeam::Requests()[0].text.contains("keine gewöhnliche Datei"))
        << ModalSeam::Requests()[0].text.toStdString();
}

// A file broken in its first records shows why in the preview, which then only cancels.
TEST_F(ImportExportTest, DroppingABrokenFileSaysWhereAndMakesNothing) {
    const QString ris = WriteFile("kaputt.ris", "TY  - JOUR\nTI  - abgeschnitten\n");
    ASSERT_TRUE(Start());
    ModalSeam::Push({IDOK, {}, {}});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(ris)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(MainFrame()->MainWindow(), &enter);
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(MainFrame()->MainWindow(), &drop);
    EXPECT_TRUE(Documents().empty());
    EXPECT_FALSE(QFile::exists(TempPath("kaputt.plx")));
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_TRUE(ModalSeam::Requests()[0].text.endsWith(
        "\nZeile 2: Der Eintrag ab Zeile 1 endet nicht mit „ER  - “; die Datei ist vermutlich "
        "unvollständig."))
        << ModalSeam::Requests()[0].text.toStdString();
}

}  // namespace
