#pragma once

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SqliteEngine.h"

// Plain SQLite opened as the record store opens a catalogue: read-write, without SQLite's own
// mutex, the file mapped when the store maps it.
inline sqlite3* OpenPlainLikeTheStore(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && info.st_size <= SqliteEngine::kMappedFileLimit) {
        const std::string pragma =
            "PRAGMA mmap_size = " + std::to_string(SqliteEngine::kMappedFileLimit);
        sqlite3_exec(db, pragma.c_str(), nullptr, nullptr, nullptr);
    }
    return db;
}

// What opening a catalogue does, with plain SQLite: in one read transaction, every key of
// `sql`'s first column kept in a vector, then the first row's four fields read.
inline std::vector<std::int64_t> PlainOpenWork(sqlite3* db, const char* sql) {
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    std::vector<std::int64_t> keys;
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        keys.push_back(sqlite3_column_int64(stmt, 0));
    }
    sqlite3_finalize(stmt);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (!keys.empty()) {
        sqlite3_prepare_v2(db, "SELECT * FROM Zeitschriften WHERE ID = ?", -1, &stmt, nullptr);
        sqlite3_bind_int64(stmt, 1, keys.front());
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int column = 1; column <= 4; ++column) {
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, column));
            }
        }
        sqlite3_finalize(stmt);
    }
    return keys;
}
