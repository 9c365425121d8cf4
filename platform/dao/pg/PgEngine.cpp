#include "PgEngine.h"

#include <libpq-fe.h>

#include <algorithm>
#include <chrono>
#include <utility>

#include "CDaoException.h"
#include "DaoError.h"
#include "DaoErrorCode.h"
#include "PgAppender.h"
#include "PgCopyOut.h"
#include "PgCursor.h"
#include "PgIdentifier.h"
#include "PgQueryText.h"
#include "PgSelection.h"

namespace {

// Every session of the connection listens on the change channel.
const std::string kListen = std::string("LISTEN ") + PgEngine::kChangeChannel;

}  // namespace

PgEngine::PgEngine(const std::string& target, bool readOnly, const std::string& password,
                   const std::string& user)
    : m_connection(target, password, user),
      m_reconnect(m_connection, kListen),
      m_bReadOnly(readOnly) {
    m_connection.RunScript(kListen);
}

void PgEngine::Restore() {
    if (!m_reconnect.Restore(DaoWaiter::Clock::now() + PgReconnect::kConnectWithin)) {
        ThrowDaoError(DaoErrorCode::kConnectionLost, "The server cannot be reached.");
    }
}

void PgEngine::BeginWrite() {
    // A write locks the rows it compares before it writes, and learns its id in the same round
    // trip, in case the answer to its commit gets lost.
    m_transactionId.clear();
    const PgResult id = m_connection.RunScript("BEGIN; SELECT txid_current()::text");
    m_transactionId = PQgetvalue(id.get(), 0, 0);
    m_transactionSession = m_connection.BackendPid();
}

void PgEngine::Begin(bool write) {
    // A connection that broke, noticed or not yet, or that is being made again bit by bit, is
    // made now: the user asked for this command and waits for it.
    m_connection.ReadArrived();
    if (m_connection.IsBroken()) {
        Restore();
    }
    if (!write) {
        // A read sees one state of the catalogue from its first statement to its end, as a
        // read transaction on a local file does; the server hears of it with that statement.
        m_transactionId.clear();
        m_connection.DeferBegin("BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY");
        return;
    }
    try {
        BeginWrite();
    } catch (CDaoException* e) {
        // The connection broke since the last command, noticed or not: nothing was sent that
        // could have taken effect, so a new session begins. A server that left the command
        // unanswered is not waited for once more: the user has waited long enough, and the
        // reconnection goes on between commands.
        if (e->GetErrorCode() != DaoErrorCode::kConnectionLost) {
            throw;
        }
        if (m_connection.WasGivenUp()) {
            m_reconnect.Told();
            throw;
        }
        e->Delete();
        Restore();
        BeginWrite();
    }
}

void PgEngine::Commit() {
    if (m_connection.DropDeferredBegin()) {
        return;  // the server never saw a transaction
    }
    PgResult result;
    try {
        result = m_connection.Run("COMMIT");
    } catch (CDaoException* e) {
        if (e->GetErrorCode() != DaoErrorCode::kConnectionLost || m_transactionId.empty()) {
            if (m_connection.IsBroken()) {
                m_reconnect.Told();
            }
            throw;
        }
        e->Delete();
        SettleLostCommit();
        return;
    }
    // A transaction that failed earlier ends with ROLLBACK though COMMIT was asked for.
    if (std::string(PQcmdStatus(result.get())) != "COMMIT") {
        Rollback();
        ThrowDaoError(DaoErrorCode::kError, "The transaction was rolled back.");
    }
}

void PgEngine::SettleLostCommit() {
    // However it ends, the failure or the success of the command tells of this break.
    const std::string id = std::exchange(m_transactionId, std::string());
    const auto deadline = DaoWaiter::Clock::now() + PgReconnect::kConnectWithin;
    if (!m_reconnect.Restore(deadline)) {
        ThrowDaoError(DaoErrorCode::kCommitUnknown,
                      "The connection broke during a commit; the server cannot be reached.");
    }
    std::string state;
    try {
        state = CommitState(id, m_transactionSession, deadline + std::chrono::seconds(10));
    } catch (CDaoException* e) {
        // Whatever the server said of the commit, nobody knows now whether it took effect.
        e->Delete();
        m_reconnect.Told();
        ThrowDaoError(DaoErrorCode::kCommitUnknown,
                      "The connection broke during a commit and again while asking about it.");
    }
    if (state == "aborted") {
        ThrowDaoError(DaoErrorCode::kConnectionLost,
                      "The connection broke during a commit, which did not take effect.");
    }
    if (state != "committed") {
        ThrowDaoError(DaoErrorCode::kCommitUnknown,
                      "The connection broke during a commit whose outcome the server cannot tell.");
    }
}

