#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "SqliteStatement.h"

struct sqlite3;

// What other connections did to a table besides adding rows above all others, kept in the file
// itself by triggers: the key of every row deleted or changed, and of every row inserted below
// another, each under a number one higher than the last. A reader that remembers the newest
// number it has seen learns from a few rows what it would otherwise learn by counting the whole
// table.
//
// The triggers keep only the newest entries, so the file does not grow with the log; a reader
// that fell further behind cannot tell and reads every key again. The log is an ordinary table
// and ordinary triggers: programs that know nothing of it read the catalogue table as before,
// and their writes keep the log right.
class SqliteChangeLog {
public:
    static constexpr std::int64_t kKeptEntries = 1024;

    // The log of `table` in the main schema, whose integer key is `keyColumn`, inside the
    // caller's transaction. When it is missing and `create` is set, it is created, unless
    // another connection holds the write lock at this moment: the caller never waits for it.
    // nullopt when the file has no complete log of ours.
    static std::optional<SqliteChangeLog> Open(sqlite3* db, const std::string& table,
                                               const std::string& keyColumn, bool create);

    // Whether the schema changed since the log was opened: a trigger may have been dropped, or
    // the transaction that created the log rolled back.
    bool Stale();
    // The newest entry's number (0 while the log is empty): where a reader stands that has just
    // read every key in the same transaction.
    std::int64_t Newest();
    // The keys logged after `position`, oldest first (a key may come more than once); nullopt
    // when the log cannot tell: entries after `position` were dropped, the log was emptied, or
    // the log is stale.
    std::optional<std::vector<std::int64_t>> KeysAfter(std::int64_t position);

private:
    explicit SqliteChangeLog(sqlite3* db, const std::string& logTable);
    long long SchemaVersion();

    sqlite3* m_db;
    SqliteStatement m_range;
    SqliteStatement m_keys;
    SqliteStatement m_schemaVersion;
    long long m_nSchemaVersion = 0;
};
