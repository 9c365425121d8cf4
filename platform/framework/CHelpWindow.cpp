#include "CHelpWindow.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWidget>

#include "AfxRes.h"
#include "CMDIFrameWnd.h"
#include "ResourceLookup.h"

namespace {

QPointer<QWidget> s_window;
QPointer<QTextBrowser> s_browser;

QWidget* MakeWindow(QWidget* owner) {
    auto* window = new QWidget(nullptr, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(AfxLoadString(AFX_IDS_HELP_TITLE));
    window->setWindowIcon(owner ? owner->windowIcon() : QIcon());
    auto* browser = new QTextBrowser(window);
    browser->setOpenLinks(true);
    browser->setOpenExternalLinks(false);
    auto* bar = new QToolBar(window);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* contents = bar->addAction(AfxLoadString(AFX_IDS_HELP_CONTENTS));
    QAction* back = bar->addAction(AfxLoadString(AFX_IDS_HELP_BACK));
    QAction* forward = bar->addAction(AfxLoadString(AFX_IDS_HELP_FORWARD));
    contents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    QObject::connect(contents, &QAction::triggered, browser,
                     [browser] { browser->setSource(AfxHelpUrl(0)); });
    QObject::connect(back, &QAction::triggered, browser, &QTextBrowser::backward);
    QObject::connect(forward, &QAction::triggered, browser, &QTextBrowser::forward);
    QObject::connect(browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QObject::connect(browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(browser);
    const QFontMetrics fm(window->font());
    window->resize(fm.averageCharWidth() * 90, fm.height() * 36);
    s_browser = browser;
    return window;
}

// Where the window manager puts a new window over a maximized main window is its top left
// corner: the help then hides the menu bar, the tool bar and the very form it explains, and the
// main window looks blank until it is clicked. So the help goes beside the main window when the
// screen has room for it, and otherwise against the right edge of the document area, below the
// bars, where a form leaves space. Called before the first show, so that move() places the frame.
void Place(QWidget* window, const QWidget* owner) {
    if (!owner || !owner->isVisible() || !owner->screen()) {
        return;
    }
    // The help window will get the same decorations as the main window; its own frame is not
    // known before it is shown.
    const QRect ownerFrame = owner->frameGeometry();
    const QRect ownerInner = owner->geometry();
    const QMargins decoration(
        ownerInner.left() - ownerFrame.left(), ownerInner.top() - ownerFrame.top(),
        ownerFrame.right() - ownerInner.right(), ownerFrame.bottom() - ownerInner.bottom());
    const QRect screen = owner->screen()->availableGeometry();
    QRect work = ownerInner;
    const auto* main = qobject_cast<const QMainWindow*>(owner);
    if (const QWidget* central = main ? main->centralWidget() : nullptr) {
        work = QRect(central->mapToGlobal(QPoint(0, 0)), central->size());
    }
    QSize frame = window->size().grownBy(decoration);
    QPoint topLeft;
    if (ownerFrame.right() + frame.width() <= screen.right()) {
        topLeft = QPoint(ownerFrame.right() + 1, work.top() - decoration.top());
    } else {
        frame.setHeight(std::min(frame.height(), work.height()));
        topLeft = QPoint(work.right() + 1 - frame.width(), work.top());
    }
    frame = frame.boundedTo(screen.size());
    const int x = std::clamp(topLeft.x(), screen.left(), screen.right() + 1 - frame.width());
    const int y = std::clamp(topLeft.y(), screen.top(), screen.bottom() + 1 - frame.height());
    window->resize(frame.shrunkBy(decoration));
    window->move(x, y);
}

// A modal dialog blocks every window but its own; help asked for from one must stay readable,
// so the help window belongs to the dialog while it is open and goes back on its own after.
class LentToDialog : public QObject {
public:
    explicit LentToDialog(QWidget* dialog) : QObject(dialog) { dialog->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide && s_window) {
            const bool shown = s_window->isVisible();
            s_window->setParent(nullptr, Qt::Window);
            s_window->setVisible(shown);
            deleteLater();
        }
        return false;
    }
};

void LendToModalDialog() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == s_window || s_window->parentWidget() == modal) {
        return;
    }
    // A window that was never placed keeps leaving that to the window manager: its position is
    // then none, and given as one it would put the frame above the screen's top edge.
    const QRect geometry = s_window->geometry();
    const bool placed = s_window->testAttribute(Qt::WA_Moved);
    s_window->setParent(modal, Qt::Window);
    if (placed) {
        s_window->setGeometry(geometry);
    } else {
        s_window->resize(geometry.size());
    }
    new LentToDialog(modal);
}

// The window the help is placed by: a dialog is too small to measure from (the help would take
// its height and cover it), so help asked for from one goes where it goes for the main window,
// or where the window manager puts it while the main window is not shown yet.
const QWidget* PlacementOwner(QWidget* owner) {
    if (owner && qobject_cast<QMainWindow*>(owner->window())) {
        return owner->window();
    }
    const CMDIFrameWnd* frame = AfxGetMainFrame();
    return frame ? frame->MainWindow() : nullptr;
}

}  // namespace

void CHelpWindow::ShowPage(const QUrl& page, QWidget* owner) {
    if (!s_window) {
        s_window = MakeWindow(owner);
        Place(s_window, PlacementOwner(owner));
    }
    LendToModalDialog();
    s_browser->setSource(page.isEmpty() ? AfxHelpUrl(0) : page);
    s_window->show();
    s_window->raise();
    s_window->activateWindow();
}

QWidget* CHelpWindow::Window() {
    return s_window;
}

QUrl CHelpWindow::CurrentPage() {
    return s_browser ? s_browser->source() : QUrl();
}
