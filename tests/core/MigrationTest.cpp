// Moving an office between a data folder and a server with cs42-admin migrate: every case and
// name arrives exactly as it left, in either direction, and a target that holds data is kept.
#include "AdminProcess.h"
#include "StoreEngines.h"
#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"
#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"
#include "core/store/TableCopy.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cs42;
using cs42::test::PgTestServer;

namespace {
constexpr int Rows = 10000;

// Values that break careless SQL or careless encodings.
QString awkward(int i, int column)
{
    switch ((i + column) % 6) {
    case 0:
        return QStringLiteral("O'Brien \"the elder\" %1").arg(i);
    case 1:
        return QStringLiteral("Müller-Lüdenscheidt, Ñúñez ĳ € %1").arg(i);
    case 2:
        return QString(); // Null
    case 3:
        return QStringLiteral("");
    case 4:
        return QStringLiteral("'); DROP TABLE Cases; -- %1").arg(i);
    default:
        return QString::number(i * 37 + column);
    }
}

void fill(const QString& path, const TableDef& table, const QString& prefix, const QString& longColumn)
{
    SqlConnection connection(path);
    ASSERT_TRUE(connection.isOpen()) << connection.errorText().toStdString();
    TableCopy::Rows rows;
    for (const ColumnDef& column : table.allColumns())
        rows.columns << column.name;
    const QString note =
        QStringLiteral("A long note: ") + QString(3000, QChar(0x00e9)) + QStringLiteral("\r\nend");
    for (int i = 0; i < Rows; ++i) {
        QVariantList row;
        for (int c = 0; c < rows.columns.size(); ++c) {
            const QString& name = rows.columns[c];
            QString value = awkward(i, c);
            if (name == table.keyColumn)
                value = prefix + QString::number(i);
            else if (name == longColumn && i % 10 == 0)
                value = note;
            row << (value.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(value));
        }
        rows.values.append(row);
    }
    ASSERT_TRUE(
        connection.exec(QStringLiteral("DELETE FROM %1").arg(connection.dialect().identifier(table.name))));
    ASSERT_TRUE(connection.database().transaction());
    QString error;
    ASSERT_TRUE(TableCopy::append(connection, table, rows, &error)) << error.toStdString();
    ASSERT_TRUE(connection.database().commit());
}

// Every row as texts, a Null told apart from the empty text.
QList<QStringList> contents(const QString& path, const TableDef& table)
{
    SqlConnection connection(path);
    const std::optional<TableCopy::Rows> rows = TableCopy::read(connection, table);
    QList<QStringList> texts;
    if (!rows)
        return texts;
    texts.append(rows->columns);
    for (const QVariantList& row : rows->values) {
        QStringList line;
        for (const QVariant& value : row)
            line << (value.isNull() ? QStringLiteral("<Null>") : QStringLiteral("=") + value.toString());
        texts.append(line);
    }
    return texts;
}

class MigrationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server = PgTestServer::fromEnvironment();
        CS42_SKIP_WITHOUT_PG(server);
        server->exportPgpassFile();
        uri = server->freshDatabase(QStringLiteral("migration"));
        ASSERT_FALSE(uri.isEmpty()) << server->error().toStdString();
        ASSERT_TRUE(work.isValid());
        source = DataStore::startUp(work.path());
    }

    void TearDown() override
    {
        if (server && !uri.isEmpty())
            server->dropDatabase(uri);
    }

    DataPaths at(const QString& location) const
    {
        DataPaths paths = source;
        paths.filesLocation = location;
        return paths;
    }

    std::optional<PgTestServer> server;
    QString uri;
    QTemporaryDir work;
    DataPaths source;
};
} // namespace

