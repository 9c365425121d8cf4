#pragma once

#include <string>
#include <vector>

#include "DaoSelection.h"
#include "SqliteDynasetSource.h"
#include "SqliteRows.h"

struct sqlite3;
struct sqlite3_stmt;

// A dynaset's query on an SQLite connection: the keys come from the query itself, run as a
// subquery that reads only what its WHERE clause needs; rows are read and written by rowid.
class SqliteSelection : public DaoSelection {
public:
    SqliteSelection(sqlite3* db, const std::string& sql, std::vector<std::string> parameters);

    void LoadKeys(KeySet& keys) override;
    bool AppendLaterKeys(KeySet& keys) override;
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

    sqlite3* m_db;
    SqliteDynasetSource m_source;
    std::vector<std::string> m_parameters;
    SqliteRows m_rows;
};
