#include "PgReconnect.h"

#include <algorithm>
#include <utility>

#include "CDaoException.h"
#include "PgConnection.h"

namespace {

constexpr std::chrono::seconds kFirstRetry{2};
constexpr std::chrono::seconds kLastRetry{32};

}  // namespace

PgReconnect::PgReconnect(PgConnection& connection, std::string listen)
    : m_connection(connection), m_listen(std::move(listen)) {}

bool PgReconnect::Resumed(DaoWaiter::Clock::time_point deadline) {
    try {
        m_connection.RunWaiting(m_listen, {}, deadline);
    } catch (CDaoException* e) {
        e->Delete();
        return false;
    }
    m_bBroken = false;
    m_bAttempting = false;
    m_retryAfter = {};
    m_bMissedChanges = true;
    return true;
}

bool PgReconnect::Restore(DaoWaiter::Clock::time_point deadline) {
    Told();
    m_bAttempting = false;
    if (m_connection.ResetStart()) {
        for (;;) {
            const PgConnection::Progress progress = m_connection.ResetStep();
            if (progress == PgConnection::Progress::Done) {
                if (Resumed(deadline)) {
                    return true;
                }
                break;
            }
            if (progress == PgConnection::Progress::Failed ||
                !m_connection.Await(m_connection.ResetWaitsForWriting(), deadline)) {
                break;
            }
        }
    }
    // The next attempt between commands comes after the usual pause.
    m_nextAttempt = std::chrono::steady_clock::now() + std::max(m_retryAfter, kFirstRetry);
    return false;
}

DaoChange PgReconnect::Follow() {
    const auto now = std::chrono::steady_clock::now();
    if (!m_bBroken) {
        // A break nobody has seen yet: news, and worth a first attempt at once.
        m_bBroken = true;
        m_bTold = false;
        m_nextAttempt = now;
    }
    if (!m_bAttempting && now >= m_nextAttempt) {
        m_bAttempting = m_connection.ResetStart();
        m_attemptStarted = now;
        m_retryAfter =
            m_retryAfter.count() == 0 ? kFirstRetry : std::min(2 * m_retryAfter, kLastRetry);
        m_nextAttempt = now + m_retryAfter;
    }
    if (m_bAttempting) {
        switch (m_connection.ResetStep()) {
            case PgConnection::Progress::Done:
                if (Resumed(now + kConnectWithin)) {
                    m_bMissedChanges = false;
                    return DaoChange::Changed;
                }
                m_bAttempting = false;
                break;
            case PgConnection::Progress::Failed:
                m_bAttempting = false;
                break;
            case PgConnection::Progress::Pending:
                m_bAttempting = now - m_attemptStarted < kConnectWithin;
                break;
        }
    }
    if (!std::exchange(m_bTold, true)) {
        return DaoChange::Broken;
    }
    return DaoChange::StillBroken;
}

void PgReconnect::Told() {
    if (!m_bBroken) {
        m_bBroken = true;
        m_nextAttempt = std::chrono::steady_clock::now();
    }
    m_bTold = true;
}

bool PgReconnect::TakeMissedChanges() {
    return std::exchange(m_bMissedChanges, false);
}
