#include "CChildFrame.h"

#include "res/Resource.h"

bool CChildFrame::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style = WS_CHILD | WS_VISIBLE | WS_MAXIMIZE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
               WS_MAXIMIZEBOX | FWS_ADDTOTITLE;
    return CMDIChildWnd::PreCreateWindow(cs);
}
