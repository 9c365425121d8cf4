#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>
#include <QTest>

#include <CHelpWindow.h>
#include <ResourceLookup.h>

#include "app/CMainFrame.h"
#include "app/CSplashWnd.h"
#include "res/Resource.h"
#include "support/ProgramTest.h"

namespace {

class SplashTest : public ProgramTest {
protected:
    void TearDown() override {
        if (CSplashWnd::Current()) {
            CSplashWnd::Current()->HideSplash();
        }
        ProgramTest::TearDown();
    }
    static QWidget* SplashWindow() {
        return CSplashWnd::Current() ? CSplashWnd::Current()->GetSafeHwnd() : nullptr;
    }
};

TEST_F(SplashTest, PlainStartShowsTheCentredPictureUntilTheFirstTick) {
    ASSERT_TRUE(Start({"--splash"}));
    QWidget* splash = SplashWindow();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(520, 317));
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash->geometry().center(), splash->screen()->availableGeometry().center());
    CSplashWnd::ShowSplash(MainFrame());
    EXPECT_EQ(SplashWindow(), splash) << "a second splash never shows";
    QTRY_VERIFY_WITH_TIMEOUT(CSplashWnd::Current() == nullptr, 2000);
}

TEST_F(SplashTest, APressClosesItAndDoesNothingElse) {
    ASSERT_TRUE(Start({"--splash", CopyOfExample()}));
    ASSERT_NE(SplashWindow(), nullptr);
    QLineEdit* field = Field(IDC_ARTIKELNAME);
    const QString before = field->text();
    QTest::keyClick(field, Qt::Key_X);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(field->text(), before);
    QTest::keyClick(field, Qt::Key_X);
    EXPECT_NE(field->text(), before) << "after the splash, keys work again";
}

TEST_F(SplashTest, MouseReleaseAndMoveLeaveItUp) {
    ASSERT_TRUE(Start({"--splash"}));
    QWidget* window = MainFrame()->MainWindow();
    QTest::mouseMove(window, QPoint(10, 10));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_NE(CSplashWnd::Current(), nullptr);
    QTest::mousePress(window, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
}

TEST_F(SplashTest, NoSplashWhenSwitchedOff) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
}

}  // namespace

namespace {

class SplashKeysTest : public SplashTest {};

TEST_F(SplashKeysTest, AnAcceleratorOnlyClosesTheSplash) {
    ASSERT_TRUE(Start({"--splash", CopyOfExample()}));
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    QWidget* window = MainFrame()->MainWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    Field(IDC_ARTIKELNAME)->setFocus();
    // F1 needs no modifier key, whose own press would close the splash first.
    QTest::keyClick(Field(IDC_ARTIKELNAME), Qt::Key_F1);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(CHelpWindow::Window(), nullptr) << "the key did not open the help";
    QTest::keyClick(Field(IDC_ARTIKELNAME), Qt::Key_F1);
    ASSERT_NE(CHelpWindow::Window(), nullptr);
    CHelpWindow::Window()->close();
}

TEST_F(SplashKeysTest, AMissingPictureMeansNoSplashAndANormalStart) {
    // The program's own tables, less the splash picture.
    static ResourceTables withoutPicture = PeriolexResources();
    static const ImageResource bitmaps[] = {{IDR_MAINFRAME, ":/periolex/toolbar128.png"}};
    withoutPicture.bitmaps = bitmaps;
    AfxSetResourceTables(&withoutPicture);
    CSplashWnd::SetSplashEnabled(true);
    CSplashWnd::ShowSplash(nullptr);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    AfxSetResourceTables(&PeriolexResources());
}

}  // namespace
