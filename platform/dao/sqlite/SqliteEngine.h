#pragma once

#include <optional>
#include <string>

#include "DaoEngine.h"
#include "SqliteStatement.h"

struct sqlite3;

// A catalogue in a local SQLite file, opened shared. Opening never creates a missing file; a
// file that the user may only read opens read-only, and writes through it fail. The connection
// waits a few seconds for a lock held by another connection before it reports it as busy, and
// carries the desktop engine's LIKE dialect (see LikeDialect.h).
//
// One thread owns a connection: SQLite's own mutex is left out.
class SqliteEngine : public DaoEngine {
public:
    // How long a statement waits for another connection's lock before it reports it as busy.
    static constexpr int kBusyTimeoutMs = 5000;
    // Reading pages straight from a mapping of the file saves a copy of each page, which makes a
    // scan of all keys about a third cheaper. A mapped page counts as the program's memory once
    // read, though, so only files up to this size are mapped: beyond it, a scan of every key
    // would hold the whole file. The mapping is made once at opening and kept: mapping and
    // unmapping it around each read cost a page fault for every page read.
    static constexpr long long kMappedFileLimit = 64LL * 1024 * 1024;

    // Throws CDaoException when the file is missing, unreadable or not a database.
    SqliteEngine(const std::string& path, bool readOnly);
    ~SqliteEngine() override;
    SqliteEngine(const SqliteEngine&) = delete;
    SqliteEngine& operator=(const SqliteEngine&) = delete;

    bool IsReadOnly() const override;
    void Begin(bool write) override;
    void Commit() override;
    void Rollback() override;
    // Costs one look at the file header (PRAGMA data_version). Outside a transaction it never
    // waits for a lock: a file locked by another connection counts as unchanged until the next
    // look.
    DaoChange CheckForChanges() override;
    void Execute(const std::string& sql) override;
    std::unique_ptr<DaoSelection> Select(const std::string& sql,
                                         const std::vector<std::string>& parameters) override;
    bool HasTable(const std::string& table) override;
    std::unique_ptr<DaoCursor> OpenCursor(const std::string& sql,
                                          const std::vector<std::string>& parameters) override;
    std::unique_ptr<DaoAppender> OpenAppender(const std::string& table,
                                              const std::vector<std::string>& columns,
                                              bool emptyTable) override;

    sqlite3* Handle() const { return m_pDb; }

private:
    // Runs one of the prepared transaction statements; the SQLite result code.
    int Run(const SqliteStatement& stmt);
    // PRAGMA data_version; without `wait`, nothing when another connection holds the file locked.
    std::optional<long long> DataVersion(bool wait);

    sqlite3* m_pDb = nullptr;
    // Prepared once: a command begins and ends a transaction every time it runs.
    SqliteStatement m_begin;
    SqliteStatement m_beginImmediate;
    SqliteStatement m_commit;
    SqliteStatement m_rollback;
    SqliteStatement m_dataVersion;
    long long m_nLastDataVersion = 0;
};
