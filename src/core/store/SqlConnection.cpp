#include "core/store/SqlConnection.h"

#include "core/store/PrivateFiles.h"
#include "core/store/ServerConnections.h"
#include "core/store/ServerLimits.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>

namespace cs42 {

namespace {
QString nextConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("cs42-%1").arg(counter.fetchAndAddRelaxed(1));
}

// Other workstations may hold the file for a moment; wait for them rather than fail.
QAtomicInt busyTimeout = 15000;

QMutex providerMutex;

SqlConnection::PasswordProvider& passwordProvider()
{
    static SqlConnection::PasswordProvider provider;
    return provider;
}

QString busyText(SqlEngine engine)
{
    return engine == SqlEngine::SQLite
               ? QStringLiteral("The file is in use by another workstation.")
               : QStringLiteral("The database is held by another workstation's work on the server.");
}

// libpq's message without its "FATAL:" prefix and on one line.
QString serverMessage(const QSqlError& error)
{
    QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text = text.simplified();
    for (const char* prefix : {"FATAL: ", "ERROR: "}) {
        if (text.startsWith(QLatin1String(prefix)))
            text = text.mid(int(qstrlen(prefix)));
    }
    return text;
}

bool asksForPassword(const QSqlError& error)
{
    return error.text().contains(QLatin1String("no password supplied"));
}

bool refusedPassword(const QSqlError& error)
{
    return error.text().contains(QLatin1String("password authentication failed"));
}
} // namespace

SqlFailure classifySqlError(const QSqlError& error)
{
    return SqlDialect::sqlite().classify(error);
}

SqlConnection::SqlConnection(const QString& path, Mode mode, Sharing sharing)
    : m_path(path)
    , m_name(nextConnectionName())
    , m_sharing(sharing)
{
    if (ServerLocation::isServerUri(path))
        openServer();
    else
        openFile(path, mode);
}

void SqlConnection::openFile(const QString& path, Mode mode)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        m_failure = SqlFailure::NotADatabase;
        m_error = QStringLiteral("%1 is a folder, not a database file.").arg(QDir::toNativeSeparators(path));
        return;
    }
    if (!info.isFile()) {
        const bool folderThere = info.absoluteDir().exists();
        if (mode == Mode::MustExist || !folderThere) {
            m_failure = SqlFailure::Missing;
            m_error = folderThere
                          ? QStringLiteral("The file %1 does not exist.").arg(QDir::toNativeSeparators(path))
                          : QStringLiteral("The folder %1 cannot be reached.")
                                .arg(QDir::toNativeSeparators(info.absolutePath()));
            return;
        }
    }
    // SQLite would create the file readable by every account; it gets our permissions first
    // (SQLite keeps them, and gives them to the file's journal).
    if (!info.isFile() && !PrivateFiles::prepare(path, &m_error)) {
        m_failure = SqlFailure::Other;
        return;
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout.loadRelaxed()));
    if (!m_db.open()) {
        noteError(m_db.lastError());
        return;
    }
    // SQLite opens lazily: read the schema once so that a file that is not a database fails here.
    QSqlQuery probe(m_db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        noteError(probe.lastError());
        return;
    }
    m_open = true;
}

