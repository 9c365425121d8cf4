#include "CCmdTarget.h"

#include <QApplication>
#include <QCursor>

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP map{nullptr, nullptr, 0};
    return &map;
}

bool CCmdTarget::OnCmdMsg(unsigned nID, CmdAction action) {
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pBaseMap) {
        for (std::size_t i = 0; i < map->count; ++i) {
            const AFX_MSGMAP_ENTRY& e = map->entries[i];
            if (nID < e.nID || nID > e.nLastID) {
                continue;
            }
            if (action == CmdAction::Execute) {
                if (e.pfn) {
                    (this->*e.pfn)();
                } else {
                    (this->*e.pfnRange)(nID);
                }
            }
            return true;
        }
    }
    return false;
}

void CCmdTarget::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CCmdTarget::EndWaitCursor() {
    QApplication::restoreOverrideCursor();
}
