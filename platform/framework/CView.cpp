#include "CView.h"

#include "CDocument.h"
#include "CMDIChildWnd.h"

CView::~CView() {
    if (m_pDocument) {
        m_pDocument->RemoveView(this);
    }
}

void CView::Create(CMDIChildWnd* pFrame) {
    m_pFrame = pFrame;
}

void CView::OnUpdate(CView*, long, void*) {}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

bool CView::OnCmdMsg(unsigned nID, CmdAction action) {
    if (CWnd::OnCmdMsg(nID, action)) {
        return true;
    }
    return m_pDocument && m_pDocument->OnCmdMsg(nID, action);
}

void CView::SetViewWidget(QWidget* widget) {
    Attach(widget);
}
