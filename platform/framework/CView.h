#pragma once

#include "CWnd.h"

class CDocument;
class CMDIChildWnd;

// A window that shows a document. Created by the document template inside a child frame.
class CView : public CWnd {
public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CMDIChildWnd* GetParentFrame() const { return m_pFrame; }

    // Builds the view's widget inside its frame.
    virtual void Create(CMDIChildWnd* pFrame);

    // The document has changed, or the view is shown for the first time.
    virtual void OnUpdate(CView* pSender, long lHint, void* pHint);
    virtual void OnInitialUpdate();
    // Called before the view's window or document closes: store what the user typed.
    virtual void CommitPendingInput() {}

    // The view, then its document.
    bool OnCmdMsg(unsigned nID, CmdAction action) override;

protected:
    void SetViewWidget(QWidget* widget);

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
    CMDIChildWnd* m_pFrame = nullptr;
};
