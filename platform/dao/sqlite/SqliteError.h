#pragma once

#include "DaoError.h"

struct sqlite3;

// The connection's last error: its extended result code and SQLite's message.
[[noreturn]] void ThrowSqliteError(sqlite3* db);

// Like ThrowSqliteError, for a connection that is about to be closed: the message is taken
// before the handle goes away.
[[noreturn]] void ThrowAndCloseConnection(sqlite3* db, int fallbackCode);
