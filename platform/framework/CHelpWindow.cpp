#include "CHelpWindow.h"

#include <QAction>
#include <QPointer>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWidget>

#include "AfxRes.h"
#include "ResourceLookup.h"

namespace {

QPointer<QWidget> s_window;
QPointer<QTextBrowser> s_browser;

QWidget* MakeWindow(QWidget* owner)
{
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
    QObject::connect(contents, &QAction::triggered, browser, [browser] { browser->setSource(AfxHelpUrl(0)); });
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

}  // namespace

void CHelpWindow::ShowPage(const QUrl& page, QWidget* owner)
{
    if (!s_window) {
        s_window = MakeWindow(owner);
    }
    s_browser->setSource(page.isEmpty() ? AfxHelpUrl(0) : page);
    s_window->show();
    s_window->raise();
    s_window->activateWindow();
}

QWidget* CHelpWindow::Window() { return s_window; }

QUrl CHelpWindow::CurrentPage() { return s_browser ? s_browser->source() : QUrl(); }
