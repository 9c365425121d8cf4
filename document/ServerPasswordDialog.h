#pragma once

#include <QString>
#include <optional>

// How often the user may try to log in before the catalogue is given up.
constexpr int kServerLoginAttempts = 3;

// What the user gives a database server that wants a password.
struct ServerLogin {
    QString user;
    QString password;
};

// Asks for the password of a database server that wants one and found none in libpq's own
// sources (~/.pgpass, the service file, the environment), with the user name to log in with,
// which the user may change. `address` is the server as the link or the command line wrote it;
// `attempt` counts from 1, and from the second on the question says that the last login was
// refused. The answer is handed to the one connection that asked and is not kept anywhere else.
// Nothing when the user cancels.
std::optional<ServerLogin> AskServerLogin(const QString& address, const QString& user, int attempt);
