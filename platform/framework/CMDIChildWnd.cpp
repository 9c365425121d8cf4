#include "CMDIChildWnd.h"

#include <CDaoException.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>

#include "AfxMessageBox.h"
#include "AfxRes.h"
#include "CDocument.h"
#include "CMDIFrameWnd.h"
#include "CView.h"
#include "CWinApp.h"
#include "MdiChildRules.h"
#include "ResourceLookup.h"

namespace {

// The window's close box and system menu reach the frame object, which decides what closes.
class ChildFrameWidget : public QMdiSubWindow {
public:
    explicit ChildFrameWidget(CMDIChildWnd* owner, Qt::WindowFlags flags)
        : QMdiSubWindow(nullptr, flags), m_pOwner(owner) {}
    CMDIChildWnd* m_pOwner;

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        if (m_pOwner) {
            m_pOwner->OnClose();
        }
    }
};

// A window without sizing border: presses on the border do not start a resize.
class NoSizingBorder : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = qobject_cast<QMdiSubWindow*>(watched);
        if (!w || w->isMaximized() || w->isMinimized()) {
            return false;
        }
        if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseMove &&
            event->type() != QEvent::HoverMove) {
            return false;
        }
        const QPoint pos = event->type() == QEvent::HoverMove
                               ? static_cast<QHoverEvent*>(event)->position().toPoint()
                               : static_cast<QMouseEvent*>(event)->position().toPoint();
        const QRect inner = w->contentsRect();
        const int frame = w->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, w);
        const bool onBorder = pos.x() < inner.left() || pos.x() > inner.right() ||
                              pos.y() > inner.bottom() || pos.y() < frame;
        if (onBorder && event->type() != QEvent::MouseMove) {
            w->unsetCursor();
            return true;
        }
        return onBorder && static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton;
    }
};

// The system menu is a window of its own, where prompts would stop unseen; they belong in the
// main window's status bar like the prompts of every other menu.
class PromptsToMainWindow : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        CMDIFrameWnd* frame = AfxGetMainFrame();
        if (event->type() != QEvent::StatusTip || !frame || !frame->MainWindow()) {
            return false;
        }
        QCoreApplication::sendEvent(frame->MainWindow(), event);
        return true;
    }
};

// Qt's system menu of a document window, in its order: restore, move, size, minimize, maximize,
// stay on top, separator, close. Each gets its prompt from the string table (0xEF00 plus the
// Windows system command's offset); the entries that a window of this kind does not offer go.
void SetUpSystemMenu(QMenu* menu, bool sizable) {
    if (!menu) {
        return;
    }
    constexpr unsigned kPrompts[] = {0xEF12, 0xEF01, 0xEF00, 0xEF02, 0xEF03, 0, 0, 0xEF06};
    const auto actions = menu->actions();
    for (int i = 0; i < actions.size() && i < static_cast<int>(std::size(kPrompts)); ++i) {
        QAction* a = actions[i];
        const bool sizing = i == 2;
        const bool stayOnTop = i == 5;
        if ((sizing && !sizable) || stayOnTop) {
            menu->removeAction(a);
        } else if (kPrompts[i] != 0) {
            a->setStatusTip(AfxLoadString(kPrompts[i]));
        }
    }
    menu->installEventFilter(new PromptsToMainWindow(menu));
}

}  // namespace

CMDIChildWnd::~CMDIChildWnd() {
    if (auto* w = static_cast<ChildFrameWidget*>(SubWindow())) {
        w->m_pOwner = nullptr;
    }
}

bool CMDIChildWnd::PreCreateWindow(CREATESTRUCT&) {
    return true;
}

bool CMDIChildWnd::LoadFrame(unsigned nIDResource) {
    m_nIDResource = nIDResource;
    CREATESTRUCT cs{WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE};
    if (!PreCreateWindow(cs)) {
        return false;
    }
    m_nStyle = cs.style;
    Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint;
    if (cs.style & WS_CAPTION) {
        flags |= Qt::WindowTitleHint;
    }
    if (cs.style & WS_SYSMENU) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if (cs.style & WS_MINIMIZEBOX) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if (cs.style & WS_MAXIMIZEBOX) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    auto* w = new ChildFrameWidget(this, flags);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->setWindowIcon(AfxLoadIcon(nIDResource));
    if (!(cs.style & WS_THICKFRAME)) {
        w->setAttribute(Qt::WA_Hover);
        w->installEventFilter(new NoSizingBorder(w));
    }
    SetUpSystemMenu(w->systemMenu(), (cs.style & WS_THICKFRAME) != 0);
    Attach(w);
    AfxGetMainFrame()->MdiArea()->addSubWindow(w);
    w->hide();
    return true;
}

void CMDIChildWnd::SetView(CView* pView, QWidget* widget, QSize content) {
    m_pView = pView;
    QMdiSubWindow* w = SubWindow();
    w->setWidget(widget);
    AfxGetMainFrame()->ChildRules()->Watch(w, content);
    const auto updateTitle = [] {
        if (CMDIFrameWnd* frame = AfxGetMainFrame()) {
            frame->OnUpdateFrameTitle();
        }
    };
    QObject::connect(w, &QMdiSubWindow::windowStateChanged, w, updateTitle);
    QObject::connect(w, &QWidget::windowTitleChanged, w, updateTitle);
}

void CMDIChildWnd::ShowFrame() {
    QMdiSubWindow* w = SubWindow();
    if (m_nStyle & WS_MAXIMIZE) {
        w->showMaximized();
    } else {
        w->show();
    }
    ActivateFrame();
}

void CMDIChildWnd::ActivateFrame() {
    if (QMdiSubWindow* w = SubWindow()) {
        AfxGetMainFrame()->MdiArea()->setActiveSubWindow(w);
        AfxGetMainFrame()->OnActiveFrameChanged();
    }
}

bool CMDIChildWnd::OnCmdMsg(unsigned nID, CmdAction action) {
    if (m_pView && m_pView->OnCmdMsg(nID, action)) {
        return true;
    }
    return CWnd::OnCmdMsg(nID, action);
}

void CMDIChildWnd::OnClose() {
    CDocument* doc = m_pView ? m_pView->GetDocument() : nullptr;
    if (m_pView &&
        !AfxGetApp()->CommitBeforeClose([this] { return m_pView->CommitPendingInput(); })) {
        return;
    }
    if (doc && doc->GetFrames().size() <= 1) {
        doc->OnCloseDocument();
    } else {
        DestroyFrame();
        if (doc) {
            doc->UpdateFrameCounts();
        }
    }
}

void CMDIChildWnd::DestroyFrame() {
    QMdiSubWindow* w = SubWindow();
    if (w) {
        AfxGetMainFrame()->ChildRules()->Closing(w);
        static_cast<ChildFrameWidget*>(w)->m_pOwner = nullptr;
        AfxGetMainFrame()->MdiArea()->removeSubWindow(w);
    }
    delete m_pView;
    m_pView = nullptr;
    DestroyWindow();
    delete this;
    AfxGetMainFrame()->OnActiveFrameChanged();
}

QMdiSubWindow* CMDIChildWnd::SubWindow() const {
    return static_cast<QMdiSubWindow*>(GetSafeHwnd());
}

CMDIChildWnd* CMDIChildWnd::FromWidget(QMdiSubWindow* widget) {
    auto* w = dynamic_cast<ChildFrameWidget*>(widget);
    return w ? w->m_pOwner : nullptr;
}
