#pragma once

#include <QSize>

#include "CREATESTRUCT.h"
#include "CWnd.h"

class CView;
class QMdiSubWindow;

// A document window inside the main frame. It owns its view and ends itself when closed: the
// last window of a document closes the document.
class CMDIChildWnd : public CWnd {
public:
    CMDIChildWnd() = default;
    ~CMDIChildWnd() override;

    virtual bool PreCreateWindow(CREATESTRUCT& cs);
    // Makes the (still hidden) window, with the icon of the document type.
    bool LoadFrame(unsigned nIDResource);
    void ShowFrame();
    void ActivateFrame();

    CView* GetActiveView() const { return m_pView; }
    unsigned GetResourceId() const { return m_nIDResource; }
    // `content` is the size at which the view shows whole; a restored window is never smaller.
    void SetView(CView* pView, QWidget* widget, QSize content);

    // The active view, then the frame itself.
    bool OnCmdMsg(unsigned nID, CmdAction action) override;

    // The user closes the window: what was typed is stored, then the window (or, for its last
    // window, the whole document) closes.
    void OnClose();
    // Ends the window and its view without asking anything.
    void DestroyFrame();

    static CMDIChildWnd* FromWidget(QMdiSubWindow* widget);

private:
    QMdiSubWindow* SubWindow() const;
    CView* m_pView = nullptr;
    unsigned m_nIDResource = 0;
    unsigned m_nStyle = 0;
};
