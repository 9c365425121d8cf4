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

namespace {

// Qt measures a label by laying its text out in lines, which costs more than all the rest of
// showing a record, and the position label changes with every step. The advance of a plain text
// on one line, plus a pixel for rounding, bounds that width at a fraction of the cost; any other
// text, or one near the edge, is measured in full.
bool SurelyFits(const QLabel* label, const QString& text) {
    if (label->textFormat() != Qt::PlainText || label->wordWrap() ||
        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\t'))) {
        return false;
    }
    const QFontMetrics metrics = label->fontMetrics();
    int room = label->contentsRect().width() - 2 * label->margin() - 1;
    if (label->indent() > 0) {
        room -= label->indent();
    } else if (label->frameWidth() > 0) {
        room -= metrics.horizontalAdvance(QLatin1Char('x'));
    }
    return metrics.horizontalAdvance(text) <= room;
}

// A label whose text outgrows its template rectangle widens rather than clip.
void WidenToFit(QLabel* label, const QString& text) {
    if (SurelyFits(label, text)) {
        return;
    }
    const int wanted = label->sizeHint().width();
    if (wanted > label->width()) {
        const int room =
            label->parentWidget() ? label->parentWidget()->width() - label->x() : wanted;
        label->resize(std::max(label->width(), std::min(wanted, room)), label->height());
    }
}

}  // namespace

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
            WidenToFit(label, value);
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
