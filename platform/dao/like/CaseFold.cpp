#include "CaseFold.h"

namespace {

// In Latin Extended-A most letters come in pairs, capital first; the pairs start on an even
// code point in some runs and on an odd one in others.
char32_t FoldLatinExtendedA(char32_t c) {
    const bool even = c % 2 == 0;
    if ((c <= 0x012F || (c >= 0x0132 && c <= 0x0137) || (c >= 0x014A && c <= 0x0177)) && even) {
        return c + 1;
    }
    if (((c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E)) && !even) {
        return c + 1;
    }
    if (c == 0x0178) {
        return 0x00FF;  // Ÿ has its small letter in Latin-1
    }
    if (c == kLongS) {
        return U's';
    }
    return c;  // İ, ı, ĸ and ŉ have no simple fold
}

char32_t FoldGreek(char32_t c) {
    if (c >= 0x0391 && c <= 0x03A9 && c != 0x03A2) {
        return c + 0x20;
    }
    switch (c) {
        case 0x0386:
            return 0x03AC;
        case 0x0388:
        case 0x0389:
        case 0x038A:
            return c + 0x25;
        case 0x038C:
            return 0x03CC;
        case 0x038E:
        case 0x038F:
            return c + 0x3F;
        case 0x03C2:
            return 0x03C3;  // final sigma
        default:
            return c;
    }
}

}  // namespace

char32_t FoldCaseBeyondAscii(char32_t c) {
    if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) {
        return c + 0x20;
    }
    if (c == 0x00B5) {
        return 0x03BC;  // micro sign folds to Greek mu
    }
    if (c >= 0x0100 && c <= 0x017F) {
        return FoldLatinExtendedA(c);
    }
    if (c >= 0x0386 && c <= 0x03C2) {
        return FoldGreek(c);
    }
    if (c >= 0x0400 && c <= 0x040F) {
        return c + 0x50;
    }
    if (c >= 0x0410 && c <= 0x042F) {
        return c + 0x20;
    }
    if (c == 0x1E9E) {
        return 0x00DF;  // capital sharp s
    }
    return c;
}
