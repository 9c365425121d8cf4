#pragma once

#include <QList>
#include <QPointer>
#include <map>

#include "CREATESTRUCT.h"
#include "CWnd.h"
#include "Resources.h"

class CMDIChildWnd;
class MdiChildRules;
class CView;
class QAction;
class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

// The main window: menu bar, control bars and the area in which the document windows stand.
// It carries commands from menus, keys and tool bars to whoever handles them: the active view,
// its document, its frame, this frame, the application. A command that finds no handler on that
// route is shown disabled.
class CMDIFrameWnd : public CWnd {
public:
    CMDIFrameWnd();
    ~CMDIFrameWnd() override;

    virtual bool PreCreateWindow(CREATESTRUCT& cs);
    // Makes the window from resource nIDResource (title, icon, menu, accelerators); false when
    // PreCreateWindow or OnCreate refuses.
    bool LoadFrame(unsigned nIDResource, unsigned style);

    QMainWindow* MainWindow() const;
    unsigned GetResourceId() const { return m_nIDResource; }
    QMdiArea* MdiArea() const { return m_pMdiArea; }
    CMDIChildWnd* MDIGetActive() const;
    CView* GetActiveView() const;
    std::vector<CMDIChildWnd*> GetChildFrames() const;

    // The route of a command from the given document window: its view, the view's document,
    // the document window, this frame, the application.
    bool RouteCommand(CMDIChildWnd* pChild, unsigned nID, CmdAction action);
    bool OnCmdMsg(unsigned nID, CmdAction action) override;

    // Control bars register under their window id, so that commands of the same number find them.
    void RegisterControlBar(unsigned id, QWidget* bar);
    QWidget* GetControlBar(unsigned id) const;
    void EnableDocking(unsigned dockStyle);
    void DragAcceptFiles(bool accept);

    // An action for command nID, with its prompt and tool tip from the string table.
    QAction* CreateCommandAction(unsigned nID, const QString& text, QObject* parent);
    // Menus follow the active document window; command states follow the route.
    void OnActiveFrameChanged();
    void UpdateCommandStates();
    // The frame's caption follows the active document window in every state.
    void OnUpdateFrameTitle();
    // A notice in the status bar's message pane, until a prompt or another notice replaces it.
    void SetMessageText(const QString& text);
    MdiChildRules* ChildRules() const { return m_pChildRules; }

    // The user closes the main window: every document closes, then the program ends.
    void OnClose();
    void DestroyFrame();

protected:
    virtual int OnCreate(CREATESTRUCT& cs);

    void OnWindowNew();
    void OnWindowCascade();
    void OnWindowTileHorz();
    void OnWindowArrange();
    void OnBarCheck(unsigned nID);
    void OnEditCommand(unsigned nID);
    // Help: the contents, the page for what is active (F1), and the help mode (Shift+F1) in
    // which the next click shows the help of what was clicked instead of running it.
    void OnHelpFinder();
    void OnHelp();
    void OnContextHelp();

    DECLARE_MESSAGE_MAP()

private:
    QList<QMenu*> BuildMenuBar(unsigned nIDMenu);
    QMenu* BuildPopup(const MenuItem& popup);
    void FillRecentFiles(QMenu* menu);
    void FillWindowList(QMenu* menu);
    void InstallAccelerators(unsigned nIDResource);
    void ShowMenuBar(unsigned nIDMenu);
    // The active document window, also while the program itself is not the active one.
    QMdiSubWindow* CurrentSubWindow() const;

    QMdiArea* m_pMdiArea = nullptr;
    MdiChildRules* m_pChildRules = nullptr;
    unsigned m_nIDResource = 0;
    unsigned m_nShownMenu = 0;
    std::map<unsigned, QList<QMenu*>> m_menuBars;
    std::map<unsigned, QWidget*> m_controlBars;
    // Menus and bars come and go (recent files, window list); their actions drop out by themselves.
    std::vector<QPointer<QAction>> m_commandActions;
};

CMDIFrameWnd* AfxGetMainFrame();
