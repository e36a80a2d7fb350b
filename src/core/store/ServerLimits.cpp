#include "core/store/ServerLimits.h"

#include <QDeadlineTimer>
#include <QMutex>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>

#include <libpq-fe.h>
#include <poll.h>

Q_DECLARE_OPAQUE_POINTER(PGconn*)
Q_DECLARE_METATYPE(PGconn*)

namespace cs42 {

namespace {
QMutex limitsMutex;

ServerLimits& stored()
{
    static ServerLimits limits;
    return limits;
}

ServerLimits::WaitHook& hook()
{
    static ServerLimits::WaitHook waitHook;
    return waitHook;
}

// The slice of a wait between two calls of the wait hook: short enough for the window to
// repaint smoothly.
constexpr int SliceMs = 20;

// Waits until `socket` can be read (or written) or the slice or the deadline ends; true when it
// can.
bool waitOnSocket(int socket, bool forWriting, const QDeadlineTimer& deadline)
{
    pollfd watched{socket, short(forWriting ? POLLOUT : POLLIN), 0};
    const qint64 left = deadline.remainingTime();
    const bool ready = ::poll(&watched, 1, int(qBound(qint64(0), left, qint64(SliceMs)))) > 0;
    ServerLimits::waitHook();
    return ready;
}
} // namespace

ServerLimits ServerLimits::current()
{
    const QMutexLocker lock(&limitsMutex);
    return stored();
}

void ServerLimits::set(const ServerLimits& limits)
{
    const QMutexLocker lock(&limitsMutex);
    stored() = limits;
}

QString ServerLimits::connectOptions() const
{
    // QPSQL turns the semicolons into the spaces of a libpq connection string; the server
    // settings go into one quoted `options` value.
    return QStringLiteral("connect_timeout=%1;application_name=cs42;keepalives=1;keepalives_idle=%2;"
                          "keepalives_interval=%3;keepalives_count=%4;tcp_user_timeout=%5;"
                          "options='-c client_min_messages=error -c lock_timeout=%6 -c statement_timeout=%7'")
        .arg(connectTimeoutSeconds)
        .arg(keepalivesIdleSeconds)
        .arg(keepalivesIntervalSeconds)
        .arg(keepalivesCount)
        .arg(tcpUserTimeoutMs)
        .arg(lockTimeoutMs)
        .arg(statementTimeoutMs);
}

void ServerLimits::setWaitHook(WaitHook waitHook)
{
    hook() = std::move(waitHook);
}

bool ServerLimits::hasWaitHook()
{
    return bool(hook());
}

void ServerLimits::waitHook()
{
    if (hook())
        hook()();
}

namespace ServerProbe {

bool answers(QSqlDatabase& db, int timeoutMs)
{
    if (!db.isOpen())
        return false;
    const QVariant handle = db.driver()->handle();
    PGconn* connection =
        handle.metaType() == QMetaType::fromType<PGconn*>() ? handle.value<PGconn*>() : nullptr;
    if (!connection) {
        QSqlQuery probe(db);
        return probe.exec(QStringLiteral("ROLLBACK"));
    }
    // Sent without waiting, so that a server that stopped answering costs the timeout only.
    if (PQstatus(connection) != CONNECTION_OK || !PQsendQuery(connection, "ROLLBACK"))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    while (PQflush(connection) == 1) {
        if (deadline.hasExpired())
            return false;
        waitOnSocket(PQsocket(connection), true, deadline);
    }
    for (;;) {
        if (!PQconsumeInput(connection))
            return false;
        if (!PQisBusy(connection))
            break;
        if (deadline.hasExpired())
            return false;
        waitOnSocket(PQsocket(connection), false, deadline);
    }
    bool sound = true;
    while (PGresult* result = PQgetResult(connection)) {
        sound = sound && PQresultStatus(result) == PGRES_COMMAND_OK;
        PQclear(result);
    }
    return sound && PQstatus(connection) == CONNECTION_OK;
}

bool reachable(const QString& host,
               int port,
               const QString& database,
               const QString& user,
               const QString& password,
               int timeoutSeconds,
               QString* reason)
{
    const QByteArray values[] = {host.toUtf8(),
                                 QByteArray::number(port),
                                 database.toUtf8(),
                                 user.toUtf8(),
                                 password.toUtf8(),
                                 QByteArrayLiteral("cs42")};
    const char* keywords[] = {"host", "port", "dbname", "user", "password", "application_name", nullptr};
    const char* given[] = {values[0].constData(),
                           values[1].constData(),
                           values[2].constData(),
                           values[3].constData(),
                           // An empty password lets libpq read the user's password file.
                           password.isEmpty() ? nullptr : values[4].constData(),
                           values[5].constData(),
                           nullptr};
    PGconn* connection = PQconnectStartParams(keywords, given, 0);
    if (!connection)
        return true; // out of memory: the real connection will say so
    const QDeadlineTimer deadline(qint64(timeoutSeconds) * 1000);
    PostgresPollingStatusType state = PGRES_POLLING_WRITING;
    bool answered = true;
    while (PQstatus(connection) != CONNECTION_BAD && state != PGRES_POLLING_OK &&
           state != PGRES_POLLING_FAILED) {
        if (deadline.hasExpired()) {
            answered = false;
            if (reason)
                *reason = QStringLiteral("timeout expired");
            break;
        }
        // libpq is asked to go on only once the socket is ready, as its manual requires.
        if (PQsocket(connection) < 0 ||
            waitOnSocket(PQsocket(connection), state == PGRES_POLLING_WRITING, deadline))
            state = PQconnectPoll(connection);
    }
    PQfinish(connection);
    return answered;
}

} // namespace ServerProbe

} // namespace cs42
