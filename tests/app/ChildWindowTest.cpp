#include <CMDIChildWnd.h>
#include <ModalSeam.h>
#include <ProgramStyle.h>

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScrollArea>
#include <QSet>
#include <QTest>

#include "app/CMainFrame.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"

namespace {

class ChildWindowTest : public ProgramTest {
protected:
    QMdiArea* Area() const { return MainFrame()->MdiArea(); }
    QString Title() const { return MainFrame()->MainWindow()->windowTitle(); }
    // The whole form of a window, scroll bars aside.
    static QSize FormSize(QMdiSubWindow* w) {
        return static_cast<QScrollArea*>(w->widget())->widget()->size();
    }
    static bool ShowsWholeForm(QMdiSubWindow* w) {
        const QSize inside = w->widget()->size();
        const QSize form = FormSize(w);
        return inside.width() >= form.width() && inside.height() >= form.height();
    }
};

TEST_F(ChildWindowTest, ClosingTheMaximizedWindowLeavesTheNextOneMaximizedAndAllWhole) {
    ASSERT_TRUE(Start({CopyOfExample()}));
    RunCommand(ID_WINDOW_NEW);
    RunCommand(ID_WINDOW_NEW);
    MainFrame()->MDIGetActive()->OnClose();
    ProcessEvents();
    const auto windows = Area()->subWindowList();
    ASSERT_EQ(windows.size(), 2);
    ASSERT_NE(Area()->currentSubWindow(), nullptr);
    EXPECT_TRUE(Area()->currentSubWindow()->isMaximized());
    EXPECT_EQ(Title(), "Periolex - [" + Area()->currentSubWindow()->windowTitle() + "]");
    // The restored windows are never smaller than the form they show.
    for (QMdiSubWindow* w : windows) {
        w->showNormal();
        EXPECT_TRUE(ShowsWholeForm(w)) << w->windowTitle().toStdString();
        w->resize(120, 96);
        EXPECT_TRUE(ShowsWholeForm(w)) << w->windowTitle().toStdString();
    }
    EXPECT_EQ(Title(), "Periolex - Beispiel.plx");
}

TEST_F(ChildWindowTest, ClosingMaximizedWindowsOneAfterAnotherByKeyKeepsTheRestMaximized) {
    ASSERT_TRUE(Start({CopyOfExample()}));
    RunCommand(ID_WINDOW_NEW);
    RunCommand(ID_WINDOW_NEW);
    QMainWindow* window = MainFrame()->MainWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    for (int left = 2; left >= 1; --left) {
        ASSERT_TRUE(Area()->currentSubWindow()->isMaximized());
        Field(IDC_ARTIKELNAME)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::ControlModifier);
        ProcessEvents();
        ASSERT_EQ(Area()->subWindowList().size(), left);
        ASSERT_NE(Area()->currentSubWindow(), nullptr);
        EXPECT_TRUE(Area()->currentSubWindow()->isMaximized()) << left << " left";
        EXPECT_EQ(Title(), "Periolex - [" + Area()->currentSubWindow()->windowTitle() + "]");
    }
}

TEST_F(ChildWindowTest, QueriesAndTheirClearingMakeNoNewIconsForAMaximizedWindow) {
    // Each icon a style makes leaves its pixmap in Qt's pixmap cache; the buttons of a maximized
    // window in the menu bar are painted again after every command.
    class IconCountingStyle : public ProgramStyle {
    public:
        using ProgramStyle::ProgramStyle;
        QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                           const QWidget* widget) const override {
            const QIcon made = ProgramStyle::standardIcon(icon, option, widget);
            m_icons.insert(made.cacheKey());
            return made;
        }
        mutable QSet<qint64> m_icons;
    };
    ASSERT_TRUE(Start({CopyOfExample()}));
    auto* style = new IconCountingStyle(QApplication::style()->name());
    QApplication::setStyle(style);
    Area()->currentSubWindow()->showMaximized();
    const auto queryAndClear = [this](int times) {
        for (int i = 0; i < times; ++i) {
            ModalSeam::Push({IDOK, {}, [](QWidget* dialog) {
                                 dialog->findChild<QLineEdit*>()->setText(QStringLiteral("e"));
                             }});
            RunCommand(IDC_ABFRAGE);
            RunCommand(IDC_ABFRAGE_LOESCHEN);
            MainFrame()->MainWindow()->menuBar()->repaint();
        }
    };
    queryAndClear(3);
    const qsizetype made = style->m_icons.size();
    ASSERT_GT(made, 0) << "the maximized window's buttons are painted";
    queryAndClear(20);
    EXPECT_EQ(style->m_icons.size(), made) << "icons made by 20 queries and their clearing";
    EXPECT_EQ(ModalSeam::Pending(), 0u);
    EXPECT_TRUE(ModalSeam::Unanswered().empty());
    QApplication::setStyle(new ProgramStyle(style->name()));
}

