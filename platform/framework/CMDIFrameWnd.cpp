#include "CMDIFrameWnd.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QWhatsThis>

#include "AcceleratorKeys.h"
#include "AfxRes.h"
#include "CDocTemplate.h"
#include "CDocument.h"
#include "CHelpWindow.h"
#include "CMDIChildWnd.h"
#include "CPreviewView.h"
#include "CView.h"
#include "CWinApp.h"
#include "MdiChildRules.h"
#include "ResourceLookup.h"

namespace {

CMDIFrameWnd* s_pMainFrame = nullptr;

constexpr const char* kCommandProperty = "periolexCommand";

class MainFrameWidget : public QMainWindow {
public:
    explicit MainFrameWidget(CMDIFrameWnd* owner) : m_pOwner(owner) {}
    CMDIFrameWnd* m_pOwner;

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        if (m_pOwner) {
            m_pOwner->OnClose();
        }
    }
    bool event(QEvent* event) override {
        if (event->type() == QEvent::LeaveWhatsThisMode && statusBar()) {
            statusBar()->clearMessage();
        }
        // Qt writes a maximized document window's caption into this one; the frame decides.
        if (event->type() == QEvent::WindowTitleChange && m_pOwner) {
            m_pOwner->OnUpdateFrameTitle();
        }
        return QMainWindow::event(event);
    }
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (event->mimeData()->hasUrls()) {
            event->acceptProposedAction();
        }
    }
    void dropEvent(QDropEvent* event) override {
        const auto urls = event->mimeData()->urls();
        for (const QUrl& url : urls) {
            if (url.isLocalFile()) {
                AfxGetApp()->OpenDocumentFile(url.toLocalFile());
            }
        }
        event->acceptProposedAction();
    }
};

unsigned CommandOf(const QAction* action) {
    return action->property(kCommandProperty).toUInt();
}

}  // namespace

CMDIFrameWnd* AfxGetMainFrame() {
    return s_pMainFrame;
}

CMDIFrameWnd::CMDIFrameWnd() {
    s_pMainFrame = this;
}

CMDIFrameWnd::~CMDIFrameWnd() {
    if (auto* w = static_cast<MainFrameWidget*>(MainWindow())) {
        w->m_pOwner = nullptr;
    }
    if (s_pMainFrame == this) {
        s_pMainFrame = nullptr;
    }
}

MESSAGE_MAP(CMDIFrameWnd, CWnd, ON_COMMAND(ID_WINDOW_NEW, &ThisClass::OnWindowNew),
            ON_COMMAND(ID_WINDOW_CASCADE, &ThisClass::OnWindowCascade),
            ON_COMMAND(ID_WINDOW_TILE_HORZ, &ThisClass::OnWindowTileHorz),
            ON_COMMAND(ID_WINDOW_ARRANGE, &ThisClass::OnWindowArrange),
            ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, &ThisClass::OnBarCheck),
            ON_COMMAND_RANGE(ID_EDIT_COPY, ID_EDIT_CUT, &ThisClass::OnEditCommand),
            ON_COMMAND_RANGE(ID_EDIT_PASTE, ID_EDIT_PASTE, &ThisClass::OnEditCommand),
            ON_COMMAND_RANGE(ID_EDIT_UNDO, ID_EDIT_UNDO, &ThisClass::OnEditCommand))

bool CMDIFrameWnd::PreCreateWindow(CREATESTRUCT&) {
    return true;
}

int CMDIFrameWnd::OnCreate(CREATESTRUCT&) {
    return 0;
}

QMainWindow* CMDIFrameWnd::MainWindow() const {
    return static_cast<QMainWindow*>(GetSafeHwnd());
}

bool CMDIFrameWnd::LoadFrame(unsigned nIDResource, unsigned style) {
    CREATESTRUCT cs{style};
    if (!PreCreateWindow(cs)) {
        return false;
    }
    m_nIDResource = nIDResource;
    auto* w = new MainFrameWidget(this);
    Attach(w);
    w->setWindowTitle(AfxLoadString(nIDResource));
    w->setWindowIcon(AfxLoadIcon(nIDResource));
    // Message boxes and dialogs carry the program's icon, also those without a parent window.
    QApplication::setWindowIcon(w->windowIcon());
    m_pMdiArea = new QMdiArea(w);
    m_pMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    w->setCentralWidget(m_pMdiArea);
    m_pChildRules = new MdiChildRules(m_pMdiArea);
    QObject::connect(m_pMdiArea, &QMdiArea::subWindowActivated, w,
                     [this](QMdiSubWindow*) { OnActiveFrameChanged(); });
    InstallAccelerators(nIDResource);
    ShowMenuBar(nIDResource);
    if (OnCreate(cs) == -1) {
        DestroyFrame();
        return false;
    }
    UpdateCommandStates();
    return true;
}

