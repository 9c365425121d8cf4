#pragma once

// The one character beyond ASCII whose fold is ASCII: ſ folds to s. Searches for an ASCII
// literal skip folding texts without it, so another fold into ASCII has to be taught to them
// too.
inline constexpr char32_t kLongS = 0x017F;

char32_t FoldCaseBeyondAscii(char32_t c);

// The character that stands for `c` and its other case when letters are compared without
// regard to case: simple case folding for ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic,
// the scripts of the catalogues' titles. Other characters stand for themselves.
inline char32_t FoldCase(char32_t c) {
    if (c < 0x80) {
        return c - U'A' < 26u ? c + 0x20 : c;
    }
    return FoldCaseBeyondAscii(c);
}
