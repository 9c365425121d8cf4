#pragma once

#include <chrono>

// How the record store waits for a server: until a descriptor turns ready, or a deadline
// passes. The waiter in use blocks in poll() unless a program installs another; a program with
// windows installs one that keeps its event loop running meanwhile, so that no window freezes
// while the record store waits (see platform/framework).
class DaoWaiter {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~DaoWaiter() = default;

    // Returns true as soon as `descriptor` is ready for reading (for writing with
    // `forWriting`), false once `deadline` has passed first. With a descriptor below 0 it waits
    // for the deadline alone and returns false.
    virtual bool Wait(int descriptor, bool forWriting, Clock::time_point deadline) = 0;

    // How a wait that the user may cut short ended.
    enum class Wake { Ready, Deadline, Cancelled };
    // As Wait, for a command that the user started and may cancel: a waiter with windows offers
    // that once the wait takes longer than a moment. The one that blocks never offers it.
    virtual Wake WaitCancellable(int descriptor, bool forWriting, Clock::time_point deadline) {
        return Wait(descriptor, forWriting, deadline) ? Wake::Ready : Wake::Deadline;
    }

    // The waiter in use.
    static DaoWaiter& Current();
    // Makes `waiter`, which must live until it is replaced, the waiter in use; null puts back
    // the one that blocks.
    static void Install(DaoWaiter* waiter);
};