QAction* CMDIFrameWnd::CreateCommandAction(unsigned nID, const QString& text, QObject* parent) {
    auto* action = new QAction(text, parent);
    action->setProperty(kCommandProperty, nID);
    const QString prompt = AfxLoadString(nID);
    const qsizetype newline = prompt.indexOf(QLatin1Char('\n'));
    action->setStatusTip(newline < 0 ? prompt : prompt.left(newline));
    if (newline >= 0) {
        action->setToolTip(prompt.mid(newline + 1));
    }
    action->setWhatsThis(AfxWhatsThisText(nID, text));
    QObject::connect(action, &QAction::triggered, parent,
                     [nID] { AfxGetApp()->DispatchCommand(nullptr, nID); });
    m_commandActions.emplace_back(action);
    return action;
}

QMenu* CMDIFrameWnd::BuildPopup(const MenuItem& popup) {
    auto* menu = new QMenu(QString::fromUtf8(popup.text), MainWindow());
    for (const MenuItem& item : popup.popup) {
        if (item.IsSeparator()) {
            menu->addSeparator();
        } else if (item.IsPopup()) {
            menu->addMenu(BuildPopup(item));
        } else if (item.id == ID_FILE_MRU_FILE1) {
            // Place holder of the recent-file list; the list takes its place when there is one.
            QAction* placeholder = menu->addAction(QString::fromUtf8(item.text));
            placeholder->setEnabled(false);
            placeholder->setProperty("recentFiles", true);
            QObject::connect(menu, &QMenu::aboutToShow, menu,
                             [this, menu] { FillRecentFiles(menu); });
        } else {
            menu->addAction(CreateCommandAction(item.id, QString::fromUtf8(item.text), menu));
            if (item.id == ID_VIEW_TOOLBAR || item.id == ID_VIEW_STATUS_BAR) {
                menu->actions().last()->setCheckable(true);
            }
            if (item.id == ID_WINDOW_NEW) {
                QObject::connect(menu, &QMenu::aboutToShow, menu,
                                 [this, menu] { FillWindowList(menu); });
            }
        }
    }
    QObject::connect(menu, &QMenu::aboutToShow, menu, [this] { UpdateCommandStates(); });
    return menu;
}

QList<QMenu*> CMDIFrameWnd::BuildMenuBar(unsigned nIDMenu) {
    QList<QMenu*> menus;
    if (const MenuResource* res = AfxFindMenu(nIDMenu)) {
        for (const MenuItem& popup : res->bar) {
            menus << BuildPopup(popup);
        }
    }
    return menus;
}

void CMDIFrameWnd::ShowMenuBar(unsigned nIDMenu) {
    if (nIDMenu == m_nShownMenu) {
        return;
    }
    auto it = m_menuBars.find(nIDMenu);
    if (it == m_menuBars.end()) {
        it = m_menuBars.emplace(nIDMenu, BuildMenuBar(nIDMenu)).first;
    }
    QMenuBar* bar = MainWindow()->menuBar();
    bar->clear();
    for (QMenu* menu : it->second) {
        bar->addMenu(menu);
    }
    m_nShownMenu = nIDMenu;
}

void CMDIFrameWnd::FillRecentFiles(QMenu* menu) {
    QAction* placeholder = nullptr;
    const auto actions = menu->actions();
    for (QAction* a : actions) {
        if (a->property("recentFile").isValid()) {
            menu->removeAction(a);
            a->deleteLater();
        } else if (a->property("recentFiles").toBool()) {
            placeholder = a;
        }
    }
    const QStringList files = AfxGetApp()->GetRecentFiles();
    placeholder->setVisible(files.isEmpty());
    for (int i = 0; i < files.size(); ++i) {
        QString path = QDir::toNativeSeparators(files[i]);
        path.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = CreateCommandAction(ID_FILE_MRU_FILE1 + static_cast<unsigned>(i),
                                         QStringLiteral("&%1 %2").arg(i + 1).arg(path), menu);
        a->setProperty("recentFile", i);
        menu->insertAction(placeholder, a);
    }
}

