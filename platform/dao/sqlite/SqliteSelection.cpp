#include "SqliteSelection.h"

#include <sqlite3.h>

#include <algorithm>
#include <utility>

#include "DaoErrorCode.h"
#include "KeySet.h"
#include "SqliteError.h"

namespace {

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
      m_rows(db, m_source),
      m_dataVersion(PrepareStatement(db, "PRAGMA data_version")) {
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

void SqliteSelection::FindLog(bool create) {
    if (m_source.schema == "main" && !m_source.laterKeysQuery.empty()) {
        m_log = SqliteChangeLog::Open(
            m_db, m_source.table, m_source.columns[static_cast<std::size_t>(m_source.keyColumn)],
            create && sqlite3_db_readonly(m_db, "main") == 0);
    }
}

void SqliteSelection::LoadKeys(KeySet& keys) {
    // Looked for again at every full load: another program may have added or dropped the log.
    m_log.reset();
    FindLog(false);
    m_nLogPosition = m_log ? std::optional(m_log->Newest()) : std::nullopt;
    m_nSyncedDataVersion = DataVersion();
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
    SqliteStatement stmt = PrepareBound(m_source.countQuery);
    if (sqlite3_step(stmt.get()) != SQLITE_ROW) {
        ThrowSqliteError(m_db);
    }
    return sqlite3_column_int64(stmt.get(), 0);
}

std::vector<std::int64_t> SqliteSelection::KeysAbove(std::int64_t last) {
    std::vector<std::int64_t> later;
    SqliteStatement stmt = PrepareBound(m_source.laterKeysQuery);
    // The lower bound is the placeholder after those of the SQL text.
    sqlite3_bind_int64(stmt.get(), sqlite3_bind_parameter_count(stmt.get()), last);
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        later.push_back(sqlite3_column_int64(stmt.get(), 0));
    }
    if (rc != SQLITE_DONE) {
        ThrowSqliteError(m_db);
    }
    return later;
}

bool SqliteSelection::Selects(std::int64_t key) {
    SqliteStatement stmt = PrepareBound(m_source.selectsKeyQuery);
    sqlite3_bind_int64(stmt.get(), sqlite3_bind_parameter_count(stmt.get()), key);
    const int rc = sqlite3_step(stmt.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        ThrowSqliteError(m_db);
    }
    return rc == SQLITE_ROW;
}

std::optional<std::vector<std::size_t>> SqliteSelection::LeftKeys(
    const KeySet& keys, std::vector<std::int64_t> logged) {
    // A row put back under the last key by a replacing insert logs nothing; its key is asked
    // about like a logged one.
    logged.push_back(keys.Last());
    std::sort(logged.begin(), logged.end());
    logged.erase(std::unique(logged.begin(), logged.end()), logged.end());
    std::vector<std::size_t> left;
    for (std::int64_t key : logged) {
        if (key > keys.Last()) {
            break;  // found among the keys above the last one, if the selection holds it
        }
        const std::optional<std::size_t> index = keys.Find(key);
        const bool selected = Selects(key);
        if (selected && !index) {
            return std::nullopt;
        }
        if (!selected && index) {
            left.push_back(*index);
        }
    }
    return left;
}

bool SqliteSelection::CatchUp(KeySet& keys) {
    if (m_source.laterKeysQuery.empty() || keys.Empty() || !keys.IsAscending()) {
        return false;
    }
    if (m_log && m_log->Stale()) {
        m_log.reset();
        m_nLogPosition.reset();
    }
    if (!m_log) {
        FindLog(false);
    }
    if (!m_nLogPosition) {
        // Without a log, or with one begun after the keys were read, the rows are counted; from
        // then on the log tells.
        std::vector<std::int64_t> later = KeysAbove(keys.Last());
        if (CountRows() != static_cast<long long>(keys.Size() + later.size())) {
            return false;
        }
        for (std::int64_t key : later) {
            keys.Append(key);
        }
        if (m_log) {
            m_nLogPosition = m_log->Newest();
        }
        m_nSyncedDataVersion = DataVersion();
        return true;
    }
    std::optional<std::vector<std::int64_t>> logged = m_log->KeysAfter(*m_nLogPosition);
    if (!logged) {
        return false;
    }
    const std::int64_t newest = logged->empty() ? *m_nLogPosition : m_log->Newest();
    std::optional<std::vector<std::size_t>> left = LeftKeys(keys, std::move(*logged));
    if (!left) {
        return false;
    }
    const std::vector<std::int64_t> later = KeysAbove(keys.Last());
    keys.EraseAt(*left);
    for (std::int64_t key : later) {
        keys.Append(key);
    }
    m_nLogPosition = newest;
    m_nSyncedDataVersion = DataVersion();
    return true;
}

long long SqliteSelection::DataVersion() {
    SqliteStatementReset reset(m_dataVersion.get());
    if (sqlite3_step(m_dataVersion.get()) != SQLITE_ROW) {
        ThrowSqliteError(m_db);
    }
    return sqlite3_column_int64(m_dataVersion.get(), 0);
}

void SqliteSelection::BeforeWrite() {
    // Added with the program's first write, never by opening or reading: a catalogue only looked
    // at stays exactly as it was. Unless nobody else has written since the keys were brought up
    // to date, the log cannot tell what happened before it.
    if (!m_log || m_log->Stale()) {
        FindLog(true);
        m_nLogPosition.reset();
        if (m_log && DataVersion() == m_nSyncedDataVersion) {
            m_nLogPosition = m_log->Newest();
        }
    }
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
    BeforeWrite();
    m_rows.Write(key, changed);
}

std::int64_t SqliteSelection::Insert(const std::vector<PendingField>& pending) {
    BeforeWrite();
    return m_rows.Insert(pending);
}

bool SqliteSelection::Remove(std::int64_t key) {
    BeforeWrite();
    return m_rows.Remove(key);
}
