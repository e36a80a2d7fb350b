// A server that keeps the program waiting: a row or table another session holds, a statement
// that runs too long, a server that stops answering. Each gives up within its limit and says
// why, and the program may try again.
#include "core/store/ServerLimits.h"

#include "StoreEngines.h"
#include "core/startup/DataStore.h"
#include "core/store/Backup.h"
#include "core/store/CaseStore.h"
#include "core/store/Migration.h"
#include "core/store/SqlConnection.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cs42;
using cs42::test::PgTestConnection;
using cs42::test::PgTestServer;

namespace {
// Short limits, so that each wait below is quick; restored after each test.
class ShortLimits
{
public:
    ShortLimits()
        : m_saved(ServerLimits::current())
    {
        ServerLimits limits = m_saved;
        limits.lockTimeoutMs = 1000;
        limits.statementTimeoutMs = 1500;
        limits.probeTimeoutMs = 1000;
        limits.connectTimeoutSeconds = 2;
        ServerLimits::set(limits);
    }

    ~ShortLimits() { ServerLimits::set(m_saved); }

private:
    ServerLimits m_saved;
};

class ServerLimitsTest : public test::StoreLocationTest
{
protected:
    void SetUp() override { useEngine(test::StoreEngine::Server); }

    ShortLimits m_limits;
};

// How long `action` took, in milliseconds.
template <typename Action> qint64 timed(Action action)
{
    QElapsedTimer clock;
    clock.start();
    action();
    return clock.elapsed();
}
} // namespace

// Another session holds the case's row: the save is refused as in use after the lock timeout,
// the user's entry is not lost (nothing written, may try again), and it goes in once the row is free.
TEST_F(ServerLimitsTest, AHeldRowIsInUseAfterTheLockTimeout)
{
    const CaseStore store(uri);
    const QString key = store.addCase(QStringLiteral("Doe v. Roe"), QDate(2026, 12, 10));
    PgTestConnection other(uri, server->password());
    QSqlQuery holder(other.database());
    ASSERT_TRUE(other.database().transaction());
    ASSERT_TRUE(holder.exec(QStringLiteral("UPDATE cases SET pinc = '1' WHERE caseid = '%1'").arg(key)));

    CaseStoreStatus status = CaseStoreStatus::Ok;
    const qint64 waited =
        timed([&] { status = store.saveCaseField(key, QStringLiteral("pinc"), QStringLiteral("4250")); });
    EXPECT_EQ(status, CaseStoreStatus::Busy);
    EXPECT_GE(waited, 900);
    EXPECT_LT(waited, 3000);
    const CaseStoreMessage message = store.messageFor(status);
    EXPECT_EQ(message.title, QStringLiteral("Cases Database in Use"));
    EXPECT_FALSE(message.endsProgram);

    ASSERT_TRUE(other.database().rollback());
    EXPECT_EQ(store.saveCaseField(key, QStringLiteral("pinc"), QStringLiteral("4250")), CaseStoreStatus::Ok);
}

// A statement the server does not finish in time is cancelled and said to be so.
TEST_F(ServerLimitsTest, AStatementThatRunsTooLongIsCancelled)
{
    SqlConnection connection(uri);
    qint64 waited = 0;
    bool done = true;
    waited = timed([&] { done = connection.exec(QStringLiteral("SELECT pg_sleep(10)")); });
    EXPECT_FALSE(done);
    EXPECT_LT(waited, 4000);
    EXPECT_EQ(connection.failure(), SqlFailure::Unreachable) << "the user may try again";
    EXPECT_TRUE(connection.errorText().startsWith(
        QStringLiteral("The server 127.0.0.1, port %1 did not answer in time (").arg(server->port())))
        << connection.errorText().toStdString();
}

// The quit-time backup and migrate wait for a table another session holds no longer than the
// lock timeout, and say it is in use.
TEST_F(ServerLimitsTest, BackupAndMigrateGiveUpOnAHeldTableAfterTheLockTimeout)
{
    CaseStore(uri).addCase(QStringLiteral("Doe v. Roe"), QDate(2026, 12, 10));
    QTemporaryDir folder;
    DataPaths local = paths;
    local.filesLocation = folder.path();
    ASSERT_TRUE(DataStore::setDataPaths(local));
    PgTestConnection other(uri, server->password());
    QSqlQuery holder(other.database());
    ASSERT_TRUE(other.database().transaction());
    ASSERT_TRUE(holder.exec(QStringLiteral("LOCK TABLE cases IN ACCESS EXCLUSIVE MODE")));

    Migration::Outcome moved;
    qint64 waited = timed([&] { moved = Migration::migrate(folder.path(), uri, true); });
    EXPECT_FALSE(moved.copied);
    EXPECT_TRUE(moved.error.contains(QStringLiteral("held by another workstation")))
        << moved.error.toStdString();
    EXPECT_LT(waited, 4000);

    QList<QPair<Backup::BackupSet, Backup::BackupOutcome>> backups;
    waited = timed([&] { backups = Backup::writeBackups(paths); });
    ASSERT_FALSE(backups.isEmpty());
    EXPECT_EQ(backups.first().second.status, Backup::BackupStatus::Failed);
    EXPECT_TRUE(backups.first().second.detail.contains(QStringLiteral("held by another workstation")))
        << backups.first().second.detail.toStdString();
    EXPECT_LT(waited, 4000);
    ASSERT_TRUE(other.database().rollback());
    EXPECT_EQ(CaseStore(uri).caseCount(), 1);
}

// A server whose processes stop answering (the kept connection's backend and the server that
// would take a new one) is reported as not reached within the probe and connect timeouts;
// once it answers again the program goes on.
TEST(ServerStoppedTest, AServerThatStopsAnsweringIsNotReachedWithinSeconds)
{
    QTemporaryDir clusterDir;
    ASSERT_TRUE(clusterDir.isValid());
    if (!qEnvironmentVariableIsSet(PgTestServer::FolderVariable))
        GTEST_SKIP() << "no PostgreSQL test server";
    std::optional<PgTestServer> server =
        PgTestServer::startPrivate(clusterDir.filePath(QStringLiteral("pg")));
    ASSERT_TRUE(server && server->isValid()) << server->error().toStdString();
    server->exportPgpassFile();
    const ShortLimits limits;

    QTemporaryDir work;
    DataPaths paths = DataStore::startUp(work.path());
    paths.filesLocation = server->uri();
    ASSERT_TRUE(DataStore::setDataPaths(paths));
    const CaseStore store(server->uri());
    const QString key = store.addCase(QStringLiteral("Doe v. Roe"), QDate(2026, 12, 10));
    ASSERT_FALSE(key.isEmpty());

    ASSERT_TRUE(server->freezeServer()) << server->error().toStdString();
    CaseStoreStatus status = CaseStoreStatus::Ok;
    const qint64 waited =
        timed([&] { status = store.saveCaseField(key, QStringLiteral("pinc"), QStringLiteral("4250")); });
    ASSERT_TRUE(server->thawServer()) << server->error().toStdString();
    EXPECT_EQ(status, CaseStoreStatus::Unreachable) << store.problem().toStdString();
    EXPECT_LT(waited, 6000) << "probe 1 s and connect 2 s";
    EXPECT_FALSE(store.messageFor(status).endsProgram);

    EXPECT_EQ(store.saveCaseField(key, QStringLiteral("pinc"), QStringLiteral("4250")), CaseStoreStatus::Ok);
    server->stopPrivate();
}
