#include "core/store/ChangeWatch.h"

#include "core/Logging.h"
#include "core/store/ServerLocation.h"
#include "core/store/SqlConnection.h"

#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <libpq-fe.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace cs42 {

namespace {
// Longest a look at a file waits for another workstation's write to end: the window must not stall.
constexpr int FileLookTimeoutMs = 100;
// How often a lost server connection is tried again.
constexpr qint64 ReconnectIntervalMs = 10000;

int nextWatchNumber()
{
    static int number = 0;
    return ++number;
}

// Which file a path names now. A file replaced by a rename (a restore or a move of the office)
// has another identity, and a connection kept on the old one would see no more changes. Windows
// cannot rename over an open file, so there the path alone identifies it.
QString fileIdentity(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat info
    {
    };

    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return QStringLiteral("%1:%2").arg(info.st_dev).arg(info.st_ino);
#else
    return path;
#endif
}

PGconn* pgConnection(const QSqlDatabase& db)
{
    // Qt's driver hands out libpq's connection under the name of its struct.
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(handle.constData());
}
} // namespace

ChangeWatch::ChangeWatch(QString casesDbPath, QObject* parent)
    : QObject(parent)
    , m_path(std::move(casesDbPath))
    , m_onServer(ServerLocation::isServerUri(m_path))
{
    m_timer.setInterval(CheckIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &ChangeWatch::checkNow);
    if (m_onServer)
        listen();
    else
        openFile();
    m_timer.start();
}

ChangeWatch::~ChangeWatch()
{
    closeConnection();
}

bool ChangeWatch::isWatching() const
{
    if (m_onServer)
        return m_listener && m_listener->isOpen();
    return !m_fileConnection.isEmpty();
}

void ChangeWatch::checkNow()
{
    // A look that waits (a server login with the window repainting) may let the timer fire again.
    if (m_checking)
        return;
    m_checking = true;
    if (m_onServer)
        checkServer();
    else
        checkFile();
    m_checking = false;
}

void ChangeWatch::closeConnection()
{
    m_listener.reset();
    if (!m_fileConnection.isEmpty()) {
        QSqlDatabase::database(m_fileConnection, false).close();
        QSqlDatabase::removeDatabase(m_fileConnection);
        m_fileConnection.clear();
    }
}

// ---------------------------------------------------------------------------------------------
// A database file in a folder

void ChangeWatch::openFile()
{
    const QString identity = fileIdentity(m_path);
    if (identity.isEmpty())
        return;
    const QString name = QStringLiteral("cs42-change-watch-%1").arg(nextWatchNumber());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(m_path);
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(FileLookTimeoutMs));
    if (!db.open()) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        return;
    }
    m_fileConnection = name;
    m_fileIdentity = identity;
    m_dataVersion = -1;
}

void ChangeWatch::checkFile()
{
    const QString identity = fileIdentity(m_path);
    if (m_fileConnection.isEmpty() || identity != m_fileIdentity) {
        // Missing before, or another file now: whatever it holds may differ from what was shown.
        const bool wasWatching = !m_fileConnection.isEmpty();
        closeConnection();
        openFile();
        if (wasWatching || !m_fileConnection.isEmpty())
            emit casesChanged(QString());
        if (m_fileConnection.isEmpty())
            return;
    }
    qint64 version = -1;
    {
        QSqlQuery query(QSqlDatabase::database(m_fileConnection, false));
        // Busy just now (a write is committing): the next look sees it.
        if (!query.exec(QStringLiteral("PRAGMA data_version")) || !query.next())
            return;
        version = query.value(0).toLongLong();
    }
    const bool changed = m_dataVersion >= 0 && version != m_dataVersion;
    m_dataVersion = version;
    if (changed)
        emit casesChanged(QString());
}

// ---------------------------------------------------------------------------------------------
// An office server

void ChangeWatch::listen()
{
    m_lastConnectAttemptMs = QDateTime::currentMSecsSinceEpoch();
    m_listener =
        std::make_unique<SqlConnection>(m_path, SqlConnection::Mode::MustExist, SqlConnection::Sharing::Own);
    if (!m_listener->isOpen()) {
        qCInfo(lcStore) << "cannot listen for changes on the server:" << m_listener->errorText();
        m_listener.reset();
        return;
    }
    QSqlDriver* driver = m_listener->database().driver();
    if (!driver->subscribeToNotification(SqlDialect::casesChannel())) {
        qCInfo(lcStore) << "the server refused to send notices of changes:" << driver->lastError().text();
        m_listener.reset();
        return;
    }
    connect(driver,
            &QSqlDriver::notification,
            this,
            [this](const QString&, QSqlDriver::NotificationSource, const QVariant& payload) {
                emit casesChanged(payload.toString());
            });
}

void ChangeWatch::checkServer()
{
    if (m_listener) {
        PGconn* connection = pgConnection(m_listener->database());
        if (connection && PQstatus(connection) == CONNECTION_OK)
            return;
        // The server went away (restarted, or the network dropped the connection): notices sent
        // meanwhile are lost, so whatever is shown may be old once it is reached again.
        m_listener.reset();
    }
    if (QDateTime::currentMSecsSinceEpoch() - m_lastConnectAttemptMs < ReconnectIntervalMs)
        return;
    listen();
    if (m_listener)
        emit casesChanged(QString());
}

} // namespace cs42
