#pragma once

#include "CDaoDatabase.h"
#include "SqliteEngine.h"

// The SQLite connection behind a database, or null when it is open on another engine: for tests
// and benchmarks that look at what SQLite did. The program itself never reaches past the
// record store's interface.
inline sqlite3* SqliteHandleOf(const CDaoDatabase& database) {
    const auto* engine = dynamic_cast<const SqliteEngine*>(database.Engine());
    return engine != nullptr ? engine->Handle() : nullptr;
}
