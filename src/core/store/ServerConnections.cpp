#include "core/store/ServerConnections.h"

#include "core/store/ServerLimits.h"

#include <QCoreApplication>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>

namespace cs42::ServerConnections {

namespace {
struct Kept
{
    QString name;
    bool lent = false;
};

QHash<QString, Kept>& kept()
{
    static QHash<QString, Kept> connections;
    return connections;
}

// Only the program's own thread keeps connections: a connection belongs to the thread that made
// it, and the kept ones are closed when the application object goes.
bool onProgramThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void close(const QString& name)
{
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void closeAll()
{
    for (const Kept& connection : std::as_const(kept()))
        close(connection.name);
    kept().clear();
}

void forget(const QString& key)
{
    close(kept().value(key).name);
    kept().remove(key);
}
} // namespace

QString borrow(const QString& key)
{
    if (!onProgramThread())
        return {};
    auto found = kept().find(key);
    if (found == kept().end() || found->lent)
        return {};
    // Lent while it is probed: the window repaints meanwhile, and an action started then must
    // not take it too.
    found->lent = true;
    const QString name = found->name;
    bool answers = false;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        // A server that stopped answering (a stopped backend, a firewall that dropped the idle
        // connection) costs the probe's timeout, not the program.
        answers = ServerProbe::answers(db, ServerLimits::current().probeTimeoutMs);
    }
    if (!answers) {
        forget(key);
        return {};
    }
    return name;
}

bool keep(const QString& key, const QString& name)
{
    if (!onProgramThread() || kept().contains(key))
        return false;
    static const bool closedAtExit = [] {
        qAddPostRoutine(closeAll);
        return true;
    }();
    Q_UNUSED(closedAtExit);
    kept().insert(key, {name, true});
    return true;
}

void giveBack(const QString& name, bool healthy)
{
    for (auto it = kept().begin(); it != kept().end(); ++it) {
        if (it->name != name)
            continue;
        if (healthy) {
            it->lent = false;
        } else {
            const QString key = it.key();
            forget(key);
        }
        return;
    }
}

} // namespace cs42::ServerConnections
