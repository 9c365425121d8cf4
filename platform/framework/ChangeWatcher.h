#pragma once

#include <QObject>
#include <QTimer>

// Asks every open document a few times a second whether someone else changed its file, so that
// windows follow other programs' work. It never interrupts a dialog: while one is open the
// question waits for the next tick.
class ChangeWatcher : public QObject {
public:
    static constexpr int kIntervalMs = 250;

    ChangeWatcher();

private:
    void Check();

    QTimer m_timer;
};
