// The server's tables as an office may have them: made by the program and used by a role that may
// only read and write rows, or made by hand with columns that would change what is stored.
#include "AdminProcess.h"
#include "StoreEngines.h"
#include "core/names/NameForms.h"
#include "core/names/NameStore.h"
#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"
#include "core/store/Migration.h"
#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cs42;
using cs42::test::PgTestConnection;

namespace {
constexpr const char* ClerkPassword = "clerk-test";

// The server's superuser on its own socket, on one database: only it may make roles.
class SuperUser
{
public:
    SuperUser(const test::PgTestServer& server, const QString& database)
        : m_name(QStringLiteral("cs42-superuser-%1").arg(PgTestConnection::nextNumber()))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        db.setHostName(server.socketDir());
        db.setPort(server.port());
        db.setUserName(QStringLiteral("postgres"));
        db.setDatabaseName(database);
        db.open();
    }

    ~SuperUser() { QSqlDatabase::removeDatabase(m_name); }

    // Runs each statement; the first failure's text, or empty.
    QString run(const QStringList& statements)
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (!db.isOpen())
            return db.lastError().text();
        QSqlQuery query(db);
        for (const QString& sql : statements) {
            if (!query.exec(sql))
                return sql + QStringLiteral(": ") + query.lastError().text();
        }
        return {};
    }

private:
    QString m_name;
};

class ServerTablesTest : public test::StoreLocationTest
{
protected:
    void SetUp() override { useEngine(test::StoreEngine::Server); }

    void TearDown() override
    {
        StoreLocationTest::TearDown();
        if (!m_clerk.isEmpty()) {
            SuperUser admin(*server, QStringLiteral("postgres"));
            admin.run({QStringLiteral("DROP ROLE IF EXISTS %1").arg(m_clerk)});
        }
    }

    QString database() const { return test::PgTestServer::databaseName(uri); }

    // Runs statements as the tables' owner.
    QString asOwner(const QStringList& statements)
    {
        PgTestConnection owner(uri, server->password());
        QSqlQuery query(owner.database());
        for (const QString& sql : statements) {
            if (!query.exec(sql))
                return sql + QStringLiteral(": ") + query.lastError().text();
        }
        return {};
    }

    // A role that may only read and write the rows of the tables (and number new ones), the
    // usual set-up for the workstations; its password goes into the password file with cs42's.
    QString makeClerk()
    {
        m_clerk = QStringLiteral("clerk_%1_%2")
                      .arg(QCoreApplication::applicationPid())
                      .arg(PgTestConnection::nextNumber());
        SuperUser admin(*server, database());
        const QString failed = admin.run(
            {QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(m_clerk, QLatin1String(ClerkPassword)),
             QStringLiteral("REVOKE CREATE ON SCHEMA public FROM PUBLIC"),
             QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON cases, names, changes TO %1")
                 .arg(m_clerk),
             QStringLiteral("GRANT USAGE ON ALL SEQUENCES IN SCHEMA public TO %1").arg(m_clerk)});
        EXPECT_TRUE(failed.isEmpty()) << failed.toStdString();
        const QString passwords = work.filePath(QStringLiteral("pgpass"));
        QFile file(passwords);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("127.0.0.1:%1:*:cs42:%2\n127.0.0.1:%1:*:%3:%4\n")
                       .arg(server->port())
                       .arg(server->password(), m_clerk, QLatin1String(ClerkPassword))
                       .toUtf8());
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        file.close();
        qputenv("PGPASSFILE", QFile::encodeName(passwords));
        return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3")
            .arg(m_clerk)
            .arg(server->port())
            .arg(database());
    }

    // Start-up on `location` in a working directory of its own, as a workstation starts.
    StartUpReport startOn(const QTemporaryDir& station, const QString& location)
    {
        DataPaths there = DataStore::startUp(station.path());
        there.filesLocation = location;
        EXPECT_TRUE(DataStore::saveFilesLocation(there));
        StartUpReport report;
        DataStore::startUp(station.path(), &report);
        return report;
    }

    QString m_clerk;
};
} // namespace

