// The cases on an office server: many workstations saving at once, one killed mid-save, the
// server going away in the middle of a run, and each way a login can fail.
#include "CaseWriterProcess.h"
#include "StoreEngines.h"
#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"
#include "core/store/SqlConnection.h"

#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace cs42;
using cs42::test::PgTestServer;

namespace {
const QString& CaseWriter = test::caseWriterPath();
const QStringList WriterColumns = {QStringLiteral("pinc"),
                                   QStringLiteral("dinc"),
                                   QStringLiteral("ppre"),
                                   QStringLiteral("dpre"),
                                   QStringLiteral("poc"),
                                   QStringLiteral("doc"),
                                   QStringLiteral("presp"),
                                   QStringLiteral("dresp")};

class ServerStoreTest : public test::StoreEngineTest
{
protected:
    CaseStore store() const { return CaseStore(paths.casesDbPath()); }

    QString value(const QString& caseId, const QString& column) const
    {
        QString id = caseId;
        const auto record = store().findCurrentCase(id);
        return record ? record->value(column) : QStringLiteral("<no case>");
    }
};

INSTANTIATE_TEST_SUITE_P(Engines,
                         ServerStoreTest,
                         ::testing::Values(test::StoreEngine::Server),
                         test::engineName);
} // namespace

// Writers save different columns of the same cases and of different cases at once; every save
// that returned is there at the end, and no writer touched another's column. Runs on both engines.
class ManyWritersTest : public test::StoreLocationTest,
                        public ::testing::WithParamInterface<std::tuple<test::StoreEngine, int>>
{
protected:
    void SetUp() override { useEngine(std::get<0>(GetParam())); }
};

