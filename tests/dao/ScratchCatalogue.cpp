#include "ScratchCatalogue.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <ServerCatalogueSchema.h>
#include <atomic>

#include "PgConnection.h"
#include "ScratchDatabase.h"
#include "TestServer.h"

namespace {

std::string Articles(int articles) {
    return "INSERT INTO Zeitschriften (ID, Zeitschriftennummer, Zeitschriftenname, Artikelname,"
           " Seite) SELECT i, i, 'Heft', 'Artikel ' || i, i * 10 FROM (WITH RECURSIVE n(i) AS"
           " (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
           std::to_string(articles) + ") SELECT i FROM n WHERE i <= " + std::to_string(articles) +
           ") AS numbers";
}

class FileCatalogue : public ScratchCatalogue {
public:
    std::string Target() const override { return m_file.Path(); }
    void Exec(const std::string& sql) override { m_file.Exec(sql); }
    std::string Scalar(const std::string& sql) override { return m_file.Scalar(sql); }

private:
    ScratchDatabase m_file;
};

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

// A schema per catalogue keeps the tests apart on one server; the connection URI puts it first
// on the search path, where the program's unqualified SQL texts look.
class ServerCatalogue : public ScratchCatalogue {
public:
    ServerCatalogue(const std::string& host, int articles) {
        static std::atomic<int> counter{0};
        m_schema = "scratch_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
        TestServer::Scalar("DROP SCHEMA IF EXISTS " + m_schema + " CASCADE");
        TestServer::Scalar("CREATE SCHEMA " + m_schema);
        m_target = "postgresql:///postgres?host=" + UriEncoded(host) +
                   "&user=periolex&options=" + UriEncoded("-csearch_path=" + m_schema);
        m_connection = std::make_unique<PgConnection>(m_target);
        m_connection->RunScript(kServerCatalogueSchemaSql);
        if (articles > 0) {
            Exec(Articles(articles));
        }
    }
    ~ServerCatalogue() override {
        m_connection.reset();
        TestServer::Scalar("DROP SCHEMA IF EXISTS " + m_schema + " CASCADE");
    }
    std::string Target() const override { return m_target; }
    void Exec(const std::string& sql) override {
        m_connection->RunScript(sql);
        // Keys given by hand leave the key generator behind; added records need keys above.
        m_connection->RunScript(
            "SELECT setval(pg_get_serial_sequence('zeitschriften', 'id'),"
            " coalesce((SELECT max(id) FROM zeitschriften), 0) + 1, false)");
    }
    std::string Scalar(const std::string& sql) override {
        const PgResult result = m_connection->Run(sql);
        if (PQntuples(result.get()) == 0 || PQnfields(result.get()) == 0) {
            return "<none>";
        }
        return PQgetisnull(result.get(), 0, 0) ? "<null>" : PQgetvalue(result.get(), 0, 0);
    }

private:
    std::string m_schema;
    std::string m_target;
    std::unique_ptr<PgConnection> m_connection;
};

}  // namespace

std::unique_ptr<ScratchCatalogue> MakeFileCatalogue(int articles) {
    auto catalogue = std::make_unique<FileCatalogue>();
    if (articles > 0) {
        catalogue->Exec(Articles(articles));
    }
    return catalogue;
}

std::unique_ptr<ScratchCatalogue> MakeServerCatalogue(int articles) {
    const std::optional<std::string> conninfo = TestServer::Conninfo();
    if (!conninfo || TestServer::Connection() == nullptr) {
        return nullptr;
    }
    return std::make_unique<ServerCatalogue>(*TestServer::Host(), articles);
}