void CMDIFrameWnd::FillWindowList(QMenu* menu) {
    const auto actions = menu->actions();
    for (QAction* a : actions) {
        if (a->property("windowEntry").isValid()) {
            menu->removeAction(a);
            a->deleteLater();
        }
    }
    const auto windows = m_pMdiArea->subWindowList();
    if (windows.isEmpty()) {
        return;
    }
    menu->addSeparator()->setProperty("windowEntry", true);
    menu->setToolTipsVisible(true);
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* w = windows[i];
        QString title = w->windowTitle();
        auto* a = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            title.replace(QStringLiteral("&"), QStringLiteral("&&"))));
        // A server's full address is too long for the entry; it shows when pointed at.
        const CMDIChildWnd* child = CMDIChildWnd::FromWidget(w);
        const CView* view = child != nullptr ? child->GetActiveView() : nullptr;
        if (view != nullptr && view->GetDocument() != nullptr) {
            a->setToolTip(view->GetDocument()->GetToolTip());
        }
        a->setProperty("windowEntry", i);
        a->setCheckable(true);
        a->setChecked(w == m_pMdiArea->currentSubWindow());
        a->setStatusTip(AfxLoadString(0xEF1F));
        QObject::connect(a, &QAction::triggered, menu,
                         [this, w] { m_pMdiArea->setActiveSubWindow(w); });
    }
}

void CMDIFrameWnd::InstallAccelerators(unsigned nIDResource) {
    const AcceleratorResource* res = AfxFindAccelerators(nIDResource);
    if (!res) {
        return;
    }
    // One action per command, holding all its keys: two actions on one key would cancel out.
    std::map<unsigned, QList<QKeySequence>> keys;
    for (const AcceleratorEntry& e : res->entries) {
        keys[e.command] << AcceleratorKeySequence(e);
    }
    for (const auto& [command, sequences] : keys) {
        QAction* a = CreateCommandAction(command, {}, MainWindow());
        a->setShortcuts(sequences);
        a->setShortcutContext(Qt::WindowShortcut);
        MainWindow()->addAction(a);
    }
}

