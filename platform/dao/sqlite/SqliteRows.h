#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "COleVariant.h"
#include "DaoSelection.h"
#include "SqliteDynasetSource.h"
#include "SqliteStatement.h"

struct sqlite3;

// Reads and writes single rows of a dynaset's table by key. Each write is one statement in
// autocommit mode, i.e. its own transaction, and every statement is reset right after use so
// that no lock outlives the call.
class SqliteRows {
public:
    SqliteRows(sqlite3* db, const SqliteDynasetSource& source);

    // The row's values, indexed like SqliteDynasetSource::columns; nullopt when the row has
    // gone.
    std::optional<std::vector<COleVariant>> Read(std::int64_t key);
    // Writes the pending fields that are set (indexed like SqliteDynasetSource::columns) in one
    // statement. Throws NotFound when the row has gone.
    void Write(std::int64_t key, const std::vector<PendingField>& changed);
    // Inserts a row with the pending fields set and returns its key.
    std::int64_t Insert(const std::vector<PendingField>& pending);
    // Returns false when the row had already gone.
    bool Remove(std::int64_t key);

private:
    sqlite3_stmt* UpdateStatement(const std::string& mask);
    sqlite3_stmt* InsertStatement(const std::string& mask);
    void BindPending(sqlite3_stmt* stmt, const std::string& mask,
                     const std::vector<PendingField>& pending);
    void Execute(sqlite3_stmt* stmt);

    sqlite3* m_db;
    std::string m_table;                 // schema-qualified and quoted
    std::string m_key;                   // quoted
    std::vector<std::string> m_columns;  // quoted
    SqliteStatement m_read;
    SqliteStatement m_delete;
    // Write statements by the mask ('1' per written column) of the columns they set: an editor
    // tends to change the same few fields again and again.
    std::unordered_map<std::string, SqliteStatement> m_updates;
    std::unordered_map<std::string, SqliteStatement> m_inserts;
};
