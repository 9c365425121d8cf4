#include "CView.h"

#include "AfxRes.h"
#include "CDocument.h"
#include "CMDIChildWnd.h"
#include "CPreviewView.h"
#include "CPrintDialog.h"
#include "CPrintInfo.h"
#include "CPrintJob.h"
#include "CWinApp.h"
#include "PrinterChoice.h"

CView::CView() = default;

CView::~CView() {
    // The preview borrows the main window; it gives it back before the view goes.
    m_pPreview.reset();
    if (m_pDocument) {
        m_pDocument->RemoveView(this);
    }
}

MESSAGE_MAP(CView, CWnd, ON_COMMAND(ID_FILE_PRINT, &ThisClass::OnFilePrint),
            ON_COMMAND(ID_FILE_PRINT_DIRECT, &ThisClass::OnFilePrintDirect),
            ON_COMMAND(ID_FILE_PRINT_PREVIEW, &ThisClass::OnFilePrintPreview))

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

bool CView::OnPreparePrinting(CPrintInfo* pInfo) {
    return DoPreparePrinting(pInfo);
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo) {
    // A view that does not know its page count prints one page.
    if (pInfo && pInfo->GetMaxPage() == 0xFFFF) {
        pInfo->m_bContinuePrinting = pInfo->m_nCurPage == 1;
    }
}

void CView::OnPrint(CDC* pDC, CPrintInfo*) {
    OnDraw(pDC);
}

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::OnDraw(CDC*) {}

bool CView::DoPreparePrinting(CPrintInfo* pInfo) {
    if (pInfo->m_bPreview || pInfo->m_pPrinter) {
        return true;
    }
    QWidget* parent = GetSafeHwnd() ? GetSafeHwnd()->window() : nullptr;
    if (!AfxPrintersInstalled()) {
        QString document;
        // An address is no place for a file, and may hold a password: nothing is proposed.
        if (m_pDocument && !CDocument::IsAddressName(m_pDocument->GetPathName())) {
            document = m_pDocument->GetPathName().isEmpty() ? m_pDocument->GetTitle()
                                                            : m_pDocument->GetPathName();
        }
        return AfxChoosePdfFile(pInfo, document, parent);
    }
    pInfo->m_pPrinter = AfxGetApp()->GetPrinter();
    if (pInfo->m_bDirect) {
        return true;
    }
    CPrintDialog dialog(pInfo, parent);
    return dialog.DoModal() == IDOK;
}

bool CView::PrintDirect(QPrinter* printer) {
    CPrintInfo info;
    info.m_bDirect = true;
    info.m_pPrinter = printer;
    return CPrintJob::Run(*this, info);
}

void CView::OnFilePrint() {
    CPrintInfo info;
    info.m_bDirect = m_bPrintDirectCommand;
    CPrintJob::Run(*this, info);
}

void CView::OnFilePrintDirect() {
    m_bPrintDirectCommand = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_bPrintDirectCommand};
    OnFilePrint();
}

void CView::OnFilePrintPreview() {
    if (m_pPreview || CPreviewView::Current()) {
        return;
    }
    auto preview = std::make_unique<CPreviewView>(this);
    if (preview->Open()) {
        m_pPreview = std::move(preview);
    }
}

void CView::EndPrintPreview() {
    if (!m_pPreview) {
        return;
    }
    m_pPreview.reset();
    if (m_pFrame) {
        m_pFrame->ActivateFrame();
    }
}
