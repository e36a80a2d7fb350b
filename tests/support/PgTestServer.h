#pragma once

// A PostgreSQL server for the tests, as scripts/pg-test-cluster.sh leaves one in its folder.
//
// ctest's pg fixture starts one cluster for the whole run and names its folder in
// CS42_TEST_PG_DIR; tests share it, each in databases of its own from freshDatabase(). A test that
// stops a server starts a private one, so that the others keep theirs:
//
//     std::optional<PgTestServer> server = PgTestServer::fromEnvironment();
//     CS42_SKIP_WITHOUT_PG(server);   // skipped when the variable is unset, failed when it is wrong
//     server->exportPgpassFile();     // libpq finds the password as the program's connections do
//     const QString uri = server->freshDatabase(QStringLiteral("case store"));
//     ASSERT_FALSE(uri.isEmpty()) << server->error().toStdString();
//
// Header-only and Qt Core/Sql only: the core tests use it without the UI's test support library.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <signal.h>

#ifndef PG_TEST_CLUSTER_SCRIPT
#error "PG_TEST_CLUSTER_SCRIPT must name scripts/pg-test-cluster.sh (tests/CMakeLists.txt defines it)"
#endif

// In a test body or a fixture's SetUp, with `server` a std::optional<PgTestServer>: skips the test
// when no cluster is named, fails it when the named folder holds none.
#define CS42_SKIP_WITHOUT_PG(server)                                                                         \
    if (!(server))                                                                                           \
        GTEST_SKIP() << "CS42_TEST_PG_DIR is not set: no PostgreSQL server for this test";                   \
    ASSERT_TRUE((server)->isValid()) << (server)->error().toStdString()

namespace cs42::test {

// A QPSQL connection to a postgresql://user@host:port/database address under a connection name of
// its own, removed with this object. Without a password libpq looks in PGPASSFILE. Let go of every
// copy of database() before this object goes.
class PgTestConnection
{
public:
    explicit PgTestConnection(const QString& uri, const QString& password = {})
        : m_name(QStringLiteral("cs42-pg-test-%1").arg(nextNumber()))
    {
        const QUrl url(uri);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        if (!url.isValid() || url.scheme() != QLatin1String("postgresql")) {
            m_error = QStringLiteral("not a postgresql:// address: %1").arg(uri);
            return;
        }
        db.setHostName(url.host());
        db.setPort(url.port(5432));
        db.setUserName(url.userName());
        db.setDatabaseName(url.path().mid(1));
        if (!password.isEmpty())
            db.setPassword(password);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
        if (!db.open())
            m_error = db.lastError().text();
    }

    ~PgTestConnection() { QSqlDatabase::removeDatabase(m_name); }

    PgTestConnection(const PgTestConnection&) = delete;
    PgTestConnection& operator=(const PgTestConnection&) = delete;

    bool isOpen() const { return database().isOpen(); }

    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

    QString error() const { return m_error; }

    // Runs `sql` and returns the first column of its first row, or an invalid value (error() says
    // why) when it fails or returns no row.
    QVariant scalar(const QString& sql)
    {
        QSqlQuery query(database());
        if (!query.exec(sql)) {
            m_error = query.lastError().text();
            return {};
        }
        return query.next() ? query.value(0) : QVariant();
    }

    static int nextNumber()
    {
        static std::atomic<int> number{0};
        return ++number;
    }

private:
    QString m_name;
    QString m_error;
};

class PgTestServer
{
public:
    static constexpr const char* FolderVariable = "CS42_TEST_PG_DIR";

    // The cluster CS42_TEST_PG_DIR names; nullopt when the variable is unset. A folder without a
    // cluster's files gives a server that is not isValid(), and error() says what is missing.
    static std::optional<PgTestServer> fromEnvironment()
    {
        if (!qEnvironmentVariableIsSet(FolderVariable))
            return std::nullopt;
        return fromDirectory(qEnvironmentVariable(FolderVariable));
    }

    // The cluster whose files are in `dir`, as `pg-test-cluster.sh start` left them.
    static PgTestServer fromDirectory(const QString& dir)
    {
        PgTestServer server;
        server.m_dir = QDir(dir).absolutePath();
        const QString port = server.readFile(QStringLiteral("port"));
        server.m_uri = server.readFile(QStringLiteral("uri"));
        server.m_socketDir = server.readFile(QStringLiteral("socket"));
        const QString pgpass = server.readFile(QStringLiteral("pgpass"));
        if (!server.m_error.isEmpty())
            return server;
        bool isNumber = false;
        server.m_port = port.toInt(&isNumber);
        if (!isNumber || server.m_port <= 0)
            server.m_error = QStringLiteral("%1/port holds no port number: %2").arg(server.m_dir, port);
        server.m_password = passwordOf(pgpass.section(QLatin1Char('\n'), 0, 0));
        if (server.m_password.isEmpty())
            server.m_error = QStringLiteral("%1/pgpass holds no password").arg(server.m_dir);
        return server;
    }

