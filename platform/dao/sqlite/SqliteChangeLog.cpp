#include "SqliteChangeLog.h"

#include <sqlite3.h>

#include "SqliteEngine.h"
#include "SqliteError.h"

namespace {

struct LogNames {
    std::string table;
    std::string onDelete;
    std::string onUpdate;
    std::string onInsert;
};

// The names carry the log's version: a later way of logging gets names of its own, and a file
// that holds only another version's log is read the slow way until ours is added.
LogNames NamesFor(const std::string& table) {
    const std::string log = "periolex_changes_v1_" + table;
    return {log, log + "_delete", log + "_update", log + "_insert"};
}

bool HasLog(sqlite3* db, const std::string& table) {
    const LogNames names = NamesFor(table);
    const SqliteStatement stmt = PrepareStatement(
        db,
        "SELECT count(*) FROM main.sqlite_master WHERE (type = 'table' AND name = ?1)"
        " OR (type = 'trigger' AND tbl_name = ?5 COLLATE NOCASE AND name IN (?2, ?3, ?4))");
    int parameter = 1;
    for (const std::string* text :
         {&names.table, &names.onDelete, &names.onUpdate, &names.onInsert, &table}) {
        sqlite3_bind_text64(stmt.get(), parameter++, text->data(), text->size(), SQLITE_STATIC,
                            SQLITE_UTF8);
    }
    if (sqlite3_step(stmt.get()) != SQLITE_ROW) {
        ThrowSqliteError(db);
    }
    return sqlite3_column_int(stmt.get(), 0) == 4;
}

std::string CreationSql(const std::string& table, const std::string& keyColumn) {
    const LogNames names = NamesFor(table);
    const std::string log = QuoteIdentifier(names.table);
    const std::string target = QuoteIdentifier(table);
    const std::string key = QuoteIdentifier(keyColumn);
    const std::string logKey = "INSERT INTO " + log + " (RowKey) VALUES ";
    const std::string trim = "DELETE FROM " + log + " WHERE Seq <= (SELECT max(Seq) FROM " + log +
                             ") - " + std::to_string(SqliteChangeLog::kKeptEntries) + "; END;\n";
    return "CREATE TABLE IF NOT EXISTS main." + log +
           " (Seq INTEGER PRIMARY KEY, RowKey INTEGER NOT NULL);\n"
           "CREATE TRIGGER IF NOT EXISTS main." +
           QuoteIdentifier(names.onDelete) + " AFTER DELETE ON " + target + " BEGIN " + logKey +
           "(old." + key + "); " + trim + "CREATE TRIGGER IF NOT EXISTS main." +
           QuoteIdentifier(names.onUpdate) + " AFTER UPDATE ON " + target + " BEGIN " + logKey +
           "(old." + key + "); INSERT INTO " + log + " (RowKey) SELECT new." + key + " WHERE new." +
           key + " IS NOT old." + key + "; " + trim +
           // A row added above all others is found by its key alone; only one below another
           // (a key given by hand) needs an entry.
           "CREATE TRIGGER IF NOT EXISTS main." + QuoteIdentifier(names.onInsert) +
           " AFTER INSERT ON " + target + " WHEN EXISTS (SELECT 1 FROM " + target + " WHERE " +
           key + " > new." + key + ") BEGIN " + logKey + "(new." + key + "); " + trim;
}

// Inside the caller's transaction, all or nothing; false when another connection holds the
// write lock or the file cannot take the log.
bool TryCreate(sqlite3* db, const std::string& table, const std::string& keyColumn) {
    const bool inTransaction = sqlite3_get_autocommit(db) == 0;
    sqlite3_busy_timeout(db, 0);
    const std::string sql = "SAVEPOINT periolex_changes;\n" + CreationSql(table, keyColumn) +
                            "RELEASE periolex_changes;";
    const bool created = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!created) {
        sqlite3_exec(db, "ROLLBACK TO periolex_changes; RELEASE periolex_changes;", nullptr,
                     nullptr, nullptr);
        // Some failures (of the disk, say) end the whole transaction; the caller's goes on
        // reading.
        if (inTransaction && sqlite3_get_autocommit(db) != 0) {
            sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        }
    }
    sqlite3_busy_timeout(db, SqliteEngine::kBusyTimeoutMs);
    return created;
}

}  // namespace

std::optional<SqliteChangeLog> SqliteChangeLog::Open(sqlite3* db, const std::string& table,
                                                     const std::string& keyColumn, bool create) {
    if (!HasLog(db, table) && !(create && TryCreate(db, table, keyColumn) && HasLog(db, table))) {
        return std::nullopt;
    }
    return SqliteChangeLog(db, NamesFor(table).table);
}

SqliteChangeLog::SqliteChangeLog(sqlite3* db, const std::string& logTable)
    : m_db(db),
      m_range(
          PrepareStatement(db, "SELECT min(Seq), max(Seq) FROM main." + QuoteIdentifier(logTable))),
      m_keys(PrepareStatement(db, "SELECT RowKey FROM main." + QuoteIdentifier(logTable) +
                                      " WHERE Seq > ? ORDER BY Seq")),
      m_schemaVersion(PrepareStatement(db, "PRAGMA main.schema_version")),
      m_nSchemaVersion(SchemaVersion()) {}

long long SqliteChangeLog::SchemaVersion() {
    SqliteStatementReset reset(m_schemaVersion.get());
    if (sqlite3_step(m_schemaVersion.get()) != SQLITE_ROW) {
        ThrowSqliteError(m_db);
    }
    return sqlite3_column_int64(m_schemaVersion.get(), 0);
}

bool SqliteChangeLog::Stale() {
    return SchemaVersion() != m_nSchemaVersion;
}

std::int64_t SqliteChangeLog::Newest() {
    SqliteStatementReset reset(m_range.get());
    if (sqlite3_step(m_range.get()) != SQLITE_ROW) {
        ThrowSqliteError(m_db);
    }
    return sqlite3_column_int64(m_range.get(), 1);
}

std::optional<std::vector<std::int64_t>> SqliteChangeLog::KeysAfter(std::int64_t position) {
    if (Stale()) {
        return std::nullopt;
    }
    {
        SqliteStatementReset reset(m_range.get());
        if (sqlite3_step(m_range.get()) != SQLITE_ROW) {
            ThrowSqliteError(m_db);
        }
        const std::int64_t oldest = sqlite3_column_int64(m_range.get(), 0);
        const std::int64_t newest = sqlite3_column_int64(m_range.get(), 1);
        // Numbers run on without gaps from the oldest kept entry; a newest below the reader's
        // means the log was emptied and began again.
        if (newest < position || (newest > position && oldest > position + 1)) {
            return std::nullopt;
        }
        if (newest == position) {
            return std::vector<std::int64_t>{};
        }
    }
    SqliteStatementReset reset(m_keys.get());
    sqlite3_bind_int64(m_keys.get(), 1, position);
    std::vector<std::int64_t> keys;
    int rc;
    while ((rc = sqlite3_step(m_keys.get())) == SQLITE_ROW) {
        keys.push_back(sqlite3_column_int64(m_keys.get(), 0));
    }
    if (rc != SQLITE_DONE) {
        ThrowSqliteError(m_db);
    }
    return keys;
}
