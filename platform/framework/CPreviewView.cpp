#include "CPreviewView.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "AfxRes.h"
#include "CDC.h"
#include "CMDIFrameWnd.h"
#include "CView.h"
#include "CWinApp.h"
#include "PreviewCanvas.h"
#include "ResourceLookup.h"

namespace {

CPreviewView* s_pCurrent = nullptr;

// Keeps the canvas the size its zoom needs whenever the window changes size.
class ViewportSizer : public QObject {
public:
    ViewportSizer(QScrollArea* scroll, PreviewCanvas* canvas)
        : QObject(scroll), m_pScroll(scroll), m_pCanvas(canvas) {}

    void Apply() {
        const QSize size = m_pCanvas->SizeFor(m_pScroll->viewport()->size());
        if (m_pCanvas->size() != size) {
            m_pCanvas->resize(size);
        }
        m_pCanvas->update();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            Apply();
        }
        return false;
    }

private:
    QScrollArea* m_pScroll;
    PreviewCanvas* m_pCanvas;
};

QString Prompt(unsigned id) {
    return AfxLoadString(id).section(QLatin1Char('\n'), 0, 0);
}

QString Tip(unsigned id) {
    return AfxLoadString(id).section(QLatin1Char('\n'), 1, 1);
}

}  // namespace

CPreviewView::CPreviewView(CView* pView) : m_pView(pView), m_pAlive(std::make_unique<QObject>()) {}

CPreviewView* CPreviewView::Current() {
    return s_pCurrent;
}

bool CPreviewView::Open() {
    CMDIFrameWnd* frame = AfxGetMainFrame();
    if (!frame || !frame->MainWindow()) {
        return false;
    }
    m_info.m_bPreview = true;
    if (!m_pView->OnPreparePrinting(&m_info)) {
        return false;
    }
    if (!m_info.m_pPrinter) {
        m_info.m_pPrinter = AfxGetApp()->GetPrinter();
    }
    const double dpi = m_info.m_pPrinter->resolution();
    CDC dc(nullptr, dpi, dpi, true);
    m_pView->OnBeginPrinting(&dc, &m_info);
    m_bBegun = true;

    BuildWidget();
    m_pFocus = QApplication::focusWidget();
    QMainWindow* window = frame->MainWindow();
    for (QWidget* bar : window->findChildren<QToolBar*>()) {
        if (bar->isVisible()) {
            m_hiddenBars.emplace_back(bar);
        }
    }
    if (window->menuBar()->isVisible()) {
        m_hiddenBars.emplace_back(window->menuBar());
    }
    for (QWidget* bar : m_hiddenBars) {
        bar->hide();
    }
    m_pDocumentArea = window->takeCentralWidget();
    window->setCentralWidget(m_pWidget);
    s_pCurrent = this;
    ShowPages();
    m_pCanvas->setFocus();
    // The document windows are out of reach: their commands show disabled.
    frame->UpdateCommandStates();
    frame->OnUpdateFrameTitle();
    return true;
}

CPreviewView::~CPreviewView() {
    if (s_pCurrent == this) {
        s_pCurrent = nullptr;
    }
    if (m_bBegun) {
        const double dpi = m_info.m_pPrinter->resolution();
        CDC dc(nullptr, dpi, dpi, true);
        m_pView->OnEndPrinting(&dc, &m_info);
    }
    CMDIFrameWnd* frame = AfxGetMainFrame();
    QMainWindow* window = frame ? frame->MainWindow() : nullptr;
    if (window && m_pWidget && window->centralWidget() == m_pWidget) {
        window->takeCentralWidget();
    }
    if (m_pWidget) {
        m_pWidget->hide();
        m_pWidget->deleteLater();
    }
    if (window && m_pDocumentArea) {
        window->setCentralWidget(m_pDocumentArea);
        m_pDocumentArea->show();
    }
    for (QWidget* bar : m_hiddenBars) {
        if (bar) {
            bar->show();
        }
    }
    if (m_pFocus) {
        m_pFocus->setFocus();
    }
    if (frame) {
        frame->OnUpdateFrameTitle();
    }
}

