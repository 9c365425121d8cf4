#pragma once

#include <string>

// What a libpq connection target (a URI such as postgresql://server/database, or a key=value
// string such as service=name) says, as libpq itself reads it: a password counts however it was
// spelt (in the user-info part, as a query parameter, with percent-encoded letters in its key).
// Whatever leaves the connection (a link, a caption, a message) is made from these parsed
// parameters and never holds the password.
namespace PgTarget {

// Whether `target` names a server rather than a file: a connection URI (postgresql://...) or
// a key=value string that libpq takes (service=name, host=... dbname=...).
bool IsServer(const std::string& target);
// Whether libpq would log in with a password given in `target` itself.
bool HoldsPassword(const std::string& target);
// `target` as a connection URI with every parameter that libpq read in it except the password;
// for a URI that libpq cannot read, the text before its query with the user-info part left out.
std::string WithoutPassword(const std::string& target);
// The server and database that `target` names, as a user would recognise them: "server/database",
// or the service's name; the user's name, when the target gives one, in `user`. Never a
// password.
std::string ServerName(const std::string& target, std::string* user = nullptr);
// The user name that a connection to `target` logs in with: the one it gives, else libpq's
// default (PGUSER, or the name the user logged in with).
std::string UserName(const std::string& target);

}  // namespace PgTarget
