#include <CMDIChildWnd.h>
#include <ChangeWatcher.h>
#include <ModalSeam.h>
#include <sqlite3.h>
#include "SqliteHandleOf.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/CMainFrame.h"
#include "document/CPeriolexDoc.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"
#include "support/RealDialogs.h"
#include "view/CPeriolexView.h"

namespace {

// The program and, beside it, another program's connection to the same catalogue.
class SharedCatalogueTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        m_path = GeneratedCatalogue(5);
        m_original = StoredRecords(m_path);
        ASSERT_EQ(sqlite3_open(m_path.toUtf8().constData(), &m_other), SQLITE_OK);
        ASSERT_TRUE(Start({m_path}));
    }
    void TearDown() override {
        ProgramTest::TearDown();
        sqlite3_close(m_other);
    }
    // A change committed by the other program.
    void Elsewhere(const std::string& sql) {
        ASSERT_EQ(sqlite3_exec(m_other, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(m_other);
    }
    // The program notices on its own, within a second.
    bool FollowsWithinASecond(const std::function<bool()>& shown) {
        return QTest::qWaitFor(shown, 1000);
    }
    QString Shown(unsigned id = IDC_ARTIKELNAME) const { return Field(id)->text(); }

    QString m_path;
    std::vector<StoredRecord> m_original;
    sqlite3* m_other = nullptr;
};

TEST_F(SharedCatalogueTest, DifferentFieldsOfOneRecordAreMerged) {
    Elsewhere("UPDATE Zeitschriften SET Zeitschriftenname = 'Von B' WHERE ID = 1");
    TypeInto(IDC_ARTIKELNAME, "Von A");
    RunCommand(ID_DATENSATZ_NAECHSTER);
    EXPECT_TRUE(ModalSeam::Requests().empty());
    StoredRecord expected = m_original[0];
    expected[1] = "Von B";
    expected[2] = "Von A";
    EXPECT_EQ(StoredRecords(m_path)[0], expected);
    EXPECT_EQ(Caption(), "Datensatz 2 von 5");
    EXPECT_TRUE(WindowsAgreeWithFile(m_path));
}

TEST_F(SharedCatalogueTest, SameFieldConflictAsksAndBackToTheFormWritesNothing) {
    TypeInto(IDC_ZEITSCHRIFTENNAME, "Von A");
    TypeInto(IDC_ARTIKELNAME, "Auch von A");
    Elsewhere("UPDATE Zeitschriften SET Artikelname = 'Von B' WHERE ID = 1");
    ModalSeam::Push({IDCANCEL, {}, {}});
    RunCommand(ID_DATENSATZ_NAECHSTER);
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    const QString question = ModalSeam::Requests()[0].text;
    EXPECT_EQ(ModalSeam::Requests()[0].help, IDH_CONFLICT) << "F1 shows what the choices do";
    EXPECT_TRUE(question.startsWith(QStringLiteral("Der Datensatz 1 von 5 („%1“, „%2“) wurde")
                                        .arg(m_original[0][1], m_original[0][2])))
        << question.toStdString();
    EXPECT_TRUE(
        question.contains("Artikelname:\nIhre Eingabe: „Auch von A“\n"
                          "Jetzt gespeichert: „Von B“"))
        << question.toStdString();
    EXPECT_FALSE(question.contains("Zeitschriftenname:")) << "only the field in conflict";
    // Nothing written, not even the field without conflict; the form is as the user left it.
    StoredRecord expected = m_original[0];
    expected[2] = "Von B";
    EXPECT_EQ(StoredRecords(m_path)[0], expected);
    EXPECT_EQ(Caption(), "Datensatz 1 von 5");
    EXPECT_EQ(Shown(IDC_ZEITSCHRIFTENNAME), "Von A");
    EXPECT_EQ(Shown(), "Auch von A");
    // Closing asks again; going back once more leaves the file as the other program left it.
    ModalSeam::Push({IDCANCEL, {}, {}});
    Stop();
    EXPECT_EQ(StoredRecords(m_path)[0], expected);
}

TEST_F(SharedCatalogueTest, ConflictKeepMineOverwritesTakeStoredShowsTheirs) {
    TypeInto(IDC_SEITE, "11");
    TypeInto(IDC_ARTIKELNAME, "Von A");
    Elsewhere("UPDATE Zeitschriften SET Artikelname = 'Von B' WHERE ID = 1");
    ModalSeam::Push({IDYES, {}, {}});
    RunCommand(ID_DATENSATZ_NAECHSTER);
    StoredRecord expected = m_original[0];
    expected[2] = "Von A";
    expected[3] = "11";
    EXPECT_EQ(StoredRecords(m_path)[0], expected);
    EXPECT_EQ(Caption(), "Datensatz 2 von 5");

    TypeInto(IDC_SEITE, "22");
    TypeInto(IDC_ARTIKELNAME, "Wieder von A");
    Elsewhere("UPDATE Zeitschriften SET Artikelname = 'Wieder von B' WHERE ID = 2");
    ModalSeam::Push({IDNO, {}, {}});
    RunCommand(ID_DATENSATZ_VORHERIGER);
    expected = m_original[1];
    expected[2] = "Wieder von B";
    expected[3] = "22";  // the field without conflict is stored with the choice
    EXPECT_EQ(StoredRecords(m_path)[1], expected);
    EXPECT_EQ(Caption(), "Datensatz 1 von 5");
    EXPECT_EQ(ModalSeam::Requests().size(), 2u);
    EXPECT_TRUE(WindowsAgreeWithFile(m_path));
}

// The form stays on the last record after taking the stored texts; typing into that field again
// is no conflict with oneself, nor is typing into a field that holds no value at all.
TEST_F(SharedCatalogueTest, AfterTakingTheStoredTextsAndIntoAnEmptyFieldTypingStoresWithoutAsking) {
    RunCommand(ID_DATENSATZ_LETZTER);
    TypeInto(IDC_ARTIKELNAME, "Von A");
    Elsewhere("UPDATE Zeitschriften SET Artikelname = 'Von B' WHERE ID = 5");
    ModalSeam::Push({IDNO, {}, {}});
    RunCommand(ID_DATENSATZ_NAECHSTER);
    ASSERT_EQ(Shown(), "Von B");
    TypeInto(IDC_ARTIKELNAME, "Doch von A");
    RunCommand(ID_DATENSATZ_NAECHSTER);
    EXPECT_EQ(StoredRecords(m_path)[4][2], "Doch von A");

    Elsewhere("UPDATE Zeitschriften SET Seite = NULL WHERE ID = 1");
    RunCommand(ID_DATENSATZ_ERSTER);
    TypeInto(IDC_SEITE, "7");
    RunCommand(ID_DATENSATZ_NAECHSTER);
    EXPECT_EQ(StoredRecords(m_path)[0][3], "7");
    EXPECT_EQ(ModalSeam::Requests().size(), 1u) << "only the first conflict asks";
}

TEST_F(SharedCatalogueTest, ARecordDeletedWhileTypingTakesNoKeysAndIsOfferedAtTheNextCommand) {
    RunCommand(ID_DATENSATZ_NAECHSTER);
    QMainWindow* window = MainFrame()->MainWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    Field(IDC_ARTIKELNAME)->setFocus();
    Field(IDC_ARTIKELNAME)->clear();
    QTest::keyClicks(Field(IDC_ARTIKELNAME), "Wi");
    Elsewhere("DELETE FROM Zeitschriften WHERE ID = 2");
    // The user types on while the program learns of the deletion. Keys go wherever the focus
    // is, as a keyboard's do: into a question, had one opened ("n" would answer "Nein").
    ModalSeam::Enable(false);
    const QString typing = QStringLiteral("nicht verloren");
    int typed = 0;
    QTimer keyboard;
    QObject::connect(&keyboard, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        QWidget* focus = QApplication::focusWidget();
        if (typed < typing.size()) {
            QTest::keyClick(focus ? focus : modal ? modal : window, typing[typed++].toLatin1());
        } else if (modal) {
            modal->close();  // a question the keys did not answer
        }
    });
    keyboard.start(ChangeWatcher::kIntervalMs / 2);
    const bool done = QTest::qWaitFor(
        [&] { return typed == typing.size() && !QApplication::activeModalWidget(); }, 5000);
    keyboard.stop();
    ModalSeam::Enable(true);
    ASSERT_TRUE(done);
    EXPECT_EQ(Shown(), "Winicht verloren") << "the keys went elsewhere";
    EXPECT_EQ(StoredRecords(m_path).size(), 4u);
    EXPECT_TRUE(ModalSeam::Requests().empty());

    // The next command asks, with the texts at stake.
    ModalSeam::Push({IDYES, {}, {}});
    RunCommand(ID_DATENSATZ_NAECHSTER);
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    const ModalRequest& question = ModalSeam::Requests()[0];
    EXPECT_TRUE(question.text.contains("als neuen Datensatz speichern?"));
    EXPECT_TRUE(question.text.contains("anderen Programm oder Benutzer gelöscht"));
    EXPECT_TRUE(question.text.contains("Artikelname: „Winicht verloren“"));
    EXPECT_TRUE(question.text.contains("Zeitschriftenname: „" + m_original[1][1] + "“"));
    EXPECT_EQ(question.type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(question.help, IDH_DELETED_ELSEWHERE);
    StoredRecord kept = m_original[1];
    kept[2] = "Winicht verloren";
    const auto records = StoredRecords(m_path);
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[4], kept);
    EXPECT_TRUE(WindowsAgreeWithFile(m_path));
}

