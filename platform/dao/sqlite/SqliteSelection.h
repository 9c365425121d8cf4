#pragma once

#include <optional>
#include <string>
#include <vector>

#include "DaoSelection.h"
#include "SqliteChangeLog.h"
#include "SqliteDynasetSource.h"
#include "SqliteRows.h"

struct sqlite3;
struct sqlite3_stmt;

// A dynaset's query on an SQLite connection: the keys come from the query itself, run as a
// subquery that reads only what its WHERE clause needs; rows are read and written by rowid.
// On a file that keeps a change log of the table (added with the first write through a
// selection), following others' changes reads only the rows they changed; otherwise it counts
// the selected rows.
class SqliteSelection : public DaoSelection {
public:
    SqliteSelection(sqlite3* db, const std::string& sql, std::vector<std::string> parameters);

    void LoadKeys(KeySet& keys) override;
    bool CatchUp(KeySet& keys) override;
    std::vector<COleVariant> Read(std::int64_t key) override;
    std::optional<std::vector<COleVariant>> ReadForWrite(std::int64_t key) override;
    void Write(std::int64_t key, const std::vector<PendingField>& changed) override;
    std::int64_t Insert(const std::vector<PendingField>& pending) override;
    bool Remove(std::int64_t key) override;

private:
    SqliteSelection(sqlite3* db, SqliteDynasetSource source, std::vector<std::string> parameters);
    // Prepares one of the source's queries with the SQL text's values bound.
    SqliteStatement PrepareBound(const std::string& sql);
    long long CountRows();
    // Looks for the table's change log; `create` adds it when missing and the file may be
    // written.
    void FindLog(bool create);
    void BeforeWrite();
    // PRAGMA data_version: changes whenever another connection commits.
    long long DataVersion();
    // The keys above `last`, in order.
    std::vector<std::int64_t> KeysAbove(std::int64_t last);
    bool Selects(std::int64_t key);
    // The indexes in `keys` of the logged keys that the selection no longer holds, ascending;
    // nullopt when a logged key joined the selection below its last key.
    std::optional<std::vector<std::size_t>> LeftKeys(const KeySet& keys,
                                                     std::vector<std::int64_t> logged);

    sqlite3* m_db;
    SqliteDynasetSource m_source;
    std::vector<std::string> m_parameters;
    SqliteRows m_rows;
    std::optional<SqliteChangeLog> m_log;
    // The log's newest entry when the keys were last brought up to date; nullopt while the log
    // cannot tell what changed since then (there is none, or it began later).
    std::optional<std::int64_t> m_nLogPosition;
    SqliteStatement m_dataVersion;
    // The data version when the keys were last brought up to date.
    long long m_nSyncedDataVersion = 0;
};
