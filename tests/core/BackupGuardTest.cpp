// A store that is empty but sound (recreated by a server's administrator, a mistyped database
// name, a lost cases file that start-up refilled with the sample case) must never push the real
// backups out at quit; every backup says where it came from, when, and what it holds.
#include "StoreEngines.h"
#include "core/store/Backup.h"
#include "core/store/CaseStore.h"
#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"
#include "core/store/TableCopy.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace cs42;
using Backup::BackupSet;
using Backup::BackupStatus;

namespace {
int heldRows(const QString& location, const TableDef& table)
{
    SqlConnection connection(location);
    return TableCopy::dataCount(connection, table);
}

class BackupGuardTest : public test::StoreEngineTest
{
protected:
    void addNames(int count)
    {
        SqlConnection names(paths.namesDbPath());
        ASSERT_TRUE(names.isOpen()) << names.errorText().toStdString();
        for (int i = 1; i <= count; ++i) {
            ASSERT_TRUE(names.exec(QStringLiteral("INSERT INTO %1 (keynumber, lastname) VALUES (?, ?)")
                                       .arg(names.dialect().identifier(Schema::namesTable().name)),
                                   {QStringLiteral("N%1").arg(i), QStringLiteral("Name %1").arg(i)}));
        }
    }

    QMap<QString, Backup::BackupOutcome> quit()
    {
        QMap<QString, Backup::BackupOutcome> outcomes;
        for (const auto& [set, outcome] : Backup::writeBackups(paths))
            outcomes.insert(set.table, outcome);
        return outcomes;
    }

    // The live store as its administrator or start-up leaves it after it was lost: empty tables,
    // then the sample case a new library starts with.
    void loseTheStore()
    {
        if (GetParam() == test::StoreEngine::File) {
            ASSERT_TRUE(QFile::remove(paths.casesDbPath()));
            ASSERT_TRUE(QFile::remove(paths.namesDbPath()));
            ASSERT_TRUE(DataStore::setDataPaths(paths));
        } else {
            SqlConnection live(paths.casesDbPath());
            for (const TableDef* table : {&Schema::casesTable(), &Schema::namesTable()})
                ASSERT_TRUE(
                    live.exec(QStringLiteral("DELETE FROM %1").arg(live.dialect().identifier(table->name))));
        }
        CaseStore(paths.casesDbPath()).addSampleCase(QDate(2026, 12, 10), QStringLiteral("2022"));
    }
};

CS42_STORE_ENGINES(BackupGuardTest);
} // namespace

TEST_P(BackupGuardTest, TwoQuitsOnAnEmptyStoreLeaveTheRealBackup)
{
    const CaseStore store(paths.casesDbPath());
    for (int i = 1; i <= 3; ++i)
        store.addCase(QStringLiteral("Real %1").arg(i), QDate(2026, 12, 10));
    addNames(2);
    for (const Backup::BackupOutcome& outcome : quit())
        ASSERT_EQ(outcome.status, BackupStatus::Written) << outcome.detail.toStdString();
    const BackupSet cases = BackupSet::cases(paths);
    const BackupSet names = BackupSet::names(paths);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-60);

    loseTheStore();
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        const QMap<QString, Backup::BackupOutcome> outcomes = quit();
        ASSERT_EQ(outcomes.size(), 2);
        for (const Backup::BackupOutcome& outcome : outcomes)
            EXPECT_EQ(outcome.status, BackupStatus::KeptLarger) << outcome.detail.toStdString();
        EXPECT_EQ(heldRows(paths.casesBackupPath(), Schema::casesTable()), 3);
        EXPECT_EQ(heldRows(paths.namesBackupPath(), Schema::namesTable()), 2);
        EXPECT_FALSE(QFile::exists(paths.casesPreviousBackupPath())) << "nothing was rotated";
        const QString report = Backup::quitReport(cases, outcomes.value(cases.table));
        EXPECT_EQ(report,
                  QStringLiteral("The CASES database %1 holds none of the office's own cases now, far fewer "
                                 "than the 3 cases of its backup %2 (written %3), so that backup was kept "
                                 "and no new one was written.  If the cases were removed on purpose, move "
                                 "the backup %2 elsewhere; the next quit then writes a new one.")
                      .arg(shownLocation(paths.casesDbPath()),
                           shownLocation(paths.casesBackupPath()),
                           Backup::readInfo(cases, paths.casesBackupPath())
                               ->written.toLocalTime()
                               .toString(QStringLiteral("yyyy-MM-dd hh:mm"))));
    }

    const std::optional<Backup::BackupInfo> info = Backup::readInfo(names, paths.namesBackupPath());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->origin, shownLocation(paths.namesDbPath()));
    EXPECT_EQ(info->rows, 2);
    EXPECT_GE(info->written, before);

    // Once the office's cases are back, quitting backs them up again as usual.
    store.addCase(QStringLiteral("New 1"), QDate(2026, 12, 10));
    store.addCase(QStringLiteral("New 2"), QDate(2026, 12, 10));
    EXPECT_EQ(quit().value(cases.table).status, BackupStatus::Written);
    EXPECT_EQ(heldRows(paths.casesBackupPath(), Schema::casesTable()), 2);
    EXPECT_EQ(heldRows(paths.casesPreviousBackupPath(), Schema::casesTable()), 3);
}

TEST(BackupGuard, OnlyAFarSmallerSnapshotKeepsTheBackup)
{
    struct Case
    {
        int fresh;
        int kept;
        bool farSmaller;
    };

    for (const Case& c : {Case{0, 1, true},
                          Case{0, 0, false},
                          Case{4, 10, true},
                          Case{5, 10, false},
                          Case{9, 10, false},
                          Case{30, 10, false},
                          Case{-1, 10, false},
                          Case{0, -1, false}}) {
        EXPECT_EQ(Backup::isFarSmaller(c.fresh, c.kept), c.farSmaller) << c.fresh << " against " << c.kept;
    }
}

// The server's backups live in a folder of that server database's own, apart from the folder's
// backups and from every other server's.
TEST(BackupGuard, EachServerDatabaseHasItsOwnBackupFolder)
{
    DataPaths folder = DataPaths::forWorkingDirectory(QStringLiteral("/office"));
    DataPaths first = folder;
    first.filesLocation = QStringLiteral("postgresql://cs42@db.example:5432/cs42");
    DataPaths second = folder;
    second.filesLocation = QStringLiteral("postgresql://cs42@db.example:5432/cs42_typo");
    DataPaths third = folder;
    third.filesLocation = QStringLiteral("postgresql://cs42@other.example:5433/cs42");
    const QStringList backups = {
        folder.casesBackupPath(), first.casesBackupPath(), second.casesBackupPath(), third.casesBackupPath()};
    EXPECT_EQ(QSet<QString>(backups.begin(), backups.end()).size(), 4);
    EXPECT_EQ(first.backupFolder(), QStringLiteral("/office/VTRForms/ServerBackups/db.example_5432_cs42"));
}
