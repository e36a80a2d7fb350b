// cs42-admin migrate into a folder that an office already works in: the target's two files are
// all old or all new whenever the copy stops, and a journal a crashed workstation left there never
// reaches the new content.
#include "AdminProcess.h"
#include "core/startup/DataStore.h"
#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"
#include "core/store/TableCopy.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace cs42;

namespace {
const QString CasesFile = QStringLiteral("QUONDATA.MDB");
const QString NamesFile = QStringLiteral("Names.mdb");

// Fills `folder`'s cases and names with `cases` and `names` rows whose descriptions start with
// `generation`.
void fillFolder(const QString& folder, const QString& generation, int cases, int names)
{
    const QString note = QString(400, QLatin1Char('x'));
    for (const auto& [file, table, count, text] :
         {std::tuple{CasesFile, &Schema::casesTable(), cases, QStringLiteral("casedesc")},
          std::tuple{NamesFile, &Schema::namesTable(), names, QStringLiteral("lastname")}}) {
        const QString path = QDir(folder).filePath(file);
        ASSERT_EQ(Schema::ensureDatabase(path, *table), SqlFailure::None);
        SqlConnection connection(path);
        TableCopy::Rows rows;
        rows.columns = {table->keyColumn, text, QStringLiteral("notes")};
        if (!table->hasColumn(QStringLiteral("notes")))
            rows.columns.last() = QStringLiteral("textblock1");
        for (int i = 0; i < count; ++i)
            rows.values.append(
                {QStringLiteral("K%1").arg(i), QStringLiteral("%1 %2").arg(generation).arg(i), note});
        ASSERT_TRUE(connection.exec(
            QStringLiteral("DELETE FROM %1").arg(connection.dialect().identifier(table->name))));
        ASSERT_TRUE(connection.database().transaction());
        QString error;
        ASSERT_TRUE(TableCopy::append(connection, *table, rows, &error)) << error.toStdString();
        ASSERT_TRUE(connection.database().commit());
    }
}

// "<generation> <rows>" of a table when every row is of one generation, else what was found.
QString generationOf(const QString& path, const TableDef& table, const QString& column)
{
    SqlConnection connection(path);
    if (!connection.isOpen())
        return connection.errorText();
    const QString damage = connection.integrityProblem();
    if (!damage.isEmpty())
        return QStringLiteral("damaged: ") + damage;
    QSqlQuery query(connection.database());
    if (!query.exec(QStringLiteral("SELECT substr(%1, 1, 3), count(*) FROM %2 GROUP BY 1")
                        .arg(column, connection.dialect().identifier(table.name))))
        return QStringLiteral("unreadable");
    QStringList found;
    while (query.next())
        found << query.value(0).toString() + QLatin1Char(' ') + query.value(1).toString();
    return found.join(QStringLiteral(", "));
}

QString folderGeneration(const QString& folder)
{
    return generationOf(QDir(folder).filePath(CasesFile), Schema::casesTable(), QStringLiteral("casedesc")) +
           QStringLiteral(" / ") +
           generationOf(QDir(folder).filePath(NamesFile), Schema::namesTable(), QStringLiteral("lastname"));
}

class MigrationFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        DataStore::startUp(work.path());
        for (const QString& folder : {source(), target()})
            ASSERT_TRUE(QDir().mkpath(folder));
    }

    QString source() const { return work.filePath(QStringLiteral("source")); }

    QString target() const { return work.filePath(QStringLiteral("target")); }

    QStringList migrateArgs() const
    {
        return {QStringLiteral("migrate"),
                QStringLiteral("--from"),
                source(),
                QStringLiteral("--to"),
                target(),
                QStringLiteral("--replace")};
    }

    QTemporaryDir work;
};
} // namespace

// A workstation that crashed in the middle of a save leaves its journal beside the target file;
// SQLite rolls it back into whatever file then carries the name.
TEST_F(MigrationFolderTest, AJournalACrashedWorkstationLeftNeverReachesTheNewFile)
{
    fillFolder(source(), QStringLiteral("New"), 1101, 40);
    const QString crashed = work.filePath(QStringLiteral("crashed"));
    ASSERT_TRUE(QDir().mkpath(crashed));
    fillFolder(crashed, QStringLiteral("Old"), 1500, 40);
    {
        // A save in progress, its changed pages already in the file: copied as they are, the
        // file and its hot journal are what a workstation killed at that moment leaves behind.
        const QString live = QDir(crashed).filePath(CasesFile);
        SqlConnection connection(live);
        ASSERT_TRUE(connection.exec(QStringLiteral("PRAGMA cache_size = 1")));
        ASSERT_TRUE(connection.database().transaction());
        ASSERT_TRUE(connection.exec(QStringLiteral("UPDATE Cases SET casedesc = 'Half ' || casedesc")));
        ASSERT_TRUE(QFileInfo::exists(live + QStringLiteral("-journal")));
        for (const QString& name : {CasesFile, CasesFile + QStringLiteral("-journal"), NamesFile})
            ASSERT_TRUE(QFile::copy(QDir(crashed).filePath(name), QDir(target()).filePath(name)));
        connection.database().rollback();
    }

    const test::AdminRun run = test::runAdmin(work.path(), migrateArgs());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out,
              QStringLiteral("Copied 1101 cases and 40 names from %1 to %2.\n").arg(source(), target()));
    EXPECT_EQ(folderGeneration(target()), QStringLiteral("New 1101 / New 40"));
    EXPECT_FALSE(QFileInfo::exists(QDir(target()).filePath(CasesFile + QStringLiteral("-journal"))));
}

