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
    const std::vector<CDocument*> docs = AfxGetApp()->GetDocuments();
    std::erase_if(m_notifiers, [&](const auto& entry) {
        const bool open = std::find(docs.begin(), docs.end(), entry.first) != docs.end();
        return !open || entry.second->socket() != entry.first->ChangeDescriptor();
    });
    for (CDocument* doc : docs) {
        const int descriptor = doc->ChangeDescriptor();
        if (descriptor < 0) {
            continue;
        }
        auto& notifier = m_notifiers[doc];
        if (!notifier) {
            notifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
            connect(notifier.get(), &QSocketNotifier::activated, this,
                    [this, doc] { DescriptorReady(doc); });
        }
        // A descriptor that turned readable while a dialog was open is looked at now.
        notifier->setEnabled(true);
    }
}

void ChangeWatcher::DescriptorReady(CDocument* doc) {
    // Until the next tick: a document that cannot look now (a command or dialog is running)
    // leaves the descriptor readable, which would otherwise wake the loop again at once.
    m_notifiers[doc]->setEnabled(false);
    CWinApp* app = AfxGetApp();
    const std::vector<CDocument*> docs = app->GetDocuments();
    if (QApplication::activeModalWidget() != nullptr ||
        std::find(docs.begin(), docs.end(), doc) == docs.end()) {
        return;
    }
    app->RunGuarded([doc] { doc->CheckForChangesElsewhere(); });
    // A message shown meanwhile ran ticks, which drop the notifier of a connection that broke.
    const auto notifier = m_notifiers.find(doc);
    if (notifier != m_notifiers.end() && doc->ChangeDescriptor() == notifier->second->socket()) {
        notifier->second->setEnabled(true);
    }
}
