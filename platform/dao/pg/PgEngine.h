#pragma once

#include <string>

#include "DaoEngine.h"
#include "PgConnection.h"
#include "PgReconnect.h"

// A catalogue on a PostgreSQL server, reached through libpq by a connection URI
// (postgresql://...) or a key=value string; passwords come from libpq's own sources or from
// the caller, who asked the user. Other programs' commits reach it as notifications on the
// change channel, which the catalogue's table raises by a trigger; the connection's socket turns
// readable when one arrives.
//
// A connection that breaks (the server stopped, the network dropped) is made again by the next
// transaction, and between transactions bit by bit whenever CheckForChanges is asked (see
// PgReconnect.h); what others changed meanwhile counts as changed elsewhere. Nothing is ever
// sent twice: a commit whose answer was lost is looked up by its transaction id once the
// connection stands again. Whatever has to wait for the server meanwhile waits through the
// record store's waiter (see DaoWaiter.h).
class PgEngine : public DaoEngine {
public:
    // The channel that the table's trigger notifies when a statement changed it.
    static constexpr const char* kChangeChannel = "periolex_changes";

    // Throws CDaoException (CantOpen, Auth, PasswordNeeded) when it cannot connect.
    PgEngine(const std::string& target, bool readOnly, const std::string& password = "",
             const std::string& user = "");

    bool IsReadOnly() const override { return m_bReadOnly; }
    void Begin(bool write) override;
    void Commit() override;
    void Rollback() override;
    DaoChange CheckForChanges() override;
    int ChangeDescriptor() const override;
    std::unique_ptr<DaoSelection> Select(const std::string& sql,
                                         const std::vector<std::string>& parameters) override;
    bool HasTable(const std::string& table) override;
    std::unique_ptr<DaoCursor> OpenCursor(const std::string& sql,
                                          const std::vector<std::string>& parameters) override;
    std::unique_ptr<DaoCursor> OpenStream(const std::string& sql) override;
    std::unique_ptr<DaoAppender> OpenAppender(const std::string& table,
                                              const std::vector<std::string>& columns,
                                              bool emptyTable) override;

    void Execute(const std::string& sql) override;

private:
    // Makes a broken connection again for a command; throws ConnectionLost when it cannot.
    void Restore();
    // Begins a write transaction on the server.
    void BeginWrite();
    // After the connection broke during COMMIT: returns when the transaction took effect,
    // throws ConnectionLost when it did not, CommitUnknown when the server cannot say.
    void SettleLostCommit();
    // What the server knows of the transaction `id` of the broken session `oldSession`:
    // "committed", "aborted", or another word or "" when it cannot tell. Waits for the server
    // until `deadline` at most.
    std::string CommitState(const std::string& id, int oldSession,
                            DaoWaiter::Clock::time_point deadline);

    PgConnection m_connection;
    PgReconnect m_reconnect;
    bool m_bReadOnly;
    // The schema of the first table opened as a record set, whose trigger names it; empty until
    // then, when no notification concerns the connection.
    std::string m_schema;
    // The server's id of the open write transaction and its session, to ask after a lost
    // commit (a broken connection no longer knows its session).
    std::string m_transactionId;
    int m_transactionSession = 0;
};
