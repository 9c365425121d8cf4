#pragma once

#include <memory>

#include "CWnd.h"

class CDC;
class CDocument;
class CMDIChildWnd;
class CPreviewView;
class CPrintInfo;
class QPrinter;

// A window that shows a document. Created by the document template inside a child frame.
// Every view prints and shows its print preview; what a page holds is the view's OnPrint.
class CView : public CWnd {
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CMDIChildWnd* GetParentFrame() const { return m_pFrame; }

    // Builds the view's widget inside its frame.
    virtual void Create(CMDIChildWnd* pFrame);

    // The document has changed, or the view is shown for the first time.
    virtual void OnUpdate(CView* pSender, long lHint, void* pHint);
    virtual void OnInitialUpdate();
    // Called before the view's window or document closes: store what the user typed. False
    // when the user chose to go back to the window instead.
    virtual bool CommitPendingInput() { return true; }

    // The view, then its document.
    bool OnCmdMsg(unsigned nID, CmdAction action) override;

    // Printing, called by the print loop and the preview in this order: OnPreparePrinting once
    // (false ends the printing), OnBeginPrinting, per page OnPrepareDC and OnPrint, and
    // OnEndPrinting.
    virtual bool OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnDraw(CDC* pDC);

    // Prints every page on `printer` without asking; false when nothing was printed.
    bool PrintDirect(QPrinter* printer);
    // The print preview shown for this view, or nullptr.
    CPreviewView* GetPrintPreview() const { return m_pPreview.get(); }
    // Closes the preview and gives the document windows back.
    void EndPrintPreview();

    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();

protected:
    void SetViewWidget(QWidget* widget);
    // Asks for printer and pages, unless the printing is direct or a preview; without a printer
    // it asks for a PDF file instead. False when the user cancels.
    bool DoPreparePrinting(CPrintInfo* pInfo);

    DECLARE_MESSAGE_MAP()

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
    CMDIChildWnd* m_pFrame = nullptr;
    std::unique_ptr<CPreviewView> m_pPreview;
    bool m_bPrintDirectCommand = false;
};
