#include "CDaoTransaction.h"

#include <sqlite3.h>

#include "CDaoDatabase.h"
#include "SqliteError.h"

namespace {

void Run(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        ThrowSqliteError(db);
    }
}

}  // namespace

CDaoTransaction::CDaoTransaction(CDaoDatabase& database) : m_database(database) {
    if (!database.IsOpen()) {
        ThrowDaoError(SQLITE_MISUSE, "The database is not open.");
    }
    Run(database.Handle(), "BEGIN IMMEDIATE");
}

CDaoTransaction::~CDaoTransaction() {
    if (m_bOpen && m_database.IsOpen()) {
        sqlite3_exec(m_database.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void CDaoTransaction::Commit() {
    Run(m_database.Handle(), "COMMIT");
    m_bOpen = false;
}
