#pragma once

#include <QString>

// A catalogue link: a small text file in place of a catalogue file that names a catalogue on a
// database server. Its first line is the marker below; the first later line that is neither
// empty nor a comment (#) is the connection, a libpq URI (postgresql://server/database) or a
// service name (service=name). A link never holds a password: libpq finds it in ~/.pgpass, the
// service file or the environment.
class CatalogueLink {
public:
    static constexpr const char* kMarker = "[Periolex-Serverkatalog]";

    enum class Kind { NotALink, Server, NoServer, HasPassword };

    // Reads `path`; a file that does not begin with the marker is NotALink.
    static CatalogueLink Read(const QString& path);
    // The text of a link file to the server `connection`, without its password, however the
    // connection gives one.
    static QString Text(const QString& connection);

    Kind GetKind() const { return m_kind; }
    // The connection as a libpq URI, for Server.
    const QString& GetConnection() const { return m_connection; }

private:
    Kind m_kind = Kind::NotALink;
    QString m_connection;
};
