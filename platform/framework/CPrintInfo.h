#pragma once

#include <QPageRanges>
#include <QRect>
#include <memory>

class QPrinter;

// What one printing (or preview) is about: the pages the document has, the pages chosen, the
// page being printed, and the printer the pages go to.
class CPrintInfo {
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(unsigned nMinPage) { m_nMinPage = nMinPage; }
    void SetMaxPage(unsigned nMaxPage) { m_nMaxPage = nMaxPage; }
    unsigned GetMinPage() const { return m_nMinPage; }
    unsigned GetMaxPage() const { return m_nMaxPage; }

    // The pages the user chose; none chosen means all of them.
    void SetPageRanges(const QPageRanges& ranges) { m_ranges = ranges; }
    unsigned GetFromPage() const;
    unsigned GetToPage() const;
    bool IsPageChosen(unsigned nPage) const;

    // A printer made for this printing alone (a PDF file); it becomes m_pPrinter.
    void SetOwnPrinter(std::unique_ptr<QPrinter> printer);

    bool m_bDirect = false;   // print without asking
    bool m_bPreview = false;  // pages go to the preview
    bool m_bContinuePrinting = true;
    unsigned m_nCurPage = 1;
    QRect m_rectDraw;  // the printable area of the page, in device units
    QPrinter* m_pPrinter = nullptr;

private:
    unsigned m_nMinPage = 1;
    unsigned m_nMaxPage = 0xFFFF;
    QPageRanges m_ranges;
    std::unique_ptr<QPrinter> m_pOwnPrinter;
};
