#pragma once

#include <string>

#include "DaoEngine.h"
#include "PgConnection.h"

// A catalogue on a PostgreSQL server, reached through libpq by a connection URI
// (postgresql://...) or a key=value string; passwords come only from libpq's own sources.
// Other programs' commits reach it as notifications on the change channel, which the
// catalogue's table raises by a trigger; the connection's socket turns readable when one
// arrives.
class PgEngine : public DaoEngine {
public:
    // The channel that the table's trigger notifies when a statement changed it.
    static constexpr const char* kChangeChannel = "periolex_changes";

    // Whether `path` names a server rather than a file.
    static bool IsServerTarget(const std::string& path);
    // The server and database that `target` names, as a user would recognise them; never a
    // password.
    static std::string ServerName(const std::string& target);

    // Throws CDaoException (CantOpen, Auth) naming the server when it cannot connect.
    PgEngine(const std::string& target, bool readOnly);

    bool IsReadOnly() const override { return m_bReadOnly; }
    void Begin(bool write) override;
    void Commit() override;
    void Rollback() override;
    bool HasChangedElsewhere() override;
    int ChangeDescriptor() const override;
    std::unique_ptr<DaoSelection> Select(const std::string& sql,
                                         const std::vector<std::string>& parameters) override;

    void Execute(const std::string& sql) override;

private:
    PgConnection m_connection;
    bool m_bReadOnly;
    // The schema where the connection finds the catalogue's table; its trigger names it.
    std::string m_schema;
};
