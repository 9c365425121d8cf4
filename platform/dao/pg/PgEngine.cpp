#include "PgEngine.h"

#include <libpq-fe.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include "CDaoException.h"
#include "DaoError.h"
#include "DaoErrorCode.h"
#include "PgAppender.h"
#include "PgCursor.h"
#include "PgIdentifier.h"
#include "PgQueryText.h"
#include "PgSelection.h"

bool PgEngine::IsServerTarget(const std::string& path) {
    if (path.rfind("postgresql://", 0) == 0 || path.rfind("postgres://", 0) == 0) {
        return true;
    }
    // Only libpq's own keywords parse: a file name, even one with "=" in it, does not.
    if (path.find('=') == std::string::npos) {
        return false;
    }
    PQconninfoOption* options = PQconninfoParse(path.c_str(), nullptr);
    const bool parsed = options != nullptr;
    PQconninfoFree(options);
    return parsed;
}

std::string PgEngine::ServerName(const std::string& target) {
    PQconninfoOption* options = PQconninfoParse(target.c_str(), nullptr);
    if (options == nullptr) {
        return target;
    }
    std::string host;
    std::string port;
    std::string database;
    std::string service;
    for (PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
        const std::string keyword = option->keyword;
        const std::string value = option->val != nullptr ? option->val : "";
        if (keyword == "host") {
            host = value;
        } else if (keyword == "port") {
            port = value;
        } else if (keyword == "dbname") {
            database = value;
        } else if (keyword == "service") {
            service = value;
        }
    }
    PQconninfoFree(options);
    if (host.empty() && !service.empty()) {
        return service;
    }
    std::string name = host.empty() || host.front() == '/' ? "localhost" : host;
    if (!port.empty()) {
        name += ":" + port;
    }
    return database.empty() ? name : name + "/" + database;
}

PgEngine::PgEngine(const std::string& target, bool readOnly, const std::string& password)
    : m_connection(target, password), m_bReadOnly(readOnly) {
    Listen();
    const PgResult schema = m_connection.Run("SELECT coalesce(current_schema(), '')");
    m_schema = PQgetvalue(schema.get(), 0, 0);
}

void PgEngine::Listen() {
    m_connection.RunScript(std::string("LISTEN ") + kChangeChannel);
}

void PgEngine::Reconnect() {
    m_bReconnecting = false;
    m_retryAfter = {};
    if (!m_connection.Reconnect()) {
        ThrowDaoError(DaoErrorCode::kConnectionLost, "The server cannot be reached.");
    }
    Listen();
    m_bMissedChanges = true;
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
        Reconnect();
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
        // could have taken effect, so a new session begins.
        if (e->GetErrorCode() != DaoErrorCode::kConnectionLost) {
            throw;
        }
        e->Delete();
        Reconnect();
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
    const std::string id = std::exchange(m_transactionId, std::string());
    if (!m_connection.Reconnect()) {
        ThrowDaoError(DaoErrorCode::kCommitUnknown,
                      "The connection broke during a commit; the server cannot be reached.");
    }
    m_bMissedChanges = true;
    std::string state;
    try {
        Listen();
        state = CommitState(id, m_transactionSession);
    } catch (CDaoException* e) {
        // Whatever the server said of the commit, nobody knows now whether it took effect.
        e->Delete();
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

std::string PgEngine::CommitState(const std::string& id, int oldSession) {
    // The old session may still be at the commit when the new one asks: a dropped network
    // reaches the server later than the program, if at all. Ended, its transaction is settled
    // one way or the other, and its locks are free.
    const auto ask = [&] {
        const PgResult status =
            m_connection.Run("SELECT txid_status($1::bigint)", std::vector<std::string>{id});
        return std::string(PQgetisnull(status.get(), 0, 0) ? "" : PQgetvalue(status.get(), 0, 0));
    };
    std::string state = ask();
    for (int attempt = 0; state == "in progress" && attempt < 50; ++attempt) {
        if (attempt == 10) {
            m_connection.Run(
                "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE pid = $1"
                " AND backend_xid::text::bigint = $2::bigint % 4294967296",
                std::vector<std::string>{std::to_string(oldSession), id});
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        state = ask();
    }
    return state;
}

void PgEngine::Rollback() {
    m_transactionId.clear();
    m_connection.DropDeferredBegin();
    if (m_connection.IsBroken() || !m_connection.InTransaction()) {
        return;
    }
    try {
        m_connection.RunScript("ROLLBACK");
    } catch (CDaoException* e) {
        // A connection that is gone has no transaction left to end.
        e->Delete();
    }
}

bool PgEngine::HasChangedElsewhere() {
    if (m_connection.IsBroken()) {
        return FollowReconnection();
    }
    if (std::exchange(m_bMissedChanges, false)) {
        return true;
    }
    const bool notified = m_connection.TakeNotification(kChangeChannel, m_schema);
    if (m_connection.IsBroken()) {
        m_nextReconnect = std::chrono::steady_clock::now();
        ThrowDaoError(DaoErrorCode::kConnectionLost, "The connection to the server broke.");
    }
    return notified;
}

bool PgEngine::FollowReconnection() {
    // Soon after the server is back at first, then less and less often, so that a server that
    // stays away is not pestered, nor the program held up by looking up its name each time. An
    // attempt that the server never answers is given up after as long as a blocking one.
    constexpr std::chrono::seconds kFirstRetry{2};
    constexpr std::chrono::seconds kLastRetry{32};
    constexpr std::chrono::seconds kGiveUp{10};
    const auto now = std::chrono::steady_clock::now();
    if (!m_bReconnecting && now >= m_nextReconnect) {
        m_bReconnecting = m_connection.ReconnectStart();
        m_reconnectStarted = now;
        m_retryAfter =
            m_retryAfter.count() == 0 ? kFirstRetry : std::min(2 * m_retryAfter, kLastRetry);
        m_nextReconnect = now + m_retryAfter;
    }
    if (m_bReconnecting) {
        switch (m_connection.ReconnectStep()) {
            case PgConnection::Progress::Done:
                m_bReconnecting = false;
                m_retryAfter = {};
                Listen();
                m_bMissedChanges = false;
                return true;  // whatever others did meanwhile
            case PgConnection::Progress::Failed:
                m_bReconnecting = false;
                break;
            case PgConnection::Progress::Pending:
                m_bReconnecting = now - m_reconnectStarted < kGiveUp;
                break;
        }
    }
    ThrowDaoError(DaoErrorCode::kConnectionLost, "The connection to the server is broken.");
}

int PgEngine::ChangeDescriptor() const {
    // A failed attempt may leave its socket open, and readable for ever: nothing to watch.
    return m_connection.IsBroken() && !m_bReconnecting ? -1 : m_connection.Socket();
}

std::unique_ptr<DaoSelection> PgEngine::Select(const std::string& sql,
                                               const std::vector<std::string>& parameters) {
    return std::make_unique<PgSelection>(m_connection, sql, parameters);
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

std::unique_ptr<DaoAppender> PgEngine::OpenAppender(const std::string& table,
                                                    const std::vector<std::string>& columns,
                                                    bool emptyTable) {
    return std::make_unique<PgAppender>(m_connection, table, columns, emptyTable);
}
