#pragma once

#include <DaoWaiter.h>

// Waits for the record store with the event loop running: windows repaint, timers fire and the
// wait cursor shows, while the user's keys and clicks wait until the record store has its
// answer, so that nothing the user does can start another command meanwhile. Whatever runs from
// a timer meanwhile finds the waiting connection busy (see CDaoDatabase::CheckForChanges).
class EventLoopWaiter : public DaoWaiter {
public:
    bool Wait(int descriptor, bool forWriting, Clock::time_point deadline) override;
};
