#pragma once

#include <chrono>
#include <string>

#include "DaoChange.h"
#include "DaoWaiter.h"

class PgConnection;

// Makes a server connection that broke (the server stopped, the network dropped) again, and
// keeps what that takes in one place. A command makes it at once and waits for it, through the
// record store's waiter; between commands it goes on bit by bit, never waiting: soon after a
// break at first, then less and less often, so that a server that stays away is not pestered,
// and an attempt that the server never answers is given up after as long as a command would
// wait. A new session listens on the change channel first. Each break is news once: told by the
// change check, or by the command whose failure met it.
class PgReconnect {
public:
    // `listen` is what a new session runs first to hear others' changes.
    PgReconnect(PgConnection& connection, std::string listen);

    // For a command: makes the connection again before `deadline` and returns true, or
    // returns false, the connection still broken. Either way the break is no news any more: the
    // command says whether it failed.
    bool Restore(DaoWaiter::Clock::time_point deadline);
    // Between commands, on a broken connection: takes its making again a step further without
    // waiting. Changed once it stands again (whatever others did meanwhile counts as changed),
    // otherwise Broken the first time a break is seen and not told yet, StillBroken after.
    DaoChange Follow();
    // A command met the broken connection and fails, which tells the user.
    void Told();
    // Changes by others went unheard while the connection was away: true once after a restore.
    bool TakeMissedChanges();
    // Whether an attempt between commands is under way; its socket is then worth watching.
    bool IsAttempting() const { return m_bAttempting; }

    // How long a command waits at most for a connection to be made again.
    static constexpr std::chrono::seconds kConnectWithin{10};

private:
    // Listens again after a new session has begun; false when that failed.
    bool Resumed(DaoWaiter::Clock::time_point deadline);

    PgConnection& m_connection;
    std::string m_listen;
    // A break is under way, and whether it has been told.
    bool m_bBroken = false;
    bool m_bTold = false;
    bool m_bMissedChanges = false;
    bool m_bAttempting = false;
    std::chrono::steady_clock::time_point m_attemptStarted;
    std::chrono::steady_clock::time_point m_nextAttempt;
    std::chrono::seconds m_retryAfter{0};  // grows with every failed attempt
};
