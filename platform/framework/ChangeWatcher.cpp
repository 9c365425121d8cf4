#include "ChangeWatcher.h"

#include <QApplication>

#include "CDocument.h"
#include "CWinApp.h"

ChangeWatcher::ChangeWatcher() {
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &ChangeWatcher::Check);
    m_timer.start();
}

void ChangeWatcher::Check() {
    if (QApplication::activeModalWidget() != nullptr || !AfxGetApp()) {
        return;
    }
    CWinApp* app = AfxGetApp();
    for (CDocument* doc : app->GetDocuments()) {
        // After a failure the others wait for the next tick: one tick, at most one message.
        if (!app->RunGuarded([doc] { doc->CheckForChangesElsewhere(); })) {
            return;
        }
    }
}