void CPreviewView::BuildWidget() {
    m_pWidget = new QWidget;
    auto* layout = new QVBoxLayout(m_pWidget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QWidget(m_pWidget);
    auto* buttons = new QHBoxLayout(bar);
    AddButton(AFX_IDS_PREVIEW_PRINT_LABEL, ID_FILE_PRINT, &CPreviewView::Print);
    AddButton(AFX_IDS_PREVIEW_NEXT_LABEL, AFX_IDS_PREVIEW_NEXT, &CPreviewView::NextPage);
    AddButton(AFX_IDS_PREVIEW_PREV_LABEL, AFX_IDS_PREVIEW_PREV, &CPreviewView::PrevPage);
    AddButton(AFX_IDS_PREVIEW_TWOPAGE_LABEL, AFX_IDS_PREVIEW_PAGES, &CPreviewView::ToggleTwoPages);
    AddButton(AFX_IDS_PREVIEW_ZOOMIN_LABEL, AFX_IDS_PREVIEW_ZOOMIN, &CPreviewView::ZoomIn);
    AddButton(AFX_IDS_PREVIEW_ZOOMOUT_LABEL, AFX_IDS_PREVIEW_ZOOMOUT, &CPreviewView::ZoomOut);
    AddButton(AFX_IDS_PREVIEW_CLOSE_LABEL, AFX_IDS_PREVIEW_CLOSE, &CPreviewView::Close);
    for (const auto& [id, button] : m_buttons) {
        button->setParent(bar);
    }
    for (unsigned id :
         {AFX_IDS_PREVIEW_PRINT_LABEL, AFX_IDS_PREVIEW_NEXT_LABEL, AFX_IDS_PREVIEW_PREV_LABEL,
          AFX_IDS_PREVIEW_TWOPAGE_LABEL, AFX_IDS_PREVIEW_ZOOMIN_LABEL,
          AFX_IDS_PREVIEW_ZOOMOUT_LABEL, AFX_IDS_PREVIEW_CLOSE_LABEL}) {
        buttons->addWidget(m_buttons.at(id));
    }
    m_pIndicator = new QLabel(bar);
    buttons->addSpacing(12);
    buttons->addWidget(m_pIndicator);
    buttons->addStretch(1);
    layout->addWidget(bar);

    const QRectF paper = m_info.m_pPrinter->pageLayout().fullRect(QPageLayout::Inch);
    m_pCanvas = new PreviewCanvas(
        paper.size(), [this](unsigned page, double ppi) { return RenderPage(page, ppi); },
        [this](std::exception_ptr failure) { ReportFailure(failure); });
    m_pCanvas->m_onWheelPage = [this](int step) { step > 0 ? NextPage() : PrevPage(); };
    m_pScroll = new QScrollArea(m_pWidget);
    m_pScroll->setFrameShape(QFrame::NoFrame);
    m_pScroll->setAlignment(Qt::AlignCenter);
    m_pScroll->setWidget(m_pCanvas);
    m_pScroll->viewport()->installEventFilter(new ViewportSizer(m_pScroll, m_pCanvas));
    layout->addWidget(m_pScroll, 1);

    const std::pair<Qt::Key, std::function<void()>> keys[] = {
        {Qt::Key_PageDown, [this] { NextPage(); }},
        {Qt::Key_PageUp, [this] { PrevPage(); }},
        {Qt::Key_Home, [this] { GoToPage(1); }},
        {Qt::Key_End, [this] { GoToPage(GetPageCount()); }},
        {Qt::Key_Escape, [this] { Close(); }},
    };
    for (const auto& [key, handler] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), m_pWidget);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(shortcut, &QShortcut::activated, m_pWidget, handler);
    }
}

QPushButton* CPreviewView::AddButton(unsigned labelId, unsigned promptId,
                                     void (CPreviewView::*handler)()) {
    auto* button = new QPushButton(AfxLoadString(labelId));
    button->setStatusTip(Prompt(promptId));
    button->setToolTip(Tip(promptId));
    // The pages keep the keyboard; the buttons answer to their Alt letters.
    button->setFocusPolicy(Qt::NoFocus);
    QObject::connect(button, &QPushButton::clicked, button,
                     [this, handler] { (this->*handler)(); });
    m_buttons[labelId] = button;
    return button;
}

QPushButton* CPreviewView::Button(unsigned labelId) const {
    auto it = m_buttons.find(labelId);
    return it == m_buttons.end() ? nullptr : it->second;
}

QString CPreviewView::PageIndicator() const {
    const unsigned count = GetPageCount();
    if (m_bTwoPages && m_nZoom == 0 && m_nCurrentPage < count) {
        return AfxLoadString(AFX_IDS_PREVIEW_TWO_PAGES)
            .arg(m_nCurrentPage)
            .arg(m_nCurrentPage + 1)
            .arg(count);
    }
    return AfxLoadString(AFX_IDS_PREVIEW_ONE_PAGE).arg(m_nCurrentPage).arg(count);
}

