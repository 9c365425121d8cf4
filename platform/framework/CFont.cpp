#include "CFont.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace {

QFont::StyleHint StyleHintFor(unsigned char pitchAndFamily) {
    switch (pitchAndFamily & 0xF0) {
        case FF_ROMAN:
            return QFont::Serif;
        case FF_SWISS:
            return QFont::SansSerif;
        case FF_MODERN:
            return QFont::TypeWriter;
        default:
            return (pitchAndFamily & 0x0F) == FIXED_PITCH ? QFont::TypeWriter : QFont::AnyStyle;
    }
}

// The em that gives a font of this family a cell (ascent plus descent) of `cellHeight`.
int EmForCellHeight(QFont font, int cellHeight) {
    constexpr int kProbe = 1000;
    font.setPixelSize(kProbe);
    const QFontMetricsF metrics(font);
    const double cell = metrics.ascent() + metrics.descent();
    return cell > 0 ? std::max(1, static_cast<int>(std::lround(cellHeight * kProbe / cell)))
                    : cellHeight;
}

}  // namespace

bool CFont::CreateFont(int nHeight, int, int, int, int nWeight, unsigned char bItalic,
                       unsigned char bUnderline, unsigned char cStrikeOut, unsigned char,
                       unsigned char, unsigned char, unsigned char, unsigned char nPitchAndFamily,
                       const QString& faceName) {
    QFont font(faceName);
    font.setStyleHint(StyleHintFor(nPitchAndFamily));
    font.setFixedPitch((nPitchAndFamily & 0x0F) == FIXED_PITCH);
    if (nWeight != FW_DONTCARE) {
        font.setWeight(static_cast<QFont::Weight>(std::clamp(nWeight, 1, 1000)));
    }
    font.setItalic(bItalic != 0);
    font.setUnderline(bUnderline != 0);
    font.setStrikeOut(cStrikeOut != 0);
    // Glyphs keep their outline widths at every size, so that a line measured for the printer
    // is as long on the preview's screen.
    font.setHintingPreference(QFont::PreferNoHinting);
    m_font = font;
    m_nHeight = nHeight;
    m_bCreated = true;
    return true;
}

QFont CFont::ToQFont(int defaultHeight) const {
    QFont font = m_font;
    if (m_nHeight < 0) {
        font.setPixelSize(-m_nHeight);
    } else if (m_nHeight > 0) {
        font.setPixelSize(EmForCellHeight(font, m_nHeight));
    } else {
        font.setPixelSize(std::max(1, defaultHeight));
    }
    return font;
}
