#include "ChangeWatcher.h"

#include <QApplication>
#include <QSocketNotifier>
#include <algorithm>

#include "CDocument.h"
#include "CWinApp.h"

ChangeWatcher::ChangeWatcher() {
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &ChangeWatcher::Check);
    m_timer.start();
}

ChangeWatcher::~ChangeWatcher() = default;

void ChangeWatcher::Check() {
    if (!AfxGetApp()) {
        return;
    }
    WatchDescriptors();
    if (QApplication::activeModalWidget() != nullptr) {
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

void ChangeWatcher::WatchDescriptors() {
    // Each tick watches what the open documents hand out then, whatever they handed out before.
    // A notifier may go while its own signal runs (a message shown from it runs ticks).
    for (auto& [doc, notifier] : m_notifiers) {
        notifier->setEnabled(false);
        notifier.release()->deleteLater();
    }
    m_notifiers.clear();
    for (CDocument* doc : AfxGetApp()->GetDocuments()) {
        const int descriptor = doc->ChangeDescriptor();
        if (descriptor < 0) {
            continue;
        }
        auto& notifier = m_notifiers[doc];
        notifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
        connect(notifier.get(), &QSocketNotifier::activated, this,
                [this, doc] { DescriptorReady(doc); });
    }
}

void ChangeWatcher::DescriptorReady(CDocument* doc) {
    // Until the next tick: the descriptor stays readable until the document has looked, which
    // it may not do now (a command or dialog is running), and would wake the loop again at once.
    if (const auto notifier = m_notifiers.find(doc); notifier != m_notifiers.end()) {
        notifier->second->setEnabled(false);
    }
    const std::vector<CDocument*> docs = AfxGetApp()->GetDocuments();
    if (QApplication::activeModalWidget() != nullptr ||
        std::find(docs.begin(), docs.end(), doc) == docs.end()) {
        return;
    }
    AfxGetApp()->RunGuarded([doc] { doc->CheckForChangesElsewhere(); });
}
