#include "CStatusBar.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include "AfxRes.h"
#include "CMDIFrameWnd.h"
#include "ResourceLookup.h"

bool CStatusBar::Create(CMDIFrameWnd* pParent, unsigned, unsigned nID) {
    m_pBar = new QStatusBar(pParent->MainWindow());
    pParent->MainWindow()->setStatusBar(m_pBar);
    pParent->RegisterControlBar(nID, m_pBar);
    return true;
}

bool CStatusBar::SetIndicators(const unsigned* lpIDArray, int nIDCount) {
    for (int i = 0; i < nIDCount; ++i) {
        const unsigned id = lpIDArray[i];
        auto* pane = new QLabel(m_pBar);
        if (id == ID_SEPARATOR) {
            // While a prompt shows, Qt hides this pane and shows the prompt in its place.
            pane->setText(AfxLoadString(AFX_IDS_IDLEMESSAGE));
            m_pBar->addWidget(pane, 1);
        } else {
            const QString text = AfxLoadString(id);
            if (text.isEmpty()) {
                return false;
            }
            pane->setFrameShape(QFrame::Panel);
            pane->setFrameShadow(QFrame::Sunken);
            pane->setAlignment(Qt::AlignCenter);
            pane->setMinimumWidth(
                pane->fontMetrics().horizontalAdvance(text + QStringLiteral("  ")));
            m_pBar->addPermanentWidget(pane);
        }
        m_ids.push_back(id);
        m_panes.push_back(pane);
    }
    return true;
}

QLabel* CStatusBar::Pane(int index) const {
    return index >= 0 && index < static_cast<int>(m_panes.size()) ? m_panes[index] : nullptr;
}

void CStatusBar::SetIndicatorOn(int index, bool on) {
    if (QLabel* pane = Pane(index)) {
        pane->setText(on ? AfxLoadString(m_ids[index]) : QString());
    }
}
