#include <AfxRes.h>
#include <ModalSeam.h>

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMainWindow>
#include <QMimeData>
#include <QProcess>
#include <QUrl>

#include "app/CMainFrame.h"
#include "document/CPeriolexDoc.h"
#include "jetfiles/JetTestFile.h"
#include "support/ProgramTest.h"

namespace {

// Catalogues of the Windows program, opened as a user opens any catalogue, and named on the
// command line.
class OldCatalogueTakeOverTest : public ProgramTest {
protected:
    QString Old(const QString& name, const QString& as) const {
        return JetTestFile(name).Save(TempPath(as));
    }
    struct Outcome {
        int code;
        QString out;
        QString err;
    };
    // The program as a shell starts it, without a display.
    Outcome Run(const QStringList& arguments) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            env.remove(name);
        }
        env.insert("XDG_RUNTIME_DIR", TempPath({}));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(PERIOLEX_PROGRAM, arguments);
        EXPECT_TRUE(program.waitForFinished(60000));
        return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
                QString::fromUtf8(program.readAllStandardError())};
    }
    void Drop(const QString& path) const {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(MainFrame()->MainWindow(), &enter);
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(MainFrame()->MainWindow(), &drop);
    }
};

// An old catalogue under the program's own extension: one question, the new-catalogue dialog
// offering a name beside it that replaces nothing, the records read in, the new catalogue open,
// a summary, and the old file as it was.
TEST_F(OldCatalogueTakeOverTest, OpeningAnOldCatalogueTakesItOverAfterOneQuestion) {
    const QString old = Old(QStringLiteral("testUnicodeCompV2003.mdb"), "Artikel.plx");
    const QByteArray before = FileBytes(old);
    const QString proposal = TempPath("Artikel (Periolex).plx");
    ASSERT_TRUE(Start());
    ModalSeam::Push({IDOK, old, {}});
    ModalSeam::Push({IDYES, {}, {}});
    ModalSeam::Push({IDOK, proposal, {}});
    ModalSeam::Push({IDOK, {}, {}});
    RunCommand(ID_FILE_OPEN);

    const auto& requests = ModalSeam::Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[1].kind, ModalRequest::Kind::MessageBox);
    EXPECT_EQ(requests[1].text,
              "„" + old +
                  "“ ist ein Katalog des Windows-Programms (Jet-4-Datenbank).\n\nPeriolex "
                  "übernimmt seine Datensätze in einen neuen Katalog, den Sie als Nächstes "
                  "anlegen. Die alte Datei bleibt dabei genau so, wie sie ist.\n\nDatensätze "
                  "übernehmen?");
    EXPECT_EQ(requests[1].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(requests[2].text, "Import: Katalog für „Artikel.plx“ anlegen");
    EXPECT_EQ(requests[2].caption, proposal);
    EXPECT_EQ(requests[3].text, "8 Datensätze wurden in „" + proposal +
                                    "“ übernommen. 1 Text ist länger als 30 Zeichen; er wurde "
                                    "vollständig übernommen.");
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Documents().front()->GetPathName(), proposal);
    EXPECT_EQ(Caption(), "Datensatz 1 von 8");
    EXPECT_EQ(FormTexts(), (StoredRecord{"only ascii chars", "", "", ""}));
    EXPECT_EQ(StoredRecords(proposal)[1], (StoredRecord{"ääkkösiä", "<null>", "<null>", "<null>"}));
    EXPECT_EQ(FileBytes(old), before);
}