TEST_F(SharedCatalogueTest, ARecordDeletedWhileTypingIsDroppedOnNo) {
    RunCommand(ID_DATENSATZ_NAECHSTER);
    TypeInto(IDC_ARTIKELNAME, "Verworfen");
    Elsewhere("DELETE FROM Zeitschriften WHERE ID = 2");
    ModalSeam::Push({IDNO, {}, {}});
    // A command finds out at once, before the timer does.
    RunCommand(ID_DATENSATZ_NAECHSTER);
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_EQ(StoredRecords(m_path).size(), 4u);
    for (const StoredRecord& r : StoredRecords(m_path)) {
        EXPECT_NE(r[2], "Verworfen");
    }
    EXPECT_EQ(Caption(), "Datensatz 1 von 4");
    EXPECT_EQ(Shown(), m_original[0][2]);
    EXPECT_TRUE(WindowsAgreeWithFile(m_path));
}

// The question as the user meets it: Enter keeps what was typed, and each answer has its letter.
TEST_F(SharedCatalogueTest, TheRealDeletedElsewhereQuestionKeepsTheTypedTextOnEnter) {
    RunCommand(ID_DATENSATZ_NAECHSTER);
    TypeInto(IDC_ARTIKELNAME, "Gerettet");
    Elsewhere("DELETE FROM Zeitschriften WHERE ID = 2");
    RealDialogs::Run([&] { RunCommand(ID_DATENSATZ_NAECHSTER); }, {[](QWidget* dialog) {
                         ASSERT_TRUE(RealDialogs::Activate(dialog));
                         auto* box = qobject_cast<QMessageBox*>(dialog);
                         ASSERT_NE(box, nullptr);
                         EXPECT_TRUE(box->text().contains("Artikelname: „Gerettet“"));
                         QPushButton* keep = RealDialogs::DefaultButton(dialog);
                         ASSERT_EQ(keep, box->button(QMessageBox::Yes));
                         EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(keep));
                         EXPECT_EQ(RealDialogs::Mnemonics(dialog), QList<QChar>({'j', 'n'}));
                         RealDialogs::Press(dialog, Qt::Key_Return);
                     }});
    StoredRecord kept = m_original[1];
    kept[2] = "Gerettet";
    const auto records = StoredRecords(m_path);
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[4], kept);
    EXPECT_TRUE(WindowsAgreeWithFile(m_path));
}

