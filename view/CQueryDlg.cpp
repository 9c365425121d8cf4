#include "CQueryDlg.h"

#include <CDataExchange.h>

#include "res/Resource.h"

CQueryDlg::CQueryDlg() : CDialog(IDD_ABFRAGE) {}

void CQueryDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ABFRAGE_TEXT, m_strText);
}
