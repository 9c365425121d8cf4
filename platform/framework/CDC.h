#pragma once

#include <QFont>
#include <QPointF>
#include <QString>
#include <QTransform>

class CFont;
class QPainter;

// Mapping modes: device pixels with y down, or twips (1/1440 inch) with y up from the origin.
constexpr int MM_TEXT = 1;
constexpr int MM_TWIPS = 6;

struct CSize {
    int cx = 0;
    int cy = 0;
};

// Metrics of the selected font, in logical units.
struct TEXTMETRIC {
    int tmHeight = 0;  // ascent plus descent
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;  // height less the character height
    int tmExternalLeading = 0;  // the font's advice for space between lines
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
};

// A device context: text drawn on a painter (a printer page, a preview image) at positions in
// the units of the mapping mode. The painter's transform when the context is made is the
// device: `dpiX`/`dpiY` are its units per inch. Without a painter the context only measures.
class CDC {
public:
    CDC(QPainter* painter, double dpiX, double dpiY, bool printing);
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    bool IsPrinting() const { return m_bPrinting; }
    QPainter* GetPainter() const { return m_pPainter; }

    // Both return what was set before.
    int SetMapMode(int mode);
    int GetMapMode() const { return m_nMapMode; }
    CFont* SelectObject(CFont* pFont);  // nullptr selects the device's default font

    // Draws `text` with its top left corner (not its baseline) at the logical point.
    virtual bool TextOut(int x, int y, const QString& text);
    CSize GetTextExtent(const QString& text) const;
    bool GetTextMetrics(TEXTMETRIC* pMetrics) const;

    // The device point (in the painter's units before the context's mapping) of a logical point.
    QPointF LPtoDP(int x, int y) const;

protected:
    // The selected font as Qt draws it: its pixel size is in logical units.
    QFont LogicalFont() const;

private:
    double UnitsPerLogicalX() const;
    double UnitsPerLogicalY() const;

    QPainter* m_pPainter;
    double m_dpiX;
    double m_dpiY;
    bool m_bPrinting;
    int m_nMapMode = MM_TEXT;
    CFont* m_pFont = nullptr;
    QTransform m_device;
};