    // Starts a cluster of this test's own in `dir` (made if missing; stopPrivate() removes it).
    // The result is always there; isValid() and error() tell whether the cluster started.
    static std::optional<PgTestServer> startPrivate(const QString& dir)
    {
        QString output;
        if (!runScript(QStringLiteral("start"), dir, output)) {
            PgTestServer failed;
            failed.m_dir = dir;
            failed.m_error = QStringLiteral("cannot start a private cluster in %1: %2").arg(dir, output);
            return failed;
        }
        return fromDirectory(dir);
    }

    // Stops a private cluster and removes its folder. The shared cluster is not this test's to end.
    bool stopPrivate() { return refuseShared(QStringLiteral("end")) && run(QStringLiteral("stop")); }

    // Stops the server and keeps its data; startServer() starts it again on the same port. Open
    // connections break as they would when the server goes down. Private clusters only.
    bool stopServer() { return refuseShared(QStringLiteral("stop")) && run(QStringLiteral("pause")); }

    bool startServer() { return run(QStringLiteral("resume")); }

    // Stops every process of the server with SIGSTOP: connections stay open and nothing answers
    // them, as with a server that hangs or a firewall that drops packets. thawServer() sends
    // SIGCONT. Private clusters only.
    bool freezeServer() { return refuseShared(QStringLiteral("freeze")) && signalServer(SIGSTOP); }

    bool thawServer() { return signalServer(SIGCONT); }

    bool isValid() const { return m_error.isEmpty() && m_port > 0; }

    // Why the last call failed, or why this server is not valid.
    QString error() const { return m_error; }

    QString dir() const { return m_dir; }

    int port() const { return m_port; }

    // postgresql://cs42@127.0.0.1:PORT/cs42: the database that role cs42 owns.
    QString uri() const { return m_uri; }

    // A libpq password file with role cs42's password for this server.
    QString pgpassPath() const { return m_dir + QStringLiteral("/pgpass"); }

    QString socketDir() const { return m_socketDir; }

    QString dataDir() const
    {
        const QString data = m_dir + QStringLiteral("/data");
        const QString canonical = QFileInfo(data).canonicalFilePath();
        return canonical.isEmpty() ? data : canonical;
    }

    QString user() const { return QStringLiteral("cs42"); }

    QString password() const { return m_password; }

    // Points PGPASSFILE at this server's password file, so that a connection without a password
    // finds it there as the program's do.
    void exportPgpassFile() const { qputenv("PGPASSFILE", QFile::encodeName(pgpassPath())); }

    // A new empty database owned by cs42, named after `hint` (lowercase letters, digits and _,
    // this process's number and a count, at most 63 characters). Returns its address, or an empty
    // string when it cannot be made.
    QString freshDatabase(const QString& hint)
    {
        PgTestConnection admin(m_uri, m_password);
        if (!admin.isOpen())
            return failed(QStringLiteral("cannot reach %1: %2").arg(m_uri, admin.error()));
        // A database an earlier process of the same number left behind takes the next count.
        for (int attempt = 0; attempt < 20; ++attempt) {
            const QString name = databaseNameFor(hint);
            QSqlQuery query(admin.database());
            if (query.exec(QStringLiteral("CREATE DATABASE \"%1\"").arg(name))) {
                m_error.clear();
                return QStringLiteral("postgresql://cs42@127.0.0.1:%1/%2").arg(m_port).arg(name);
            }
            m_error = query.lastError().text();
            if (query.lastError().nativeErrorCode() != QLatin1String("42P04"))
                break;
        }
        return failed(QStringLiteral("cannot create a database: %1").arg(m_error));
    }

    // Drops a database by name or by address, ending its connections first. True when it is gone.
    bool dropDatabase(const QString& nameOrUri)
    {
        const QString name = nameOrUri.contains(QLatin1String("://")) ? databaseName(nameOrUri) : nameOrUri;
        PgTestConnection admin(m_uri, m_password);
        if (!admin.isOpen()) {
            m_error = QStringLiteral("cannot reach %1: %2").arg(m_uri, admin.error());
            return false;
        }
        QSqlQuery query(admin.database());
        if (!query.exec(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)")
                            .arg(QString(name).replace(QLatin1Char('"'), QLatin1String("\"\""))))) {
            m_error = QStringLiteral("cannot drop database %1: %2").arg(name, query.lastError().text());
            return false;
        }
        m_error.clear();
        return true;
    }

