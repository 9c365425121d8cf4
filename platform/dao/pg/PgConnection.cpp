#include "PgConnection.h"

#include <libpq-fe.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "DaoError.h"
#include "DaoErrorCode.h"

namespace {

// The class of the server's error code (SQLSTATE) tells what happened well enough for the
// user; the message says the rest.
int CodeOfState(const char* state) {
    if (state == nullptr || std::strlen(state) != 5) {
        return DaoErrorCode::kIoError;  // no answer from the server at all
    }
    const std::string sqlState(state);
    if (sqlState == "25006" || sqlState == "42501") {
        return DaoErrorCode::kReadOnly;
    }
    if (sqlState == "55P03") {
        return DaoErrorCode::kLocked;
    }
    if (sqlState == "57014") {
        return DaoErrorCode::kServerTooSlow;
    }
    if (sqlState == "40001" || sqlState == "40P01") {
        return DaoErrorCode::kBusy;
    }
    if (sqlState.rfind("08", 0) == 0 || sqlState.rfind("57P", 0) == 0) {
        return DaoErrorCode::kIoError;
    }
    if (sqlState.rfind("28", 0) == 0) {
        return DaoErrorCode::kAuth;
    }
    return DaoErrorCode::kError;
}

// libpq tells a failed connection only in words; its English words name the usual causes. In
// another language of libpq's the cause stays general, and its words are the details.
int CodeOfConnectFailure(const std::string& message) {
    const auto says = [&](const char* words) { return message.find(words) != std::string::npos; };
    if (says("authentication")) {
        return DaoErrorCode::kAuth;
    }
    if (says("certificate")) {
        return DaoErrorCode::kCertificate;
    }
    if (says("could not translate host name")) {
        return DaoErrorCode::kUnknownHost;
    }
    if (says("timeout expired") || says("timed out")) {
        return DaoErrorCode::kTimeout;
    }
    if (says("Connection refused") || says("No such file or directory")) {
        return DaoErrorCode::kRefused;
    }
    return DaoErrorCode::kCantOpen;
}

// The server options of `target` (or of PGOPTIONS, which libpq reads when the target gives none)
// with the program's lock and statement deadlines added where they set none themselves; empty
// when they set both, so that the target's own stand.
std::string OptionsWithDeadlines(const std::string& target, bool& ownStatementDeadline) {
    std::string options;
    bool given = false;
    if (PQconninfoOption* parsed = PQconninfoParse(target.c_str(), nullptr)) {
        for (const PQconninfoOption* option = parsed; option->keyword != nullptr; ++option) {
            if (std::strcmp(option->keyword, "options") == 0 && option->val != nullptr) {
                options = option->val;
                given = true;
            }
        }
        PQconninfoFree(parsed);
    }
    if (!given) {
        const char* environment = std::getenv("PGOPTIONS");
        options = environment != nullptr ? environment : "";
    }
    // The server takes a setting's name with dashes as well as with underscores.
    std::string names = options;
    std::transform(names.begin(), names.end(), names.begin(), [](unsigned char c) {
        return c == '-' ? '_' : static_cast<char>(std::tolower(c));
    });
    const bool ownLock = names.find("lock_timeout") != std::string::npos;
    ownStatementDeadline = names.find("statement_timeout") != std::string::npos;
    if (ownLock && ownStatementDeadline) {
        return {};
    }
    if (!ownLock) {
        options += " -c lock_timeout=" + std::to_string(PgConnection::kLockTimeout.count());
    }
    if (!ownStatementDeadline) {
        options +=
            " -c statement_timeout=" + std::to_string(PgConnection::kStatementTimeout.count());
    }
    return options;
}

// When a connection attempt gives up: after its connect_timeout, as libpq's waiting connect
// would, which takes less than 2 seconds for 2 and 0 for no limit.
DaoWaiter::Clock::time_point ConnectDeadline(pg_conn* connection) {
    long seconds = 0;
    if (PQconninfoOption* options = PQconninfo(connection)) {
        for (const PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
            if (std::strcmp(option->keyword, "connect_timeout") == 0 && option->val != nullptr) {
                seconds = std::atol(option->val);
            }
        }
        PQconninfoFree(options);
    }
    if (seconds <= 0) {
        return DaoWaiter::Clock::time_point::max();
    }
    return DaoWaiter::Clock::now() + std::chrono::seconds(std::max(seconds, 2L));
}

std::string Trimmed(const char* message) {
    std::string text = message != nullptr ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

}  // namespace

void PgResultDeleter::operator()(pg_result* result) const {
    PQclear(result);
}

PgConnection::PgConnection(const std::string& target, const std::string& password,
                           const std::string& user) {
    // The target is expanded as a URI or key=value string, and overrides the defaults before
    // it. They keep a dead server or network from holding the program for minutes: a connection
    // attempt ends after 10 seconds, and a connection whose peer stopped answering is found out
    // within about as long. Text goes both ways as UTF-8, whatever the server's or the user's
    // locale. A password given here stands beside the target, so that it never has to be
    // spliced into a connection string. The server options follow the target, whose own
    // options they repeat, with the deadlines that it does not set itself.
    bool ownStatementDeadline = false;
    const std::string options = OptionsWithDeadlines(target, ownStatementDeadline);
    const char* const keywords[] = {"connect_timeout",
                                    "keepalives_idle",
                                    "keepalives_interval",
                                    "keepalives_count",
                                    "tcp_user_timeout",
                                    "dbname",
                                    "client_encoding",
                                    "user",
                                    "password",
                                    "options",
                                    nullptr};
    // An empty value counts as not given.
    const char* const values[] = {"10",
                                  "5",
                                  "2",
                                  "3",
                                  "10000",
                                  target.c_str(),
                                  "UTF8",
                                  user.c_str(),
                                  password.c_str(),
                                  options.c_str(),
                                  nullptr};
    // Connecting waits through the waiter as every statement does; libpq's own wait would hold
    // the windows for as long as connect_timeout.
    m_pConn = PQconnectStartParams(keywords, values, 1);
    if (m_pConn == nullptr) {
        ThrowDaoError(DaoErrorCode::kCantOpen, "Out of memory.");
    }
    const auto deadline = ConnectDeadline(m_pConn);
    PostgresPollingStatusType polled =
        PQstatus(m_pConn) == CONNECTION_BAD ? PGRES_POLLING_FAILED : PGRES_POLLING_WRITING;
    bool intime = true;
    while (polled != PGRES_POLLING_OK && polled != PGRES_POLLING_FAILED &&
           (intime = DaoWaiter::Current().Wait(PQsocket(m_pConn), polled == PGRES_POLLING_WRITING,
                                               deadline))) {
        polled = PQconnectPoll(m_pConn);
    }
    if (polled != PGRES_POLLING_OK) {
        const std::string message =
            intime ? Trimmed(PQerrorMessage(m_pConn)) : "timeout expired while connecting";
        const int code = PQconnectionNeedsPassword(m_pConn) != 0 ? DaoErrorCode::kPasswordNeeded
                         : intime                                ? CodeOfConnectFailure(message)
                                                                 : DaoErrorCode::kTimeout;
        PQfinish(m_pConn);
        m_pConn = nullptr;
        ThrowDaoError(code, message);
    }
    m_answerWithin = kStatementTimeout + kAnswerMargin;
    if (ownStatementDeadline) {
        // The target's deadline, in whatever unit it was given, as the server took it.
        try {
            const PgResult setting =
                Run("SELECT setting::bigint FROM pg_settings WHERE name = 'statement_timeout'");
            const long long milliseconds = std::atoll(PQgetvalue(setting.get(), 0, 0));
            m_answerWithin = milliseconds > 0
                                 ? std::chrono::milliseconds(milliseconds) + kAnswerMargin
                                 : std::chrono::milliseconds(0);
        } catch (...) {
            PQfinish(m_pConn);
            m_pConn = nullptr;
            throw;
        }
    }
}

bool PgConnection::IsBroken() const {
    return PQstatus(m_pConn) != CONNECTION_OK;
}

bool PgConnection::ResetStart() {
    // Started, the connection waits to write, as libpq's asynchronous connecting begins.
    m_bResetWaitsForWriting = true;
    m_bGivenUp = false;
    return PQresetStart(m_pConn) != 0;
}

PgConnection::Progress PgConnection::ResetStep() {
    // libpq's next step may only come when the socket is ready for it: asked earlier, it would
    // take a connection that is still under way for a failed one.
    pollfd socket{PQsocket(m_pConn), static_cast<short>(m_bResetWaitsForWriting ? POLLOUT : POLLIN),
                  0};
    if (socket.fd < 0) {
        return Progress::Failed;
    }
    if (poll(&socket, 1, 0) <= 0) {
        return Progress::Pending;
    }
    switch (PQresetPoll(m_pConn)) {
        case PGRES_POLLING_OK:
            return Progress::Done;
        case PGRES_POLLING_FAILED:
            return Progress::Failed;
        case PGRES_POLLING_READING:
            m_bResetWaitsForWriting = false;
            return Progress::Pending;
        default:
            m_bResetWaitsForWriting = true;
            return Progress::Pending;
    }
}

bool PgConnection::Await(bool forWriting, DaoWaiter::Clock::time_point deadline) {
    ++m_nWaiting;
    try {
        const bool ready = DaoWaiter::Current().Wait(PQsocket(m_pConn), forWriting, deadline);
        --m_nWaiting;
        return ready;
    } catch (...) {
        --m_nWaiting;
        throw;
    }
}

PgResult PgConnection::RunWaiting(const std::string& sql, const std::vector<std::string>& values,
                                  DaoWaiter::Clock::time_point deadline) {
    SendDeferredBegin();
    std::vector<const char*> pointers;
    pointers.reserve(values.size());
    for (const std::string& value : values) {
        pointers.push_back(value.c_str());
    }
    return Exchange(
        [&] {
            return PQsendQueryParams(m_pConn, sql.c_str(), static_cast<int>(pointers.size()),
                                     nullptr, pointers.data(), nullptr, nullptr, 0);
        },
        deadline, false);
}

DaoWaiter::Clock::time_point PgConnection::AnswerDeadline() {
    if (m_bLifted && !InTransaction()) {
        m_bLifted = false;
    }
    if (m_bLifted || m_answerWithin.count() == 0) {
        return DaoWaiter::Clock::time_point::max();
    }
    return DaoWaiter::Clock::now() + m_answerWithin;
}

void PgConnection::LiftDeadline() {
    RunScript("SET LOCAL statement_timeout = 0");
    m_bLifted = true;
}

namespace {

// Keeps the connection non-blocking and counted as waiting for as long as it lives.
class ExchangeScope {
public:
    ExchangeScope(pg_conn* connection, int& waiting) : m_pConn(connection), m_nWaiting(waiting) {
        ++m_nWaiting;
    }
    ~ExchangeScope() {
        PQsetnonblocking(m_pConn, 0);
        --m_nWaiting;
    }
    ExchangeScope(const ExchangeScope&) = delete;
    ExchangeScope& operator=(const ExchangeScope&) = delete;

private:
    pg_conn* m_pConn;
    int& m_nWaiting;
};

bool Succeeded(const PGresult* result) {
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

// How long a server may take to answer a cancel before it counts as gone.
constexpr std::chrono::seconds kCancelAnsweredWithin{3};

}  // namespace

PgResult PgConnection::Exchange(const std::function<int()>& send,
                                DaoWaiter::Clock::time_point deadline, bool cancellable) {
    PgResult kept;
    bool cancelled = false;
    bool answered = true;
    {
        ExchangeScope scope(m_pConn, m_nWaiting);
        if (PQsetnonblocking(m_pConn, 1) != 0 || send() == 0) {
            ThrowFailure(nullptr);
        }
        while ((answered = AwaitResults(deadline, cancellable, cancelled))) {
            PGresult* next = PQgetResult(m_pConn);
            if (next == nullptr) {
                break;
            }
            if (!kept || Succeeded(kept.get())) {
                kept.reset(next);
            } else {
                PQclear(next);
            }
        }
    }
    if (!answered) {
        GiveUp();
        m_bGivenUp = true;
        ThrowDaoError(DaoErrorCode::kConnectionLost, "The server did not answer in time.");
    }
    if (!kept) {
        ThrowFailure(nullptr);
    }
    if (cancelled && !Succeeded(kept.get()) && !IsBroken()) {
        const char* state = PQresultErrorField(kept.get(), PG_DIAG_SQLSTATE);
        if (state != nullptr && std::strcmp(state, "57014") == 0) {
            ThrowDaoError(DaoErrorCode::kCancelled, Trimmed(PQresultErrorMessage(kept.get())));
        }
    }
    return Checked(std::move(kept));
}

bool PgConnection::AwaitResults(DaoWaiter::Clock::time_point& deadline, bool cancellable,
                                bool& cancelled) {
    for (;;) {
        // Sending may have to wait for room on the socket, the answer for the server. A failure
        // of either shows in the result that PQgetResult makes of it.
        const int flushed = PQflush(m_pConn);
        if (flushed < 0) {
            return true;
        }
        const bool sending = flushed == 1;
        if (!sending && (PQconsumeInput(m_pConn) == 0 || PQisBusy(m_pConn) == 0)) {
            return true;
        }
        DaoWaiter& waiter = DaoWaiter::Current();
        const int socket = PQsocket(m_pConn);
        const DaoWaiter::Wake wake =
            cancellable && !cancelled
                ? waiter.WaitCancellable(socket, sending, deadline)
                : (waiter.Wait(socket, sending, deadline) ? DaoWaiter::Wake::Ready
                                                          : DaoWaiter::Wake::Deadline);
        if (wake == DaoWaiter::Wake::Deadline) {
            return false;
        }
        if (wake == DaoWaiter::Wake::Cancelled) {
            cancelled = true;
            SendCancel();
            deadline = std::min(deadline, DaoWaiter::Clock::now() + kCancelAnsweredWithin);
        }
    }
}

void PgConnection::SendCancel() const {
    // libpq's cancel connects to the server and waits for it to hang up: on a server that no
    // longer answers, that would hold whoever sent it. The cancel object is made for use from
    // another thread.
    PGcancel* cancel = PQgetCancel(m_pConn);
    if (cancel == nullptr) {
        return;
    }
    std::thread([cancel] {
        // libpq sends the cancel without MSG_NOSIGNAL: a server that hung up meanwhile must not
        // end the program with a SIGPIPE. The signal is directed at this thread and goes with it.
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
        char error[256];
        PQcancel(cancel, error, sizeof error);
        PQfreeCancel(cancel);
    }).detach();
}

void PgConnection::GiveUp() {
    // libpq finds the end of its socket at its next read and marks the connection broken.
    shutdown(PQsocket(m_pConn), SHUT_RDWR);
    PQconsumeInput(m_pConn);
    while (PGresult* rest = PQgetResult(m_pConn)) {
        PQclear(rest);
    }
}

PgConnection::~PgConnection() {
    PQfinish(m_pConn);
}

void PgConnection::DeferBegin(std::string begin) {
    m_deferredBegin = std::move(begin);
    m_bAloneRan = false;
}

bool PgConnection::DropDeferredBegin() {
    const bool deferred = !m_deferredBegin.empty();
    m_deferredBegin.clear();
    return deferred;
}

void PgConnection::SendDeferredBegin() {
    if (!m_deferredBegin.empty()) {
        const std::string begin = std::exchange(m_deferredBegin, std::string());
        RunScript(begin);
    }
}

PgResult PgConnection::RunAlone(const std::string& sql, const std::vector<std::string>& values) {
    if (m_deferredBegin.empty() || m_bAloneRan) {
        return Run(sql, values);
    }
    // Statements after this one must see the catalogue as it is then, whatever this one saw:
    // the transaction begins before the next.
    m_bAloneRan = true;
    std::string begin = std::exchange(m_deferredBegin, std::string());
    try {
        PgResult result = Run(sql, values);
        m_deferredBegin = std::move(begin);
        return result;
    } catch (...) {
        m_deferredBegin = std::move(begin);
        throw;
    }
}

PgResult PgConnection::Run(const std::string& sql, const std::vector<const char*>& values) {
    SendDeferredBegin();
    return Exchange(
        [&] {
            return PQsendQueryParams(m_pConn, sql.c_str(), static_cast<int>(values.size()), nullptr,
                                     values.data(), nullptr, nullptr, 0);
        },
        AnswerDeadline(), true);
}

PgResult PgConnection::Checked(PgResult result) const {
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        ThrowFailure(result.get());
    }
    return result;
}

PgResult PgConnection::Run(const std::string& sql, const std::vector<std::string>& values) {
    std::vector<const char*> pointers;
    pointers.reserve(values.size());
    for (const std::string& value : values) {
        pointers.push_back(value.c_str());
    }
    return Run(sql, pointers);
}

PgResult PgConnection::RunScript(const std::string& sql) {
    SendDeferredBegin();
    return Exchange([&] { return PQsendQuery(m_pConn, sql.c_str()); }, AnswerDeadline(), true);
}

PgResult PgConnection::Describe(const std::string& sql, int values) {
    SendDeferredBegin();
    Exchange([&] { return PQsendPrepare(m_pConn, "", sql.c_str(), values, nullptr); },
             AnswerDeadline(), true);
    return Exchange([&] { return PQsendDescribePrepared(m_pConn, ""); }, AnswerDeadline(), true);
}

void PgConnection::ThrowFailure(const pg_result* result) const {
    const char* state = result != nullptr ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const std::string message =
        Trimmed(result != nullptr ? PQresultErrorMessage(result) : PQerrorMessage(m_pConn));
    // Whatever the statement's own error, a broken connection is what the user has to know.
    const int code = IsBroken() ? DaoErrorCode::kConnectionLost : CodeOfState(state);
    ThrowDaoError(code, message.empty() ? Trimmed(PQerrorMessage(m_pConn)) : message);
}

void PgConnection::ReadArrived() {
    if (!IsBroken()) {
        PQconsumeInput(m_pConn);
    }
}

bool PgConnection::InTransaction() const {
    return PQtransactionStatus(m_pConn) != PQTRANS_IDLE;
}

int PgConnection::BackendPid() const {
    return PQbackendPID(m_pConn);
}

int PgConnection::Socket() const {
    return PQsocket(m_pConn);
}

bool PgConnection::TakeNotification(const std::string& channel, const std::string& payload) {
    bool notified = false;
    ReadArrived();
    while (PGnotify* notify = PQnotifies(m_pConn)) {
        if (notify->be_pid != PQbackendPID(m_pConn) && channel == notify->relname &&
            payload == notify->extra) {
            notified = true;
        }
        PQfreemem(notify);
    }
    return notified;
}
