#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "COleVariant.h"
#include "DaoSelection.h"
#include "FieldMerge.h"
#include "SqliteDynasetSource.h"
#include "SqliteStatement.h"

struct sqlite3;

// Reads and writes single rows of a dynaset's table by key. Each write is one statement in
// autocommit mode, i.e. its own transaction, and every statement is reset right after use so
// that no lock outlives the call.
class SqliteRows {
public:
    SqliteRows(sqlite3* db, const SqliteDynasetSource& source);

    // The row's values, indexed like SqliteDynasetSource::columns. Throws SQLITE_NOTFOUND when the
    // row has gone.
    std::vector<COleVariant> Read(std::int64_t key);

    // Writes the pending fields (indexed like SqliteDynasetSource::columns) whose value differs, as
    // text, from the stored one. Returns false, having written nothing, when none differs.
    bool WriteChanges(std::int64_t key, const std::vector<PendingField>& pending);
    // Writes each field whose stored value is still the loaded one; a field that already holds
    // the new value needs no write. When any other field was changed meanwhile, writes nothing
    // and reports Conflict; `current` then holds each field's stored value, in the order of
    // `fields`. The caller runs this in a write transaction, so that the comparison and the
    // write see the same row.
    MergeOutcome WriteMerged(std::int64_t key, const std::vector<MergeField>& fields,
                             std::vector<COleVariant>& current);
    // Inserts a row with the pending fields set and returns its key.
    std::int64_t Insert(const std::vector<PendingField>& pending);
    // Returns false when the row had already gone.
    bool Remove(std::int64_t key);

private:
    // Runs the row statement for `key`; throws when the row is gone. The caller resets it.
    void StepToRow(sqlite3_stmt* stmt, std::int64_t key);
    std::string ChangedColumns(std::int64_t key, const std::vector<PendingField>& pending);
    sqlite3_stmt* UpdateStatement(const std::string& mask);
    sqlite3_stmt* InsertStatement(const std::string& mask);
    void BindPending(sqlite3_stmt* stmt, const std::string& mask,
                     const std::vector<PendingField>& pending);
    void Execute(sqlite3_stmt* stmt);

    sqlite3* m_db;
    std::string m_table;                 // schema-qualified and quoted
    std::string m_key;                   // quoted
    std::vector<std::string> m_columns;  // quoted
    int m_keyColumn;
    SqliteStatement m_read;
    SqliteStatement m_delete;
    // Write statements by the mask ('1' per written column) of the columns they set: an editor
    // tends to change the same few fields again and again.
    std::unordered_map<std::string, SqliteStatement> m_updates;
    std::unordered_map<std::string, SqliteStatement> m_inserts;
};
