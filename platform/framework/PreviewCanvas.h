#pragma once

#include <QImage>
#include <QSizeF>
#include <QWidget>
#include <exception>
#include <functional>
#include <map>

// The pages of a print preview on a grey desk: one or two whole pages fitted into the window,
// or one page enlarged (zoom 1 or 2) for scrolling. Only the pages shown are ever drawn; each is
// drawn once for its size and kept while it stays on screen.
class PreviewCanvas : public QWidget {
public:
    // Draws page `page` at `pixelsPerInch` as the whole sheet of paper.
    using Renderer = std::function<QImage(unsigned page, double pixelsPerInch)>;
    // A page could not be drawn; the preview reports it and closes.
    using FailureHandler = std::function<void(std::exception_ptr)>;

    static constexpr int kMaxZoom = 2;

    PreviewCanvas(QSizeF paperInches, Renderer render, FailureHandler onFailure);

    // `count` pages from `first` in `places` places side by side (zoomed: one place).
    void ShowPages(unsigned first, unsigned count, unsigned places, int zoom);
    // The size the canvas needs at its zoom inside `viewport`.
    QSize SizeFor(QSize viewport) const;
    double PixelsPerInch() const;
    // Called with +1 or -1 when the wheel turns the pages (whole pages only).
    std::function<void(int)> m_onWheelPage;

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QSize Viewport() const;
    QImage PageImage(unsigned page, double pixelsPerInch, double pixelRatio);

    QSizeF m_paper;
    Renderer m_render;
    FailureHandler m_onFailure;
    unsigned m_nFirst = 1;
    unsigned m_nCount = 1;
    unsigned m_nPlaces = 1;
    int m_nZoom = 0;
    bool m_bFailed = false;
    int m_nWheelDelta = 0;
    std::map<unsigned, QImage> m_cache;
    double m_cachePixelsPerInch = 0;
    double m_cachePixelRatio = 0;
};