// The usual least-privilege role starts, adds and saves cases and names, computes and produces
// the form, on tables the server's administrator made with the program.
TEST_F(ServerTablesTest, ARoleThatMayOnlyReadAndWriteRowsUsesCompleteTables)
{
    const QString clerk = makeClerk();
    QTemporaryDir station;
    const StartUpReport report = startOn(station, clerk);
    EXPECT_TRUE(report.serverProblem.isEmpty()) << report.serverProblem.toStdString();

    const CaseStore store(clerk);
    const QString key =
        store.addCase(QStringLiteral("Doe v. Roe"), QDate(2026, 12, 10), QStringLiteral("2022"));
    ASSERT_FALSE(key.isEmpty()) << store.problem().toStdString();
    EXPECT_EQ(store.saveCaseFields(key,
                                   {{QStringLiteral("pinc"), QStringLiteral("3000.49")},
                                    {QStringLiteral("dinc"), QStringLiteral("2000")},
                                    {QStringLiteral("numchildren"), QStringLiteral("1")}}),
              CaseStoreStatus::Ok)
        << store.problem().toStdString();
    const NameParts person{QStringLiteral("Ann"), {}, QStringLiteral("Adams"), {}, {}};
    EXPECT_FALSE(NameStore(clerk).addName(*NameForms::compose(person), person).isEmpty());

    const test::AdminRun worksheet = test::runAdmin(
        station.path(), {QStringLiteral("worksheet"), QStringLiteral("--case"), key}, INSTALLED_DATA_DIR);
    EXPECT_EQ(worksheet.exitCode, 0) << worksheet.err.toStdString();
    EXPECT_TRUE(worksheet.out.contains(QStringLiteral("3,000"))) << worksheet.out.toStdString();
    const QString pdf = station.filePath(QStringLiteral("produced.pdf"));
    const test::AdminRun produce = test::runAdmin(
        station.path(),
        {QStringLiteral("produce"), QStringLiteral("--case"), key, QStringLiteral("--out"), pdf},
        INSTALLED_DATA_DIR);
    EXPECT_EQ(produce.exitCode, 0) << produce.err.toStdString();
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    QString id = key;
    const auto record = store.findCurrentCase(id);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->value(QStringLiteral("pinc")), QStringLiteral("3000.49"));
}

// When something is missing and cannot be made, start-up names what is missing and the server's
// own reason (the first statement that failed), never an empty one.
TEST_F(ServerTablesTest, WhatCannotBeMadeIsNamedWithTheServersReason)
{
    struct Case
    {
        const char* what;
        QStringList ownerStatements;
        bool asClerk;
        QString expected;
        QString reason;
    };

    const Case cases[] = {
        {"a column missing, a role that may not add it",
         {QStringLiteral("ALTER TABLE cases DROP COLUMN dhealthins")},
         true,
         QStringLiteral(
             "The table cases on the server has no column dhealthins, and it could not be added ("),
         QStringLiteral("must be owner of table cases")},
        {"a column missing on a read-only server",
         {QStringLiteral("ALTER TABLE names DROP COLUMN photocaption"),
          QStringLiteral("ALTER DATABASE %1 SET default_transaction_read_only = on")},
         true,
         QStringLiteral(
             "The table names on the server has no column photocaption, and it could not be added ("),
         QStringLiteral("read-only transaction")},
        {"two cases with one key and no unique index",
         {QStringLiteral("DROP INDEX casescaseid"),
          QStringLiteral("INSERT INTO cases (casedesc, caseid) VALUES ('A', 'SAME0001'), ('B', 'SAME0001')")},
         false,
         QStringLiteral(
             "The table cases on the server has no unique index on caseid, and it could not be made ("),
         QStringLiteral("SAME0001")},
    };
    const QString first = uri;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        uri = server->freshDatabase(QStringLiteral("tables refused"));
        ASSERT_FALSE(uri.isEmpty());
        DataPaths owner = paths;
        owner.filesLocation = uri;
        ASSERT_TRUE(DataStore::setDataPaths(owner));
        // The role is made before a read-only setting would refuse to make it.
        const QString location = c.asClerk ? makeClerk() : uri;
        QStringList statements;
        for (const QString& sql : c.ownerStatements)
            statements << (sql.contains(QLatin1String("%1")) ? sql.arg(database()) : sql);
        ASSERT_EQ(asOwner(statements), QString());
        QTemporaryDir station;
        const StartUpReport report = startOn(station, location);
        EXPECT_TRUE(report.serverProblem.startsWith(c.expected)) << report.serverProblem.toStdString();
        EXPECT_TRUE(report.serverProblem.contains(c.reason)) << report.serverProblem.toStdString();
        server->dropDatabase(uri);
        if (c.asClerk) {
            SuperUser admin(*server, QStringLiteral("postgres"));
            admin.run({QStringLiteral("DROP ROLE IF EXISTS %1").arg(m_clerk)});
            m_clerk.clear();
        }
    }
    uri = first;
}

