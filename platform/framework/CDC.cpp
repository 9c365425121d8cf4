#include "CDC.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "CFont.h"

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultFontPoints = 12.0;

int Round(double value) {
    return static_cast<int>(std::lround(value));
}

}  // namespace

CDC::CDC(QPainter* painter, double dpiX, double dpiY, bool printing)
    : m_pPainter(painter), m_dpiX(dpiX), m_dpiY(dpiY), m_bPrinting(printing) {
    if (m_pPainter) {
        m_device = m_pPainter->transform();
    }
}

int CDC::SetMapMode(int mode) {
    const int previous = m_nMapMode;
    m_nMapMode = mode;
    return previous;
}

CFont* CDC::SelectObject(CFont* pFont) {
    CFont* previous = m_pFont;
    m_pFont = pFont;
    return previous;
}

double CDC::UnitsPerLogicalX() const {
    return m_nMapMode == MM_TWIPS ? m_dpiX / kTwipsPerInch : 1.0;
}

double CDC::UnitsPerLogicalY() const {
    return m_nMapMode == MM_TWIPS ? m_dpiY / kTwipsPerInch : 1.0;
}

QPointF CDC::LPtoDP(int x, int y) const {
    const double ySign = m_nMapMode == MM_TWIPS ? -1.0 : 1.0;
    return {x * UnitsPerLogicalX(), ySign * y * UnitsPerLogicalY()};
}

QFont CDC::LogicalFont() const {
    const double logicalPerInch = m_nMapMode == MM_TWIPS ? kTwipsPerInch : m_dpiY;
    const int defaultHeight = Round(kDefaultFontPoints / 72.0 * logicalPerInch);
    if (m_pFont && m_pFont->IsCreated()) {
        return m_pFont->ToQFont(defaultHeight);
    }
    QFont font;
    font.setPixelSize(std::max(1, defaultHeight));
    return font;
}

bool CDC::TextOut(int x, int y, const QString& text) {
    if (!m_pPainter) {
        return true;
    }
    const QFont font = LogicalFont();
    const QFontMetricsF metrics(font);
    const QPointF origin = LPtoDP(x, y);
    // Each text gets a frame of its own with y pointing down: drawn straight into a y-up
    // mapping the glyphs would stand on their heads.
    const QTransform frame(UnitsPerLogicalX(), 0, 0, UnitsPerLogicalY(), origin.x(), origin.y());
    m_pPainter->save();
    m_pPainter->setTransform(frame * m_device);
    m_pPainter->setFont(font);
    m_pPainter->drawText(QPointF(0, metrics.ascent()), text);
    m_pPainter->restore();
    return true;
}

CSize CDC::GetTextExtent(const QString& text) const {
    const QFontMetricsF metrics(LogicalFont());
    return {Round(metrics.horizontalAdvance(text)), Round(metrics.height())};
}

bool CDC::GetTextMetrics(TEXTMETRIC* pMetrics) const {
    if (!pMetrics) {
        return false;
    }
    const QFont font = LogicalFont();
    const QFontMetricsF metrics(font);
    pMetrics->tmAscent = Round(metrics.ascent());
    pMetrics->tmDescent = Round(metrics.descent());
    pMetrics->tmHeight = pMetrics->tmAscent + pMetrics->tmDescent;
    pMetrics->tmInternalLeading = std::max(0, pMetrics->tmHeight - font.pixelSize());
    pMetrics->tmExternalLeading = std::max(0, Round(metrics.leading()));
    pMetrics->tmAveCharWidth = Round(metrics.averageCharWidth());
    pMetrics->tmMaxCharWidth = Round(metrics.maxWidth());
    return true;
}
