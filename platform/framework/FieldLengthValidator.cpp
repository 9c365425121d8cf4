#include "FieldLengthValidator.h"

#include <QLineEdit>
#include <algorithm>

QValidator::State FieldLengthValidator::validate(QString& input, int&) const {
    if (input.size() > m_nAllowance) {
        return Invalid;
    }
    // A long stored text may shrink, but what was deleted cannot be typed back beyond the limit.
    m_nAllowance = std::max(m_nLimit, static_cast<int>(input.size()));
    return Acceptable;
}

FieldLengthValidator* FieldLengthValidator::Of(QLineEdit* edit) {
    auto* v = qobject_cast<FieldLengthValidator*>(const_cast<QValidator*>(edit->validator()));
    if (!v) {
        v = new FieldLengthValidator(edit);
        edit->setValidator(v);
    }
    return v;
}

void FieldLengthValidator::Limit(QLineEdit* edit, int nChars) {
    FieldLengthValidator* v = Of(edit);
    v->m_nLimit = nChars;
    v->m_nAllowance = std::max(nChars, static_cast<int>(edit->text().size()));
}

void FieldLengthValidator::AllowText(QLineEdit* edit, const QString& text) {
    FieldLengthValidator* v = Of(edit);
    v->m_nAllowance = std::max(v->m_nLimit, static_cast<int>(text.size()));
}

int FieldLengthValidator::Allowance(QLineEdit* edit) {
    return Of(edit)->m_nAllowance;
}
