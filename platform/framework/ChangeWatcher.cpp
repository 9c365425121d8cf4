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
    // One notifier for each descriptor that an open document hands out now.
    std::map<CDocument*, std::unique_ptr<QSocketNotifier>> watched;
    for (CDocument* doc : AfxGetApp()->GetDocuments()) {
        const int descriptor = doc->ChangeDescriptor();
        if (descriptor < 0) {
            continue;
        }
        auto& notifier = watched[doc];
        if (const auto kept = m_notifiers.find(doc);
            kept != m_notifiers.end() && kept->second->socket() == descriptor) {
            notifier = std::move(kept->second);
        } else {
            notifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
            connect(notifier.get(), &QSocketNotifier::activated, this,
                    [this, doc] { DescriptorReady(doc); });
        }
        // A descriptor that turned readable since the last tick is looked at now.
        notifier->setEnabled(true);
    }
    // A notifier may go while its own signal runs (a message shown from it runs ticks).
    for (auto& [doc, notifier] : m_notifiers) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier.release()->deleteLater();
        }
    }
    m_notifiers = std::move(watched);
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
