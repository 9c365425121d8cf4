#include "CDaoDatabase.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>

#include "CDaoRecordset.h"
#include "LikeDialect.h"
#include "SqliteError.h"

namespace {

constexpr int kBusyTimeoutMs = 5000;

// This SQLite reads "file:" names as URIs, whose options could create the file or change how
// it is opened; a path from the user is always a plain file name.
std::string PlainFileName(const std::string& path) {
    if (path.rfind("file:", 0) == 0) {
        return "./" + path;
    }
    return path;
}

// SQLite would open a pipe or a device like a file and then wait for ever on its first read.
void RequireRegularFile(const std::string& fileName) {
    struct stat info {};
    if (::stat(fileName.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        ThrowDaoError(SQLITE_NOTADB, "Only a regular file can hold a database.");
    }
}

sqlite3* OpenConnection(const std::string& fileName, bool readOnly) {
    int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
#ifdef SQLITE_OPEN_EXRESCODE
    flags |= SQLITE_OPEN_EXRESCODE;
#endif
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(fileName.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK && !readOnly && (rc & 0xFF) == SQLITE_CANTOPEN) {
        // SQLite falls back to reading by itself when the file is write-protected; should that
        // ever not happen, a read-only attempt still never creates anything.
        sqlite3_close_v2(db);
        db = nullptr;
        rc = sqlite3_open_v2(fileName.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    }
    if (rc != SQLITE_OK) {
        ThrowAndCloseConnection(db, rc);
    }
    return db;
}

// SQLite opens any file lazily; reading the schema is what tells a database from another file.
// It only reads, so a file that is no database is left exactly as it was.
void VerifyIsDatabase(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW) {
        ThrowAndCloseConnection(db, rc);
    }
}

}  // namespace

CDaoDatabase::~CDaoDatabase() {
    Close();
}

void CDaoDatabase::Open(const std::string& path, bool /*exclusive*/, bool readOnly,
                        const std::string& /*connect*/) {
    Close();
    if (path.empty()) {
        // SQLite would make a temporary database out of an empty name.
        ThrowDaoError(SQLITE_CANTOPEN, "No database file name was given.");
    }
    RequireRegularFile(path);
    sqlite3* db = OpenConnection(PlainFileName(path), readOnly);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    VerifyIsDatabase(db);
    try {
        InstallLikeDialect(db);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    m_pDb = db;
    m_strName = path;
    try {
        m_begin = PrepareStatement(db, "BEGIN");
        m_beginImmediate = PrepareStatement(db, "BEGIN IMMEDIATE");
        m_commit = PrepareStatement(db, "COMMIT");
        m_rollback = PrepareStatement(db, "ROLLBACK");
        m_dataVersion = PrepareStatement(db, "PRAGMA data_version");
        m_nLastDataVersion = DataVersion();
    } catch (...) {
        Close();
        throw;
    }
}

void CDaoDatabase::Close() {
    // Closing a record set detaches it, so work on a copy of the list.
    const std::vector<CDaoRecordset*> recordsets = m_openRecordsets;
    for (CDaoRecordset* recordset : recordsets) {
        recordset->Close();
    }
    m_openRecordsets.clear();
    for (Statement* stmt : {&m_begin, &m_beginImmediate, &m_commit, &m_rollback, &m_dataVersion}) {
        stmt->reset();
    }
    m_nDepth = 0;
    if (m_pDb != nullptr) {
        sqlite3_close_v2(m_pDb);
        m_pDb = nullptr;
    }
    m_strName.clear();
}

bool CDaoDatabase::IsReadOnly() const {
    return m_pDb != nullptr && sqlite3_db_readonly(m_pDb, "main") == 1;
}

void CDaoDatabase::AttachRecordset(CDaoRecordset* recordset) {
    m_openRecordsets.push_back(recordset);
}

void CDaoDatabase::DetachRecordset(CDaoRecordset* recordset) {
    std::erase(m_openRecordsets, recordset);
}

void CDaoDatabase::EndRecordsetTransactions(bool committed) {
    for (CDaoRecordset* recordset : m_openRecordsets) {
        recordset->EndTransaction(committed);
    }
}

int CDaoDatabase::Run(const Statement& stmt) {
    const int rc = sqlite3_step(stmt.get());
    sqlite3_reset(stmt.get());
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

void CDaoDatabase::BeginTrans(bool write) {
    if (m_pDb == nullptr) {
        ThrowDaoError(SQLITE_MISUSE, "The database is not open.");
    }
    if (m_nDepth > 0) {
        if (write && !m_bWrite && !m_bRolledBack) {
            ThrowDaoError(SQLITE_MISUSE, "A write cannot join a read transaction.");
        }
        ++m_nDepth;
        return;
    }
    if (Run(write ? m_beginImmediate : m_begin) != SQLITE_OK) {
        ThrowSqliteError(m_pDb);
    }
    m_nDepth = 1;
    m_bWrite = write;
    m_bRolledBack = false;
    ++m_nSerial;
    // What the sets changed before is final: writes that went on after a rollback, at an inner
    // level, were committed on their own.
    EndRecordsetTransactions(true);
}

void CDaoDatabase::CommitTrans() {
    if (m_nDepth == 0) {
        ThrowDaoError(SQLITE_MISUSE, "There is no transaction to commit.");
    }
    if (--m_nDepth > 0 || m_bRolledBack) {
        return;
    }
    if (Run(m_commit) != SQLITE_OK) {
        // A commit that failed may leave the transaction open; it must not linger.
        std::string message = sqlite3_errmsg(m_pDb);
        const int code = sqlite3_extended_errcode(m_pDb);
        if (sqlite3_get_autocommit(m_pDb) == 0) {
            Run(m_rollback);
        }
        ++m_nSerial;
        EndRecordsetTransactions(false);
        ThrowDaoError(code, message);
    }
    EndRecordsetTransactions(true);
}

void CDaoDatabase::Rollback() {
    if (m_nDepth == 0) {
        return;
    }
    if (!m_bRolledBack) {
        if (sqlite3_get_autocommit(m_pDb) == 0) {
            Run(m_rollback);
        }
        EndRecordsetTransactions(false);
    }
    // Rows read in the rolled-back transaction may show writes that never happened.
    ++m_nSerial;
    m_bRolledBack = true;
    --m_nDepth;
}

long long CDaoDatabase::DataVersion() {
    sqlite3_stmt* stmt = m_dataVersion.get();
    StatementReset reset(stmt);
    if (sqlite3_step(stmt) != SQLITE_ROW) {
        ThrowSqliteError(m_pDb);
    }
    return sqlite3_column_int64(stmt, 0);
}

bool CDaoDatabase::HasChangedElsewhere() {
    if (m_pDb == nullptr) {
        return false;
    }
    const long long version = DataVersion();
    const bool changed = version != m_nLastDataVersion;
    m_nLastDataVersion = version;
    return changed;
}
