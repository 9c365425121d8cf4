#include "SqliteError.h"

#include <sqlite3.h>

#include "CDaoException.h"

void ThrowSqliteError(sqlite3* db) {
    ThrowDaoError(sqlite3_extended_errcode(db), sqlite3_errmsg(db));
}

void ThrowAndCloseConnection(sqlite3* db, int fallbackCode) {
    // sqlite3_open_v2 may leave no handle at all when it ran out of memory.
    const int code = db != nullptr ? sqlite3_extended_errcode(db) : fallbackCode;
    std::string message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(fallbackCode);
    sqlite3_close_v2(db);
    ThrowDaoError(code != SQLITE_OK ? code : fallbackCode, message);
}