TEST_P(ManyWritersTest, SavesOfDifferentColumnsOfTheSameAndOfDifferentCasesAreAllKept)
{
    const int writers = std::get<1>(GetParam());
    const int columnsPerCase = qMin(writers, int(WriterColumns.size()));
    const int cases = writers / columnsPerCase;
    constexpr int Saves = 25;
    const CaseStore store(paths.casesDbPath());
    QStringList caseIds;
    for (int c = 0; c < cases; ++c)
        caseIds << store.addCase(QStringLiteral("Case %1").arg(c), QDate(2026, 12, 10));

    std::vector<std::unique_ptr<QProcess>> processes;
    for (int w = 0; w < writers; ++w) {
        auto process = std::make_unique<QProcess>();
        process->start(CaseWriter,
                       {paths.casesDbPath(),
                        WriterColumns[w % columnsPerCase],
                        QString::number(Saves),
                        caseIds[w / columnsPerCase]});
        processes.push_back(std::move(process));
    }
    for (int w = 0; w < writers; ++w) {
        QProcess& process = *processes[size_t(w)];
        ASSERT_TRUE(process.waitForFinished(110000)) << "writer " << w;
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        EXPECT_EQ(process.readAllStandardOutput().count('\n'), Saves) << "writer " << w;
    }
    for (int c = 0; c < cases; ++c) {
        QString id = caseIds[c];
        const auto record = store.findCurrentCase(id);
        ASSERT_TRUE(record);
        for (int k = 0; k < int(WriterColumns.size()); ++k) {
            if (k < columnsPerCase)
                EXPECT_EQ(record->value(WriterColumns[k]), QString::number(Saves))
                    << "case " << c << " " << k;
            else
                EXPECT_TRUE(record->isNull(WriterColumns[k])) << "no writer had column " << k;
        }
        EXPECT_EQ(record->caseDesc(), QStringLiteral("Case %1").arg(c)) << "no save touched the name";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Engines,
    ManyWritersTest,
    ::testing::Combine(::testing::Values(test::StoreEngine::File, test::StoreEngine::Server),
                       ::testing::Values(8, 32)),
    [](const auto& param) {
        return std::string(std::get<0>(param.param) == test::StoreEngine::File ? "File" : "Server") + "_" +
               std::to_string(std::get<1>(param.param)) + "_writers";
    });

// A save writes its columns in one statement: a writer killed in the middle leaves each row
// with all of a save or none of it, and every save that had returned.
TEST_P(ServerStoreTest, KilledWriterLeavesNoPartialRow)
{
    constexpr int Cases = 1500;
    {
        SqlConnection connection(paths.casesDbPath());
        ASSERT_TRUE(connection.database().transaction());
        for (int i = 1; i <= Cases; ++i)
            ASSERT_TRUE(connection.exec(QStringLiteral("INSERT INTO Cases (casedesc, caseid) VALUES (?, ?)"),
                                        {QStringLiteral("Case %1").arg(i), QStringLiteral("KL%1").arg(i)}));
        ASSERT_TRUE(connection.database().commit());
    }
    QProcess writer;
    writer.start(CaseWriter,
                 {paths.casesDbPath(),
                  QStringLiteral("pinc,dinc,poc,doc"),
                  QString::number(Cases),
                  QStringLiteral("--each"),
                  QStringLiteral("KL")});
    ASSERT_TRUE(writer.waitForStarted());
    const int lastReturned = test::killAfterSaves(writer, 40);
    ASSERT_GE(lastReturned, 40);
    ASSERT_LT(lastReturned, Cases) << "the writer finished before it was killed";

    SqlConnection connection(paths.casesDbPath());
    QSqlQuery query(connection.database());
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT caseid, pinc, dinc, poc, doc FROM Cases ORDER BY rowid")));
    int written = 0;
    while (query.next()) {
        const int n = query.value(0).toString().mid(2).toInt();
        const QString first = query.value(1).toString();
        for (int c = 2; c <= 4; ++c)
            EXPECT_EQ(query.value(c).toString(), first) << "case " << n << " holds part of a save";
        if (n <= lastReturned) {
            EXPECT_EQ(first, QString::number(n)) << "save " << n << " had returned";
        }
        written += first.isEmpty() ? 0 : 1;
    }
    EXPECT_GE(written, lastReturned);
    EXPECT_LE(written, lastReturned + 1) << "at most the save in flight went in";
}

// The server goes down while the program runs: a save says the server cannot be reached and
// stores nothing, every save reported stored before is still there once it is back.
TEST(ServerGoneTest, ASaveWhileTheServerIsDownIsRefusedAndEarlierSavesSurvive)
{
    QTemporaryDir clusterDir;
    ASSERT_TRUE(clusterDir.isValid());
    if (!qEnvironmentVariableIsSet(PgTestServer::FolderVariable))
        GTEST_SKIP() << "no PostgreSQL test server";
    std::optional<PgTestServer> server =
        PgTestServer::startPrivate(clusterDir.filePath(QStringLiteral("pg")));
    ASSERT_TRUE(server && server->isValid()) << server->error().toStdString();
    server->exportPgpassFile();

    QTemporaryDir work;
    DataPaths paths = DataStore::startUp(work.path());
    paths.filesLocation = server->uri();
    ASSERT_TRUE(DataStore::setDataPaths(paths));
    const CaseStore store(paths.casesDbPath());
    const QString key = store.addCase(QStringLiteral("Doe v. Roe"), QDate(2026, 12, 10));
    ASSERT_EQ(store.saveCaseField(key, QStringLiteral("pinc"), QStringLiteral("4250")), CaseStoreStatus::Ok);

    ASSERT_TRUE(server->stopServer()) << server->error().toStdString();
    EXPECT_EQ(store.saveCaseField(key, QStringLiteral("pinc"), QStringLiteral("9999")),
              CaseStoreStatus::Unreachable);
    const CaseStoreMessage message = store.messageFor(CaseStoreStatus::Unreachable);
    EXPECT_FALSE(message.endsProgram) << "the entry is still in hand: the user may try again";
    EXPECT_TRUE(message.text.contains(QStringLiteral("cannot be reached just now")))
        << message.text.toStdString();
    EXPECT_TRUE(message.text.contains(QStringLiteral("127.0.0.1, port %1").arg(server->port())))
        << message.text.toStdString();
    QString id = key;
    CaseStoreStatus status = CaseStoreStatus::Ok;
    EXPECT_FALSE(store.findCurrentCase(id, &status));
    EXPECT_EQ(status, CaseStoreStatus::Unreachable);

    ASSERT_TRUE(server->startServer()) << server->error().toStdString();
    id = key;
    const auto record = store.findCurrentCase(id);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->value(QStringLiteral("pinc")), QStringLiteral("4250"));
    EXPECT_EQ(store.saveCaseField(key, QStringLiteral("pinc"), QStringLiteral("9999")), CaseStoreStatus::Ok);
    server->stopPrivate();
}

