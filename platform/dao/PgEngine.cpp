#include "PgEngine.h"

#include <libpq-fe.h>

#include "CDaoException.h"
#include "DaoError.h"
#include "DaoErrorCode.h"
#include "PgSelection.h"

bool PgEngine::IsServerTarget(const std::string& path) {
    return path.rfind("postgresql://", 0) == 0 || path.rfind("postgres://", 0) == 0;
}

std::string PgEngine::ServerName(const std::string& target) {
    PQconninfoOption* options = PQconninfoParse(target.c_str(), nullptr);
    if (options == nullptr) {
        return target;
    }
    std::string host;
    std::string port;
    std::string database;
    std::string service;
    for (PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
        const std::string keyword = option->keyword;
        const std::string value = option->val != nullptr ? option->val : "";
        if (keyword == "host") {
            host = value;
        } else if (keyword == "port") {
            port = value;
        } else if (keyword == "dbname") {
            database = value;
        } else if (keyword == "service") {
            service = value;
        }
    }
    PQconninfoFree(options);
    if (host.empty() && !service.empty()) {
        return service;
    }
    std::string name = host.empty() || host.front() == '/' ? "localhost" : host;
    if (!port.empty()) {
        name += ":" + port;
    }
    return database.empty() ? name : name + "/" + database;
}

PgEngine::PgEngine(const std::string& target, bool readOnly)
    : m_connection(target), m_bReadOnly(readOnly) {
    m_connection.RunScript(std::string("LISTEN ") + kChangeChannel);
    const PgResult schema = m_connection.Run("SELECT coalesce(current_schema(), '')");
    m_schema = PQgetvalue(schema.get(), 0, 0);
}

void PgEngine::Begin(bool write) {
    // A read sees one state of the catalogue from its first statement to its end, as a read
    // transaction on a local file does. A write locks the rows it compares before it writes.
    m_connection.RunScript(write ? "BEGIN" : "BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY");
}

void PgEngine::Commit() {
    const PgResult result = m_connection.Run("COMMIT");
    // A transaction that failed earlier ends with ROLLBACK though COMMIT was asked for.
    if (std::string(PQcmdStatus(result.get())) != "COMMIT") {
        Rollback();
        ThrowDaoError(DaoErrorCode::kError, "The transaction was rolled back.");
    }
}

void PgEngine::Rollback() {
    if (!m_connection.InTransaction()) {
        return;
    }
    try {
        m_connection.RunScript("ROLLBACK");
    } catch (CDaoException* e) {
        // A connection that is gone has no transaction left to end.
        e->Delete();
    }
}

bool PgEngine::HasChangedElsewhere() {
    return m_connection.TakeNotification(kChangeChannel, m_schema);
}

int PgEngine::ChangeDescriptor() const {
    return m_connection.Socket();
}

std::unique_ptr<DaoSelection> PgEngine::Select(const std::string& sql,
                                               const std::vector<std::string>& parameters) {
    return std::make_unique<PgSelection>(m_connection, sql, parameters);
}

void PgEngine::Execute(const std::string& sql) {
    m_connection.RunScript(sql);
}
