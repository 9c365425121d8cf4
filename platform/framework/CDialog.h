#pragma once

#include "CWnd.h"

class QDialog;

// A modal dialog built from a dialog template. OK runs the data exchange into the members and
// closes with IDOK; Cancel, Escape and the close box close with IDCANCEL.
class CDialog : public CWnd {
public:
    explicit CDialog(unsigned nIDTemplate, CWnd* pParentWnd = nullptr);

    // Returns IDOK or IDCANCEL (or -1 when the template is missing).
    virtual int DoModal();

protected:
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int nResult);

private:
    bool Create();
    unsigned m_nIDTemplate;
    CWnd* m_pParentWnd;
    QDialog* m_pDialog = nullptr;
};