void CPreviewView::ShowPages() {
    const unsigned count = GetPageCount();
    const unsigned places = m_bTwoPages && m_nZoom == 0 ? 2 : 1;
    const unsigned shown = std::min(places, count - m_nCurrentPage + 1);
    m_pCanvas->ShowPages(m_nCurrentPage, shown, places, m_nZoom);
    m_pScroll->setWidgetResizable(m_nZoom == 0);
    const QSize size = m_pCanvas->SizeFor(m_pScroll->viewport()->size());
    if (m_pCanvas->size() != size) {
        m_pCanvas->resize(size);
    }

    m_pIndicator->setText(PageIndicator());
    m_buttons.at(AFX_IDS_PREVIEW_NEXT_LABEL)->setEnabled(LastShownPage() < count);
    m_buttons.at(AFX_IDS_PREVIEW_PREV_LABEL)->setEnabled(m_nCurrentPage > 1);
    QPushButton* pages = m_buttons.at(AFX_IDS_PREVIEW_TWOPAGE_LABEL);
    pages->setText(
        AfxLoadString(m_bTwoPages ? AFX_IDS_PREVIEW_ONEPAGE_LABEL : AFX_IDS_PREVIEW_TWOPAGE_LABEL));
    pages->setEnabled(m_nZoom == 0 && count > 1);
    m_buttons.at(AFX_IDS_PREVIEW_ZOOMIN_LABEL)->setEnabled(m_nZoom < PreviewCanvas::kMaxZoom);
    m_buttons.at(AFX_IDS_PREVIEW_ZOOMOUT_LABEL)->setEnabled(m_nZoom > 0);
}

void CPreviewView::GoToPage(unsigned page) {
    const unsigned target = std::clamp(page, 1u, std::max(1u, GetPageCount()));
    if (target != m_nCurrentPage) {
        m_nCurrentPage = target;
        ShowPages();
    }
}

unsigned CPreviewView::LastShownPage() const {
    const unsigned places = m_bTwoPages && m_nZoom == 0 ? 2 : 1;
    return std::min(GetPageCount(), m_nCurrentPage + places - 1);
}

void CPreviewView::NextPage() {
    if (LastShownPage() < GetPageCount()) {
        GoToPage(m_nCurrentPage + 1);
    }
}

void CPreviewView::PrevPage() {
    if (m_nCurrentPage > 1) {
        GoToPage(m_nCurrentPage - 1);
    }
}

void CPreviewView::ToggleTwoPages() {
    if (m_nZoom != 0) {
        return;
    }
    m_bTwoPages = !m_bTwoPages;
    ShowPages();
}

void CPreviewView::ZoomIn() {
    if (m_nZoom < PreviewCanvas::kMaxZoom) {
        ++m_nZoom;
        ShowPages();
    }
}

void CPreviewView::ZoomOut() {
    if (m_nZoom > 0) {
        --m_nZoom;
        ShowPages();
    }
}

void CPreviewView::Print() {
    CView* view = m_pView;
    view->EndPrintPreview();
    // The preview is gone: nothing of it may be touched from here on.
    AfxGetApp()->DispatchCommand(view, ID_FILE_PRINT);
}

void CPreviewView::Close() {
    m_pView->EndPrintPreview();
}

QImage CPreviewView::RenderPage(unsigned page, double pixelsPerInch) {
    const QPageLayout layout = m_info.m_pPrinter->pageLayout();
    const QRectF paper = layout.fullRect(QPageLayout::Inch);
    const QRectF printable = layout.paintRect(QPageLayout::Inch);
    QImage image(std::max(1, qRound(paper.width() * pixelsPerInch)),
                 std::max(1, qRound(paper.height() * pixelsPerInch)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    // As on the printer, the origin is the top left corner of the printable area.
    painter.translate(printable.left() * pixelsPerInch, printable.top() * pixelsPerInch);
    CDC dc(&painter, pixelsPerInch, pixelsPerInch, true);
    m_info.m_nCurPage = page;
    m_info.m_bContinuePrinting = true;
    m_info.m_rectDraw = QRect(0, 0, qRound(printable.width() * pixelsPerInch),
                              qRound(printable.height() * pixelsPerInch));
    m_pView->OnPrepareDC(&dc, &m_info);
    m_pView->OnPrint(&dc, &m_info);
    return image;
}

void CPreviewView::ReportFailure(std::exception_ptr failure) {
    // Reported once the paint event is over; the preview then ends.
    QTimer::singleShot(0, m_pAlive.get(), [this, failure] {
        CView* view = m_pView;
        AfxGetApp()->RunGuarded([failure] { std::rethrow_exception(failure); });
        view->EndPrintPreview();
    });
}
