// The PostgreSQL server the store's tests run against: ctest's pg fixture starts one for the run,
// each test takes databases of its own from it, and a test that stops a server starts its own.
#include "support/PgTestServer.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <unistd.h>

using namespace cs42::test;

namespace {
// Sets an environment variable for one test and puts back what was there.
class ScopedVariable
{
public:
    ScopedVariable(const char* name, const QByteArray& value)
        : m_name(name)
        , m_saved(qgetenv(name))
        , m_wasSet(qEnvironmentVariableIsSet(name))
    {
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }

    ~ScopedVariable() { m_wasSet ? qputenv(m_name, m_saved) : qunsetenv(m_name); }

    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    QByteArray m_saved;
    bool m_wasSet;
};

class PgTestServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server = PgTestServer::fromEnvironment();
        CS42_SKIP_WITHOUT_PG(server);
    }

    std::optional<PgTestServer> server;
    ScopedVariable pgpassFile{"PGPASSFILE", QByteArray()};
};
} // namespace

TEST_F(PgTestServerTest, FreshDatabaseOpensWithThePasswordFileAndOnlyWithIt)
{
    const QString uri = server->freshDatabase(QStringLiteral("password file"));
    ASSERT_FALSE(uri.isEmpty()) << server->error().toStdString();

    // Over TCP the server asks for the password: without the file there is none to give.
    const QTemporaryDir empty;
    qputenv("PGPASSFILE", QFile::encodeName(empty.filePath(QStringLiteral("none"))));
    {
        const PgTestConnection refused(uri);
        EXPECT_FALSE(refused.isOpen());
    }

    server->exportPgpassFile();
    PgTestConnection connection(uri);
    ASSERT_TRUE(connection.isOpen()) << connection.error().toStdString();
    EXPECT_EQ(connection.scalar(QStringLiteral("SELECT current_database()")).toString(),
              PgTestServer::databaseName(uri));
    EXPECT_EQ(connection.scalar(QStringLiteral("SELECT current_user")).toString(), QStringLiteral("cs42"));
    EXPECT_EQ(connection.scalar(QStringLiteral("SELECT host(inet_server_addr())")).toString(),
              QStringLiteral("127.0.0.1"));
    EXPECT_EQ(connection.scalar(QStringLiteral("SHOW server_encoding")).toString(), QStringLiteral("UTF8"));
    EXPECT_EQ(connection.scalar(QStringLiteral("SELECT count(*) FROM pg_tables WHERE schemaname = 'public'"))
                  .toInt(),
              0);
    // cs42 owns what it is given, so the store may create its tables there.
    EXPECT_EQ(connection
                  .scalar(QStringLiteral("SELECT pg_get_userbyid(datdba) FROM pg_database "
                                         "WHERE datname = current_database()"))
                  .toString(),
              QStringLiteral("cs42"));
}

