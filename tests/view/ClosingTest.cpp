#include <CMDIChildWnd.h>
#include <ModalSeam.h>
#include <sqlite3.h>
#include "SqliteHandleOf.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "app/CMainFrame.h"
#include "document/CPeriolexDoc.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"
#include "support/RealDialogs.h"

namespace {

// What was typed and could not be stored is never dropped without the user saying so, and the
// window can always be closed: one question, which says why the text could not be stored.
class ClosingTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        m_path = GeneratedCatalogue(3);
        ASSERT_TRUE(Start({m_path}));
        TypeInto(IDC_ARTIKELNAME, "Nicht zu speichern");
    }
    // Another program takes the table away, so that storing the form fails. (A record deleted
    // elsewhere is no failure: its text may be stored as a new record.)
    void TakeTheTableAway() {
        sqlite3* db = nullptr;
        sqlite3_open(m_path.toUtf8().constData(), &db);
        sqlite3_exec(db, "DROP TABLE Zeitschriften", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    // Asks to close the window, answers the one question with `answer` and returns its text.
    QString CloseAnswering(int answer) {
        const std::size_t asked = ModalSeam::Requests().size();
        ModalSeam::Push({answer, {}, {}});
        MainFrame()->GetChildFrames().front()->OnClose();
        ProcessEvents();
        EXPECT_EQ(ModalSeam::Requests().size(), asked + 1) << "one question per close";
        EXPECT_EQ(ModalSeam::Requests().back().type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
        return ModalSeam::Requests().back().text;
    }
    QString m_path;
};

TEST_F(ClosingTest, TheUserMayKeepTheWindowOpen) {
    TakeTheTableAway();
    const QString question = CloseAnswering(IDNO);
    EXPECT_TRUE(question.contains("ist ein Fehler aufgetreten")) << question.toStdString();
    EXPECT_EQ(MainFrame()->GetChildFrames().size(), 1u);
    EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), "Nicht zu speichern");

    ModalSeam::Push({IDYES, {}, {}});
    RunCommand(ID_APP_EXIT);
    EXPECT_TRUE(Documents().empty());
}

// The question as built for real: a stray Enter or Escape keeps the window and the typed text;
// only "Ja", reached by its letter, closes.
TEST_F(ClosingTest, EnterAndEscapeKeepTheWindowOfTheRealQuestion) {
    TakeTheTableAway();
    const auto closeAnswering = [&](int key, bool alt) {
        RealDialogs::Run([&] { MainFrame()->GetChildFrames().front()->OnClose(); },
                         {[&](QWidget* dialog) {
                             ASSERT_TRUE(RealDialogs::Activate(dialog));
                             auto* box = qobject_cast<QMessageBox*>(dialog);
                             ASSERT_NE(box, nullptr);
                             EXPECT_TRUE(box->text().contains("ist ein Fehler aufgetreten"));
                             QAbstractButton* no = box->button(QMessageBox::No);
                             EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), no);
                             EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(no));
                             EXPECT_EQ(RealDialogs::Mnemonics(dialog), QList<QChar>({'j', 'n'}));
                             RealDialogs::Press(dialog, key, alt);
                         }});
        ProcessEvents();
    };
    for (const int key : {Qt::Key_Return, Qt::Key_Escape}) {
        closeAnswering(key, false);
        ASSERT_EQ(MainFrame()->GetChildFrames().size(), 1u);
        EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), "Nicht zu speichern");
    }
    closeAnswering(Qt::Key_J, true);
    EXPECT_TRUE(Documents().empty());
}

TEST_F(ClosingTest, AFileDeletedOrReplacedWhileOpenIsSaidSoAndTheWindowCloses) {
    for (const bool replace : {false, true}) {
        ASSERT_TRUE(QFile::remove(m_path));
        if (replace) {
            GeneratedCatalogue(3);
        }
        const QString question = CloseAnswering(IDNO);
        EXPECT_TRUE(question.contains("gelöscht oder durch eine andere Datei ersetzt"))
            << question.toStdString();
        EXPECT_TRUE(question.contains("öffnen Sie die Datei erneut")) << "what to do next";
        EXPECT_FALSE(question.contains("schreibgeschützt")) << question.toStdString();
        EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), "Nicht zu speichern");
        CloseAnswering(IDYES);
        EXPECT_TRUE(Documents().empty());
        if (!replace) {
            // The next round opens a catalogue that is then replaced under its window.
            GeneratedCatalogue(3);
            ASSERT_TRUE(App()->OpenDocumentFile(m_path));
            TypeInto(IDC_ARTIKELNAME, "Nicht zu speichern");
        }
    }
    EXPECT_NE(StoredRecords(m_path)[0][2], "Nicht zu speichern") << "the new file was not written";
}

TEST_F(ClosingTest, ACatalogueThatBecameReadOnlyIsSaidSo) {
    // Root may write to any file whatever its permissions; the connection itself refuses.
    sqlite3_exec(SqliteHandleOf(Documents().front()->m_database), "PRAGMA query_only = ON", nullptr,
                 nullptr, nullptr);
    const QString question = CloseAnswering(IDNO);
    EXPECT_TRUE(question.contains("schreibgeschützt"));
    EXPECT_EQ(question.count("nicht gespeichert"), 1) << question.toStdString();
    EXPECT_EQ(Field(IDC_ARTIKELNAME)->text(), "Nicht zu speichern");
    CloseAnswering(IDYES);
    EXPECT_TRUE(Documents().empty());
}

TEST_F(ClosingTest, NewNeverReplacesAnOpenCatalogue) {
    const QByteArray before = FileBytes(m_path);
    ModalSeam::Push({IDOK, m_path, {}});
    ModalSeam::Push({IDOK, {}, {}});
    RunCommand(ID_FILE_NEW);
    EXPECT_TRUE(ModalSeam::Requests().back().text.contains("ist geöffnet"));
    EXPECT_EQ(FileBytes(m_path), before);
    EXPECT_EQ(Documents().size(), 1u);
}

}  // namespace
