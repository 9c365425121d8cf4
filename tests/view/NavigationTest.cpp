#include <CMDIChildWnd.h>
#include <ModalSeam.h>
#include <sqlite3.h>

#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "app/CMainFrame.h"
#include "document/CPeriolexDoc.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"
#include "view/CPeriolexView.h"

namespace {

class NavigationTest : public ProgramTest {
protected:
    // A catalogue whose records are "1" to "n" in every field, so a record names itself.
    QString Numbered(int n) {
        const QString path = GeneratedCatalogue(0, QStringLiteral("n%1.plx").arg(n));
        sqlite3* db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (int i = 1; i <= n; ++i) {
            const std::string sql =
                "INSERT INTO Zeitschriften (Zeitschriftennummer, Zeitschriftenname, "
                "Artikelname, Seite) VALUES ('" +
                std::to_string(i) + "', 'Heft " + std::to_string(i) + "', 'Artikel " +
                std::to_string(i) + "', '" + std::to_string(i) + "')";
            sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return path;
    }
    QString Shown() const { return Field(IDC_ZEITSCHRIFTENNUMMER)->text(); }
    void Step(unsigned command, int times = 1) {
        for (int i = 0; i < times; ++i) {
            RunCommand(command);
        }
    }
};

TEST_F(NavigationTest, CaptionIsPlainDecimalNumbers) {
    ASSERT_TRUE(Start({Numbered(120)}));
    Step(ID_DATENSATZ_NAECHSTER, 9);
    EXPECT_EQ(Caption(), "Datensatz 10 von 120");
    EXPECT_EQ(Shown(), "10");
    Step(ID_DATENSATZ_LETZTER);
    EXPECT_EQ(Caption(), "Datensatz 120 von 120");
    Step(ID_DATENSATZ_VORHERIGER);
    EXPECT_EQ(Caption(), "Datensatz 119 von 120");
    Step(ID_DATENSATZ_ERSTER);
    EXPECT_EQ(Caption(), "Datensatz 1 von 120");
    EXPECT_EQ(Shown(), "1");
}

TEST_F(NavigationTest, BothEndsKeepTheRecordAndSaveItAgain) {
    const QString path = Numbered(3);
    ASSERT_TRUE(Start({path}));
    Step(ID_DATENSATZ_NAECHSTER, 2);
    EXPECT_EQ(Caption(), "Datensatz 3 von 3");
    TypeInto(IDC_ARTIKELNAME, "Letzter Artikel");
    Step(ID_DATENSATZ_NAECHSTER);
    EXPECT_EQ(Caption(), "Datensatz 3 von 3");
    EXPECT_EQ(Shown(), "3");
    EXPECT_EQ(StoredRecords(path)[2][2], "Letzter Artikel");

    Step(ID_DATENSATZ_ERSTER);
    Step(ID_DATENSATZ_VORHERIGER);
    EXPECT_EQ(Caption(), "Datensatz 1 von 3");
    EXPECT_EQ(Shown(), "1");
}

TEST_F(NavigationTest, OneRecordSetShowsItForEveryCommand) {
    ASSERT_TRUE(Start({Numbered(1)}));
    for (unsigned command : {ID_DATENSATZ_NAECHSTER, ID_DATENSATZ_VORHERIGER, ID_DATENSATZ_ERSTER,
                             ID_DATENSATZ_LETZTER}) {
        Step(command);
        EXPECT_EQ(Caption(), "Datensatz 1 von 1") << command;
        EXPECT_EQ(Shown(), "1");
    }
}

TEST_F(NavigationTest, TypedTextGoesIntoTheRecordThatWasShown) {
    const QString path = Numbered(5);
    ASSERT_TRUE(Start({path}));
    Step(ID_DATENSATZ_NAECHSTER);
    TypeInto(IDC_ARTIKELNAME, "Geänderter Artikel");
    TypeInto(IDC_ZEITSCHRIFTENNAME, "Anderes Heft");
    Step(ID_DATENSATZ_NAECHSTER);
    const auto records = StoredRecords(path);
    EXPECT_EQ(records[1], StoredRecord({"2", "Anderes Heft", "Geänderter Artikel", "2"}));
    EXPECT_EQ(records[2], StoredRecord({"3", "Heft 3", "Artikel 3", "3"}));
    EXPECT_EQ(ActiveView()->m_Anzahl, "5");
}

TEST_F(NavigationTest, ButtonsMenusAndKeysRunTheSameCommands) {
    ASSERT_TRUE(Start({Numbered(4)}));
    auto* next = qobject_cast<QPushButton*>(ActiveView()->GetDlgItem(ID_DATENSATZ_NAECHSTER));
    QTest::mouseClick(next, Qt::LeftButton);
    ProcessEvents();
    EXPECT_EQ(Caption(), "Datensatz 2 von 4");

    QMainWindow* window = MainFrame()->MainWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    Field(IDC_ARTIKELNAME)->setFocus();
    QTest::keyClick(Field(IDC_ARTIKELNAME), Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    ProcessEvents();
    EXPECT_EQ(Caption(), "Datensatz 4 von 4");
    QTest::keyClick(Field(IDC_ARTIKELNAME), Qt::Key_P, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Caption(), "Datensatz 3 von 4");
    QTest::keyClick(Field(IDC_ARTIKELNAME), Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Caption(), "Datensatz 1 von 4");
    QTest::keyClick(Field(IDC_ARTIKELNAME), Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Caption(), "Datensatz 2 von 4");
    // A plain letter is text, not a command.
    QTest::keyClick(Field(IDC_ARTIKELNAME), Qt::Key_A);
    QTest::keyClick(Field(IDC_ARTIKELNAME), Qt::Key_D);
    EXPECT_EQ(Caption(), "Datensatz 2 von 4");
    EXPECT_TRUE(Field(IDC_ARTIKELNAME)->text().startsWith("ad"));
    QTest::keyClick(Field(IDC_ARTIKELNAME), Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Caption(), "Datensatz 5 von 5");
}

TEST_F(NavigationTest, MenuItemsRunTheirCommands) {
    ASSERT_TRUE(Start({Numbered(4)}));
    auto item = [this](const QString& popupText, const QString& itemText) -> QAction* {
        const auto bar = MainFrame()->MainWindow()->menuBar()->actions();
        for (QAction* popup : bar) {
            if (popup->text() == popupText) {
                const auto items = popup->menu()->actions();
                for (QAction* a : items) {
                    if (a->text() == itemText) {
                        return a;
                    }
                }
            }
        }
        return nullptr;
    };
    ASSERT_NE(item("&Datensatz", "&Letzter"), nullptr);
    item("&Datensatz", "&Letzter")->trigger();
    EXPECT_EQ(Caption(), "Datensatz 4 von 4");
    item("&Datensatz", "&Vorheriger")->trigger();
    EXPECT_EQ(Caption(), "Datensatz 3 von 4");
    item("&Datensatz", "&Hinzufügen")->trigger();
    EXPECT_EQ(Caption(), "Datensatz 5 von 5");
    ModalSeam::Push({IDYES, {}, {}});
    item("&Datensatz", "&Löschen")->trigger();
    EXPECT_EQ(Caption(), "Datensatz 4 von 4");
    item("&Datensatz", "&Erster")->trigger();
    item("&Datensatz", "&Nächster")->trigger();
    EXPECT_EQ(Caption(), "Datensatz 2 von 4");
}

TEST_F(NavigationTest, EmptyCatalogueStepsNowhereAndAddsItsFirstRecord) {
    const QString path = Numbered(0);
    const QByteArray before = FileBytes(path);
    ASSERT_TRUE(Start({path}));
    for (unsigned command : {ID_DATENSATZ_NAECHSTER, ID_DATENSATZ_VORHERIGER, ID_DATENSATZ_ERSTER,
                             ID_DATENSATZ_LETZTER, ID_DATENSATZ_LOESCHEN}) {
        Step(command);
        EXPECT_EQ(Caption(), "Datensatz 0 von 0");
    }
    EXPECT_EQ(FileBytes(path), before);
    Step(ID_DATENSATZ_HINZUFUEGEN);
    EXPECT_EQ(Caption(), "Datensatz 1 von 1");
    EXPECT_EQ(StoredRecords(path), std::vector<StoredRecord>{StoredRecord({" ", " ", " ", " "})});
}

}  // namespace