// Each way of not getting in says what it is, names the server, and never hangs.
TEST(ServerLoginTest, EachFailureHasItsOwnMessage)
{
    std::optional<PgTestServer> server = PgTestServer::fromEnvironment();
    CS42_SKIP_WITHOUT_PG(server);
    QTemporaryDir work;
    const QString wrongPasswords = work.filePath(QStringLiteral("pgpass"));
    {
        QFile file(wrongPasswords);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("127.0.0.1:%1:*:cs42:not-the-password\n").arg(server->port()).toUtf8());
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    const QString port = QString::number(server->port());

    struct Case
    {
        const char* what;
        QString uri;
        QString passwordFile;
        QString expected;
        SqlFailure failure;
    };

    const Case cases[] = {
        {"wrong password",
         server->uri(),
         wrongPasswords,
         QStringLiteral("The server 127.0.0.1, port %1 refused the password of the user cs42.").arg(port),
         SqlFailure::Other},
        {"no password",
         server->uri(),
         work.filePath(QStringLiteral("none")),
         QStringLiteral(
             "The server 127.0.0.1, port %1 asks for the password of the user cs42, and none was given.")
             .arg(port),
         SqlFailure::Other},
        {"unknown database",
         QStringLiteral("postgresql://cs42@127.0.0.1:%1/nosuchdb").arg(port),
         server->pgpassPath(),
         QStringLiteral("The server 127.0.0.1, port %1 has no database named nosuchdb.").arg(port),
         SqlFailure::Other},
        {"unreachable host",
         QStringLiteral("postgresql://cs42@127.0.0.1:1/cs42"),
         server->pgpassPath(),
         QStringLiteral("The server 127.0.0.1, port 1 cannot be reached ("),
         SqlFailure::Unreachable},
    };
    for (const Case& c : cases) {
        qputenv("PGPASSFILE", QFile::encodeName(c.passwordFile));
        SqlConnection connection(c.uri);
        EXPECT_FALSE(connection.isOpen()) << c.what;
        EXPECT_TRUE(connection.errorText().startsWith(c.expected))
            << c.what << ": " << connection.errorText().toStdString();
        EXPECT_EQ(connection.failure(), c.failure) << c.what;
    }

    // At start-up the same reason goes into the cases-database message.
    qputenv("PGPASSFILE", QFile::encodeName(wrongPasswords));
    DataPaths paths = DataStore::startUp(work.path());
    paths.filesLocation = server->uri();
    ASSERT_TRUE(DataStore::saveFilesLocation(paths));
    StartUpReport report;
    DataStore::startUp(work.path(), &report);
    EXPECT_TRUE(report.serverProblem.contains(QStringLiteral("refused the password")))
        << report.serverProblem.toStdString();
}

// A password the password file does not hold is asked for once and kept for the run; a wrong
// one is asked for again.
TEST(ServerLoginTest, AMissingPasswordIsAskedForAndKeptForTheRun)
{
    std::optional<PgTestServer> server = PgTestServer::fromEnvironment();
    CS42_SKIP_WITHOUT_PG(server);
    QTemporaryDir work;
    qputenv("PGPASSFILE", QFile::encodeName(work.filePath(QStringLiteral("none"))));
    QStringList answers = {QStringLiteral("wrong"), server->password()};
    QStringList reasons;
    SqlConnection::setPasswordProvider([&](const ServerLocation& location, const QString& reason) {
        EXPECT_EQ(location.user, QStringLiteral("cs42"));
        reasons << reason;
        return answers.isEmpty() ? std::nullopt : std::optional<QString>(answers.takeFirst());
    });
    {
        SqlConnection first(server->uri());
        EXPECT_FALSE(first.isOpen()) << "the first answer was wrong";
        EXPECT_TRUE(first.errorText().contains(QStringLiteral("refused the password")))
            << first.errorText().toStdString();
    }
    {
        SqlConnection second(server->uri());
        EXPECT_TRUE(second.isOpen()) << second.errorText().toStdString();
    }
    {
        SqlConnection third(server->uri());
        EXPECT_TRUE(third.isOpen()) << "the typed password is kept for the run";
    }
    EXPECT_EQ(reasons.size(), 2);
    EXPECT_TRUE(answers.isEmpty());
    SqlConnection::setPasswordProvider({});
    ServerPasswords::forget(server->uri());
}

// One connection per server is kept between actions and lent to each in turn; an action that
// needs a second one while the first is lent gets its own.
TEST_P(ServerStoreTest, ActionsShareOneKeptConnection)
{
    const auto backend = [](SqlConnection& connection) {
        QSqlQuery query(connection.database());
        return query.exec(QStringLiteral("SELECT pg_backend_pid()")) && query.next() ? query.value(0).toInt()
                                                                                     : -1;
    };
    int first = 0;
    {
        SqlConnection connection(paths.casesDbPath());
        first = backend(connection);
        ASSERT_GT(first, 0);
        SqlConnection nested(paths.casesDbPath());
        const int second = backend(nested);
        EXPECT_GT(second, 0);
        EXPECT_NE(second, first) << "a lent connection is not lent twice";
    }
    {
        SqlConnection later(paths.casesDbPath());
        EXPECT_EQ(backend(later), first);
        // A transaction an action left open is ended before the connection is lent again.
        ASSERT_TRUE(later.database().transaction());
        ASSERT_TRUE(later.exec(
            QStringLiteral("INSERT INTO Cases (casedesc, caseid) VALUES ('Left open', 'LO000001')")));
    }
    EXPECT_FALSE(store().caseExists(QStringLiteral("LO000001")));
    EXPECT_EQ(store().addCase(QStringLiteral("After"), QDate(2026, 12, 10)).size(), 8);
}
