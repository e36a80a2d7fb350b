#pragma once

#include <QString>

#include <functional>

class QSqlDatabase;

namespace cs42 {

// How long the program waits for an office server, in one place. No server action may hold the
// window for good: a row or table another workstation holds is given up after the lock timeout
// (reported as in use, as a busy file is), a statement after the statement timeout ("the server
// did not answer in time"), a connection whose peer is gone (a firewall that dropped it, a
// server that went away) is noticed through TCP keepalives and the TCP user timeout, and the
// connection kept between actions is probed with a short timeout before it is lent.
struct ServerLimits
{
    int connectTimeoutSeconds = 5;
    int lockTimeoutMs = 5000;
    int statementTimeoutMs = 15000;
    int keepalivesIdleSeconds = 10;
    int keepalivesIntervalSeconds = 5;
    int keepalivesCount = 3;
    int tcpUserTimeoutMs = 15000;
    int probeTimeoutMs = 2000;

    // The limits every new server connection gets.
    static ServerLimits current();
    // Tests shorten them here; connections made afterwards (kept ones included) take the new ones.
    static void set(const ServerLimits& limits);

    // libpq's connection options for these limits (QPSQL's setConnectOptions form).
    QString connectOptions() const;

    // Called again and again while the program waits for a server that has not answered yet
    // (probing the kept connection, connecting); the windows install one that lets them repaint.
    // Without one (cs42-admin, the tests of the core) the wait simply blocks, for the same time.
    using WaitHook = std::function<void()>;
    static void setWaitHook(WaitHook hook);
    static bool hasWaitHook();
    static void waitHook();
};

namespace ServerProbe {
// Runs ROLLBACK on the open server connection `db` (it ends a transaction a failed action left
// and is a no-op otherwise) and waits at most `timeoutMs` for the answer, calling the wait hook
// meanwhile. False when the connection is gone or did not answer in time; it must then be closed.
bool answers(QSqlDatabase& db, int timeoutMs);

// Whether a server answers a login within `timeoutSeconds`, waiting with the wait hook. A server
// that refuses the login answers; only one that says nothing in time, or cannot be reached at
// all, does not (`reason` then says why).
bool reachable(const QString& host,
               int port,
               const QString& database,
               const QString& user,
               const QString& password,
               int timeoutSeconds,
               QString* reason);
} // namespace ServerProbe

} // namespace cs42
