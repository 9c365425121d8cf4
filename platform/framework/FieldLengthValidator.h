#pragma once

#include <QValidator>
#include <functional>

class QLineEdit;

// Keeps an edit field's input within a number of characters without ever cutting a text that
// was put there by the program: a longer stored text may be shown, shortened and saved back, but
// typing or pasting can never make it longer than the limit or than it already is. A paste that
// is too long keeps its first characters up to the limit, as an edit of its own that Undo takes
// back; a typed character that does not fit is refused. (QLineEdit's own maximum length would cut
// the stored text as soon as it is shown.)
class FieldLengthValidator : public QValidator {
    Q_OBJECT
public:
    explicit FieldLengthValidator(QObject* parent) : QValidator(parent) {}

    State validate(QString& input, int& pos) const override;

    static void Limit(QLineEdit* edit, int nChars);
    // Called before the program sets `text`: lets the field hold it whole.
    static void AllowText(QLineEdit* edit, const QString& text);
    static int Allowance(QLineEdit* edit);
    // Called whenever a paste is cut to what fits, or refused because nothing of it fits.
    static void OnCut(QLineEdit* edit, std::function<void()> told);

private:
    // What an insertion that is too long becomes: the characters at [start, start + replaced)
    // of the text before it give way to `text`, which fits.
    struct Insertion {
        int start = 0;
        int replaced = 0;
        QString text;
    };

    static FieldLengthValidator* Of(QLineEdit* edit);
    // The part of the text just inserted before `pos` that fits; false when none of it fits or
    // the change is no insertion.
    bool WhatFits(const QString& input, int pos, Insertion& fitting) const;
    // Inserts what fits in place of what the field refused, as the user's own edit would.
    void InsertWhatFits(const Insertion& fitting);

    int m_nLimit = 32767;
    mutable int m_nAllowance = 32767;
    // The text as last accepted, to tell what an insertion added.
    mutable QString m_strLast;
    std::function<void()> m_told;
};