void SqlConnection::openServer()
{
    m_dialect = &SqlDialect::postgres();
    m_server = ServerLocation::fromUri(m_path);
    if (!m_server) {
        m_failure = SqlFailure::NotADatabase;
        m_error = QStringLiteral("%1 is not the address of a server database "
                                 "(postgresql://user@host:port/database).")
                      .arg(m_path);
        return;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        m_failure = SqlFailure::Other;
        m_error =
            QStringLiteral("This computer has no PostgreSQL driver for Qt (the package libqt6sql6-psql).");
        return;
    }
    const QString uri = m_server->toUri();
    const QString typed = ServerPasswords::forUri(uri);
    if (borrowServer(typed))
        return;
    if (connectServer(*m_server, typed)) {
        keepServer(typed);
        return;
    }
    const QSqlError error = m_db.lastError();
    const bool ask = asksForPassword(error) || (refusedPassword(error) && !typed.isEmpty());
    PasswordProvider provider;
    {
        const QMutexLocker lock(&providerMutex);
        provider = passwordProvider();
    }
    if (!ask || !provider) {
        noteServerLoginError(*m_server, error);
        return;
    }
    ServerPasswords::forget(uri);
    const std::optional<QString> password =
        provider(*m_server, asksForPassword(error) ? QString() : QStringLiteral("The password was refused."));
    if (!password) {
        noteServerLoginError(*m_server, error);
        return;
    }
    if (connectServer(*m_server, *password)) {
        ServerPasswords::remember(uri, *password);
        keepServer(*password);
        return;
    }
    noteServerLoginError(*m_server, m_db.lastError());
}

namespace {
// A connection made under other limits (a test shortened them) is not lent.
QString keptKey(const QString& uri, const QString& password)
{
    return uri + QLatin1Char('\n') + password + QLatin1Char('\n') + ServerLimits::current().connectOptions();
}
} // namespace

bool SqlConnection::borrowServer(const QString& password)
{
    if (m_sharing == Sharing::Own)
        return false;
    const QString name = ServerConnections::borrow(keptKey(m_server->toUri(), password));
    if (name.isEmpty())
        return false;
    // The connection name made for this object was never used: nothing to remove.
    m_name = name;
    m_db = QSqlDatabase::database(name, false);
    m_open = true;
    m_kept = true;
    return true;
}

void SqlConnection::keepServer(const QString& password)
{
    if (m_sharing == Sharing::Own)
        return;
    m_kept = ServerConnections::keep(keptKey(m_server->toUri(), password), m_name);
}

bool SqlConnection::connectServer(const ServerLocation& server, const QString& password)
{
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
    m_db.setHostName(server.host);
    m_db.setPort(server.port);
    m_db.setDatabaseName(server.database);
    m_db.setUserName(server.user);
    // An empty password lets libpq read the user's password file.
    m_db.setPassword(password);
    const ServerLimits limits = ServerLimits::current();
    m_db.setConnectOptions(limits.connectOptions());
    // The window waits for a server that does not answer without freezing: the login is first
    // tried without blocking. Elsewhere the connect timeout alone bounds the wait.
    QString silent;
    if (ServerLimits::hasWaitHook() && !ServerProbe::reachable(server.host,
                                                               server.port,
                                                               server.database,
                                                               server.user,
                                                               password,
                                                               limits.connectTimeoutSeconds,
                                                               &silent)) {
        m_open = false;
        m_silentServer = silent;
        return false;
    }
    m_open = m_db.open();
    return m_open;
}

void SqlConnection::noteServerLoginError(const ServerLocation& server, const QSqlError& error)
{
    const QString where = QStringLiteral("The server %1, port %2").arg(server.host).arg(server.port);
    const QString message = serverMessage(error);
    m_failure = SqlFailure::Other;
    if (!m_silentServer.isEmpty()) {
        m_failure = SqlFailure::Unreachable;
        m_error = QStringLiteral("%1 cannot be reached (%2).").arg(where, m_silentServer);
    } else if (asksForPassword(error)) {
        m_error = QStringLiteral("%1 asks for the password of the user %2, and none was given.")
                      .arg(where, server.user);
    } else if (refusedPassword(error)) {
        m_error = QStringLiteral("%1 refused the password of the user %2.").arg(where, server.user);
    } else if (message.contains(QLatin1String("database \"")) &&
               message.contains(QLatin1String("does not exist"))) {
        m_error = QStringLiteral("%1 has no database named %2.").arg(where, server.database);
    } else if (message.contains(QLatin1String("role \"")) &&
               message.contains(QLatin1String("does not exist"))) {
        m_error = QStringLiteral("%1 has no user named %2.").arg(where, server.user);
    } else if (SqlDialect::postgres().classify(error) == SqlFailure::Unreachable) {
        m_failure = SqlFailure::Unreachable;
        m_error = QStringLiteral("%1 cannot be reached (%2).").arg(where, message);
    } else {
        m_error = QStringLiteral("%1 refused the connection (%2).").arg(where, message);
    }
}

