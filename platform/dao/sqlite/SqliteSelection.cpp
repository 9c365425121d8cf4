#include "SqliteSelection.h"

#include <sqlite3.h>

#include <utility>

#include "DaoErrorCode.h"
#include "KeySet.h"
#include "SqliteError.h"

namespace {

// Reading every page of the table, as a count or a scan of all keys after another connection
// wrote does, is faster with the file mapped: the pages come straight from the operating
// system's cache. The mapping lasts only for such a read, under the caller's read lock, so that
// no other SQLite connection can shrink the file meanwhile.
class MappedRead {
public:
    explicit MappedRead(sqlite3* db) : m_db(db) {
        sqlite3_exec(m_db, "PRAGMA mmap_size = 1073741824", nullptr, nullptr, nullptr);
    }
    ~MappedRead() { sqlite3_exec(m_db, "PRAGMA mmap_size = 0", nullptr, nullptr, nullptr); }
    MappedRead(const MappedRead&) = delete;
    MappedRead& operator=(const MappedRead&) = delete;

private:
    sqlite3* m_db;
};

std::vector<std::size_t> FieldColumns(const SqliteDynasetSource& source) {
    return {source.fieldColumns.begin(), source.fieldColumns.end()};
}

}  // namespace

SqliteSelection::SqliteSelection(sqlite3* db, const std::string& sql,
                                 std::vector<std::string> parameters)
    : SqliteSelection(db, AnalyseDynasetQuery(db, sql), std::move(parameters)) {}

SqliteSelection::SqliteSelection(sqlite3* db, SqliteDynasetSource source,
                                 std::vector<std::string> parameters)
    : DaoSelection(FieldColumns(source), source.columns,
                   static_cast<std::size_t>(source.keyColumn)),
      m_db(db),
      m_source(std::move(source)),
      m_parameters(std::move(parameters)),
      m_rows(db, m_source) {
    if (static_cast<std::size_t>(m_source.parameterCount) != m_parameters.size()) {
        ThrowDaoError(DaoErrorCode::kRange,
                      "The SQL text takes " + std::to_string(m_source.parameterCount) +
                          " values, not " + std::to_string(m_parameters.size()) + ".");
    }
}

SqliteStatement SqliteSelection::PrepareBound(const std::string& sql) {
    SqliteStatement stmt = PrepareStatement(m_db, sql);
    for (std::size_t i = 0; i < m_parameters.size(); ++i) {
        // The values live as long as the selection, so SQLite need not copy them.
        if (sqlite3_bind_text64(stmt.get(), static_cast<int>(i + 1), m_parameters[i].data(),
                                m_parameters[i].size(), nullptr, SQLITE_UTF8) != SQLITE_OK) {
            ThrowSqliteError(m_db);
        }
    }
    return stmt;
}

void SqliteSelection::LoadKeys(KeySet& keys) {
    MappedRead mapped(m_db);
    SqliteStatement stmt = PrepareBound(m_source.keyQuery);
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        keys.Append(sqlite3_column_int64(stmt.get(), m_source.keyQueryColumn));
    }
    if (rc != SQLITE_DONE) {
        ThrowSqliteError(m_db);
    }
}

long long SqliteSelection::CountRows() {
    MappedRead mapped(m_db);
    SqliteStatement stmt = PrepareBound(m_source.countQuery);
    if (sqlite3_step(stmt.get()) != SQLITE_ROW) {
        ThrowSqliteError(m_db);
    }
    return sqlite3_column_int64(stmt.get(), 0);
}

bool SqliteSelection::AppendLaterKeys(KeySet& keys) {
    if (m_source.laterKeysQuery.empty() || keys.Empty() || !keys.IsAscending()) {
        return false;
    }
    std::vector<std::int64_t> later;
    SqliteStatement stmt = PrepareBound(m_source.laterKeysQuery);
    // The lower bound is the placeholder after those of the SQL text.
    sqlite3_bind_int64(stmt.get(), sqlite3_bind_parameter_count(stmt.get()), keys.Last());
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        later.push_back(sqlite3_column_int64(stmt.get(), 0));
    }
    if (rc != SQLITE_DONE) {
        ThrowSqliteError(m_db);
    }
    if (CountRows() != static_cast<long long>(keys.Size() + later.size())) {
        return false;
    }
    for (std::int64_t key : later) {
        keys.Append(key);
    }
    return true;
}

std::vector<COleVariant> SqliteSelection::Read(std::int64_t key) {
    std::optional<std::vector<COleVariant>> row = m_rows.Read(key);
    if (!row) {
        ThrowDaoError(DaoErrorCode::kNotFound, "The record has been deleted.");
    }
    return std::move(*row);
}

std::optional<std::vector<COleVariant>> SqliteSelection::ReadForWrite(std::int64_t key) {
    return m_rows.Read(key);
}

void SqliteSelection::Write(std::int64_t key, const std::vector<PendingField>& changed) {
    m_rows.Write(key, changed);
}

std::int64_t SqliteSelection::Insert(const std::vector<PendingField>& pending) {
    return m_rows.Insert(pending);
}

bool SqliteSelection::Remove(std::int64_t key) {
    return m_rows.Remove(key);
}