// The copy is killed at several moments: before it writes, while each file's journal is there,
// while the super-journal that ties them is there, as soon as the cases file changed, and at
// fixed times. Each time the target's two
// files must be all old or all new.
TEST_F(MigrationFolderTest, AMigrateKilledAtAnyMomentLeavesTheTargetAllOldOrAllNew)
{
    constexpr int NewCases = 6000;
    constexpr int NewNames = 3000;
    fillFolder(source(), QStringLiteral("New"), NewCases, NewNames);
    const QString pristine = work.filePath(QStringLiteral("pristine"));
    ASSERT_TRUE(QDir().mkpath(pristine));
    fillFolder(pristine, QStringLiteral("Old"), 300, 100);
    const QString allOld = QStringLiteral("Old 300 / Old 100");
    const QString allNew = QStringLiteral("New %1 / New %2").arg(NewCases).arg(NewNames);

    const QDir targetDir(target());
    const auto fileAppeared = [&targetDir](const QString& pattern) {
        return [&targetDir, pattern] {
            return !targetDir.entryList({pattern}, QDir::Files).isEmpty();
        };
    };

    const auto casesFileChanged = [&targetDir, &pristine] {
        return [&targetDir, &pristine] {
            return QFileInfo(targetDir.filePath(CasesFile)).size() !=
                   QFileInfo(QDir(pristine).filePath(CasesFile)).size();
        };
    };

    struct KillPoint
    {
        QString what;
        std::function<bool()> reached;
        int afterMs;
    };

    const QList<KillPoint> points = {
        {QStringLiteral("at once"), nullptr, 0},
        {QStringLiteral("cases journal"), fileAppeared(CasesFile + QStringLiteral("-journal")), 0},
        {QStringLiteral("names journal"), fileAppeared(NamesFile + QStringLiteral("-journal")), 0},
        {QStringLiteral("super-journal"), fileAppeared(CasesFile + QStringLiteral("-mj*")), 0},
        {QStringLiteral("the cases file changed"), casesFileChanged(), 0},
        {QStringLiteral("after 150 ms"), nullptr, 150},
        {QStringLiteral("after 400 ms"), nullptr, 400},
        {QStringLiteral("after 800 ms"), nullptr, 800},
    };
    int killedWhileWriting = 0;
    for (const KillPoint& point : points) {
        SCOPED_TRACE(point.what.toStdString());
        for (const QString& name : targetDir.entryList(QDir::Files))
            ASSERT_TRUE(QFile::remove(targetDir.filePath(name)));
        for (const QString& name : {CasesFile, NamesFile})
            ASSERT_TRUE(QFile::copy(QDir(pristine).filePath(name), targetDir.filePath(name)));

        QProcess migrate;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CS42_DATA_DIR"), QString()); // nothing to install
        migrate.setProcessEnvironment(environment);
        migrate.setWorkingDirectory(work.path());
        migrate.start(QStringLiteral(CS42_ADMIN_PATH), migrateArgs());
        ASSERT_TRUE(migrate.waitForStarted());
        QElapsedTimer clock;
        clock.start();
        bool reached = !point.reached;
        while (migrate.state() == QProcess::Running && clock.elapsed() < 30000) {
            if (point.reached ? point.reached() : clock.elapsed() >= point.afterMs) {
                reached = true;
                break;
            }
            QThread::usleep(100);
        }
        const bool running = migrate.state() == QProcess::Running;
        ::kill(static_cast<pid_t>(migrate.processId()), SIGKILL);
        migrate.waitForFinished(10000);
        if (running && reached && point.reached)
            ++killedWhileWriting;

        const QString found = folderGeneration(target());
        EXPECT_TRUE(found == allOld || found == allNew) << found.toStdString();
    }
    EXPECT_GE(killedWhileWriting, 2) << "the journals were seen and the copy killed while they were there";
}

// Another spelling of the source folder is the source itself: a copy into it would revert every
// save made meanwhile.
TEST_F(MigrationFolderTest, AnotherSpellingOfTheSourceIsRefusedAsTheSamePlace)
{
    fillFolder(source(), QStringLiteral("New"), 3, 2);
    const QString link = work.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(source(), link));
    for (const QString& spelling :
         {source() + QStringLiteral("/."), link, work.filePath(QStringLiteral("target/../source"))}) {
        SCOPED_TRACE(spelling.toStdString());
        const test::AdminRun run = test::runAdmin(work.path(),
                                                  {QStringLiteral("migrate"),
                                                   QStringLiteral("--from"),
                                                   source(),
                                                   QStringLiteral("--to"),
                                                   spelling,
                                                   QStringLiteral("--replace")});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err,
                  QStringLiteral("cs42-admin: migrate: The source and the target are the same place.\n"));
    }
    EXPECT_EQ(folderGeneration(source()), QStringLiteral("New 3 / New 2"));
}
