#pragma once

#include <QString>
#include <string>

class CDaoException;

// What a catalogue argument of the command line or a dialog names, and how the record store
// reaches it: a catalogue file, a catalogue link (a file naming a server), or a server itself by
// its libpq connection URI (postgresql://...) or key=value string (service=...). Every command
// that takes a catalogue resolves it here, so each takes all three.
class CatalogueAddress {
public:
    // Reads a link when `argument` is one; a name that is neither a link nor a server is a file,
    // whether or not it exists yet.
    static CatalogueAddress Resolve(const QString& argument);

    // Empty when the argument names a catalogue; otherwise why not, in German (a link without a
    // server, or with a password in it).
    const QString& GetError() const { return m_strError; }
    bool IsServer() const { return m_bServer; }
    // What CDaoDatabase::Open takes: the file's path or the server's connection.
    const std::string& GetConnection() const { return m_connection; }
    // Whether the argument gives a server's password itself, which no link may hold.
    bool HoldsPassword() const;
    // The argument as it may be shown on a terminal: a server's address without its password.
    QString Shown() const;
    // The server's connection as the link or the command line wrote it, without a password;
    // empty for a file.
    QString ShownConnection() const;
    // The server as a user knows it; empty for a file.
    QString ServerName() const;
    // The server as a caption shows it: "server/database (user)", without the user when the
    // address names none; the argument for a file.
    QString Caption() const;
    // Why the record store failed on this catalogue, in German: a server's refusal names the
    // server and the cause as far as it is known, other failures say what the record store
    // found. The record store's own words (English, from libpq) are for a "Details" button.
    QString FailureText(const CDaoException& e) const;

private:
    QString m_strArgument;
    QString m_strError;
    bool m_bServer = false;
    std::string m_connection;
};
