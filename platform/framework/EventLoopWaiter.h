#pragma once

#include <DaoWaiter.h>

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QEvent;
class ServerWaitIndicator;

// Waits for the record store with the event loop running: windows repaint, timers fire and the
// wait cursor shows. Nothing the user does can start another command meanwhile: keys typed
// during the wait are held and go to where they were typed once no command waits and no
// question is open, clicks and shortcuts are dropped, and a window stays open. After
// kQuietFor the window says that it waits, and for a command that the user may cancel offers
// "Abbrechen", also by Escape. Whatever runs from a timer meanwhile finds the waiting
// connection busy (see CDaoDatabase::CheckForChanges).
class EventLoopWaiter : public QObject, public DaoWaiter {
public:
    static constexpr std::chrono::milliseconds kQuietFor{1000};

    EventLoopWaiter();
    ~EventLoopWaiter() override;

    bool Wait(int descriptor, bool forWriting, Clock::time_point deadline) override;
    Wake WaitCancellable(int descriptor, bool forWriting, Clock::time_point deadline) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Wake Run(int descriptor, bool forWriting, Clock::time_point deadline, bool offerCancel);
    // Hands the held keys to where they were typed, once no command waits and no question is
    // open any more.
    void ReplayHeldKeys();

    int m_nWaits = 0;
    // The innermost wait's panel and what cancels it; null and empty while there is none.
    QPointer<ServerWaitIndicator> m_indicator;
    std::function<void()> m_cancel;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_held;
    bool m_bReplayPlanned = false;
};
