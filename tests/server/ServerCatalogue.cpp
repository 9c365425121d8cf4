#include "server/ServerCatalogue.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <ServerCatalogueSchema.h>
#include <atomic>
#include <cctype>
#include <optional>

#include "PgConnection.h"
#include "server/TestServer.h"

namespace {

std::string UriEncoded(const std::string& text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : text) {
        if (std::isalnum(c) != 0 || c == '-' || c == '_' || c == '.') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

}  // namespace

std::unique_ptr<ServerCatalogue> ServerCatalogue::Make() {
    const std::optional<std::string> host = TestServer::Host();
    if (!host || TestServer::Connection() == nullptr) {
        return nullptr;
    }
    return std::make_unique<ServerCatalogue>(*host);
}

ServerCatalogue::ServerCatalogue(const std::string& host) {
    static std::atomic<int> counter{0};
    m_schema = "scratch_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    TestServer::Scalar("DROP SCHEMA IF EXISTS " + m_schema + " CASCADE");
    TestServer::Scalar("CREATE SCHEMA " + m_schema);
    m_target = TargetVia(host, "periolex-test");
    m_connection = std::make_unique<PgConnection>(m_target);
    m_connection->RunScript(kServerCatalogueSchemaSql);
}
std::string ServerCatalogue::TargetVia(const std::string& host, const std::string& name,
                                       const std::string& setting) const {
    const std::string options =
        "-csearch_path=" + m_schema + (setting.empty() ? "" : " -c" + setting);
    return "postgresql:///postgres?host=" + UriEncoded(host) +
           "&user=periolex&options=" + UriEncoded(options) +
           "&application_name=" + UriEncoded(name);
}

ServerCatalogue::~ServerCatalogue() {
    m_connection.reset();
    TestServer::Scalar("DROP SCHEMA IF EXISTS " + m_schema + " CASCADE");
}
void ServerCatalogue::Exec(const std::string& sql) {
    m_connection->RunScript(sql);
    // Keys given by hand leave the key generator behind; added records need keys above.
    m_connection->RunScript(
        "DO $$ BEGIN IF to_regclass('zeitschriften') IS NOT NULL THEN"
        " PERFORM setval(pg_get_serial_sequence('zeitschriften', 'id'),"
        " coalesce((SELECT max(id) FROM zeitschriften), 0) + 1, false); END IF; END $$");
}
std::string ServerCatalogue::Scalar(const std::string& sql) {
    const PgResult result = m_connection->Run(sql);
    if (PQntuples(result.get()) == 0 || PQnfields(result.get()) == 0) {
        return "<none>";
    }
    return PQgetisnull(result.get(), 0, 0) ? "<null>" : PQgetvalue(result.get(), 0, 0);
}

void ServerCatalogue::AddThreeArticles() {
    Exec(
        "INSERT INTO Zeitschriften (ID, Zeitschriftennummer, Zeitschriftenname, Artikelname,"
        " Seite) VALUES (1, '1', 'c''t', 'Motoröl', '10'), (2, '2', 'c''t', 'Ärger', '20'),"
        " (3, '3', 'Chip', 'Οδός', '30')");
}
