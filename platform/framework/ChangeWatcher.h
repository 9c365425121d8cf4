#pragma once

#include <QObject>
#include <QTimer>
#include <map>
#include <memory>

class CDocument;
class QSocketNotifier;

// Asks every open document a few times a second whether someone else changed its data, so that
// windows follow other programs' work. A document that hands out a change descriptor (a server
// connection's socket) is asked as soon as the descriptor turns readable, not only on the tick;
// each tick watches the descriptors handed out then. It never interrupts a dialog: while one is
// open the question waits for the next tick.
class ChangeWatcher : public QObject {
public:
    static constexpr int kIntervalMs = 250;

    ChangeWatcher();
    ~ChangeWatcher() override;

    // One tick: asks every open document in turn, and stops at the first failure, so that a
    // tick shows one message at most.
    void Check();

private:
    // Watches the descriptors that the open documents hand out now, and only those.
    void WatchDescriptors();
    void DescriptorReady(CDocument* doc);

    QTimer m_timer;
    std::map<CDocument*, std::unique_ptr<QSocketNotifier>> m_notifiers;
};