SqlConnection::~SqlConnection()
{
    if (m_kept) {
        // A connection lost in this action is closed; a sound one waits for the next action.
        m_db = QSqlDatabase();
        ServerConnections::giveBack(m_name, m_open && m_failure != SqlFailure::Unreachable);
        return;
    }
    if (m_db.isValid())
        m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

void SqlConnection::noteError(const QSqlError& error)
{
    m_failure = m_dialect->classify(error);
    switch (m_failure) {
    case SqlFailure::Busy:
        m_error = busyText(engine());
        break;
    case SqlFailure::NotADatabase:
        m_error = QStringLiteral("The file is damaged or is not a database");
        if (!error.databaseText().isEmpty() &&
            !error.databaseText().contains(QLatin1String("not a database")))
            m_error += QStringLiteral(" (%1)").arg(error.databaseText());
        m_error += QLatin1Char('.');
        break;
    case SqlFailure::Unreachable:
        if (m_server && error.nativeErrorCode() == QLatin1String("57014")) {
            m_error = QStringLiteral("The server %1, port %2 did not answer in time (%3).")
                          .arg(m_server->host)
                          .arg(m_server->port)
                          .arg(serverMessage(error));
            break;
        }
        m_error = m_server ? QStringLiteral("The connection to the server %1, port %2 was lost (%3).")
                                 .arg(m_server->host)
                                 .arg(m_server->port)
                                 .arg(serverMessage(error))
                           : error.text();
        break;
    default:
        m_error = engine() == SqlEngine::SQLite ? error.text() : serverMessage(error);
        break;
    }
}

bool SqlConnection::exec(const QString& sql, const QVariantList& values)
{
    if (!m_open)
        return false;
    QSqlQuery query(m_db);
    // A server prepares only queries and row changes: a statement without values (the schema's)
    // runs as it is.
    if (values.isEmpty()) {
        if (query.exec(sql))
            return true;
        noteError(query.lastError());
        return false;
    }
    if (!query.prepare(sql)) {
        noteError(query.lastError());
        return false;
    }
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        noteError(query.lastError());
        return false;
    }
    return true;
}

QString SqlConnection::integrityProblem()
{
    if (!m_open)
        return m_error.isEmpty() ? QStringLiteral("The file cannot be opened.") : m_error;
    if (engine() != SqlEngine::SQLite)
        return {};
    QSqlQuery check(m_db);
    if (!check.exec(QStringLiteral("PRAGMA integrity_check"))) {
        noteError(check.lastError());
        return m_error;
    }
    if (!check.next())
        return QStringLiteral("The integrity check gave no answer.");
    const QString first = check.value(0).toString();
    return first == QLatin1String("ok") ? QString() : first;
}

int SqlConnection::busyTimeoutMs()
{
    return busyTimeout.loadRelaxed();
}

void SqlConnection::setBusyTimeoutMs(int milliseconds)
{
    busyTimeout.storeRelaxed(milliseconds);
}

int SqlConnection::serverConnectTimeoutSeconds()
{
    return ServerLimits::current().connectTimeoutSeconds;
}

void SqlConnection::setServerConnectTimeoutSeconds(int seconds)
{
    ServerLimits limits = ServerLimits::current();
    limits.connectTimeoutSeconds = seconds;
    ServerLimits::set(limits);
}

void SqlConnection::setPasswordProvider(PasswordProvider provider)
{
    const QMutexLocker lock(&providerMutex);
    passwordProvider() = std::move(provider);
}

} // namespace cs42
