#include "CQueryDlg.h"

#include <AfxMessageBox.h>
#include <CDataExchange.h>
#include <FieldLengthValidator.h>
#include <ResourceLookup.h>

#include <QLineEdit>
#include <QToolTip>

#include "view/ArticleQuery.h"

#include "res/Resource.h"

CQueryDlg::CQueryDlg() : CDialog(IDD_ABFRAGE) {}

bool CQueryDlg::OnInitDialog() {
    const bool result = CDialog::OnInitDialog();
    // A paste that is cut is said at the field, without a box that would take the next keys.
    if (auto* field = qobject_cast<QLineEdit*>(GetDlgItem(IDC_ABFRAGE_TEXT))) {
        FieldLengthValidator::OnCut(field, [field] {
            QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())),
                               AfxLoadString(IDP_SEARCH_TEXT_CUT).arg(kSearchTextLimit), field);
        });
    }
    return result;
}

void CQueryDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ABFRAGE_TEXT, m_strText);
    DDV_MaxChars(pDX, IDC_ABFRAGE_TEXT, m_strText, kSearchTextLimit);
    // A pasted NUL cannot be part of a query's text; the user takes it out and tries again.
    if (pDX->m_bSaveAndValidate && !pDX->Failed() && m_strText.contains(QChar(0))) {
        AfxMessageBox(AfxLoadString(IDP_SEARCH_TEXT_NUL), MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail(IDC_ABFRAGE_TEXT);
    }
}