TEST_F(MigrationTest, TenThousandCasesAndNamesRoundTripExactlyInBothDirections)
{
    fill(source.casesDbPath(), Schema::casesTable(), QStringLiteral("CA"), QStringLiteral("textblock1"));
    fill(source.namesDbPath(), Schema::namesTable(), QStringLiteral("N"), QStringLiteral("notes"));
    const QList<QStringList> cases = contents(source.casesDbPath(), Schema::casesTable());
    const QList<QStringList> names = contents(source.namesDbPath(), Schema::namesTable());
    ASSERT_EQ(cases.size(), Rows + 1);
    ASSERT_EQ(names.size(), Rows + 1);

    const test::AdminRun up = test::runAdmin(work.path(),
                                             {QStringLiteral("migrate"),
                                              QStringLiteral("--from"),
                                              source.filesLocation,
                                              QStringLiteral("--to"),
                                              uri});
    ASSERT_EQ(up.exitCode, 0) << up.err.toStdString();
    EXPECT_TRUE(up.out.startsWith(QStringLiteral("Copied 10000 cases and 10000 names")))
        << up.out.toStdString();
    EXPECT_EQ(contents(uri, Schema::casesTable()), cases);
    EXPECT_EQ(contents(uri, Schema::namesTable()), names);

    const QString back = work.filePath(QStringLiteral("back"));
    ASSERT_TRUE(QDir().mkpath(back));
    const test::AdminRun down = test::runAdmin(
        work.path(),
        {QStringLiteral("migrate"), QStringLiteral("--from"), uri, QStringLiteral("--to"), back});
    ASSERT_EQ(down.exitCode, 0) << down.err.toStdString();
    EXPECT_EQ(contents(at(back).casesDbPath(), Schema::casesTable()), cases);
    EXPECT_EQ(contents(at(back).namesDbPath(), Schema::namesTable()), names);
    EXPECT_TRUE(QDir(back).entryList({QStringLiteral("*tmp*")}, QDir::Files).isEmpty())
        << "no temporary left";
}

TEST_F(MigrationTest, ATargetThatHoldsCasesIsKeptUnlessReplaceIsGiven)
{
    const CaseStore local(source.casesDbPath());
    local.addCase(QStringLiteral("Local"), QDate(2026, 12, 10));
    ASSERT_TRUE(DataStore::setDataPaths(at(uri)));
    const CaseStore remote(uri);
    remote.addCase(QStringLiteral("On the server"), QDate(2026, 12, 10));
    const QStringList args = {QStringLiteral("migrate"),
                              QStringLiteral("--from"),
                              source.filesLocation,
                              QStringLiteral("--to"),
                              uri};

    const test::AdminRun refused = test::runAdmin(work.path(), args);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("already holds 1 cases"))) << refused.err.toStdString();
    ASSERT_EQ(remote.listCases().size(), 1);
    EXPECT_EQ(remote.listCases().first().caseDesc, QStringLiteral("On the server"));

    const test::AdminRun replaced =
        test::runAdmin(work.path(), args + QStringList{QStringLiteral("--replace")});
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    ASSERT_EQ(remote.listCases().size(), 1);
    EXPECT_EQ(remote.listCases().first().caseDesc, QStringLiteral("Local"));
}

// A copy the server refuses half-way (two cases with one key, which the server keeps unique)
// changes nothing there.
TEST_F(MigrationTest, ACopyThatFailsHalfWayLeavesTheServerAsItWas)
{
    ASSERT_TRUE(DataStore::setDataPaths(at(uri)));
    const CaseStore remote(uri);
    remote.addCase(QStringLiteral("Kept"), QDate(2026, 12, 10));
    {
        SqlConnection file(source.casesDbPath());
        ASSERT_TRUE(
            file.exec(QStringLiteral("INSERT INTO Cases (casedesc, caseid) VALUES ('One', 'DU000001'), "
                                     "('Two', 'DU000002'), ('Three', 'DU000001')")));
    }
    const test::AdminRun run = test::runAdmin(work.path(),
                                              {QStringLiteral("migrate"),
                                               QStringLiteral("--from"),
                                               source.filesLocation,
                                               QStringLiteral("--to"),
                                               uri,
                                               QStringLiteral("--replace")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("have the key \"DU000001\""))) << run.err.toStdString();
    const QList<CaseListItem> cases = remote.listCases();
    ASSERT_EQ(cases.size(), 1);
    EXPECT_EQ(cases.first().caseDesc, QStringLiteral("Kept"));
}

