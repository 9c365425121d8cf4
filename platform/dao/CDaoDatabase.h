#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DaoEngine.h"

class CDaoRecordset;

// One connection to a catalogue, opened shared, through the engine that keeps it (see
// DaoEngine.h; a local file is an SQLite database, see SqliteEngine.h). The transaction levels
// and the record sets on the connection are kept here, the same for every engine.
class CDaoDatabase {
public:
    CDaoDatabase() = default;
    ~CDaoDatabase();
    CDaoDatabase(const CDaoDatabase&) = delete;
    CDaoDatabase& operator=(const CDaoDatabase&) = delete;

    // `path` is a file, or a server's connection URI (postgresql://...). `connect` may give the
    // server's user name and password as ";UID=user;PWD=password", for a server that asks for a
    // password (PasswordNeeded) and what the user typed. Throws CDaoException when the file is
    // missing, unreadable or not a database, or the server cannot be reached or refuses the login.
    void Open(const std::string& path, bool exclusive = false, bool readOnly = false,
              const std::string& connect = "");
    void Close();

    // Whether `path` names a catalogue on a server, and that server as a user knows it
    // ("server/database"), with the user's name in `user` when the path gives one.
    static bool IsServerPath(const std::string& path);
    static std::string ServerName(const std::string& path, std::string* user = nullptr);
    // The user name that a connection to the server at `path` logs in with by default.
    static std::string ServerUser(const std::string& path);
    // Whether a server's path gives a password itself, however spelt, and the path without it
    // as a connection URI (see PgTarget.h): what may be written, shown or kept.
    static bool HoldsPassword(const std::string& path);
    static std::string WithoutPassword(const std::string& path);

    bool IsOpen() const { return m_pEngine != nullptr; }
    // Runs statements that take no values, separated by semicolons, e.g. a schema; inside the
    // current transaction if one is open.
    void Execute(const std::string& sql);
    // True when the file could only be opened for reading.
    bool IsReadOnly() const;
    // Whether the catalogue has a table of this name, as an SQL text names it.
    bool HasTable(const std::string& table);
    const std::string& GetName() const { return m_strName; }

    // Transactions nest; only the outermost begins and ends the engine's. Reads inside one share
    // one lock and one look at the catalogue instead of taking both per row. A write
    // transaction takes the write lock up front, so a write inside a read transaction is
    // refused.
    void BeginTrans(bool write);
    // Ends this level; the outermost level commits. Throws when the commit fails, which leaves
    // the transaction rolled back.
    void CommitTrans();
    // Rolls the whole transaction back at once, at whatever level; the outer levels then end
    // without effect.
    void Rollback();
    bool InTransaction() const { return m_nDepth > 0; }
    bool InWriteTransaction() const { return m_nDepth > 0 && m_bWrite; }
    // Counts outermost transactions: what was read in one stays true until it ends.
    std::uint64_t TransactionSerial() const { return m_nSerial; }

    // Whether another connection (in any process) committed a change to the catalogue since
    // the last call; the first call after Open compares with the state at Open. Cheap: no table
    // is read. A server's broken connection is reported as Broken once for each break (or not
    // at all when a command's failure told it first), then StillBroken until it stands again.
    DaoChange CheckForChanges();
    // A descriptor to watch for changes by others, or -1 when CheckForChanges is to be polled.
    int ChangeDescriptor() const;

    // The engine behind the connection; null while closed.
    DaoEngine* Engine() const { return m_pEngine.get(); }

private:
    // Open record sets hold prepared statements on the connection; closing the database closes
    // them first, so that none is left pointing at a closed connection.
    friend class CDaoRecordset;
    void AttachRecordset(CDaoRecordset* recordset);
    void DetachRecordset(CDaoRecordset* recordset);
    void EndRecordsetTransactions(bool committed);

    std::unique_ptr<DaoEngine> m_pEngine;
    std::string m_strName;
    int m_nDepth = 0;
    bool m_bWrite = false;
    bool m_bRolledBack = false;
    std::uint64_t m_nSerial = 0;
    std::vector<CDaoRecordset*> m_openRecordsets;
};