QMdiSubWindow* CMDIFrameWnd::CurrentSubWindow() const {
    // While the print preview stands in for the document windows, none of them is active.
    if (!m_pMdiArea || !MainWindow() || MainWindow()->centralWidget() != m_pMdiArea) {
        return nullptr;
    }
    // Qt forgets the current window while another program is active; the window last
    // activated is still the one the user works in.
    if (QMdiSubWindow* current = m_pMdiArea->currentSubWindow()) {
        return current;
    }
    // Taken out of the window (the print preview stands in for it): no document window is active.
    if (m_pMdiArea->isHidden()) {
        return nullptr;
    }
    const QList<QMdiSubWindow*> history =
        m_pMdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
    return history.isEmpty() ? nullptr : history.constLast();
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive() const {
    return CMDIChildWnd::FromWidget(CurrentSubWindow());
}

CView* CMDIFrameWnd::GetActiveView() const {
    CMDIChildWnd* frame = MDIGetActive();
    return frame ? frame->GetActiveView() : nullptr;
}

std::vector<CMDIChildWnd*> CMDIFrameWnd::GetChildFrames() const {
    std::vector<CMDIChildWnd*> frames;
    if (m_pMdiArea) {
        const auto windows = m_pMdiArea->subWindowList();
        for (QMdiSubWindow* w : windows) {
            if (CMDIChildWnd* f = CMDIChildWnd::FromWidget(w)) {
                frames.push_back(f);
            }
        }
    }
    return frames;
}

bool CMDIFrameWnd::OnCmdMsg(unsigned nID, CmdAction action) {
    return RouteCommand(MDIGetActive(), nID, action);
}

bool CMDIFrameWnd::RouteCommand(CMDIChildWnd* pChild, unsigned nID, CmdAction action) {
    if (pChild && pChild->OnCmdMsg(nID, action)) {
        return true;
    }
    if (CWnd::OnCmdMsg(nID, action)) {
        return true;
    }
    return AfxGetApp()->OnCmdMsg(nID, action);
}

void CMDIFrameWnd::RegisterControlBar(unsigned id, QWidget* bar) {
    m_controlBars[id] = bar;
}

QWidget* CMDIFrameWnd::GetControlBar(unsigned id) const {
    auto it = m_controlBars.find(id);
    return it == m_controlBars.end() ? nullptr : it->second;
}

void CMDIFrameWnd::EnableDocking(unsigned) {
    // Qt's main window has dock areas on all four sides; bars choose theirs.
    MainWindow()->setDockOptions(QMainWindow::AnimatedDocks);
}

void CMDIFrameWnd::DragAcceptFiles(bool accept) {
    MainWindow()->setAcceptDrops(accept);
}

void CMDIFrameWnd::OnActiveFrameChanged() {
    if (!MainWindow()) {
        return;
    }
    CMDIChildWnd* active = MDIGetActive();
    ShowMenuBar(active ? active->GetResourceId() : m_nIDResource);
    UpdateCommandStates();
    OnUpdateFrameTitle();
}

void CMDIFrameWnd::OnUpdateFrameTitle() {
    QMainWindow* w = MainWindow();
    if (!w || !m_pMdiArea) {
        return;
    }
    // A maximized document window shows no caption of its own, so its caption (with the window
    // number) joins the frame's; otherwise the active document's title does.
    QString title = AfxLoadString(m_nIDResource);
    QMdiSubWindow* sub = CurrentSubWindow();
    CMDIChildWnd* active = CMDIChildWnd::FromWidget(sub);
    CView* view = active ? active->GetActiveView() : nullptr;
    // The print preview stands in for the document windows and shows the document it prints.
    if (const CPreviewView* preview = CPreviewView::Current()) {
        view = preview->GetView();
    }
    if (active && sub->isMaximized()) {
        title += QStringLiteral(" - [%1]").arg(sub->windowTitle());
    } else if (view && view->GetDocument()) {
        title += QStringLiteral(" - ") + view->GetDocument()->GetTitle();
    }
    if (w->windowTitle() != title) {
        w->setWindowTitle(title);
    }
}

void CMDIFrameWnd::SetMessageText(const QString& text) {
    if (QStatusBar* bar = MainWindow() ? MainWindow()->statusBar() : nullptr) {
        bar->showMessage(text);
    }
}

void CMDIFrameWnd::UpdateCommandStates() {
    std::erase_if(m_commandActions, [](const QPointer<QAction>& a) { return a.isNull(); });
    for (QAction* a : m_commandActions) {
        const unsigned id = CommandOf(a);
        a->setEnabled(OnCmdMsg(id, CmdAction::Query));
        if (a->isCheckable() && (id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR)) {
            QWidget* bar = GetControlBar(id);
            a->setChecked(bar && !bar->isHidden());
        }
    }
}

void CMDIFrameWnd::OnWindowNew() {
    CView* view = GetActiveView();
    CDocument* doc = view ? view->GetDocument() : nullptr;
    if (!doc || !doc->GetDocTemplate()) {
        return;
    }
    CMDIChildWnd* frame = doc->GetDocTemplate()->CreateNewFrame(doc);
    doc->GetDocTemplate()->InitialUpdateFrame(frame, doc);
}

void CMDIFrameWnd::OnWindowCascade() {
    m_pMdiArea->cascadeSubWindows();
}

void CMDIFrameWnd::OnWindowTileHorz() {
    m_pMdiArea->tileSubWindows();
}

void CMDIFrameWnd::OnWindowArrange() {
    // Minimized windows line up along the bottom edge, left to right.
    int x = 0;
    const auto windows = m_pMdiArea->subWindowList();
    for (QMdiSubWindow* w : windows) {
        if (w->isMinimized()) {
            w->move(x, m_pMdiArea->viewport()->height() - w->height());
            x += w->width();
        }
    }
}

void CMDIFrameWnd::OnBarCheck(unsigned nID) {
    if (QWidget* bar = GetControlBar(nID)) {
        bar->setVisible(bar->isHidden());
    }
    UpdateCommandStates();
}

void CMDIFrameWnd::OnEditCommand(unsigned nID) {
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!edit) {
        return;
    }
    switch (nID) {
        case ID_EDIT_COPY:
            edit->copy();
            break;
        case ID_EDIT_CUT:
            edit->cut();
            break;
        case ID_EDIT_PASTE:
            edit->paste();
            break;
        case ID_EDIT_UNDO:
            edit->undo();
            break;
        default:
            break;
    }
}

void CMDIFrameWnd::OnHelpFinder() {
    CHelpWindow::ShowPage(AfxHelpUrl(0), MainWindow());
}

void CMDIFrameWnd::OnHelp() {
    // The most specific help there is: the focused control, the active window, the program.
    QUrl page;
    if (CView* view = GetActiveView()) {
        if (const unsigned control = view->GetDlgCtrlID(QApplication::focusWidget());
            control != 0) {
            page = AfxHelpUrl(control);
        }
        if (page.isEmpty()) {
            page = AfxHelpUrl(MDIGetActive()->GetResourceId());
        }
    }
    if (page.isEmpty()) {
        page = AfxHelpUrl(m_nIDResource);
    }
    CHelpWindow::ShowPage(page, MainWindow());
}

void CMDIFrameWnd::OnContextHelp() {
    QWhatsThis::enterWhatsThisMode();
    if (QStatusBar* bar = MainWindow()->statusBar()) {
        bar->showMessage(AfxLoadString(AFX_IDS_HELPMODEMESSAGE));
    }
}

void CMDIFrameWnd::OnClose() {
    if (AfxGetApp()->CloseAllDocuments(true)) {
        DestroyFrame();
        QApplication::quit();
    }
}

void CMDIFrameWnd::DestroyFrame() {
    m_commandActions.clear();
    if (auto* w = static_cast<MainFrameWidget*>(MainWindow())) {
        w->m_pOwner = nullptr;
    }
    DestroyWindow();
}