// The Windows program's lock file beside the catalogue: the question says it may still be in
// use, Enter answers no, and no leaves everything as it was. Dropped files go the same way.
TEST_F(OldCatalogueTakeOverTest, ALockFileIsSaidAndNoChangesNothing) {
    const QString old = Old(QStringLiteral("fixedTextTestV2000.mdb"), "Alt.mdb");
    QFile(TempPath("Alt.ldb")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(Start());
    ModalSeam::Push({IDNO, {}, {}});
    Drop(old);
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_TRUE(ModalSeam::Requests()[0].text.contains("Daneben liegt „" + TempPath("Alt.ldb") +
                                                       "“: Das Windows-Programm benutzt den "
                                                       "Katalog vielleicht noch"))
        << ModalSeam::Requests()[0].text.toStdString();
    EXPECT_EQ(ModalSeam::Requests()[0].type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_TRUE(Documents().empty());
    EXPECT_FALSE(QFile::exists(TempPath("Alt.plx")));
}

// Four tables, none of them plainly the articles': the user picks one from a list.
TEST_F(OldCatalogueTakeOverTest, ATableIsChosenFromAList) {
    const QString old = Old(QStringLiteral("testV2010.accdb"), "liste.accdb");
    ASSERT_TRUE(Start());
    ModalSeam::Push({IDYES, {}, {}});
    ModalSeam::Push({IDOK, {}, {}, QStringLiteral("Table1")});
    ModalSeam::Push({IDOK, TempPath("liste.plx"), {}});
    ModalSeam::Push({IDOK, {}, {}});
    ASSERT_NE(App()->OpenDocumentFile(old), nullptr);
    const auto& requests = ModalSeam::Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_TRUE(requests[0].text.contains("Windows-Programms (ACE-Datenbank)."));
    EXPECT_EQ(requests[1].caption, "Tabelle wählen");
    EXPECT_EQ(requests[2].caption, TempPath("liste.plx"));
    EXPECT_EQ(StoredRecords(TempPath("liste.plx")),
              (std::vector<StoredRecord>{{"a", "b", "<null>", "<null>"},
                                         {"abcdefg", "hijklmnop", "<null>", "<null>"}}));
}

// A protected file is refused before anything is asked, with the way out.
TEST_F(OldCatalogueTakeOverTest, AProtectedFileIsRefusedBeforeAnyQuestion) {
    JetTestFile file(QStringLiteral("testV1997.mdb"));
    file.Bytes()[0x42] = static_cast<char>(file.Bytes()[0x42] ^ 'k');
    const QString old = file.Save(TempPath("geheim.plx"));
    ASSERT_TRUE(Start());
    ModalSeam::Push({IDOK, {}, {}});
    EXPECT_EQ(App()->OpenDocumentFile(old), nullptr);
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_EQ(ModalSeam::Requests()[0].text,
              "„" + old +
                  "“ ist eine geschützte Jet-3-Datenbank: Sie hat ein Kennwort oder ist "
                  "verschlüsselt, und Periolex kann geschützte Datenbanken nicht lesen. Bitte "
                  "entfernen Sie den Schutz in dem Programm, mit dem sie angelegt wurde, und "
                  "öffnen Sie sie dann erneut.");
    EXPECT_TRUE(Documents().empty());
}

// Without a display: --import creates or appends, --table chooses, a lock file is a warning, a
// bad file changes nothing; --copy takes old catalogues as its source.
TEST_F(OldCatalogueTakeOverTest, TheCommandLineTakesOldCataloguesOver) {
    const QString several = Old(QStringLiteral("testV2007.accdb"), "alt.accdb");
    const QByteArray before = FileBytes(several);
    const Outcome unchosen = Run({"--import", several, TempPath("neu.plx")});
    EXPECT_EQ(unchosen.code, 1);
    EXPECT_TRUE(unchosen.err.contains("„Table1“, „Table2“, „Table3“, „Table4“"))
        << unchosen.err.toStdString();
    EXPECT_FALSE(QFile::exists(TempPath("neu.plx")));

    QFile(TempPath("alt.laccdb")).open(QIODevice::WriteOnly);
    const Outcome chosen = Run({"--table", "Table1", "--import", several, TempPath("neu.plx")});
    EXPECT_EQ(chosen.code, 0) << chosen.err.toStdString();
    EXPECT_TRUE(chosen.err.startsWith("Warnung: Daneben liegt „" + TempPath("alt.laccdb")))
        << chosen.err.toStdString();
    EXPECT_EQ(chosen.out, "2 Datensätze wurden in „" + TempPath("neu.plx") + "“ übernommen.\n");
    EXPECT_EQ(StoredRecords(TempPath("neu.plx")).size(), 2u);

    JetTestFile cut(QStringLiteral("testUnicodeCompV2003.mdb"));
    cut.Bytes().truncate(100000);
    const QString broken = cut.Save(TempPath("kaputt.mdb"));
    const QByteArray catalogue = FileBytes(TempPath("neu.plx"));
    const Outcome failed = Run({"--import", broken, TempPath("neu.plx")});
    EXPECT_EQ(failed.code, 1);
    EXPECT_TRUE(failed.err.contains("„" + broken + "“ ist beschädigt")) << failed.err.toStdString();
    EXPECT_EQ(FileBytes(TempPath("neu.plx")), catalogue);

    const Outcome copied = Run({"--copy", several, TempPath("kopie.plx"), "--table", "table1"});
    EXPECT_EQ(copied.code, 0) << copied.err.toStdString();
    EXPECT_EQ(StoredRecords(TempPath("kopie.plx")), StoredRecords(TempPath("neu.plx")));
    EXPECT_EQ(Run({"--copy", TempPath("kopie.plx"), several, "--overwrite"}).code, 1);
    EXPECT_EQ(Run({"--import", TempPath("kopie.plx"), several}).code, 1);
    EXPECT_EQ(FileBytes(several), before);
}

}  // namespace
