#include <AcceleratorKeys.h>
#include <KeyboardLocks.h>
#include <ResourceLookup.h>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QWhatsThis>
#include <map>

#include "app/CMainFrame.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"

namespace {

// Menu texts as the user sees them, item by item; "-" is a separator.
using MenuLayout = std::vector<std::pair<QString, QStringList>>;

const MenuLayout kMenu128 = {
    {"&Datei",
     {"&Neu\tStrg+N", "Ö&ffnen...\tStrg+O", "-", "Drucker&einrichtung...", "-", "Letzte Datei", "-",
      "&Beenden"}},
    {"&Ansicht", {"&Symbolleiste", "S&tatusleiste"}},
    {"&?", {"&Hilfethemen", "-", "Inf&o über Periolex..."}},
};

const MenuLayout kMenu129 = {
    {"&Datei",
     {"&Neu\tStrg+N", "Ö&ffnen...\tStrg+O", "&Schließen", "-", "&Drucken...\tStrg+P",
      "Sei&tenansicht", "Drucker&einrichtung...", "-", "Letzte Datei", "-", "&Beenden"}},
    {"&Datensatz",
     {"&Nächster", "&Vorheriger", "&Erster", "&Letzter", "-", "&Hinzufügen", "&Löschen"}},
    {"&Abfrage", {"&Abfrage...", "&Löschen"}},
    {"&Ansicht", {"&Symbolleiste", "S&tatusleiste"}},
    {"&Fenster", {"Neues &Fenster", "Über&lappend", "&Nebeneinander", "&Symbole anordnen"}},
    {"&?", {"&Hilfethemen", "-", "Inf&o über Periolex"}},
};

MenuLayout Shown(QMainWindow* window) {
    MenuLayout layout;
    const auto bar = window->menuBar()->actions();
    for (QAction* popup : bar) {
        emit popup->menu()->aboutToShow();
        QStringList items;
        const auto actions = popup->menu()->actions();
        for (QAction* a : actions) {
            if (a->property("windowEntry").isValid()) {
                break;  // the window list that the framework appends
            }
            if (a->isVisible() || a->isSeparator()) {
                items << (a->isSeparator() ? QStringLiteral("-") : a->text());
            }
        }
        layout.emplace_back(popup->text(), items);
    }
    return layout;
}

class CommandSetTest : public ProgramTest {};

TEST_F(CommandSetTest, MenusAreTheTwoMenuBarsItemByItem) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(Shown(MainFrame()->MainWindow()), kMenu128);
    ASSERT_TRUE(App()->OpenDocumentFile(CopyOfExample()));
    MenuLayout shown = Shown(MainFrame()->MainWindow());
    // With a catalogue open the recent-file list replaces its place holder.
    ASSERT_EQ(shown[0].second[8].left(3), "&1 ");
    shown[0].second[8] = "Letzte Datei";
    EXPECT_EQ(shown, kMenu129);
}

TEST_F(CommandSetTest, AcceleratorTableHasTheTwentyTwoKeys) {
    AfxSetResourceTables(&PeriolexResources());
    const AcceleratorResource* table = AfxFindAccelerators(IDR_MAINFRAME);
    ASSERT_NE(table, nullptr);
    const std::pair<QString, unsigned> expected[] = {
        {"Ctrl+Alt+A", ID_DATENSATZ_HINZUFUEGEN},
        {"Ctrl+C", ID_EDIT_COPY},
        {"Ctrl+Alt+D", ID_DATENSATZ_LOESCHEN},
        {"Ctrl+Alt+F", ID_DATENSATZ_ERSTER},
        {"Ctrl+Alt+L", ID_DATENSATZ_LETZTER},
        {"Ctrl+N", ID_FILE_NEW},
        {"Ctrl+Alt+N", ID_DATENSATZ_NAECHSTER},
        {"Ctrl+O", ID_FILE_OPEN},
        {"Ctrl+P", ID_FILE_PRINT},
        {"Ctrl+Alt+P", ID_DATENSATZ_VORHERIGER},
        {"Ctrl+S", ID_FILE_SAVE},
        {"Ctrl+V", ID_EDIT_PASTE},
        {"Alt+Backspace", ID_EDIT_UNDO},
        {"Shift+Del", ID_EDIT_CUT},
        {"F1", ID_HELP},
        {"Shift+F1", ID_CONTEXT_HELP},
        {"F6", ID_NEXT_PANE},
        {"Shift+F6", ID_PREV_PANE},
        {"Ctrl+Ins", ID_EDIT_COPY},
        {"Shift+Ins", ID_EDIT_PASTE},
        {"Ctrl+X", ID_EDIT_CUT},
        {"Ctrl+Z", ID_EDIT_UNDO},
    };
    ASSERT_EQ(table->entries.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const AcceleratorEntry& e = table->entries[i];
        EXPECT_EQ(AcceleratorKeySequence(e).toString(QKeySequence::PortableText), expected[i].first)
            << i;
        EXPECT_EQ(e.command, expected[i].second) << i;
    }
}

