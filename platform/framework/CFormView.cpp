#include "CFormView.h"

#include <QScrollArea>

#include "CMDIChildWnd.h"
#include "CWinApp.h"
#include "DialogBuilder.h"
#include "ResourceLookup.h"

void CFormView::Create(CMDIChildWnd* pFrame) {
    CView::Create(pFrame);
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(false);
    auto* form = new QWidget;
    QSize content;
    if (const DialogResource* res = AfxFindDialog(m_nIDTemplate)) {
        SetControls(DialogBuilder::Build(*res, form, [this](unsigned id) {
            if (CMDIChildWnd* frame = GetParentFrame()) {
                frame->ActivateFrame();
            }
            AfxGetApp()->DispatchCommand(this, id);
        }));
        form->setFixedSize(DialogBuilder::TemplateSize(*res, form));
        content = form->size();
    }
    scroll->setWidget(form);
    SetViewWidget(scroll);
    scroll->setFocusProxy(form);
    pFrame->SetView(this, scroll, content);
}

void CFormView::OnInitialUpdate() {
    UpdateData(false);
    CView::OnInitialUpdate();
    // The user can type at once: the first control of the form has the focus.
    if (QWidget* form = GetSafeHwnd()->focusProxy(); form && form->nextInFocusChain() != form) {
        form->nextInFocusChain()->setFocus();
    }
}
