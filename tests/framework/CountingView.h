#pragma once

#include <CDC.h>
#include <CMDIChildWnd.h>
#include <CPrintInfo.h>
#include <CView.h>

#include "PdfPages.h"

#include <QLabel>
#include <QStringList>
#include <set>
#include <stdexcept>

// A view that writes down what the print loop and the preview ask of it; each page says
// "Seite N" at the top left corner.
class CountingView : public CView {
public:
    unsigned m_nPages = 3;
    bool m_bPrepare = true;    // false: OnPreparePrinting refuses
    unsigned m_nLastPage = 0;  // OnPrepareDC ends the printing after this page (0: never)
    bool m_bFailOnPrint = false;
    QStringList m_calls;
    std::multiset<unsigned> m_printed;

    void Create(CMDIChildWnd* pFrame) override {
        CView::Create(pFrame);
        auto* widget = new QLabel(QStringLiteral("Dokument"));
        SetViewWidget(widget);
        pFrame->SetView(this, widget, {});
    }
    bool OnPreparePrinting(CPrintInfo* pInfo) override {
        m_calls << QStringLiteral("prepare");
        pInfo->SetMaxPage(m_nPages);
        return m_bPrepare && DoPreparePrinting(pInfo);
    }
    void OnBeginPrinting(CDC*, CPrintInfo*) override { m_calls << QStringLiteral("begin"); }
    void OnPrepareDC(CDC*, CPrintInfo* pInfo) override {
        m_calls << QStringLiteral("dc %1").arg(pInfo->m_nCurPage);
        if (m_nLastPage != 0 && pInfo->m_nCurPage > m_nLastPage) {
            pInfo->m_bContinuePrinting = false;
        }
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override {
        m_calls << QStringLiteral("print %1").arg(pInfo->m_nCurPage);
        m_printed.insert(pInfo->m_nCurPage);
        if (m_bFailOnPrint) {
            throw std::runtime_error("Seite nicht lesbar");
        }
        pDC->SetMapMode(MM_TWIPS);
        pDC->TextOut(0, 0, QStringLiteral("Seite %1").arg(pInfo->m_nCurPage));
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { m_calls << QStringLiteral("end"); }
};
