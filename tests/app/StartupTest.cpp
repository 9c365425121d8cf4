#include <CMDIChildWnd.h>
#include <ModalSeam.h>

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QToolBar>

#include "app/CMainFrame.h"
#include "document/CPeriolexDoc.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"

namespace {

QStringList MenuTitles(QMainWindow* window) {
    QStringList titles;
    const auto actions = window->menuBar()->actions();
    for (QAction* a : actions) {
        titles << a->text();
    }
    return titles;
}

QAction* ToolBarAction(CMainFrame* frame, unsigned id) {
    const auto actions = frame->m_toolBar.Widget()->actions();
    for (QAction* a : actions) {
        if (a->property("periolexCommand").toUInt() == id) {
            return a;
        }
    }
    return nullptr;
}

class StartupTest : public ProgramTest {};

TEST_F(StartupTest, PlainStartShowsTheEmptyMainWindowAndAsksNothing) {
    ASSERT_TRUE(Start());
    QMainWindow* window = MainFrame()->MainWindow();
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(window->windowTitle(), "Periolex");
    EXPECT_EQ(MenuTitles(window), QStringList({"&Datei", "&Ansicht", "&?"}));
    EXPECT_TRUE(MainFrame()->GetChildFrames().empty());
    EXPECT_TRUE(ModalSeam::Requests().empty());
}

TEST_F(StartupTest, MessageBoxesCarryTheProgramsIcon) {
    ASSERT_TRUE(Start());
    const QImage program = MainFrame()->MainWindow()->windowIcon().pixmap(32).toImage();
    ASSERT_FALSE(program.isNull());
    QMessageBox withoutParent(QMessageBox::Warning, "Periolex", "Text");
    EXPECT_EQ(withoutParent.windowIcon().pixmap(32).toImage(), program);
}

TEST_F(StartupTest, CommandsWithoutHandlerAreDisabled) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(ToolBarAction(MainFrame(), ID_FILE_NEW)->isEnabled());
    EXPECT_TRUE(ToolBarAction(MainFrame(), ID_FILE_OPEN)->isEnabled());
    EXPECT_TRUE(ToolBarAction(MainFrame(), ID_APP_ABOUT)->isEnabled());
    EXPECT_FALSE(ToolBarAction(MainFrame(), ID_DATENSATZ_ERSTER)->isEnabled());
    EXPECT_FALSE(ToolBarAction(MainFrame(), ID_FILE_PRINT)->isEnabled());
}

