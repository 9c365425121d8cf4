#pragma once

#include <chrono>
#include <functional>
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
// as parameters, never spliced into its text, and its answer is awaited through the record
// store's waiter (see DaoWaiter.h), never longer than the statement's deadline. Failures throw
// CDaoException pointers whose code is the nearest of DaoErrorCode.h, with the server's message.
class PgConnection {
public:
    // Every session waits for a lock at most kLockTimeout and runs a statement at most
    // kStatementTimeout, unless the target's `options` set either itself. A row that another
    // session keeps locked for seconds is held by a transaction that waits for its user, not by
    // a short write; a statement of the program's own takes milliseconds, and a search over a
    // large catalogue a second or two. The server's answer is awaited kAnswerMargin beyond the
    // statement deadline, for the round trip and the server's own ending of the statement;
    // later, the server or the path to it is taken for dead.
    static constexpr std::chrono::milliseconds kLockTimeout{5000};
    static constexpr std::chrono::milliseconds kStatementTimeout{15000};
    static constexpr std::chrono::milliseconds kAnswerMargin{5000};

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

    // Runs `sql` with `values` for $1, $2, ...; nullptr values stand for NULL. The user may
    // cancel a statement while it waits (see DaoWaiter::WaitCancellable): it then throws
    // Cancelled. Without an answer by AnswerDeadline the connection is given up: it breaks, and
    // the statement throws ConnectionLost.
    PgResult Run(const std::string& sql, const std::vector<const char*>& values = {});
    PgResult Run(const std::string& sql, const std::vector<std::string>& values);
    // Runs statements that take no values, separated by semicolons, e.g. a schema; the last
    // statement's result.
    PgResult RunScript(const std::string& sql);
    // For bulk work inside the current transaction, which may rightly take minutes: its
    // statements run without a deadline on either side until the transaction ends (the user
    // may still cancel them).
    void LiftDeadline();

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
    // Whether the connection broke because the server left a statement unanswered beyond its
    // deadline; until the next ResetStart.
    bool WasGivenUp() const { return m_bGivenUp; }

    // Waits through the record store's waiter (see DaoWaiter.h) until the socket is ready for
    // reading (or writing), false when `deadline` came first.
    bool Await(bool forWriting, DaoWaiter::Clock::time_point deadline);
    // Whether something waits for this connection's server now: whatever runs meanwhile must
    // leave the connection alone.
    bool IsWaiting() const { return m_nWaiting > 0; }
    // As Run, but with `deadline` for the answer instead of the statement's own, and not for the
    // user to cancel: what the connection itself has to ask.
    PgResult RunWaiting(const std::string& sql, const std::vector<std::string>& values,
                        DaoWaiter::Clock::time_point deadline);
    // When an answer to a statement sent now is due at the latest.
    DaoWaiter::Clock::time_point AnswerDeadline();

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
    // Sends a statement with `send` (a PQsend... call) and waits for all of its results until
    // `deadline`, offering the user to cancel when `cancellable`. The first failure, or else the
    // last result.
    PgResult Exchange(const std::function<int()>& send, DaoWaiter::Clock::time_point deadline,
                      bool cancellable);
    // Waits until every result of the statement sent is in; false at the deadline. A cancel
    // that the user asked for is sent to the server, and its answer awaited a little longer.
    bool AwaitResults(DaoWaiter::Clock::time_point& deadline, bool cancellable, bool& cancelled);
    // Asks the server to stop the running statement, without waiting for its word.
    void SendCancel() const;
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
    // How long the answer to a statement may take: the session's statement deadline and the
    // margin; zero for a session whose target asks for no statement deadline.
    std::chrono::milliseconds m_answerWithin{0};
    bool m_bLifted = false;  // the current transaction runs without deadline (LiftDeadline)
    bool m_bGivenUp = false;
};
