#pragma once

#include <memory>
#include <string>
#include <vector>

#include "DaoWaiter.h"

struct pg_conn;
struct pg_result;

// A query result that is cleared with its owner.
struct PgResultDeleter {
    void operator()(pg_result* result) const;
};
using PgResult = std::unique_ptr<pg_result, PgResultDeleter>;

// One libpq connection to a database server. Every statement goes out with its values bound
// as parameters, never spliced into its text. Failures throw CDaoException pointers whose
// code is the nearest of DaoErrorCode.h, with the server's message.
class PgConnection {
public:
    // `target` is a libpq connection URI or key=value string. `password`, when not empty, is
    // used for this connection and its reconnections, and kept nowhere else. Throws CantOpen,
    // Auth when the login failed, PasswordNeeded when the server asks for a password that
    // none of libpq's sources gives.
    // `user` and `password`, when given, stand in for what the target or libpq would use.
    explicit PgConnection(const std::string& target, const std::string& password = "",
                          const std::string& user = "");
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    // Runs `sql` with `values` for $1, $2, ...; nullptr values stand for NULL.
    PgResult Run(const std::string& sql, const std::vector<const char*>& values = {});
    PgResult Run(const std::string& sql, const std::vector<std::string>& values);
    // Runs statements that take no values, separated by semicolons, e.g. a schema; the last
    // statement's result.
    PgResult RunScript(const std::string& sql);

    // Holds back `begin`, the start of a read transaction, until a statement needs it: a read
    // command that reads one row by itself needs no transaction on the server, and so costs one
    // round trip instead of three.
    void DeferBegin(std::string begin);
    // As Run, for a statement that is a whole consistent read by itself: when it is the first
    // of a deferred read transaction, it runs alone, and the transaction begins on the server
    // only if another statement follows.
    PgResult RunAlone(const std::string& sql, const std::vector<std::string>& values);
    // Forgets a deferred transaction that never reached the server; true if there was one, which
    // then has nothing to commit.
    bool DropDeferredBegin();
    // The result columns of `sql`, which takes `values` values, without running it.
    PgResult Describe(const std::string& sql, int values);

    // Whether the connection broke: the server stopped, or the network between. Statements
    // then fail with ConnectionLost until a reset succeeds.
    bool IsBroken() const;
    // Connects again as at first, in a new session, without waiting for the server: ResetStart
    // begins (false when that failed at once), and each ResetStep takes it as far as the
    // server's answers allow, reading only what has arrived. While it is Pending the socket has
    // to turn ready for writing (ResetWaitsForWriting) or reading before the next step can go
    // further.
    enum class Progress { Pending, Done, Failed };
    bool ResetStart();
    Progress ResetStep();
    bool ResetWaitsForWriting() const { return m_bResetWaitsForWriting; }

    // Waits through the record store's waiter (see DaoWaiter.h) until the socket is ready for
    // reading (or writing), false when `deadline` came first.
    bool Await(bool forWriting, DaoWaiter::Clock::time_point deadline);
    // Whether something waits for this connection's server now: whatever runs meanwhile must
    // leave the connection alone.
    bool IsWaiting() const { return m_nWaiting > 0; }
    // As Run, but the answer is awaited through Await. A server that does not answer by
    // `deadline` is given up: the connection breaks, and the statement throws ConnectionLost.
    PgResult RunWaiting(const std::string& sql, const std::vector<std::string>& values,
                        DaoWaiter::Clock::time_point deadline);

    // Reads what the server sent meanwhile without waiting, so that a connection that the
    // server ended shows as broken.
    void ReadArrived();

    bool InTransaction() const;
    int BackendPid() const;
    int Socket() const;
    // Reads what the server sent meanwhile and returns whether it notified on `channel`, with
    // `payload`, from a session other than this one.
    bool TakeNotification(const std::string& channel, const std::string& payload);

    // Throws what the server answered to a statement (`result`, or null when the connection
    // itself failed), as the nearest DaoErrorCode with the server's message.
    [[noreturn]] void ThrowFailure(const pg_result* result) const;

    pg_conn* Handle() const { return m_pConn; }

private:
    // Sends the deferred start of the transaction, if one waits.
    void SendDeferredBegin();
    // Throws the failure of a statement's result unless it succeeded.
    PgResult Checked(PgResult result) const;
    // Ends the session without the server's word, so that libpq takes the connection for
    // broken.
    void GiveUp();

    pg_conn* m_pConn = nullptr;
    std::string m_deferredBegin;
    bool m_bResetWaitsForWriting = true;
    int m_nWaiting = 0;
    bool m_bAloneRan = false;  // a statement of the deferred transaction ran alone already
};