// "localhost" in place of "127.0.0.1" is the same server database: a copy onto it would revert
// the saves other workstations make meanwhile.
TEST_F(MigrationTest, AnotherSpellingOfTheSourceServerIsRefusedAsTheSamePlace)
{
    ASSERT_TRUE(DataStore::setDataPaths(at(uri)));
    CaseStore(uri).addCase(QStringLiteral("On the server"), QDate(2026, 12, 10));
    // The password file names 127.0.0.1 only; this one serves any spelling of the host.
    const QString pgpass = work.filePath(QStringLiteral("pgpass-any-host"));
    QFile file(pgpass);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("*:") + QByteArray::number(server->port()) + ":*:cs42:cs42-test\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray before = qgetenv("PGPASSFILE");
    qputenv("PGPASSFILE", QFile::encodeName(pgpass));
    QString localhost = uri;
    localhost.replace(QStringLiteral("@127.0.0.1:"), QStringLiteral("@localhost:"));
    const test::AdminRun run = test::runAdmin(work.path(),
                                              {QStringLiteral("migrate"),
                                               QStringLiteral("--from"),
                                               uri,
                                               QStringLiteral("--to"),
                                               localhost,
                                               QStringLiteral("--replace")});
    qputenv("PGPASSFILE", before);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err,
              QStringLiteral("cs42-admin: migrate: The source and the target are the same place.\n"));
    EXPECT_EQ(CaseStore(uri).listCases().size(), 1);
}

// Every command that works on the files location takes a server in its place.
TEST_F(MigrationTest, AdminCommandsWorkOnAServerLocation)
{
    ASSERT_TRUE(DataStore::setDataPaths(at(uri)));
    // On the 2022 form, whose schedule the installed data brings (the 2009 form's is the office's).
    const QString key =
        CaseStore(uri).addCase(QStringLiteral("Server v. Case"), QDate(2026, 12, 10), QStringLiteral("2022"));
    const test::AdminRun run = test::runAdmin(
        work.path(),
        {QStringLiteral("--location"), uri, QStringLiteral("worksheet"), QStringLiteral("--json")},
        QStringLiteral(INSTALLED_DATA_DIR));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("\"caseid\": \"%1\"").arg(key))) << run.out.toStdString();

    const QString nowhere = QStringLiteral("postgresql://cs42@127.0.0.1:1/cs42");
    const test::AdminRun refused =
        test::runAdmin(work.path(), {QStringLiteral("--location"), nowhere, QStringLiteral("worksheet")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("The server 127.0.0.1, port 1 cannot be reached")))
        << refused.err.toStdString();
}

// A workstation is pointed at a server, and back at a folder once the server is gone for good.
TEST_F(MigrationTest, LocationCommandStoresAUsablePlaceOnly)
{
    const auto location = [this](const QStringList& args) {
        return test::runAdmin(work.path(), QStringList{QStringLiteral("location")} + args);
    };
    test::AdminRun run = location({uri});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(location({}).out.trimmed(), uri);
    DataPaths stored = DataPaths::forWorkingDirectory(work.path());
    ASSERT_TRUE(DataStore::loadSettings(stored).isEmpty());
    EXPECT_EQ(stored.filesLocation, uri);

    run = location({QStringLiteral("postgresql://cs42@127.0.0.1:1/cs42")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("the location was not changed"))) << run.err.toStdString();
    EXPECT_EQ(location({}).out.trimmed(), uri);

    server->dropDatabase(uri);
    run = location({source.filesLocation});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(location({}).out.trimmed(), source.filesLocation);
}
