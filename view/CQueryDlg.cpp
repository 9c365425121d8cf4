#include "CQueryDlg.h"

#include <AfxMessageBox.h>
#include <CDataExchange.h>
#include <ResourceLookup.h>

#include "res/Resource.h"

CQueryDlg::CQueryDlg() : CDialog(IDD_ABFRAGE) {}

void CQueryDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ABFRAGE_TEXT, m_strText);
    // A pasted NUL cannot be part of a query's text; the user takes it out and tries again.
    if (pDX->m_bSaveAndValidate && !pDX->Failed() && m_strText.contains(QChar(0))) {
        AfxMessageBox(AfxLoadString(IDP_SEARCH_TEXT_NUL), MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail(IDC_ABFRAGE_TEXT);
    }
}