TEST_F(SharedCatalogueTest, ARecordDeletedElsewhereWhileDeleteAsksDeletesNothingElse) {
    RunCommand(ID_DATENSATZ_NAECHSTER);
    RunCommand(ID_DATENSATZ_NAECHSTER);
    ModalSeam::Push({IDYES, {}, {}}, [&] { Elsewhere("DELETE FROM Zeitschriften WHERE ID = 3"); });
    RunCommand(ID_DATENSATZ_LOESCHEN);
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    const std::vector<StoredRecord> expected = {m_original[0], m_original[1], m_original[3],
                                                m_original[4]};
    EXPECT_EQ(StoredRecords(m_path), expected);
    EXPECT_EQ(Caption(), "Datensatz 1 von 4");
    EXPECT_TRUE(WindowsAgreeWithFile(m_path));
}

// A question is about what the form shows when it opens: others' changes wait until it is
// answered.
TEST_F(SharedCatalogueTest, OthersChangesWaitWhileAQuestionIsOpen) {
    RealDialogs::Run([&] { RunCommand(ID_DATENSATZ_LOESCHEN); }, {[&](QWidget* dialog) {
                         ASSERT_TRUE(RealDialogs::Activate(dialog));
                         EXPECT_EQ(qobject_cast<QMessageBox*>(dialog)->text(),
                                   "Möchten Sie den Datensatz löschen?");
                         Elsewhere("UPDATE Zeitschriften SET Artikelname = 'Neu' WHERE ID = 1");
                         QTest::qWait(3 * ChangeWatcher::kIntervalMs);
                         EXPECT_EQ(Shown(), m_original[0][2]);
                         RealDialogs::Press(dialog, Qt::Key_Escape);
                     }});
    EXPECT_EQ(StoredRecords(m_path).size(), 5u);
    ASSERT_TRUE(FollowsWithinASecond([&] { return Shown() == "Neu"; }));
}

