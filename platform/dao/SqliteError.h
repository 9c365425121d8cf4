#pragma once

#include <string>

struct sqlite3;

// Failures that are not SQLite's own, reported with the nearest SQLite result code so that the
// framework can map every failure of the record store the same way.
[[noreturn]] void ThrowDaoError(int code, const std::string& message);

// The connection's last error: its extended result code and SQLite's message.
[[noreturn]] void ThrowSqliteError(sqlite3* db);

// Like ThrowSqliteError, for a connection that is about to be closed: the message is taken
// before the handle goes away.
[[noreturn]] void ThrowAndCloseConnection(sqlite3* db, int fallbackCode);
