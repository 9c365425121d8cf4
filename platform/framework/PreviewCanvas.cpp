#include "PreviewCanvas.h"

#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kGap = 16;
constexpr int kShadow = 4;
constexpr double kMinPixelsPerInch = 4.0;

}  // namespace

PreviewCanvas::PreviewCanvas(QSizeF paperInches, Renderer render, FailureHandler onFailure)
    : m_paper(paperInches), m_render(std::move(render)), m_onFailure(std::move(onFailure)) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewCanvas::ShowPages(unsigned first, unsigned count, unsigned places, int zoom) {
    m_nFirst = first;
    m_nZoom = std::clamp(zoom, 0, kMaxZoom);
    m_nPlaces = m_nZoom == 0 ? std::max(1u, places) : 1;
    m_nCount = std::clamp(count, 1u, m_nPlaces);
    std::erase_if(m_cache, [this](const auto& entry) {
        return entry.first < m_nFirst || entry.first >= m_nFirst + m_nCount;
    });
    update();
}

QSize PreviewCanvas::Viewport() const {
    return parentWidget() ? parentWidget()->size() : size();
}

double PreviewCanvas::PixelsPerInch() const {
    const QSize view = Viewport();
    const double across = m_nPlaces;
    const double fitWidth = (view.width() - (across + 1) * kGap) / (across * m_paper.width());
    const double fitHeight = (view.height() - 2.0 * kGap) / m_paper.height();
    return std::max(kMinPixelsPerInch, std::min(fitWidth, fitHeight) * (1 + m_nZoom));
}

QSize PreviewCanvas::SizeFor(QSize viewport) const {
    if (m_nZoom == 0) {
        return viewport;
    }
    const double ppi = PixelsPerInch();
    return {static_cast<int>(std::ceil(m_paper.width() * ppi)) + 2 * kGap,
            static_cast<int>(std::ceil(m_paper.height() * ppi)) + 2 * kGap};
}

QImage PreviewCanvas::PageImage(unsigned page, double pixelsPerInch, double pixelRatio) {
    if (pixelsPerInch != m_cachePixelsPerInch || pixelRatio != m_cachePixelRatio) {
        m_cache.clear();
        m_cachePixelsPerInch = pixelsPerInch;
        m_cachePixelRatio = pixelRatio;
    }
    auto it = m_cache.find(page);
    if (it == m_cache.end()) {
        QImage image = m_render(page, pixelsPerInch * pixelRatio);
        image.setDevicePixelRatio(pixelRatio);
        it = m_cache.emplace(page, std::move(image)).first;
    }
    return it->second;
}

void PreviewCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    const double ppi = PixelsPerInch();
    const int pageWidth = static_cast<int>(std::lround(m_paper.width() * ppi));
    const int pageHeight = static_cast<int>(std::lround(m_paper.height() * ppi));
    const int places = static_cast<int>(m_nPlaces);
    const int total = places * pageWidth + (places - 1) * kGap;
    int x = std::max(kGap, (width() - total) / 2);
    const int y = std::max(kGap, (height() - pageHeight) / 2);
    for (unsigned i = 0; i < m_nCount; ++i, x += pageWidth + kGap) {
        const QRect sheet(x, y, pageWidth, pageHeight);
        painter.fillRect(sheet.translated(kShadow, kShadow), Qt::black);
        if (m_bFailed) {
            painter.fillRect(sheet, Qt::white);
            continue;
        }
        try {
            painter.drawImage(sheet.topLeft(), PageImage(m_nFirst + i, ppi, devicePixelRatioF()));
        } catch (...) {
            // Nothing may leave a paint event; the preview reports the failure afterwards.
            m_bFailed = true;
            painter.fillRect(sheet, Qt::white);
            if (m_onFailure) {
                m_onFailure(std::current_exception());
            }
        }
        painter.setPen(Qt::black);
        painter.drawRect(sheet.adjusted(0, 0, -1, -1));
    }
}

void PreviewCanvas::wheelEvent(QWheelEvent* event) {
    if (m_nZoom != 0 || !m_onWheelPage) {
        event->ignore();
        return;
    }
    m_nWheelDelta += event->angleDelta().y();
    while (std::abs(m_nWheelDelta) >= QWheelEvent::DefaultDeltasPerStep) {
        const int step = m_nWheelDelta > 0 ? -1 : 1;
        m_nWheelDelta += step * QWheelEvent::DefaultDeltasPerStep;
        m_onWheelPage(step);
    }
    event->accept();
}