// What others delete while the question is open moves the form, but only the record the user
// was asked about goes; and when it is the last one left, it stays.
TEST_F(SharedCatalogueTest, DeleteTakesTheRecordAskedAboutAndNeverTheLast) {
    RunCommand(ID_DATENSATZ_NAECHSTER);
    RunCommand(ID_DATENSATZ_NAECHSTER);
    ModalSeam::Push({IDYES, {}, {}}, [&] { Elsewhere("DELETE FROM Zeitschriften WHERE ID = 1"); });
    RunCommand(ID_DATENSATZ_LOESCHEN);
    EXPECT_EQ(StoredRecords(m_path),
              (std::vector<StoredRecord>{m_original[1], m_original[3], m_original[4]}));

    RunCommand(ID_DATENSATZ_ERSTER);
    ModalSeam::Push({IDYES, {}, {}}, [&] { Elsewhere("DELETE FROM Zeitschriften WHERE ID <> 2"); });
    ModalSeam::Push({IDOK, {}, {}});
    RunCommand(ID_DATENSATZ_LOESCHEN);
    EXPECT_EQ(ModalSeam::Requests().back().text, "Es ist nur 1 Datensatz vorhanden");
    EXPECT_EQ(StoredRecords(m_path), (std::vector<StoredRecord>{m_original[1]}));
    EXPECT_TRUE(WindowsAgreeWithFile(m_path));
}

// Two windows of one catalogue step through the same records: a delete takes the record its
// own window shows, wherever the other window stepped last.
TEST_F(SharedCatalogueTest, DeleteInOneOfTwoWindowsTakesTheRecordItShows) {
    RunCommand(ID_WINDOW_NEW);
    const auto frames = MainFrame()->GetChildFrames();
    ASSERT_EQ(frames.size(), 2u);
    frames[0]->ActivateFrame();
    RunCommand(ID_DATENSATZ_NAECHSTER);
    frames[1]->ActivateFrame();
    RunCommand(ID_DATENSATZ_LETZTER);
    frames[0]->ActivateFrame();
    ModalSeam::Push({IDYES, {}, {}});
    RunCommand(ID_DATENSATZ_LOESCHEN);
    EXPECT_EQ(StoredKeys(m_path), "1,3,4,5");
}

