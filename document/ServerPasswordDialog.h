#pragma once

#include <QString>

// Asks for the password of a database server that wants one and found none in libpq's own
// sources (~/.pgpass, the service file, the environment). The answer is handed to the one
// connection that asked and is not kept anywhere else. Empty when the user cancels.
QString AskServerPassword(const QString& server);
