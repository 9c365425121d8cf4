#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Statement.h"

class CDaoRecordset;
struct sqlite3;

// One connection to a database file, opened shared. Opening never creates a missing file; a file
// that the user may only read opens read-only, and writes through it fail. Every connection
// waits a few seconds for a lock held by another connection before it reports it as busy, and
// carries the desktop engine's LIKE dialect (see LikeDialect.h).
//
// One thread owns a connection: SQLite's own mutex is left out.
class CDaoDatabase {
public:
    CDaoDatabase() = default;
    ~CDaoDatabase();
    CDaoDatabase(const CDaoDatabase&) = delete;
    CDaoDatabase& operator=(const CDaoDatabase&) = delete;

    // Throws CDaoException when the file is missing, unreadable or not a database.
    void Open(const std::string& path, bool exclusive = false, bool readOnly = false,
              const std::string& connect = "");
    void Close();

    bool IsOpen() const { return m_pDb != nullptr; }
    // True when the file could only be opened for reading.
    bool IsReadOnly() const;
    const std::string& GetName() const { return m_strName; }

    // Transactions nest; only the outermost begins and ends SQLite's. Reads inside one share
    // one lock and one look at the file instead of taking both per row. A write transaction
    // takes the write lock up front (BEGIN IMMEDIATE): a transaction that read first and then
    // wants to write could find another connection waiting for its read lock to go, and SQLite
    // then fails it at once instead of waiting. A write inside a read transaction is refused.
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

    // Whether another connection (in any process) committed a change to the file since the
    // last call; the first call after Open compares with the state at Open. Costs one look at
    // the file header, not a read of any table.
    bool HasChangedElsewhere();

    // The SQLite connection, for the record sets made on this database.
    sqlite3* Handle() const { return m_pDb; }

private:
    // Open record sets hold prepared statements on the connection; closing the database closes
    // them first, so that none is left pointing at a closed connection.
    friend class CDaoRecordset;
    void AttachRecordset(CDaoRecordset* recordset);
    void DetachRecordset(CDaoRecordset* recordset);
    void EndRecordsetTransactions(bool committed);

    // Runs one of the prepared transaction statements; the SQLite result code.
    int Run(const Statement& stmt);
    long long DataVersion();

    sqlite3* m_pDb = nullptr;
    std::string m_strName;
    int m_nDepth = 0;
    bool m_bWrite = false;
    bool m_bRolledBack = false;
    std::uint64_t m_nSerial = 0;
    // Prepared once: a command begins and ends a transaction every time it runs.
    Statement m_begin;
    Statement m_beginImmediate;
    Statement m_commit;
    Statement m_rollback;
    Statement m_dataVersion;
    long long m_nLastDataVersion = 0;
    std::vector<CDaoRecordset*> m_openRecordsets;
};