TEST_F(SharedCatalogueTest, AnAddOrDeleteThatCannotCommitLeavesWindowAndFileAgreeing) {
    sqlite3_busy_timeout(SqliteHandleOf(Documents()[0]->m_database), 50);
    RunCommand(ID_DATENSATZ_NAECHSTER);
    for (const unsigned command : {ID_DATENSATZ_HINZUFUEGEN, ID_DATENSATZ_LOESCHEN}) {
        ModalSeam::Reset();
        // A reader elsewhere keeps the commit from getting its exclusive lock.
        Elsewhere("BEGIN; SELECT count(*) FROM Zeitschriften;");
        const bool asks = command == ID_DATENSATZ_LOESCHEN;
        if (asks) {
            ModalSeam::Push({IDYES, {}, {}});
        }
        RunCommand(command);
        Elsewhere("COMMIT");
        ASSERT_EQ(ModalSeam::Requests().size(), asks ? 2u : 1u) << command;
        EXPECT_TRUE(ModalSeam::Requests().back().text.contains("anderen Programm benutzt"))
            << command << ": the failure is reported";
        EXPECT_EQ(StoredRecords(m_path), m_original);
        EXPECT_EQ(Caption(), "Datensatz 2 von 5") << command;
        ModalSeam::Reset();
        RunCommand(ID_DATENSATZ_LETZTER);
        EXPECT_TRUE(ModalSeam::Requests().empty()) << command;
        EXPECT_EQ(Caption(), "Datensatz 5 von 5") << command;
        EXPECT_TRUE(WindowsAgreeWithFile(m_path));
        RunCommand(ID_DATENSATZ_ERSTER);
        RunCommand(ID_DATENSATZ_NAECHSTER);
    }
}

TEST_F(SharedCatalogueTest, AddsDeletesAndEditsElsewhereShowWithinASecond) {
    RunCommand(ID_DATENSATZ_NAECHSTER);
    Elsewhere(
        "INSERT INTO Zeitschriften (Zeitschriftennummer, Zeitschriftenname, Artikelname, "
        "Seite) VALUES ('9', 'Neu', 'Neu von B', '1')");
    ASSERT_TRUE(FollowsWithinASecond([&] { return Caption() == "Datensatz 2 von 6"; }))
        << Caption().toStdString();
    EXPECT_TRUE(WindowsAgreeWithFile(m_path));
    Elsewhere("UPDATE Zeitschriften SET Artikelname = 'Geändert von B' WHERE ID = 2");
    ASSERT_TRUE(FollowsWithinASecond([&] { return Shown() == "Geändert von B"; }));
    EXPECT_TRUE(WindowsAgreeWithFile(m_path));
    Elsewhere("DELETE FROM Zeitschriften WHERE ID = 1");
    ASSERT_TRUE(FollowsWithinASecond([&] { return Caption() == "Datensatz 1 von 5"; }))
        << Caption().toStdString();
    EXPECT_EQ(Shown(), "Geändert von B");
    EXPECT_TRUE(WindowsAgreeWithFile(m_path));
    RunCommand(ID_DATENSATZ_LETZTER);
    EXPECT_EQ(Shown(), "Neu von B");
    EXPECT_EQ(Caption(), "Datensatz 5 von 5");
    // The shown record deleted elsewhere, the form unchanged: the first record, as between the
    // program's own windows.
    Elsewhere("DELETE FROM Zeitschriften WHERE Artikelname = 'Neu von B'");
    ASSERT_TRUE(FollowsWithinASecond([&] { return Caption() == "Datensatz 1 von 4"; }))
        << Caption().toStdString();
    EXPECT_EQ(Shown(), "Geändert von B");
    EXPECT_TRUE(WindowsAgreeWithFile(m_path));
    EXPECT_TRUE(ModalSeam::Requests().empty());
}

TEST_F(SharedCatalogueTest, ALockedFileDelaysTheLiveUpdateWithoutAMessage) {
    sqlite3_busy_timeout(SqliteHandleOf(Documents()[0]->m_database), 10);
    RunCommand(ID_DATENSATZ_NAECHSTER);
    Elsewhere("BEGIN EXCLUSIVE; DELETE FROM Zeitschriften WHERE ID = 2;");
    QTest::qWait(4 * ChangeWatcher::kIntervalMs);
    EXPECT_TRUE(ModalSeam::Requests().empty()) << "nobody asked for the update";
    EXPECT_EQ(Caption(), "Datensatz 2 von 5");
    Elsewhere("COMMIT");
    ASSERT_TRUE(FollowsWithinASecond([&] { return Caption() == "Datensatz 1 von 4"; }));
    EXPECT_TRUE(ModalSeam::Requests().empty());
    EXPECT_TRUE(WindowsAgreeWithFile(m_path));
}

