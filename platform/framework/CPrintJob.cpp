#include "CPrintJob.h"

#include <QPainter>
#include <QPrinter>

#include "AfxMessageBox.h"
#include "AfxRes.h"
#include "CCmdTarget.h"
#include "CDC.h"
#include "CDocument.h"
#include "CPrintInfo.h"
#include "CView.h"
#include "CWinApp.h"
#include "ResourceLookup.h"

namespace {

QString PrinterDescription(const QPrinter& printer) {
    return printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
}

class WaitCursor {
public:
    WaitCursor() { CCmdTarget::BeginWaitCursor(); }
    ~WaitCursor() { CCmdTarget::EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

bool CPrintJob::Run(CView& view, CPrintInfo& info) {
    if (!view.OnPreparePrinting(&info)) {
        return false;
    }
    if (!info.m_pPrinter) {
        info.m_pPrinter = AfxGetApp()->GetPrinter();
    }
    QPrinter& printer = *info.m_pPrinter;
    if (view.GetDocument()) {
        printer.setDocName(view.GetDocument()->GetTitle());
    }

    WaitCursor wait;
    QPainter painter;
    if (!painter.begin(&printer)) {
        AfxMessageBox(AfxLoadString(AFX_IDP_PRINT_FAILED).arg(PrinterDescription(printer)),
                      MB_OK | MB_ICONSTOP);
        return false;
    }
    const double dpi = printer.resolution();
    const QRect printable(QPoint(0, 0),
                          printer.pageLayout().paintRectPixels(printer.resolution()).size());
    CDC jobDC(&painter, dpi, dpi, true);
    view.OnBeginPrinting(&jobDC, &info);
    try {
        bool firstPage = true;
        for (unsigned page = info.GetFromPage(); page <= info.GetToPage(); ++page) {
            if (!info.IsPageChosen(page)) {
                continue;
            }
            CDC dc(&painter, dpi, dpi, true);
            info.m_nCurPage = page;
            info.m_rectDraw = printable;
            view.OnPrepareDC(&dc, &info);
            if (!info.m_bContinuePrinting) {
                break;
            }
            if (!firstPage) {
                printer.newPage();
            }
            firstPage = false;
            view.OnPrint(&dc, &info);
        }
    } catch (...) {
        printer.abort();
        painter.end();
        view.OnEndPrinting(&jobDC, &info);
        throw;
    }
    view.OnEndPrinting(&jobDC, &info);
    painter.end();
    return true;
}
