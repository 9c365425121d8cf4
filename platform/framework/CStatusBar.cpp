#include "CStatusBar.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include "AfxRes.h"
#include "CMDIFrameWnd.h"
#include "KeyboardLocks.h"
#include "ResourceLookup.h"

namespace {

// X11 modifier bits of a key event's state: Lock is Caps Lock, Mod2 is Num Lock on every usual
// keyboard map. Scroll Lock has no bit; its key toggles it.
constexpr quint32 kX11LockMask = 0x02;
constexpr quint32 kX11Mod2Mask = 0x10;

constexpr int kPromptIndent = 4;

// Follows the lock keys from the key events that the program sees; where the window system
// tells the lock state, it is read anew after each key.
class LockKeyWatcher : public QObject {
public:
    explicit LockKeyWatcher(CStatusBar* bar) : QObject(bar->Widget()), m_pBar(bar) {
        if (const auto locks = AfxReadKeyboardLocks()) {
            m_bScroll = locks->scroll;
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->type() == QEvent::KeyPress && key->key() == Qt::Key_ScrollLock &&
            !key->isAutoRepeat() && watched->isWindowType()) {
            m_bScroll = !m_bScroll;
        }
        if (key->type() == QEvent::KeyRelease) {
            if (const auto locks = AfxReadKeyboardLocks()) {
                m_bScroll = locks->scroll;
                m_pBar->ShowLocks(*locks);
                return false;
            }
            // The state of an event is the one before it; after a release it is the new one.
            if (QGuiApplication::platformName() == QLatin1String("xcb")) {
                m_pBar->SetIndicator(ID_INDICATOR_CAPS,
                                     (key->nativeModifiers() & kX11LockMask) != 0);
                m_pBar->SetIndicator(ID_INDICATOR_NUM,
                                     (key->nativeModifiers() & kX11Mod2Mask) != 0);
            }
        }
        m_pBar->SetIndicator(ID_INDICATOR_SCRL, m_bScroll);
        return false;
    }

private:
    CStatusBar* m_pBar;
    bool m_bScroll = false;
};

}  // namespace

bool CStatusBar::Create(CMDIFrameWnd* pParent, unsigned, unsigned nID) {
    m_pBar = new QStatusBar(pParent->MainWindow());
    pParent->MainWindow()->setStatusBar(m_pBar);
    qApp->installEventFilter(new LockKeyWatcher(this));
    pParent->RegisterControlBar(nID, m_pBar);
    return true;
}

bool CStatusBar::SetIndicators(const unsigned* lpIDArray, int nIDCount) {
    for (int i = 0; i < nIDCount; ++i) {
        const unsigned id = lpIDArray[i];
        auto* pane = new QLabel(m_pBar);
        if (id == ID_SEPARATOR) {
            // While a prompt shows, Qt hides this pane and draws the prompt in its place, 6 pixels
            // from the bar's edge, where the pane stands 2 from it: the idle text starts where
            // the prompts do.
            pane->setText(AfxLoadString(AFX_IDS_IDLEMESSAGE));
            pane->setIndent(kPromptIndent);
            m_pBar->addWidget(pane, 1);
        } else {
            const QString text = AfxLoadString(id);
            if (text.isEmpty()) {
                return false;
            }
            pane->setFrameShape(QFrame::Panel);
            pane->setFrameShadow(QFrame::Sunken);
            pane->setAlignment(Qt::AlignCenter);
            pane->setMinimumWidth(
                pane->fontMetrics().horizontalAdvance(text + QStringLiteral("  ")));
            m_pBar->addPermanentWidget(pane);
        }
        m_ids.push_back(id);
        m_panes.push_back(pane);
    }
    // Keys locked before the program started show at once, not from the first key press on.
    if (const auto locks = AfxReadKeyboardLocks()) {
        ShowLocks(*locks);
    }
    return true;
}

void CStatusBar::ShowLocks(const KeyboardLocks& locks) {
    SetIndicator(ID_INDICATOR_CAPS, locks.caps);
    SetIndicator(ID_INDICATOR_NUM, locks.num);
    SetIndicator(ID_INDICATOR_SCRL, locks.scroll);
}

QLabel* CStatusBar::Pane(int index) const {
    return index >= 0 && index < static_cast<int>(m_panes.size()) ? m_panes[index] : nullptr;
}

void CStatusBar::SetIndicator(unsigned id, bool on) {
    for (std::size_t i = 0; i < m_ids.size(); ++i) {
        if (m_ids[i] == id) {
            m_panes[i]->setText(on ? AfxLoadString(id) : QString());
        }
    }
}
