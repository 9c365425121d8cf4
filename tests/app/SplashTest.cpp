#include <algorithm>

#include <QElapsedTimer>
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

// Watches the splash from outside: when its picture was first painted and how it looked then.
// Start-up may take longer than the splash lasts, so nothing here assumes that the splash is
// still up once the program has started.
class SplashWatch : public QObject {
public:
    SplashWatch() {
        m_clock.start();
        qApp->installEventFilter(this);
    }
    ~SplashWatch() override { qApp->removeEventFilter(this); }

    bool Painted() const { return m_paintedAt >= 0; }
    qint64 PaintedAt() const { return m_paintedAt; }
    qint64 Now() const { return m_clock.elapsed(); }

    QSize m_size;
    QPoint m_centre;
    QPoint m_screenCentre;
    Qt::WindowFlags m_flags;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && !Painted() && widget &&
            widget->windowType() == Qt::SplashScreen) {
            m_paintedAt = m_clock.elapsed();
            m_size = widget->size();
            m_centre = widget->geometry().center();
            m_screenCentre = widget->screen()->availableGeometry().center();
            m_flags = widget->windowFlags();
        }
        return false;
    }

private:
    QElapsedTimer m_clock;
    qint64 m_paintedAt = -1;
};

class SplashTest : public ProgramTest {
protected:
    // A splash over the running program, with no event processed since: its timer cannot have
    // ended it yet, however slow the machine.
    static void ShowSplashNow(CWnd* parent) {
        CSplashWnd::SetSplashEnabled(true);
        CSplashWnd::ShowSplash(parent);
    }
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
    SplashWatch watch;
    ASSERT_TRUE(Start({"--splash"}));
    const qint64 started = watch.Now();
    ASSERT_TRUE(watch.Painted());
    EXPECT_EQ(watch.m_size, QSize(520, 317));
    EXPECT_TRUE(watch.m_flags & Qt::FramelessWindowHint);
    EXPECT_EQ(watch.m_centre, watch.m_screenCentre);
    ASSERT_TRUE(QTest::qWaitFor([] { return CSplashWnd::Current() == nullptr; }, 5000));
    const qint64 gone = watch.Now();
    // The picture stays for 750 ms from its first paint, and goes at the first tick once the
    // program runs: then, or as soon as start-up is over if that took longer.
    EXPECT_GE(gone - watch.PaintedAt(), 700);
    EXPECT_LE(gone - std::max(watch.PaintedAt() + 750, started), 500)
        << "the splash lasted " << gone - watch.PaintedAt() << " ms";
}

TEST_F(SplashTest, APressClosesItAndDoesNothingElse) {
    ASSERT_TRUE(Start({CopyOfExample()}));
    ShowSplashNow(MainFrame());
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
    ASSERT_TRUE(Start());
    ShowSplashNow(MainFrame());
    CSplashWnd* splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr);
    CSplashWnd::ShowSplash(MainFrame());
    EXPECT_EQ(CSplashWnd::Current(), splash) << "a second splash never shows";
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
    ASSERT_TRUE(Start({CopyOfExample()}));
    ShowSplashNow(MainFrame());
    QWidget* window = MainFrame()->MainWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    Field(IDC_ARTIKELNAME)->setFocus();
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    // F1 needs no modifier key, whose own press would close the splash first.
    QTest::keyClick(Field(IDC_ARTIKELNAME), Qt::Key_F1);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(CHelpWindow::Window(), nullptr) << "the key did not open the help";
    // The splash's window goes once events run again, and with it the offscreen platform's
    // notion of the active window.
    ProcessEvents();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
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