std::string PgEngine::CommitState(const std::string& id, int oldSession,
                                  DaoWaiter::Clock::time_point deadline) {
    // The old session may still be at the commit when the new one asks: a dropped network
    // reaches the server later than the program, if at all. Ended, its transaction is settled
    // one way or the other, and its locks are free. Every wait goes through the waiter, so that
    // a program with windows keeps drawing them meanwhile.
    const auto ask = [&] {
        const PgResult status = m_connection.RunWaiting("SELECT txid_status($1::bigint)",
                                                        std::vector<std::string>{id}, deadline);
        return std::string(PQgetisnull(status.get(), 0, 0) ? "" : PQgetvalue(status.get(), 0, 0));
    };
    std::string state = ask();
    for (int attempt = 0; state == "in progress" && attempt < 50; ++attempt) {
        if (attempt == 10) {
            m_connection.RunWaiting(
                "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE pid = $1"
                " AND backend_xid::text::bigint = $2::bigint % 4294967296",
                std::vector<std::string>{std::to_string(oldSession), id}, deadline);
        }
        DaoWaiter::Current().Wait(-1, false,
                                  DaoWaiter::Clock::now() + std::chrono::milliseconds(100));
        state = ask();
    }
    return state;
}

void PgEngine::Rollback() {
    m_transactionId.clear();
    m_connection.DropDeferredBegin();
    if (m_connection.IsBroken()) {
        // The command that rolls back failed on the break, and its failure tells the user.
        m_reconnect.Told();
        return;
    }
    if (!m_connection.InTransaction()) {
        return;
    }
    try {
        m_connection.RunScript("ROLLBACK");
    } catch (CDaoException* e) {
        // A connection that is gone has no transaction left to end.
        e->Delete();
    }
}

DaoChange PgEngine::CheckForChanges() {
    // Someone waits for this connection's server now (this runs from a timer meanwhile): the
    // connection is theirs until the answer is in.
    if (m_connection.IsWaiting()) {
        return DaoChange::Unchanged;
    }
    if (!m_connection.IsBroken()) {
        if (m_reconnect.TakeMissedChanges()) {
            return DaoChange::Changed;
        }
        const bool notified = m_connection.TakeNotification(kChangeChannel, m_schema);
        if (!m_connection.IsBroken()) {
            return notified ? DaoChange::Changed : DaoChange::Unchanged;
        }
    }
    return m_reconnect.Follow();
}

int PgEngine::ChangeDescriptor() const {
    // A failed attempt may leave its socket open, and readable for ever: nothing to watch.
    return m_connection.IsBroken() && !m_reconnect.IsAttempting() ? -1 : m_connection.Socket();
}

std::unique_ptr<DaoSelection> PgEngine::Select(const std::string& sql,
                                               const std::vector<std::string>& parameters) {
    auto selection = std::make_unique<PgSelection>(m_connection, sql, parameters);
    // Others' changes are those to the table this connection actually opened, wherever its
    // search path found it: a schema named like the role, first on the default path, may exist
    // and hold no catalogue at all.
    if (m_schema.empty()) {
        m_schema = selection->Schema();
    }
    return selection;
}

void PgEngine::Execute(const std::string& sql) {
    m_connection.RunScript(sql);
}

bool PgEngine::HasTable(const std::string& table) {
    const PgResult found = m_connection.Run("SELECT to_regclass($1) IS NOT NULL",
                                            std::vector<std::string>{QuotePgIdentifier(table)});
    return *PQgetvalue(found.get(), 0, 0) == 't';
}

std::unique_ptr<DaoCursor> PgEngine::OpenCursor(const std::string& sql,
                                                const std::vector<std::string>& parameters) {
    return std::make_unique<PgCursor>(m_connection, TranslateForServer(sql, parameters));
}

std::unique_ptr<DaoCursor> PgEngine::OpenStream(const std::string& sql) {
    return std::make_unique<PgCopyOut>(m_connection, TranslateForServer(sql, {}).sql);
}

std::unique_ptr<DaoAppender> PgEngine::OpenAppender(const std::string& table,
                                                    const std::vector<std::string>& columns,
                                                    bool emptyTable) {
    return std::make_unique<PgAppender>(m_connection, table, columns, emptyTable);
}
