#include "CSplashWnd.h"

#include <CMDIFrameWnd.h>
#include <ResourceLookup.h>

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>
#include <QWidget>

#include "res/Resource.h"

namespace {

constexpr int kSplashMilliseconds = 750;

// Paints the picture and ends the splash at the first tick of its timer.
class SplashWidget : public QWidget {
public:
    SplashWidget(const QPixmap& picture, QWidget* owner)
        : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint), m_picture(picture) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(picture.deviceIndependentSize().toSize());
        m_timer = startTimer(kSplashMilliseconds, Qt::PreciseTimer);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawPixmap(0, 0, m_picture); }
    void timerEvent(QTimerEvent* event) override {
        if (event->timerId() == m_timer && CSplashWnd::Current()) {
            CSplashWnd::Current()->HideSplash();
        }
    }

private:
    QPixmap m_picture;
    int m_timer = 0;
};

}  // namespace

bool CSplashWnd::s_bSplashEnabled = false;
CSplashWnd* CSplashWnd::s_pSplash = nullptr;
int CSplashWnd::s_nSwallowKey = 0;

CSplashWnd::~CSplashWnd() {
    if (QWidget* w = GetSafeHwnd()) {
        QObject::disconnect(w, nullptr, nullptr, nullptr);
    }
    s_pSplash = nullptr;
}

void CSplashWnd::SetSplashEnabled(bool bEnable) {
    s_bSplashEnabled = bEnable;
}

void CSplashWnd::ShowSplash(CWnd* pParentWnd) {
    if (!s_bSplashEnabled || s_pSplash) {
        return;
    }
    s_pSplash = new CSplashWnd;
    if (s_pSplash->CreateSplash(pParentWnd)) {
        // Painted now: start-up goes on without an event loop for a while.
        s_pSplash->GetSafeHwnd()->repaint();
    } else {
        delete s_pSplash;
    }
}

bool CSplashWnd::CreateSplash(CWnd* pParentWnd) {
    m_splashBitmap = AfxLoadBitmap(IDB_SPLASH);
    if (m_splashBitmap.isNull()) {
        return false;
    }
    QWidget* owner = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    auto* widget = new SplashWidget(m_splashBitmap, owner);
    Attach(widget);
    // Its owner may take the window along; the object then goes too.
    QObject::connect(widget, &QObject::destroyed, [this] { delete this; });
    const QWidget* over = owner && owner->isVisible() ? owner : nullptr;
    const QRect area =
        over ? over->frameGeometry() : QGuiApplication::primaryScreen()->availableGeometry();
    widget->move(area.center() - widget->rect().center());
    widget->show();
    return true;
}

bool CSplashWnd::FilterSplashMessage(QEvent* event) {
    if (s_nSwallowKey != 0 && event->type() == QEvent::KeyPress) {
        const bool same = static_cast<QKeyEvent*>(event)->key() == s_nSwallowKey;
        s_nSwallowKey = 0;
        if (same) {
            return true;
        }
    }
    if (!s_pSplash) {
        return false;
    }
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            // A key of the accelerator table would run its command before any key press is seen;
            // taking the override keeps it from doing so, and the press that follows is dropped.
            event->accept();
            s_nSwallowKey = static_cast<QKeyEvent*>(event)->key();
            s_pSplash->HideSplash();
            return true;
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress:
            s_pSplash->HideSplash();
            return true;
        default:
            return false;
    }
}

void CSplashWnd::HideSplash() {
    delete this;
    if (CMDIFrameWnd* mainFrame = AfxGetMainFrame(); mainFrame && mainFrame->GetSafeHwnd()) {
        mainFrame->GetSafeHwnd()->repaint();
    }
}