// Tables made by hand whose columns would change the figures, or that lack the order column, are
// refused at start-up, by cs42-admin and before a migrate, naming the columns; nothing is written.
TEST_F(ServerTablesTest, HandMadeTablesThatWouldChangeWhatIsStoredAreRefused)
{
    struct Case
    {
        const char* what;
        QStringList ownerStatements;
        QStringList named;
    };

    const Case cases[] = {
        {"amounts as numbers",
         {QStringLiteral("ALTER TABLE cases ALTER COLUMN pinc TYPE numeric(10,0) USING NULL"),
          QStringLiteral("ALTER TABLE cases ALTER COLUMN dinc TYPE real USING NULL"),
          QStringLiteral("ALTER TABLE cases ALTER COLUMN notaryname TYPE varchar(5)")},
         {QStringLiteral("the columns pinc (numeric(10,0)), dinc (real), notaryname (character varying(5)) "
                         "are not text")}},
        {"no rowid",
         {QStringLiteral("ALTER TABLE cases DROP COLUMN rowid")},
         {QStringLiteral("it has no column rowid")}},
        {"a rowid the server does not number",
         {QStringLiteral("ALTER TABLE cases ALTER COLUMN rowid DROP DEFAULT")},
         {QStringLiteral("the column rowid (bigint, no default) is not an integer")}},
    };
    QTemporaryDir emptyFolder;
    const QString folder = paths.defaultFilesLocation();
    DataPaths local = paths;
    local.filesLocation = folder;
    ASSERT_FALSE(
        CaseStore(local.casesDbPath()).addCase(QStringLiteral("Local"), QDate(2026, 1, 2)).isEmpty());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString hand = server->freshDatabase(QStringLiteral("hand made"));
        ASSERT_FALSE(hand.isEmpty());
        DataPaths there = paths;
        there.filesLocation = hand;
        ASSERT_TRUE(DataStore::setDataPaths(there));
        {
            PgTestConnection owner(hand, server->password());
            QSqlQuery query(owner.database());
            for (const QString& sql : c.ownerStatements)
                ASSERT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
        }
        QString problem;
        EXPECT_FALSE(DataStore::setDataPaths(there, &problem));
        for (const QString& named : c.named)
            EXPECT_TRUE(problem.contains(named)) << problem.toStdString();
        EXPECT_TRUE(problem.startsWith(QStringLiteral("The table cases on the server was not made as this "
                                                      "program makes it")))
            << problem.toStdString();

        const Migration::Outcome moved = Migration::migrate(folder, hand, true);
        EXPECT_FALSE(moved.copied);
        EXPECT_EQ(moved.error, problem);
        const Migration::Outcome back = Migration::migrate(hand, emptyFolder.path(), false);
        EXPECT_FALSE(back.copied);
        EXPECT_EQ(back.error, problem);

        const test::AdminRun run =
            test::runAdmin(work.path(),
                           {QStringLiteral("--location"), hand, QStringLiteral("worksheet")},
                           INSTALLED_DATA_DIR);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(c.named.first())) << run.err.toStdString();

        PgTestConnection check(hand, server->password());
        EXPECT_EQ(check.scalar(QStringLiteral("SELECT count(*) FROM cases")).toInt(), 0) << "nothing written";
        server->dropDatabase(hand);
    }
}

// A folder whose files hold a NUL byte in one comment and bytes that are not UTF-8 in a name is
// not copied to a server (the NUL once ended the copy half-way, the other bytes arrived as
// U+FFFD): each value is named with its case or name and its column, and the server stays empty.
TEST_F(ServerTablesTest, ValuesAServerCannotKeepAreNamedBeforeACopy)
{
    QTemporaryDir folder;
    DataPaths local = paths;
    local.filesLocation = folder.path();
    ASSERT_TRUE(DataStore::setDataPaths(local));
    const CaseStore cases(local.casesDbPath());
    const QString clean = cases.addCase(QStringLiteral("Clean v. Case"), QDate(2026, 1, 2));
    const QString nul = cases.addCase(QStringLiteral("Nul v. Case"), QDate(2026, 1, 2));
    {
        SqlConnection file(local.casesDbPath());
        ASSERT_TRUE(file.exec(QStringLiteral("UPDATE Cases SET textblock1 = CAST(x'41004200' AS TEXT) "
                                             "WHERE caseid = ?"),
                              {nul}));
        SqlConnection names(local.namesDbPath());
        ASSERT_TRUE(names.exec(QStringLiteral("INSERT INTO NAMES (listname, keynumber, city) "
                                              "VALUES ('Adams, Ann', 'ADAMS001', CAST(x'4DE96E' AS TEXT))")));
    }

    const Migration::Outcome moved = Migration::migrate(folder.path(), uri, true);
    EXPECT_FALSE(moved.copied);
    EXPECT_TRUE(moved.error.contains(QStringLiteral("nothing was copied"))) << moved.error.toStdString();
    EXPECT_TRUE(
        moved.error.contains(QStringLiteral("case %1 (Nul v. Case), column textblock1: a NUL byte").arg(nul)))
        << moved.error.toStdString();
    EXPECT_TRUE(moved.error.contains(
        QStringLiteral("name ADAMS001 (Adams, Ann), column city: bytes that are not UTF-8 text")))
        << moved.error.toStdString();
    EXPECT_FALSE(moved.error.contains(clean));
    EXPECT_EQ(CaseStore(uri).caseCount(), 0);

    // Corrected in the program, the folder goes across.
    EXPECT_EQ(cases.saveCaseField(nul, QStringLiteral("textblock1"), QStringLiteral("AB")),
              CaseStoreStatus::Ok);
    {
        SqlConnection names(local.namesDbPath());
        ASSERT_TRUE(names.exec(QStringLiteral("UPDATE NAMES SET city = 'Men' WHERE keynumber = 'ADAMS001'")));
    }
    const Migration::Outcome again = Migration::migrate(folder.path(), uri, true);
    EXPECT_TRUE(again.copied) << again.error.toStdString();
    EXPECT_EQ(CaseStore(uri).caseCount(), 2);
}
