#pragma once

#include <QString>

// Turns the TeX of a BibTeX field into the text a reader sees: accents and special letters
// become Unicode ({\"a} → ä, \ss → ß, \c{c} → ç), escaped characters themselves (\& → &), the
// dashes and quotes of TeX their characters (-- → –, `` → “), ~ a space; braces and the "$" of
// formulas go, and formatting commands leave their text (\emph{Wort} → Wort).
class TexText {
public:
    static QString ToUnicode(const QString& tex);
};