TEST_F(ChildWindowTest, WhileOneIsMaximizedEveryActivatedWindowIsMaximized) {
    const QString second = CopyOfExample("Zweiter.plx");
    ASSERT_TRUE(Start({CopyOfExample()}));
    ASSERT_TRUE(App()->OpenDocumentFile(second));
    const auto windows = Area()->subWindowList();
    ASSERT_EQ(windows.size(), 2);
    Area()->setActiveSubWindow(windows[0]);
    EXPECT_TRUE(windows[0]->isMaximized());
    EXPECT_EQ(Title(), "Periolex - [Beispiel.plx]");
    windows[0]->showNormal();
    Area()->setActiveSubWindow(windows[1]);
    EXPECT_FALSE(windows[1]->isMaximized()) << "a restored active window ends the rule";
    EXPECT_EQ(Title(), "Periolex - Zweiter.plx");
}

TEST_F(ChildWindowTest, TheCaptionKeepsTheCatalogueWhileAnotherProgramIsActive) {
    ASSERT_TRUE(Start({CopyOfExample()}));
    // What the window system sends when the user turns to another program, in the order that
    // lost the caption: the document window hears of it before the area that holds it.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(Area(), &activate);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(Area()->currentSubWindow(), &deactivate);
    QApplication::sendEvent(Area(), &deactivate);
    ProcessEvents();
    EXPECT_EQ(Title(), "Periolex - [Beispiel.plx]");
    ASSERT_NE(MainFrame()->MDIGetActive(), nullptr) << "commands still reach the catalogue";
    QApplication::sendEvent(Area(), &activate);
    ProcessEvents();
    EXPECT_EQ(Title(), "Periolex - [Beispiel.plx]");
}

TEST_F(ChildWindowTest, CascadeAndTileArrangeWholeWindowsAndTheCaptionFollows) {
    const QString second = CopyOfExample("Zweiter.plx");
    ASSERT_TRUE(Start({CopyOfExample()}));
    RunCommand(ID_WINDOW_NEW);
    ASSERT_TRUE(App()->OpenDocumentFile(second));
    for (unsigned command : {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ}) {
        RunCommand(command);
        ProcessEvents();
        const auto windows = Area()->subWindowList();
        ASSERT_EQ(windows.size(), 3);
        EXPECT_NE(windows[0]->pos(), windows[1]->pos()) << command;
        EXPECT_NE(windows[1]->pos(), windows[2]->pos()) << command;
        for (QMdiSubWindow* w : windows) {
            EXPECT_FALSE(w->isMaximized()) << command;
            EXPECT_TRUE(ShowsWholeForm(w)) << command;
        }
        Area()->setActiveSubWindow(windows[0]);
        EXPECT_FALSE(windows[0]->isMaximized());
        EXPECT_EQ(Title(), "Periolex - Beispiel.plx") << command;
        Area()->setActiveSubWindow(windows[2]);
        EXPECT_EQ(Title(), "Periolex - Zweiter.plx") << command;
    }
    MainFrame()->MDIGetActive()->OnClose();
    ProcessEvents();
    EXPECT_EQ(Title(), "Periolex - Beispiel.plx");
}

}  // namespace
