#include "CDataExchange.h"

#include <QLabel>
#include <QLineEdit>

#include "AfxMessageBox.h"
#include "AfxRes.h"
#include "CWnd.h"
#include "FieldLengthValidator.h"
#include "ResourceLookup.h"

void CDataExchange::Fail(unsigned id) {
    m_bFailed = true;
    if (QWidget* w = m_pDlgWnd->GetDlgItem(id)) {
        w->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            edit->selectAll();
        }
    }
}

void DDX_Text(CDataExchange* pDX, unsigned id, QString& value) {
    if (pDX->Failed()) {
        return;
    }
    QWidget* w = pDX->m_pDlgWnd->GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (pDX->m_bSaveAndValidate) {
            value = edit->text();
        } else {
            FieldLengthValidator::AllowText(edit, value);
            edit->setText(value);
            edit->setCursorPosition(0);
        }
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        if (pDX->m_bSaveAndValidate) {
            value = label->text();
        } else {
            label->setText(value);
            // A label whose text outgrows its template rectangle widens rather than clip.
            const int wanted = label->sizeHint().width();
            if (wanted > label->width()) {
                int room =
                    label->parentWidget() ? label->parentWidget()->width() - label->x() : wanted;
                label->resize(std::max(label->width(), std::min(wanted, room)), label->height());
            }
        }
    }
}

void DDV_MaxChars(CDataExchange* pDX, unsigned id, const QString& value, int nChars) {
    if (pDX->Failed()) {
        return;
    }
    auto* edit = qobject_cast<QLineEdit*>(pDX->m_pDlgWnd->GetDlgItem(id));
    if (!pDX->m_bSaveAndValidate) {
        if (edit) {
            FieldLengthValidator::Limit(edit, nChars);
        }
        return;
    }
    if (value.size() > nChars && (!edit || value.size() > FieldLengthValidator::Allowance(edit))) {
        AfxMessageBox(AfxLoadString(AFX_IDP_PARSE_STRING_SIZE).arg(nChars),
                      MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail(id);
    }
}
