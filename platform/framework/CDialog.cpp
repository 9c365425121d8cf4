#include "CDialog.h"

#include <QDialog>

#include "AfxRes.h"
#include "DialogBuilder.h"
#include "DialogWindow.h"
#include "ModalSeam.h"
#include "ResourceLookup.h"

CDialog::CDialog(unsigned nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

bool CDialog::Create() {
    const DialogResource* res = AfxFindDialog(m_nIDTemplate);
    if (!res) {
        return false;
    }
    m_pDialog = new QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    AfxMakeDialogWindow(m_pDialog, m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr);
    m_pDialog->setWindowTitle(QString::fromUtf8(res->caption));
    m_pDialog->setModal(true);
    Attach(m_pDialog);
    SetControls(DialogBuilder::Build(*res, m_pDialog, [this](unsigned id) {
        if (id == IDOK) {
            OnOK();
        } else if (id == IDCANCEL) {
            OnCancel();
        } else {
            OnCmdMsg(id, CmdAction::Execute);
        }
    }));
    m_pDialog->setFixedSize(DialogBuilder::TemplateSize(*res, m_pDialog));
    // Escape and the close box end the dialog as Cancel does.
    QObject::connect(m_pDialog, &QDialog::rejected, m_pDialog, [this] {
        if (m_pDialog->result() != IDOK) {
            m_pDialog->setResult(IDCANCEL);
        }
    });
    return true;
}

int CDialog::DoModal() {
    if (!Create()) {
        return -1;
    }
    int result;
    if (ModalSeam::IsEnabled()) {
        OnInitDialog();
        ModalAnswer answer =
            ModalSeam::Answer({ModalRequest::Kind::Dialog, m_pDialog->windowTitle(), {}, 0});
        if (answer.fill) {
            answer.fill(m_pDialog);
        }
        if (answer.result == IDOK) {
            OnOK();
        } else {
            OnCancel();
        }
        result = m_pDialog->result();
    } else {
        OnInitDialog();
        m_pDialog->exec();
        result = m_pDialog->result() == IDOK ? IDOK : IDCANCEL;
    }
    DestroyWindow();
    m_pDialog = nullptr;
    return result;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    // The first tab stop of the template takes the focus; labels and icons never do.
    for (QWidget* w = m_pDialog->nextInFocusChain(); w && w != m_pDialog;
         w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && !w->isHidden()) {
            w->setFocus();
            break;
        }
    }
    return true;
}

void CDialog::OnOK() {
    if (!UpdateData(true)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult) {
    m_pDialog->done(nResult);
}