TEST_F(SharedCatalogueTest, AFileLockedElsewhereNeverHoldsUpTheWindow) {
    // The connection waits seconds for a lock when a command needs one; the look between
    // commands, on the thread that paints the window, must not.
    Elsewhere("BEGIN EXCLUSIVE; DELETE FROM Zeitschriften WHERE ID = 2;");
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(4 * ChangeWatcher::kIntervalMs);
    EXPECT_LT(clock.elapsed(), 3000) << "the window waited for the other program's lock";
    EXPECT_EQ(Caption(), "Datensatz 1 von 5");
    Elsewhere("COMMIT");
    ASSERT_TRUE(FollowsWithinASecond([&] { return Caption() == "Datensatz 1 von 4"; }));
    EXPECT_TRUE(ModalSeam::Requests().empty());
}

TEST_F(SharedCatalogueTest, TypedTextIsNeverReplacedByALiveUpdate) {
    TypeInto(IDC_SEITE, "getippt");
    Elsewhere("UPDATE Zeitschriften SET Seite = 'von B', Artikelname = 'B' WHERE ID = 1");
    Elsewhere("INSERT INTO Zeitschriften (Artikelname) VALUES ('Neu')");
    ASSERT_TRUE(FollowsWithinASecond([&] { return Caption() == "Datensatz 1 von 6"; }));
    EXPECT_EQ(Shown(IDC_SEITE), "getippt");
    EXPECT_EQ(Shown(), m_original[0][2]) << "a typed form is not reloaded, not even in part";
    ModalSeam::Push({IDYES, {}, {}});  // the page was changed by both: keep the typed one
    Stop();
    EXPECT_EQ(ModalSeam::Requests().size(), 1u);
    StoredRecord expected = m_original[0];
    expected[2] = "B";
    expected[3] = "getippt";
    EXPECT_EQ(StoredRecords(m_path)[0], expected);
}

TEST_F(SharedCatalogueTest, AnotherWindowShowsAStoredEditOfItsRecord) {
    RunCommand(ID_WINDOW_NEW);
    const auto frames = MainFrame()->GetChildFrames();
    ASSERT_EQ(frames.size(), 2u);
    frames[0]->ActivateFrame();
    TypeInto(IDC_ARTIKELNAME, "Aus Fenster 1");
    RunCommand(ID_DATENSATZ_NAECHSTER);
    frames[1]->ActivateFrame();
    EXPECT_EQ(Shown(), "Aus Fenster 1");
    EXPECT_EQ(Caption(), "Datensatz 1 von 5");
    // Both windows follow an add and a delete from another program.
    Elsewhere(
        "INSERT INTO Zeitschriften (Zeitschriftennummer, Zeitschriftenname, Artikelname, "
        "Seite) VALUES ('9', 'Neu', 'Neu von B', '1')");
    Elsewhere("DELETE FROM Zeitschriften WHERE ID = 1");
    ASSERT_TRUE(FollowsWithinASecond([&] { return Shown() == m_original[1][2]; }));
    EXPECT_TRUE(WindowsAgreeWithFile(m_path)) << "the first window moves up to record 1";
}

TEST_F(SharedCatalogueTest, TwoWindowsTypingIntoOneFieldMeetInTheConflictQuestion) {
    RunCommand(ID_WINDOW_NEW);
    const auto frames = MainFrame()->GetChildFrames();
    ASSERT_EQ(frames.size(), 2u);
    frames[0]->ActivateFrame();
    TypeInto(IDC_ARTIKELNAME, "Fenster 1");
    frames[1]->ActivateFrame();
    TypeInto(IDC_ARTIKELNAME, "Fenster 2");
    frames[0]->ActivateFrame();
    RunCommand(ID_DATENSATZ_NAECHSTER);
    EXPECT_TRUE(ModalSeam::Requests().empty());
    frames[1]->ActivateFrame();
    EXPECT_EQ(Shown(), "Fenster 2") << "typed text stays when the other window stores";
    ModalSeam::Push({IDNO, {}, {}});
    RunCommand(ID_DATENSATZ_NAECHSTER);
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_TRUE(ModalSeam::Requests()[0].text.contains(
        "Ihre Eingabe: „Fenster 2“\nJetzt gespeichert: „Fenster 1“"));
    EXPECT_EQ(StoredRecords(m_path)[0][2], "Fenster 1");
    EXPECT_TRUE(WindowsAgreeWithFile(m_path));
}

}  // namespace
