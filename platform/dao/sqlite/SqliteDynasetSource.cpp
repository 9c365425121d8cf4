#include "SqliteDynasetSource.h"

#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "DaoErrorCode.h"
#include "SqliteError.h"
#include "SqliteStatement.h"

namespace {

struct TableName {
    std::string schema;
    std::string table;

    bool operator==(const TableName& other) const {
        return sqlite3_stricmp(schema.c_str(), other.schema.c_str()) == 0 &&
               sqlite3_stricmp(table.c_str(), other.table.c_str()) == 0;
    }
};

// Collects every table the statement reads while it compiles. Result columns alone do not tell
// a join whose columns all come from one side, or a subquery in the WHERE clause.
int CollectReadTables(void* tables, int action, const char* table, const char* /*column*/,
                      const char* schema, const char* /*view*/) {
    if (action == SQLITE_READ && table != nullptr) {
        auto& list = *static_cast<std::vector<TableName>*>(tables);
        TableName name{schema != nullptr ? schema : "main", table};
        if (std::find(list.begin(), list.end(), name) == list.end()) {
            list.push_back(std::move(name));
        }
    }
    return SQLITE_OK;
}

struct CompiledQuery {
    SqliteStatement statement;
    std::string text;  // the statement's own text, without a closing semicolon
    std::vector<TableName> readTables;
};

CompiledQuery Compile(sqlite3* db, const std::string& sql) {
    CompiledQuery query;
    sqlite3_set_authorizer(db, CollectReadTables, &query.readTables);
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, &tail);
    sqlite3_set_authorizer(db, nullptr, nullptr);
    query.statement.reset(stmt);
    if (rc != SQLITE_OK) {
        ThrowSqliteError(db);
    }
    if (stmt == nullptr || sqlite3_column_count(stmt) == 0 || !sqlite3_stmt_readonly(stmt)) {
        ThrowDaoError(DaoErrorCode::kMisuse, "The SQL text of a record set must be a query.");
    }
    sqlite3_stmt* next = nullptr;
    if (sqlite3_prepare_v2(db, tail, -1, &next, nullptr) != SQLITE_OK || next != nullptr) {
        sqlite3_finalize(next);
        ThrowDaoError(DaoErrorCode::kMisuse,
                      "The SQL text of a record set must be a single query.");
    }
    query.text.assign(sql.c_str(), tail);
    while (!query.text.empty() &&
           (query.text.back() == ';' || static_cast<unsigned char>(query.text.back()) <= ' ')) {
        query.text.pop_back();
    }
    return query;
}

bool IsIntegerPrimaryKey(sqlite3* db, const TableName& name, const char* column) {
    const char* type = nullptr;
    int primaryKey = 0;
    if (sqlite3_table_column_metadata(db, name.schema.c_str(), name.table.c_str(), column, &type,
                                      nullptr, nullptr, &primaryKey, nullptr) != SQLITE_OK) {
        return false;
    }
    return primaryKey != 0 && type != nullptr && sqlite3_stricmp(type, "INTEGER") == 0;
}

// Only the sole primary key column of a table with rowids is another name for the rowid.
bool HasRowidAlias(sqlite3* db, const TableName& name) {
    SqliteStatement stmt =
        PrepareStatement(db,
                         "SELECT (SELECT count(*) FROM pragma_table_info(?1, ?2) WHERE pk > 0),"
                         " (SELECT wr FROM pragma_table_list WHERE schema = ?2 AND name = ?1)");
    sqlite3_bind_text(stmt.get(), 1, name.table.c_str(), -1, nullptr);
    sqlite3_bind_text(stmt.get(), 2, name.schema.c_str(), -1, nullptr);
    if (sqlite3_step(stmt.get()) != SQLITE_ROW) {
        ThrowSqliteError(db);
    }
    return sqlite3_column_int(stmt.get(), 0) == 1 && sqlite3_column_int(stmt.get(), 1) == 0;
}

[[noreturn]] void ThrowNotOneTable() {
    ThrowDaoError(DaoErrorCode::kMisuse,
                  "A record set must show the columns of exactly one table, its integer primary "
                  "key included.");
}

}  // namespace

SqliteDynasetSource AnalyseDynasetQuery(sqlite3* db, const std::string& sql) {
    CompiledQuery query = Compile(db, sql);
    sqlite3_stmt* stmt = query.statement.get();
    if (query.readTables.size() > 1) {
        ThrowNotOneTable();
    }

    SqliteDynasetSource source;
    std::optional<TableName> table;
    const int fieldCount = sqlite3_column_count(stmt);
    int keyField = -1;
    for (int i = 0; i < fieldCount; ++i) {
        const char* tableName = sqlite3_column_table_name(stmt, i);
        const char* origin = sqlite3_column_origin_name(stmt, i);
        if (tableName == nullptr || origin == nullptr) {
            ThrowDaoError(DaoErrorCode::kMisuse,
                          "Result column " + std::to_string(i + 1) +
                              " of a record set must be a column of its table.");
        }
        TableName name{sqlite3_column_database_name(stmt, i), tableName};
        if (!table) {
            table = name;
        } else if (!(*table == name)) {
            ThrowNotOneTable();
        }
        auto column = std::find_if(
            source.columns.begin(), source.columns.end(),
            [&](const std::string& c) { return sqlite3_stricmp(c.c_str(), origin) == 0; });
        if (column == source.columns.end()) {
            column = source.columns.insert(source.columns.end(), origin);
        }
        const int columnIndex = static_cast<int>(column - source.columns.begin());
        source.fieldColumns.push_back(columnIndex);
        if (keyField < 0 && IsIntegerPrimaryKey(db, *table, origin)) {
            keyField = i;
            source.keyColumn = columnIndex;
        }
    }
    if (!query.readTables.empty() && !(query.readTables.front() == *table)) {
        ThrowNotOneTable();
    }
    if (keyField < 0 || !HasRowidAlias(db, *table)) {
        ThrowNotOneTable();
    }
    source.schema = table->schema;
    source.parameterCount = sqlite3_bind_parameter_count(stmt);
    source.table = table->table;

    // Selecting just the key from the query as a subquery lets SQLite flatten it, so the scan
    // reads the key and whatever the WHERE clause needs instead of every column. That only
    // works when the key's result name is unambiguous; otherwise run the query itself.
    const char* keyName = sqlite3_column_name(stmt, keyField);
    bool unique = keyName != nullptr;
    for (int i = 0; unique && i < fieldCount; ++i) {
        const char* name = sqlite3_column_name(stmt, i);
        unique = i == keyField || name == nullptr || sqlite3_stricmp(name, keyName) != 0;
    }
    if (unique) {
        source.keyQuery = "SELECT " + QuoteIdentifier(keyName) + " FROM (\n" + query.text + "\n)";
        source.keyQueryColumn = 0;
        source.laterKeysQuery = source.keyQuery + " WHERE " + QuoteIdentifier(keyName) + " > ?";
        source.selectsKeyQuery = source.keyQuery + " WHERE " + QuoteIdentifier(keyName) + " = ?";
    } else {
        source.keyQuery = query.text;
        source.keyQueryColumn = keyField;
    }
    // Over a whole table SQLite counts without visiting the rows.
    source.countQuery = "SELECT count(*) FROM (\n" + query.text + "\n)";
    return source;
}