TEST_F(StartupTest, CatalogueOnTheCommandLineOpensMaximizedWithMenu129) {
    const QString path = CopyOfExample();
    ASSERT_TRUE(Start({path}));
    ASSERT_EQ(MainFrame()->GetChildFrames().size(), 1u);
    QMdiSubWindow* child = MainFrame()->MdiArea()->subWindowList().constFirst();
    EXPECT_TRUE(child->isMaximized());
    EXPECT_TRUE(child->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(child->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(child->windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(MenuTitles(MainFrame()->MainWindow()),
              QStringList({"&Datei", "&Datensatz", "&Abfrage", "&Ansicht", "&Fenster", "&?"}));
    EXPECT_EQ(Caption(), "Datensatz 1 von 333");
    EXPECT_EQ(child->windowTitle(), "Beispiel.plx");
}

TEST_F(StartupTest, MissingFileOnTheCommandLineEndsTheProgramAfterAMessage) {
    ModalSeam::Push({IDOK, {}, {}});
    const QString missing = TempPath("fehlt.plx");
    EXPECT_FALSE(Start({missing}));
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_TRUE(ModalSeam::Requests()[0].text.contains(missing));
    EXPECT_FALSE(QFile::exists(missing)) << "opening must never create the file";
}

TEST_F(StartupTest, RecentFilesKeepTheFourNewestInTheSettings) {
    ASSERT_TRUE(Start());
    QStringList opened;
    for (int i = 1; i <= 5; ++i) {
        opened << CopyOfExample(QStringLiteral("k%1.plx").arg(i));
        ASSERT_TRUE(App()->OpenDocumentFile(opened.last()));
    }
    const QStringList expected{opened[4], opened[3], opened[2], opened[1]};
    EXPECT_EQ(App()->GetRecentFiles(), expected);
    QSettings settings("Tesmo Software", "Periolex");
    EXPECT_EQ(settings.value("Recent File List/File1").toString(), opened[4]);
    EXPECT_FALSE(settings.contains("Recent File List/File5"));
}

TEST_F(StartupTest, AFileOpenedAgainMovesToTheTopOfTheRecentFilesOnce) {
    ASSERT_TRUE(Start());
    const QString first = CopyOfExample("erster.plx");
    const QString second = CopyOfExample("zweiter.plx");
    ASSERT_TRUE(App()->OpenDocumentFile(first));
    ASSERT_TRUE(App()->OpenDocumentFile(second));
    RunCommand(ID_FILE_CLOSE);
    RunCommand(ID_FILE_CLOSE);
    // The same file under another spelling of its path is still the same entry.
    ASSERT_TRUE(App()->OpenDocumentFile(TempPath("./erster.plx")));
    EXPECT_EQ(App()->GetRecentFiles().mid(0, 2), QStringList({first, second}));
    EXPECT_EQ(App()->GetRecentFiles().count(first), 1);
    RunCommand(ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(App()->GetRecentFiles().mid(0, 2), QStringList({second, first}));
    EXPECT_EQ(App()->GetRecentFiles().count(second), 1);
}

TEST_F(StartupTest, ARecentFileThatIsGoneIsReportedAndLeavesTheList) {
    ASSERT_TRUE(Start());
    const QString kept = CopyOfExample("bleibt.plx");
    const QString gone = CopyOfExample("weg.plx");
    ASSERT_TRUE(App()->OpenDocumentFile(kept));
    ASSERT_TRUE(App()->OpenDocumentFile(gone));
    Stop();
    ASSERT_TRUE(Start());
    QFile::remove(gone);
    ASSERT_EQ(App()->GetRecentFiles(), QStringList({gone, kept}));
    ModalSeam::Push({IDOK, {}, {}});
    RunCommand(ID_FILE_MRU_FILE1);
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_TRUE(ModalSeam::Requests()[0].text.contains("weg.plx"));
    EXPECT_EQ(App()->GetRecentFiles(), QStringList({kept}));
    RunCommand(ID_FILE_MRU_FILE1);
    EXPECT_EQ(Documents().size(), 1u);
}

TEST_F(StartupTest, OpeningAnOpenFileAgainBringsItsWindowForward) {
    const QString path = CopyOfExample();
    ASSERT_TRUE(Start({path}));
    EXPECT_EQ(App()->OpenDocumentFile(path), Documents().front());
    EXPECT_EQ(Documents().size(), 1u);
}

TEST_F(StartupTest, NewWindowShowsTheSameCatalogueAndClosesWithoutClosingIt) {
    ASSERT_TRUE(Start({CopyOfExample()}));
    RunCommand(ID_WINDOW_NEW);
    std::vector<CMDIChildWnd*> frames = MainFrame()->GetChildFrames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0]->GetWindowText(), "Beispiel.plx:1");
    EXPECT_EQ(frames[1]->GetWindowText(), "Beispiel.plx:2");
    frames[1]->OnClose();
    ProcessEvents();
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(MainFrame()->GetChildFrames().front()->GetWindowText(), "Beispiel.plx");
    MainFrame()->GetChildFrames().front()->OnClose();
    ProcessEvents();
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(MenuTitles(MainFrame()->MainWindow()).size(), 3);
}

TEST_F(StartupTest, AboutBoxIsTheDialogInfoUeberPeriolexAndSpaceClosesIt) {
    ASSERT_TRUE(Start());
    QString focused;
    bool focusedIsDefault = false;
    ModalSeam::Push({IDOK, {}, [&](QWidget* dialog) {
                         // Space presses the focused button: that must be OK, not the icon.
                         auto* button = qobject_cast<QPushButton*>(dialog->focusWidget());
                         focused = button ? button->text() : QStringLiteral("<no button>");
                         focusedIsDefault = button && button->isDefault();
                     }});
    RunCommand(ID_APP_ABOUT);
    ASSERT_EQ(ModalSeam::Requests().size(), 1u);
    EXPECT_EQ(ModalSeam::Requests()[0].kind, ModalRequest::Kind::Dialog);
    EXPECT_EQ(ModalSeam::Requests()[0].text, "Info über Periolex");
    EXPECT_EQ(focused, "OK");
    EXPECT_TRUE(focusedIsDefault);
}

}  // namespace
