#include "SqliteEngine.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "DaoErrorCode.h"
#include "SqliteAppender.h"
#include "SqliteCursor.h"
#include "SqliteError.h"
#include "SqliteLikeFunction.h"
#include "SqliteSelection.h"

namespace {

// This SQLite reads "file:" names as URIs, whose options could create the file or change how
// it is opened; a path from the user is always a plain file name.
std::string PlainFileName(const std::string& path) {
    if (path.rfind("file:", 0) == 0) {
        return "./" + path;
    }
    return path;
}

// SQLite would open a pipe or a device like a file and then wait for ever on its first read. A
// missing file is said as such: SQLite only says that it cannot open it.
void RequireRegularFile(const std::string& fileName) {
    struct stat info {};
    if (::stat(fileName.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            ThrowDaoError(DaoErrorCode::kFileMissing, "The database file does not exist.");
        }
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        ThrowDaoError(DaoErrorCode::kNotADatabase, "Only a regular file can hold a database.");
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

void MapSmallFile(sqlite3* db, const std::string& fileName) {
    struct stat info {};
    if (::stat(fileName.c_str(), &info) != 0 || info.st_size > SqliteEngine::kMappedFileLimit) {
        return;
    }
    const std::string pragma =
        "PRAGMA mmap_size = " + std::to_string(SqliteEngine::kMappedFileLimit);
    sqlite3_exec(db, pragma.c_str(), nullptr, nullptr, nullptr);
}

}  // namespace

SqliteEngine::SqliteEngine(const std::string& path, bool readOnly) {
    if (path.empty()) {
        // SQLite would make a temporary database out of an empty name.
        ThrowDaoError(DaoErrorCode::kCantOpen, "No database file name was given.");
    }
    RequireRegularFile(path);
    sqlite3* db = OpenConnection(PlainFileName(path), readOnly);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    VerifyIsDatabase(db);
    MapSmallFile(db, path);
    try {
        InstallLikeDialect(db);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    m_pDb = db;
    try {
        m_begin = PrepareStatement(db, "BEGIN");
        m_beginImmediate = PrepareStatement(db, "BEGIN IMMEDIATE");
        m_commit = PrepareStatement(db, "COMMIT");
        m_rollback = PrepareStatement(db, "ROLLBACK");
        m_dataVersion = PrepareStatement(db, "PRAGMA data_version");
        m_nLastDataVersion = *DataVersion(true);
    } catch (...) {
        for (SqliteStatement* stmt :
             {&m_begin, &m_beginImmediate, &m_commit, &m_rollback, &m_dataVersion}) {
            stmt->reset();
        }
        sqlite3_close_v2(db);
        throw;
    }
}

SqliteEngine::~SqliteEngine() {
    for (SqliteStatement* stmt :
         {&m_begin, &m_beginImmediate, &m_commit, &m_rollback, &m_dataVersion}) {
        stmt->reset();
    }
    sqlite3_close_v2(m_pDb);
}

bool SqliteEngine::IsReadOnly() const {
    return sqlite3_db_readonly(m_pDb, "main") == 1;
}

int SqliteEngine::Run(const SqliteStatement& stmt) {
    const int rc = sqlite3_step(stmt.get());
    sqlite3_reset(stmt.get());
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

void SqliteEngine::Begin(bool write) {
    // BEGIN IMMEDIATE: a transaction that read first and then wants to write could find another
    // connection waiting for its read lock to go, and SQLite then fails it at once instead of
    // waiting.
    if (Run(write ? m_beginImmediate : m_begin) != SQLITE_OK) {
        ThrowSqliteError(m_pDb);
    }
}

void SqliteEngine::Commit() {
    if (Run(m_commit) != SQLITE_OK) {
        // A commit that failed may leave the transaction open; it must not linger.
        std::string message = sqlite3_errmsg(m_pDb);
        const int code = sqlite3_extended_errcode(m_pDb);
        Rollback();
        ThrowDaoError(code, message);
    }
}

void SqliteEngine::Rollback() {
    if (sqlite3_get_autocommit(m_pDb) == 0) {
        Run(m_rollback);
    }
}

std::optional<long long> SqliteEngine::DataVersion(bool wait) {
    sqlite3_stmt* stmt = m_dataVersion.get();
    SqliteStatementReset reset(stmt);
    if (!wait) {
        sqlite3_busy_timeout(m_pDb, 0);
    }
    const int rc = sqlite3_step(stmt);
    if (!wait) {
        sqlite3_busy_timeout(m_pDb, kBusyTimeoutMs);
    }
    if (rc == SQLITE_ROW) {
        return sqlite3_column_int64(stmt, 0);
    }
    if (!wait && (rc & 0xFF) == SQLITE_BUSY) {
        return std::nullopt;
    }
    ThrowSqliteError(m_pDb);
}

DaoChange SqliteEngine::CheckForChanges() {
    // Outside a transaction this is the look of an idle window, a few times a second on the
    // thread that paints it: it must never wait for another program's lock. A locked file tells
    // nothing yet; the next look asks again. A command waits like any of its statements.
    const std::optional<long long> version = DataVersion(sqlite3_get_autocommit(m_pDb) == 0);
    if (!version) {
        return DaoChange::Unchanged;
    }
    const bool changed = *version != m_nLastDataVersion;
    m_nLastDataVersion = *version;
    return changed ? DaoChange::Changed : DaoChange::Unchanged;
}

void SqliteEngine::Execute(const std::string& sql) {
    if (sqlite3_exec(m_pDb, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        ThrowSqliteError(m_pDb);
    }
}

std::unique_ptr<DaoSelection> SqliteEngine::Select(const std::string& sql,
                                                   const std::vector<std::string>& parameters) {
    return std::make_unique<SqliteSelection>(m_pDb, sql, parameters);
}

bool SqliteEngine::HasTable(const std::string& table) {
    // SQLite, like an SQL text, finds a table whatever the case of its name.
    const SqliteStatement stmt = PrepareStatement(
        m_pDb, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    sqlite3_bind_text64(stmt.get(), 1, table.data(), table.size(), SQLITE_STATIC, SQLITE_UTF8);
    const int rc = sqlite3_step(stmt.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        ThrowSqliteError(m_pDb);
    }
    return rc == SQLITE_ROW;
}

std::unique_ptr<DaoCursor> SqliteEngine::OpenCursor(const std::string& sql,
                                                    const std::vector<std::string>& parameters) {
    return std::make_unique<SqliteCursor>(m_pDb, sql, parameters);
}

std::unique_ptr<DaoAppender> SqliteEngine::OpenAppender(const std::string& table,
                                                        const std::vector<std::string>& columns,
                                                        bool /*emptyTable*/) {
    // A catalogue file has no secondary index to put off.
    return std::make_unique<SqliteAppender>(m_pDb, table, columns);
}
