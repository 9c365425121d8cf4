#pragma once

#include <QFont>
#include <QString>

// Font weights and the pitch-and-family byte, as fonts are asked for.
constexpr int FW_DONTCARE = 0;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr unsigned char ANSI_CHARSET = 0;
constexpr unsigned char DEFAULT_CHARSET = 1;
constexpr unsigned char OUT_DEFAULT_PRECIS = 0;
constexpr unsigned char CLIP_DEFAULT_PRECIS = 0;
constexpr unsigned char DEFAULT_QUALITY = 0;
constexpr unsigned char DEFAULT_PITCH = 0x00;
constexpr unsigned char FIXED_PITCH = 0x01;
constexpr unsigned char VARIABLE_PITCH = 0x02;
constexpr unsigned char FF_DONTCARE = 0x00;
constexpr unsigned char FF_ROMAN = 0x10;
constexpr unsigned char FF_SWISS = 0x20;
constexpr unsigned char FF_MODERN = 0x30;

// A font in the logical units of the device context it is selected into. A negative height is
// the character height (the em), a positive one the cell height (ascent plus descent), 0 the
// device's default size.
class CFont {
public:
    // Escapement, orientation, width, character set and the precision and quality hints are
    // accepted for the caller's sake; text is Unicode and always upright here.
    bool CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                    unsigned char bItalic, unsigned char bUnderline, unsigned char cStrikeOut,
                    unsigned char nCharSet, unsigned char nOutPrecision,
                    unsigned char nClipPrecision, unsigned char nQuality,
                    unsigned char nPitchAndFamily, const QString& faceName);

    bool IsCreated() const { return m_bCreated; }
    int GetHeight() const { return m_nHeight; }
    // The Qt font whose pixel size is the character height in logical units; `defaultHeight`
    // stands in for a height of 0.
    QFont ToQFont(int defaultHeight) const;

private:
    QFont m_font;
    int m_nHeight = 0;
    bool m_bCreated = false;
};
