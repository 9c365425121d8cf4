#include "CPrintInfo.h"

#include <QPrinter>
#include <algorithm>

CPrintInfo::CPrintInfo() = default;
CPrintInfo::~CPrintInfo() = default;

unsigned CPrintInfo::GetFromPage() const {
    if (m_ranges.isEmpty()) {
        return m_nMinPage;
    }
    return std::max(m_nMinPage, static_cast<unsigned>(std::max(1, m_ranges.firstPage())));
}

unsigned CPrintInfo::GetToPage() const {
    if (m_ranges.isEmpty()) {
        return m_nMaxPage;
    }
    return std::min(m_nMaxPage, static_cast<unsigned>(std::max(0, m_ranges.lastPage())));
}

bool CPrintInfo::IsPageChosen(unsigned nPage) const {
    return nPage >= m_nMinPage && nPage <= m_nMaxPage &&
           (m_ranges.isEmpty() || m_ranges.contains(static_cast<int>(nPage)));
}

void CPrintInfo::SetOwnPrinter(std::unique_ptr<QPrinter> printer) {
    m_pOwnPrinter = std::move(printer);
    m_pPrinter = m_pOwnPrinter.get();
}
