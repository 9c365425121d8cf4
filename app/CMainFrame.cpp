#include "CMainFrame.h"

#include "app/CSplashWnd.h"
#include "res/Resource.h"

namespace {

constexpr unsigned kIndicators[] = {
    ID_SEPARATOR,
    ID_INDICATOR_CAPS,
    ID_INDICATOR_NUM,
    ID_INDICATOR_SCRL,
};

}  // namespace

MESSAGE_MAP(CMainFrame, CMDIFrameWnd, ON_COMMAND(ID_HELP_FINDER, &ThisClass::OnHelpFinder),
            ON_COMMAND(ID_HELP, &ThisClass::OnHelp),
            ON_COMMAND(ID_CONTEXT_HELP, &ThisClass::OnContextHelp),
            ON_COMMAND(ID_DEFAULT_HELP, &ThisClass::OnHelpFinder))

bool CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style = WS_OVERLAPPEDWINDOW | WS_MAXIMIZE | FWS_ADDTOTITLE;
    return CMDIFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(CREATESTRUCT& cs) {
    if (CMDIFrameWnd::OnCreate(cs) == -1) {
        return -1;
    }
    if (!m_toolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR) ||
        !m_toolBar.LoadToolBar(IDR_MAINFRAME)) {
        return -1;
    }
    if (!m_statusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_statusBar.SetIndicators(kIndicators, 4)) {
        return -1;
    }
    m_toolBar.SetBarStyle(m_toolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    CSplashWnd::ShowSplash(this);
    return 0;
}