    // The database a postgresql:// address names.
    static QString databaseName(const QString& uri) { return QUrl(uri).path().mid(1); }

private:
    PgTestServer() = default;

    QString readFile(const QString& name)
    {
        QFile file(m_dir + QLatin1Char('/') + name);
        if (!file.open(QIODevice::ReadOnly)) {
            if (m_error.isEmpty())
                m_error = QStringLiteral("%1 is missing: no test cluster there (pg-test-cluster.sh start "
                                         "makes one; ctest's pg_cluster_start runs it)")
                              .arg(file.fileName());
            return {};
        }
        return QString::fromUtf8(file.readAll()).trimmed();
    }

    // The password field of a pgpass line host:port:database:user:password, where \ escapes.
    static QString passwordOf(const QString& line)
    {
        int field = 0;
        QString password;
        for (qsizetype i = 0; i < line.size(); ++i) {
            QChar c = line.at(i);
            if (c == QLatin1Char('\\') && i + 1 < line.size())
                c = line.at(++i);
            else if (c == QLatin1Char(':') && field < 4) {
                ++field;
                continue;
            }
            if (field == 4)
                password += c;
        }
        return password;
    }

    static QString databaseNameFor(const QString& hint)
    {
        static std::atomic<int> count{0};
        const QString suffix = QStringLiteral("_%1_%2").arg(QCoreApplication::applicationPid()).arg(++count);
        QString stem;
        for (const QChar c : hint.toLower()) {
            if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
                stem += c;
            else if (!stem.isEmpty() && !stem.endsWith(QLatin1Char('_')))
                stem += QLatin1Char('_');
        }
        if (stem.isEmpty() || stem.front().isDigit())
            stem.prepend(QStringLiteral("db_"));
        stem.truncate(63 - suffix.size());
        while (stem.endsWith(QLatin1Char('_')))
            stem.chop(1);
        return stem + suffix;
    }

    static bool runScript(const QString& command, const QString& dir, QString& output)
    {
        QProcess script;
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(QStringLiteral("bash"), {QStringLiteral(PG_TEST_CLUSTER_SCRIPT), command, dir});
        const bool finished = script.waitForFinished(120000);
        output = QString::fromLocal8Bit(script.readAll()).trimmed();
        if (!finished) {
            script.kill();
            script.waitForFinished();
            output = QStringLiteral("pg-test-cluster.sh %1 did not finish in time. %2").arg(command, output);
        }
        return finished && script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
    }

    bool run(const QString& command)
    {
        QString output;
        if (!runScript(command, m_dir, output)) {
            m_error = QStringLiteral("pg-test-cluster.sh %1 %2 failed: %3").arg(command, m_dir, output);
            return false;
        }
        m_error.clear();
        return true;
    }

    // Sends `signal` to the server's main process (data/postmaster.pid) and to its children.
    bool signalServer(int signal)
    {
        QFile pidFile(dataDir() + QStringLiteral("/postmaster.pid"));
        const qint64 main = pidFile.open(QIODevice::ReadOnly) ? pidFile.readLine().trimmed().toLongLong() : 0;
        if (main <= 0) {
            m_error = QStringLiteral("%1 names no running server").arg(pidFile.fileName());
            return false;
        }
        QList<qint64> processes{main};
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            // pid (name) state ppid ...: the name may hold spaces, so read after its ')'.
            const QByteArray line = stat.readAll();
            const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
            if (fields.size() > 1 && fields[1].toLongLong() == main)
                processes << entry.toLongLong();
        }
        for (const qint64 pid : processes)
            ::kill(pid_t(pid), signal);
        m_error.clear();
        return true;
    }

    bool refuseShared(const QString& what)
    {
        const QString shared = qEnvironmentVariable(FolderVariable);
        if (shared.isEmpty() || QFileInfo(shared).canonicalFilePath() != QFileInfo(m_dir).canonicalFilePath())
            return true;
        m_error = QStringLiteral("refusing to %1 the shared cluster in %2: other tests use it; "
                                 "startPrivate() gives a test a server of its own")
                      .arg(what, m_dir);
        return false;
    }

    QString failed(const QString& error)
    {
        m_error = error;
        return {};
    }

    QString m_dir;
    QString m_uri;
    QString m_socketDir;
    QString m_password;
    int m_port = 0;
    QString m_error;
};

} // namespace cs42::test
