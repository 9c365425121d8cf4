#include "FieldLengthValidator.h"

#include <QLineEdit>
#include <algorithm>

QValidator::State FieldLengthValidator::validate(QString& input, int& pos) const {
    if (input.size() > m_nAllowance) {
        // The field takes the insertion back (a text the validator changed would end its undo
        // steps); what fits then goes in as an insertion of its own.
        Insertion fitting;
        if (WhatFits(input, pos, fitting)) {
            auto* self = const_cast<FieldLengthValidator*>(this);
            QMetaObject::invokeMethod(
                self, [self, fitting] { self->InsertWhatFits(fitting); }, Qt::QueuedConnection);
        }
        return Invalid;
    }
    // A long stored text may shrink, but what was deleted cannot be typed back beyond the limit.
    m_nAllowance = std::max(m_nLimit, static_cast<int>(input.size()));
    m_strLast = input;
    return Acceptable;
}

bool FieldLengthValidator::WhatFits(const QString& input, int pos, Insertion& fitting) const {
    // The cursor stands after the inserted text; what follows it stood there before, and what
    // precedes the insertion is the longest part that the text had in common before.
    const qsizetype tail = input.size() - pos;
    if (pos < 0 || tail > m_strLast.size() ||
        !QStringView(m_strLast).endsWith(QStringView(input).right(tail))) {
        return false;
    }
    const qsizetype headMax = std::min<qsizetype>(pos, m_strLast.size() - tail);
    qsizetype head = 0;
    while (head < headMax && input[head] == m_strLast[head]) {
        ++head;
    }
    // Nothing fits: refused whole, as a typed character is in a full field.
    const qsizetype room = m_nAllowance - head - tail;
    const qsizetype inserted = pos - head;
    if (inserted > 1 && m_told) {
        m_told();
    }
    if (room <= 0) {
        return false;
    }
    fitting.start = static_cast<int>(head);
    fitting.replaced = static_cast<int>(m_strLast.size() - tail - head);
    fitting.text = input.mid(head, std::min<qsizetype>(room, pos - head));
    return true;
}

void FieldLengthValidator::InsertWhatFits(const Insertion& fitting) {
    auto* edit = qobject_cast<QLineEdit*>(parent());
    // The field may have changed meanwhile; then the refused insertion is simply gone.
    if (!edit || edit->text() != m_strLast) {
        return;
    }
    edit->setSelection(fitting.start, fitting.replaced);
    if (fitting.replaced == 0) {
        edit->setCursorPosition(fitting.start);
    }
    edit->insert(fitting.text);
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
    v->m_strLast = edit->text();
}

void FieldLengthValidator::AllowText(QLineEdit* edit, const QString& text) {
    FieldLengthValidator* v = Of(edit);
    v->m_nAllowance = std::max(v->m_nLimit, static_cast<int>(text.size()));
}

void FieldLengthValidator::OnCut(QLineEdit* edit, std::function<void()> told) {
    Of(edit)->m_told = std::move(told);
}

int FieldLengthValidator::Allowance(QLineEdit* edit) {
    return Of(edit)->m_nAllowance;
}
