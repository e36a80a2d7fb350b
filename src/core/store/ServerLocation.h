#pragma once

#include <QString>

#include <optional>

namespace cs42 {

// A PostgreSQL server that holds the cases and names of an office, kept in `Main.fileslocation`
// as a connection URI without a password: postgresql://user@host:5432/cs42. The password comes
// from the user's password file (~/.pgpass or PGPASSFILE, read by libpq) or, when the server asks
// for one that is not there, from the user for this run only.
struct ServerLocation
{
    static constexpr int DefaultPort = 5432;

    QString host;
    int port = DefaultPort;
    QString database;
    QString user;

    // True when `location` names a server rather than a folder.
    static bool isServerUri(const QString& location);
    // The server a URI names; nullopt when it is not a well-formed postgresql:// URI with a host
    // and a database. A password in the URI is ignored: it is never kept.
    static std::optional<ServerLocation> fromUri(const QString& uri);

    QString toUri() const;
    // "cs42 on 127.0.0.1, port 5432 (user cs42)", as messages name the server.
    QString displayText() const;

    bool operator==(const ServerLocation&) const = default;
};

// The passwords the user typed during this run, per server URI; never written anywhere.
namespace ServerPasswords {
QString forUri(const QString& uri);
void remember(const QString& uri, const QString& password);
void forget(const QString& uri);
} // namespace ServerPasswords

} // namespace cs42