TEST_F(PgTestServerTest, FreshDatabasesAreSeparateAndValidlyNamedWhateverTheHint)
{
    const QStringList hints = {QStringLiteral("CaseStore"),
                               QStringLiteral("CaseStore"),
                               QStringLiteral("Names: Ünïcode, spaces & \"quotes\""),
                               QString(),
                               QStringLiteral("42 starts with a digit"),
                               QString(120, QLatin1Char('x'))};
    const QRegularExpression valid(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
    QStringList uris;
    QSet<QString> names;
    for (const QString& hint : hints) {
        const QString uri = server->freshDatabase(hint);
        ASSERT_FALSE(uri.isEmpty()) << hint.toStdString() << ": " << server->error().toStdString();
        const QString name = PgTestServer::databaseName(uri);
        EXPECT_TRUE(valid.match(name).hasMatch()) << name.toStdString();
        names.insert(name);
        uris.append(uri);
    }
    EXPECT_EQ(names.size(), hints.size());

    server->exportPgpassFile();
    {
        PgTestConnection first(uris.at(0));
        PgTestConnection second(uris.at(1));
        ASSERT_TRUE(first.isOpen() && second.isOpen())
            << first.error().toStdString() << second.error().toStdString();
        QSqlQuery create(first.database());
        ASSERT_TRUE(create.exec(QStringLiteral("CREATE TABLE Cases (caseid text)")));
        EXPECT_EQ(
            second.scalar(QStringLiteral("SELECT count(*) FROM pg_tables WHERE tablename = 'cases'")).toInt(),
            0);
    }

    // Dropping by address ends the connections still open on it.
    PgTestConnection open(uris.at(0));
    ASSERT_TRUE(open.isOpen());
    for (const QString& uri : uris)
        EXPECT_TRUE(server->dropDatabase(uri)) << server->error().toStdString();
    EXPECT_FALSE(PgTestConnection(uris.at(0)).isOpen());
}

// Skipping is for a run without a server; a named folder that holds none is a broken run.
TEST(PgTestServerEnvironment, UnsetMeansNoServerAndAFolderWithoutOneIsAnError)
{
    {
        const ScopedVariable unset(PgTestServer::FolderVariable, QByteArray());
        EXPECT_FALSE(PgTestServer::fromEnvironment().has_value());
    }
    const QTemporaryDir empty;
    const ScopedVariable named(PgTestServer::FolderVariable, QFile::encodeName(empty.path()));
    const std::optional<PgTestServer> server = PgTestServer::fromEnvironment();
    ASSERT_TRUE(server.has_value());
    EXPECT_FALSE(server->isValid());
    EXPECT_TRUE(server->error().contains(empty.path() + QStringLiteral("/port")))
        << server->error().toStdString();
}

TEST_F(PgTestServerTest, PrivateServerStopsAndStartsAgainWithItsData)
{
    QTemporaryDir work;
    const QString dir = work.filePath(QStringLiteral("cluster"));
    std::optional<PgTestServer> own = PgTestServer::startPrivate(dir);
    ASSERT_TRUE(own.has_value());

    struct Stop
    {
        std::optional<PgTestServer>& server;

        ~Stop() { server->stopPrivate(); }
    } stop{own};

    ASSERT_TRUE(own->isValid()) << own->error().toStdString();
    EXPECT_NE(own->port(), server->port());

    const QString uri = own->freshDatabase(QStringLiteral("paused"));
    ASSERT_FALSE(uri.isEmpty()) << own->error().toStdString();
    own->exportPgpassFile();
    PgTestConnection before(uri);
    ASSERT_TRUE(before.isOpen()) << before.error().toStdString();
    QSqlQuery write(before.database());
    ASSERT_TRUE(write.exec(QStringLiteral("CREATE TABLE Cases (caseid text)")));
    ASSERT_TRUE(write.exec(QStringLiteral("INSERT INTO Cases VALUES ('kept')")));

    ASSERT_TRUE(own->stopServer()) << own->error().toStdString();
    QSqlQuery broken(before.database());
    EXPECT_FALSE(broken.exec(QStringLiteral("SELECT 1")));
    EXPECT_FALSE(PgTestConnection(uri).isOpen());
    EXPECT_TRUE(own->freshDatabase(QStringLiteral("while stopped")).isEmpty());

    ASSERT_TRUE(own->startServer()) << own->error().toStdString();
    PgTestConnection after(uri);
    ASSERT_TRUE(after.isOpen()) << after.error().toStdString();
    EXPECT_EQ(after.scalar(QStringLiteral("SELECT caseid FROM Cases")).toString(), QStringLiteral("kept"));

    // The shared server is not one test's to stop or end: the others run on it meanwhile.
    EXPECT_FALSE(server->stopServer());
    EXPECT_FALSE(server->stopPrivate());
    EXPECT_FALSE(server->freshDatabase(QStringLiteral("still up")).isEmpty())
        << server->error().toStdString();

    EXPECT_TRUE(own->stopPrivate()) << own->error().toStdString();
    EXPECT_FALSE(QDir(dir).exists());
}

// ctest runs under `flock /tmp/cs42-build.lock`, whose descriptor every test inherits. A server
// that a test starts must not keep it: it would hold the lock after the tests end, and every later
// build would wait for it. Checked after a start and after a start again (resume).
TEST_F(PgTestServerTest, APrivateServerKeepsNoDescriptorOfTheProcessThatStartedIt)
{
    QTemporaryDir work;
    const QByteArray lockFile = QFile::encodeName(work.filePath(QStringLiteral("build.lock")));
    // As flock(1) holds it: locked, and inherited by the processes started meanwhile.
    const auto holdLock = [&] {
        const int fd = ::open(lockFile.constData(), O_RDWR | O_CREAT, 0600);
        return fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? fd : -1;
    };
    const auto lockIsFree = [&] {
        const int fd = ::open(lockFile.constData(), O_RDWR | O_CLOEXEC);
        const bool free = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (fd >= 0)
            ::close(fd);
        return free;
    };

    int held = holdLock();
    ASSERT_GE(held, 0);
    const QString dir = work.filePath(QStringLiteral("cluster"));
    std::optional<PgTestServer> own = PgTestServer::startPrivate(dir);
    ::close(held);

    struct Stop
    {
        std::optional<PgTestServer>& server;

        ~Stop() { server->stopPrivate(); }
    } stop{own};

    ASSERT_TRUE(own->isValid()) << own->error().toStdString();
    EXPECT_TRUE(lockIsFree()) << "the server started by startPrivate holds the lock";

    ASSERT_TRUE(own->stopServer()) << own->error().toStdString();
    held = holdLock();
    ASSERT_GE(held, 0);
    const bool started = own->startServer();
    ::close(held);
    ASSERT_TRUE(started) << own->error().toStdString();
    EXPECT_TRUE(lockIsFree()) << "the server started again by startServer holds the lock";
    // Still running: the lock is free because the server let go of it, not because it ended.
    own->exportPgpassFile();
    EXPECT_TRUE(PgTestConnection(own->uri()).isOpen());
}
