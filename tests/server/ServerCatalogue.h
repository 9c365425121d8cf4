#pragma once

#include <memory>
#include <string>

#include "server/ScratchCatalogue.h"

class PgConnection;

// A catalogue on the test server, in a schema of its own so that tests stay apart on one
// server; the connection URI puts the schema first on the search path, where the program's
// unqualified SQL texts look. Dropped with the object.
class ServerCatalogue : public ScratchCatalogue {
public:
    // Null when no test server runs.
    static std::unique_ptr<ServerCatalogue> Make();
    explicit ServerCatalogue(const std::string& host);
    ~ServerCatalogue() override;

    std::string Target() const override { return m_target; }
    // The catalogue's connection URI through another socket folder than the server's own,
    // with `name` as the connection's application name, for finding it among the server's,
    // and `setting` ("name=value") among the session's server options when given.
    std::string TargetVia(const std::string& host, const std::string& name,
                          const std::string& setting = "") const;
    void Exec(const std::string& sql) override;
    std::string Scalar(const std::string& sql) override;
    // Three articles whose texts a window's tests look for: umlauts, an apostrophe and Greek.
    void AddThreeArticles();

private:
    std::string m_schema;
    std::string m_target;
    std::unique_ptr<PgConnection> m_connection;
};