TEST_F(CommandSetTest, ToolBarButtonsPromptsAndTooltips) {
    ASSERT_TRUE(Start());
    QStringList tips;
    QStringList prompts;
    QToolBar* bar = MainFrame()->m_toolBar.Widget();
    const auto actions = bar->actions();
    for (QAction* a : actions) {
        tips << (a->isSeparator() ? QStringLiteral("|") : a->toolTip());
        prompts << (a->isSeparator() ? QStringLiteral("|") : a->statusTip());
        if (!a->isSeparator()) {
            // Screen readers name a picture button by its tool tip.
            EXPECT_EQ(bar->widgetForAction(a)->accessibleName(), a->toolTip());
        }
    }
    EXPECT_EQ(tips, QStringList({"Neu", "Öffnen", "|", "Drucken", "Seitenansicht", "|",
                                 "Erster Datensatz", "Vorheriger Datensatz", "Nächster Datensatz",
                                 "Letzter Datensatz", "|", "Info", "Hilfe"}));
    EXPECT_EQ(prompts[8], "Nächster Datensatz");
    EXPECT_EQ(prompts[0], "Erstellt ein neues Dokument.");
    EXPECT_EQ(prompts[12], "Zeigt Hilfe zu angeklickten Schaltflächen, Menüs und Fenstern an.");
}

TEST_F(CommandSetTest, IdleTextAndHelpMode) {
    ASSERT_TRUE(Start({CopyOfExample()}));
    QStatusBar* bar = MainFrame()->MainWindow()->statusBar();
    const auto panes = bar->findChildren<QLabel*>();
    ASSERT_FALSE(panes.isEmpty());
    EXPECT_EQ(panes.front()->text(), "Drücken Sie F1, um Hilfe zu erhalten.");
    RunCommand(ID_CONTEXT_HELP);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    EXPECT_EQ(bar->currentMessage(), "Wählen Sie das Objekt, zu dem Sie Hilfe wünschen.");
    QWhatsThis::leaveWhatsThisMode();
    EXPECT_FALSE(Field(IDC_ARTIKELNAME)->whatsThis().isEmpty());
}

// The first column from the left in which the bar shows dark (text) pixels; -1 if none.
int TextStart(QStatusBar* bar) {
    const QImage image = bar->grab().toImage();
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qGray(image.pixel(x, y)) < 100) {
                return x;
            }
        }
    }
    return -1;
}

TEST_F(CommandSetTest, PromptsStartWhereTheIdleTextStarts) {
    ASSERT_TRUE(Start({CopyOfExample()}));
    QMainWindow* window = MainFrame()->MainWindow();
    window->resize(800, 600);
    window->show();
    QStatusBar* bar = window->statusBar();
    // Both begin with a "D", so their first dark columns stand where the texts begin.
    const int idle = TextStart(bar);
    bar->showMessage("Druckt das aktive Dokument.");
    const int prompt = TextStart(bar);
    ASSERT_GE(idle, 0);
    EXPECT_EQ(prompt, idle);
}

TEST_F(CommandSetTest, SystemMenuPromptsReachTheStatusBar) {
    ASSERT_TRUE(Start({CopyOfExample()}));
    QStatusBar* bar = MainFrame()->MainWindow()->statusBar();
    QMdiSubWindow* window = MainFrame()->MdiArea()->currentSubWindow();
    // A maximized window offers restore, a restored one move and maximize; a disabled item
    // cannot be highlighted.
    std::map<QString, QString> prompts;
    for (bool maximized : {true, false}) {
        if (!maximized) {
            window->showNormal();
        }
        const auto actions = window->systemMenu()->actions();
        for (QAction* a : actions) {
            if (!a->isSeparator() && a->isVisible() && a->isEnabled()) {
                window->systemMenu()->setActiveAction(a);
                prompts[QString(a->text()).remove('&')] = bar->currentMessage();
            }
        }
    }
    const std::map<QString, QString> expected{
        {"Wiederherstellen", "Stellt das Fenster in seiner normalen Größe wieder her."},
        {"Verschieben", "Ändert die Position des Fensters."},
        {"Minimieren", "Verkleinert das Fenster zu einem Symbol."},
        {"Maximieren", "Vergrößert das Fenster zu voller Größe."},
        {"Schließen", "Schließt das aktive Fenster und fordert zur Dokumentspeicherung auf."},
    };
    EXPECT_EQ(prompts, expected);
}

TEST_F(CommandSetTest, LockIndicatorsShowTheKeyboardsStateFromTheStart) {
    KeyboardLocks locks{true, true, false};
    AfxSetKeyboardLockReader([&locks] { return std::optional(locks); });
    ASSERT_TRUE(Start());
    CStatusBar& bar = MainFrame()->m_statusBar;
    EXPECT_EQ(QStringList({bar.Pane(1)->text(), bar.Pane(2)->text(), bar.Pane(3)->text()}),
              QStringList({"UF", "NUM", ""}));
    // Each key brings the panes up to date, whatever key it was.
    locks = {false, true, true};
    QTest::keyClick(MainFrame()->MainWindow()->windowHandle(), Qt::Key_Shift);
    EXPECT_EQ(QStringList({bar.Pane(1)->text(), bar.Pane(2)->text(), bar.Pane(3)->text()}),
              QStringList({"", "NUM", "RF"}));
    AfxSetKeyboardLockReader({});
}

}  // namespace
