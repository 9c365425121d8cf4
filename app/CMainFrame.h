#pragma once

#include <CMDIFrameWnd.h>
#include <CStatusBar.h>
#include <CToolBar.h>

// The main window: maximized, with the menu bar, a tool bar that docks on any side and floats,
// and the status bar with the Caps Lock, Num Lock and Scroll Lock indicators.
class CMainFrame : public CMDIFrameWnd {
public:
    bool PreCreateWindow(CREATESTRUCT& cs) override;

    CStatusBar m_statusBar;
    CToolBar m_toolBar;

protected:
    int OnCreate(CREATESTRUCT& cs) override;

    DECLARE_MESSAGE_MAP()
};
