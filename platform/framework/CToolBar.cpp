#include "CToolBar.h"

#include <QAction>
#include <QBitmap>
#include <QMainWindow>
#include <QToolBar>

#include "AfxRes.h"
#include "CMDIFrameWnd.h"
#include "ResourceLookup.h"

namespace {

Qt::ToolBarArea AreaFor(unsigned style) {
    if (style & CBRS_ALIGN_LEFT) {
        return Qt::LeftToolBarArea;
    }
    if (style & CBRS_ALIGN_RIGHT) {
        return Qt::RightToolBarArea;
    }
    if (style & CBRS_ALIGN_BOTTOM) {
        return Qt::BottomToolBarArea;
    }
    return Qt::TopToolBarArea;
}

// Tool bar bitmaps paint their background in light grey; that colour shows the bar through.
QPixmap Tile(const QPixmap& strip, int index, int width, int height) {
    const qreal scale = strip.devicePixelRatio();
    QPixmap tile =
        strip.copy(QRectF(index * width * scale, 0, width * scale, height * scale).toRect());
    tile.setMask(tile.createMaskFromColor(QColor(192, 192, 192)));
    tile.setDevicePixelRatio(scale);
    return tile;
}

}  // namespace

bool CToolBar::Create(CMDIFrameWnd* pParent, unsigned style, unsigned nID) {
    m_pParent = pParent;
    m_pBar = new QToolBar(pParent->MainWindow());
    m_pBar->setObjectName(QStringLiteral("toolbar%1").arg(nID));
    m_pBar->setMovable(true);
    m_pBar->setFloatable(false);
    m_pBar->setAllowedAreas(AreaFor(style));
    m_nBarStyle = style;
    pParent->MainWindow()->addToolBar(AreaFor(style), m_pBar);
    pParent->RegisterControlBar(nID, m_pBar);
    return true;
}

bool CToolBar::LoadToolBar(unsigned nIDResource) {
    const ToolBarResource* res = AfxFindToolBar(nIDResource);
    const QPixmap strip = AfxLoadBitmap(nIDResource);
    const QPixmap denseStrip = AfxLoadBitmap(nIDResource, 2);
    if (!res || strip.isNull()) {
        return false;
    }
    m_pBar->setIconSize(QSize(res->buttonWidth, res->buttonHeight));
    int image = 0;
    for (unsigned id : res->buttons) {
        if (id == ID_SEPARATOR) {
            m_pBar->addSeparator();
            continue;
        }
        QAction* a = m_pParent->CreateCommandAction(id, {}, m_pBar);
        QIcon icon(Tile(strip, image, res->buttonWidth, res->buttonHeight));
        if (!denseStrip.isNull()) {
            icon.addPixmap(Tile(denseStrip, image, res->buttonWidth, res->buttonHeight));
        }
        ++image;
        a->setIcon(icon);
        if (a->toolTip().isEmpty() || a->toolTip() == a->text()) {
            a->setToolTip(a->statusTip());
        }
        // A button shows only its picture; screen readers and the bar's overflow menu need words.
        a->setText(a->toolTip());
        m_pBar->addAction(a);
        if (QWidget* button = m_pBar->widgetForAction(a)) {
            button->setAccessibleName(a->toolTip());
        }
    }
    return true;
}

void CToolBar::SetBarStyle(unsigned style) {
    m_nBarStyle = style;
    // Floating is the dynamic-size bar of a free window.
    m_pBar->setFloatable((style & CBRS_SIZE_DYNAMIC) != 0);
}

void CToolBar::EnableDocking(unsigned dockStyle) {
    Qt::ToolBarAreas areas;
    if (dockStyle & CBRS_ALIGN_TOP) {
        areas |= Qt::TopToolBarArea;
    }
    if (dockStyle & CBRS_ALIGN_BOTTOM) {
        areas |= Qt::BottomToolBarArea;
    }
    if (dockStyle & CBRS_ALIGN_LEFT) {
        areas |= Qt::LeftToolBarArea;
    }
    if (dockStyle & CBRS_ALIGN_RIGHT) {
        areas |= Qt::RightToolBarArea;
    }
    m_pBar->setAllowedAreas(areas);
}
