#include "server/TestServer.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <cstdlib>
#include <memory>

std::optional<std::string> TestServer::Host() {
    const char* host = std::getenv("PERIOLEX_TEST_PGHOST");
    if (host == nullptr || *host == '\0') {
        return std::nullopt;
    }
    return host;
}

bool TestServer::Required() {
    const char* required = std::getenv("REQUIRE_TEST_SERVER");
    return required != nullptr && *required != '\0';
}

std::optional<std::string> TestServer::Conninfo() {
    const std::optional<std::string> host = Host();
    if (!host) {
        return std::nullopt;
    }
    return "host='" + *host + "' dbname=postgres user=periolex";
}

pg_conn* TestServer::Connection() {
    static const std::unique_ptr<pg_conn, void (*)(pg_conn*)> connection = [] {
        const std::optional<std::string> conninfo = Conninfo();
        PGconn* conn = conninfo ? PQconnectdb(conninfo->c_str()) : nullptr;
        return std::unique_ptr<pg_conn, void (*)(pg_conn*)>(conn, PQfinish);
    }();
    if (connection && PQstatus(connection.get()) != CONNECTION_OK) {
        ADD_FAILURE() << "the test server refused: " << PQerrorMessage(connection.get());
        return nullptr;
    }
    return connection.get();
}

std::string TestServer::Scalar(const std::string& sql, const std::vector<std::string>& values) {
    std::vector<const char*> params;
    for (const std::string& value : values) {
        params.push_back(value.c_str());
    }
    const std::unique_ptr<PGresult, void (*)(PGresult*)> result(
        PQexecParams(Connection(), sql.c_str(), static_cast<int>(params.size()), nullptr,
                     params.data(), nullptr, nullptr, 0),
        PQclear);
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        ADD_FAILURE() << sql << ": " << PQresultErrorMessage(result.get());
        return "<error>";
    }
    if (PQntuples(result.get()) == 0 || PQnfields(result.get()) == 0) {
        return "<none>";
    }
    return PQgetisnull(result.get(), 0, 0) ? "<null>" : PQgetvalue(result.get(), 0, 0);
}
