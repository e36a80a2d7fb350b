#pragma once

#include "core/store/ServerLocation.h"
#include "core/store/SqlDialect.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <functional>
#include <optional>

class QSqlError;

namespace cs42 {

// Why a database could not be used. `Busy` is the one the user can wait out: another workstation
// holds the file.
enum class SqlFailure
{
    None,
    Missing,      // the file (or its folder) is not there
    NotADatabase, // a folder, an empty name, or a file that is not a sound database
    Busy,         // locked by another workstation for longer than the busy timeout
    Unreachable,  // the server cannot be reached, or the connection to it was lost
    Other,        // anything else (disk full, read-only, I/O error, a refused login); errorText says what
};

// One open database, opened for one piece of work and closed again: no connection is held
// between user actions, so several workstations can share the files. `path` is a database file
// or a server URI (postgresql://user@host:port/database, see ServerLocation). Every connection
// has its own name; queries on it must be destroyed before the connection is.
class SqlConnection
{
public:
    enum class Mode
    {
        OpenOrCreate, // creates the file when it is missing (database set-up); a server's
                      // database must exist either way
        MustExist     // fails when the file is missing or is not a database
    };

    // Whether a server connection may be lent by, and kept for, the program's other actions.
    enum class Sharing
    {
        Lent, // borrows the kept connection, or becomes it (every action opened and closed)
        Own,  // a connection of its own for as long as this object lives (a listener)
    };

    explicit SqlConnection(const QString& path, Mode mode = Mode::MustExist, Sharing sharing = Sharing::Lent);
    ~SqlConnection();

    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    bool isOpen() const { return m_open; }

    QSqlDatabase& database() { return m_db; }

    // How this engine spells what differs between the engines.
    const SqlDialect& dialect() const { return *m_dialect; }

    SqlEngine engine() const { return m_dialect->engine(); }

    // The reason of the last failure, in words the user can act on.
    const QString& errorText() const { return m_error; }

    SqlFailure failure() const { return m_failure; }

    // Runs one statement with bound values; false (and errorText, failure) on failure.
    bool exec(const QString& sql, const QVariantList& values = {});

    // Records a failed statement of this connection run outside exec().
    void noteError(const QSqlError& error);

    // PRAGMA integrity_check: empty when the file is sound, else the first problem it names.
    // (quick_check does not compare indexes with their tables.) A server keeps its own
    // integrity: always empty there.
    QString integrityProblem();

    // How long a statement waits for another workstation's lock before it fails as Busy.
    static int busyTimeoutMs();
    static void setBusyTimeoutMs(int milliseconds);

    // How long connecting to a server may take before it fails as Unreachable (ServerLimits).
    static int serverConnectTimeoutSeconds();
    static void setServerConnectTimeoutSeconds(int seconds);

    // Asked for a server's password when the server wants one that the password file does not
    // hold (or refused the one typed before); nullopt when the user gives none. The password
    // typed is kept for this run only (ServerPasswords). Without a provider no one is asked.
    using PasswordProvider =
        std::function<std::optional<QString>(const ServerLocation&, const QString& reason)>;
    static void setPasswordProvider(PasswordProvider provider);

private:
    void openFile(const QString& path, Mode mode);
    void openServer();
    bool connectServer(const ServerLocation& server, const QString& password);
    // Uses the kept connection for this server and password when there is one that answers.
    bool borrowServer(const QString& password);
    void keepServer(const QString& password);
    void noteServerLoginError(const ServerLocation& server, const QSqlError& error);

    QString m_path;
    QString m_name;
    QSqlDatabase m_db;
    bool m_open = false;
    QString m_error;
    SqlFailure m_failure = SqlFailure::None;
    const SqlDialect* m_dialect = &SqlDialect::sqlite();
    Sharing m_sharing = Sharing::Lent;
    bool m_kept = false; // a server connection lent by ServerConnections
    std::optional<ServerLocation> m_server;
    QString m_silentServer; // why a server said nothing to a login in time
};

// Classifies a database file's error: SQLite's busy and locked results are Busy, a damaged or
// foreign file is NotADatabase, anything else Other.
SqlFailure classifySqlError(const QSqlError& error);

} // namespace cs42
