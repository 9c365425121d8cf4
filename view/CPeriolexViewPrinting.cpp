// The record form's printing: a table of the record set, 45 records a page, in twips with y
// pointing up from the top left corner of the printable area.
#include <CDC.h>
#include <CDaoRecordset.h>
#include <CDaoTransaction.h>
#include <CFont.h>
#include <CPrintInfo.h>

#include <algorithm>
#include <optional>

#include "CPeriolexView.h"
#include "document/CPeriolexDoc.h"

namespace {

constexpr int kTableX = 720;
constexpr int kHeadingY = -720;
constexpr int kFirstRowY = -1440;
constexpr int kFooterY = -15600;
constexpr int kRightEdge = 11338;
constexpr int kFontHeight = -280;  // 14 point characters
// The font's own line spacing would be a little more (Liberation Mono: about 317 twips); 45
// rows at this step end above the footer line.
constexpr int kMaxLineStep = 314;

// Left-aligned and filled with blanks to `width` characters; a longer text stays whole.
QString Column(const QString& text, int width) {
    const auto characters = static_cast<int>(text.toUcs4().size());
    return characters >= width ? text : text + QString(width - characters, QLatin1Char(' '));
}

QString Row(const QString& number, const QString& magazine, const QString& article,
            const QString& page) {
    return Column(number, 10) + QLatin1Char(' ') + Column(magazine, 12) + QLatin1Char(' ') +
           Column(article, 30) + QLatin1Char(' ') + Column(page, 20);
}

}  // namespace

unsigned CPeriolexView::PageCount(long records) {
    return static_cast<unsigned>(std::max(1L, (records + kRecordsPerPage - 1) / kRecordsPerPage));
}

bool CPeriolexView::OnPreparePrinting(CPrintInfo* pInfo) {
    // What the user typed belongs to its record before records are read for the pages. The pages
    // load every record into the form, so text that could not be stored (the user went back to
    // the form from a conflict) would be lost: then nothing is printed.
    if (m_pSet && m_pSet->IsOpen() && !SaveRecord()) {
        return false;
    }
    const long records = m_pSet && m_pSet->IsOpen() ? m_pSet->GetRecordCount() : 0;
    pInfo->SetMaxPage(PageCount(records));
    return DoPreparePrinting(pInfo);
}

void CPeriolexView::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
    // The page reads the file as it is now, others' changes taken in, in one look: a record
    // that another program deletes meanwhile cannot fail the page halfway.
    std::optional<CDaoTransaction> transaction;
    if (m_pSet && m_pSet->IsOpen()) {
        transaction.emplace(GetDocument()->BeginCommand(false));
    }
    pDC->SetMapMode(MM_TWIPS);
    m_nPrintPage = static_cast<int>(pInfo->m_nCurPage);
    const long first = (static_cast<long>(pInfo->m_nCurPage) - 1) * kRecordsPerPage;
    const long end = first + kRecordsPerPage;

    // Made anew for each page: a page stands alone, whichever page the printing starts at.
    CFont font;
    font.CreateFont(kFontHeight, 0, 0, 0, FW_NORMAL, false, false, 0, ANSI_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    FIXED_PITCH | FF_MODERN, QStringLiteral("Courier New"));
    CFont* oldFont = pDC->SelectObject(&font);
    PrintPageHeader(pDC, pInfo);

    TEXTMETRIC metrics;
    pDC->GetTextMetrics(&metrics);
    const int step = std::min(metrics.tmHeight + metrics.tmExternalLeading, kMaxLineStep);

    const bool hasRecords = m_pSet && m_pSet->IsOpen() && m_pSet->GetRecordCount() > 0;
    int y = kFirstRowY;
    // Each row is reached from the first record, never by stepping: page 20,000 costs what
    // page 2 costs.
    for (long i = first; hasRecords && i < end && i < m_pSet->GetRecordCount(); ++i) {
        m_pSet->MoveFirst();
        m_pSet->Move(i);
        LoadRecord();
        pDC->TextOut(kTableX, y,
                     Row(m_Zeitschriftennummer, m_Zeitschriftenname, m_Artikelname, m_Seite));
        y -= step;
    }
    PrintPageFooter(pDC, pInfo);

    if (hasRecords) {
        m_pSet->MoveFirst();
        SetCaption(QStringLiteral("1"));
        LoadRecord();
    }
    if (transaction) {
        transaction->Commit();
    }
    pDC->SelectObject(oldFont);
}

void CPeriolexView::PrintPageHeader(CDC* pDC, CPrintInfo*) {
    pDC->TextOut(0, 0, QStringLiteral("Periolex"));
    pDC->TextOut(kTableX, kHeadingY,
                 Row(QStringLiteral("Nummer"), QStringLiteral("Name"),
                     QStringLiteral("Artikelname"), QStringLiteral("Seite")));
}

void CPeriolexView::PrintPageFooter(CDC* pDC, CPrintInfo* pInfo) {
    pDC->TextOut(0, kFooterY, QStringLiteral("Dokument ") + GetDocument()->GetTitle());
    const QString page = QStringLiteral("Seite %1").arg(pInfo->m_nCurPage);
    pDC->TextOut(kRightEdge - pDC->GetTextExtent(page).cx, kFooterY, page);
}
