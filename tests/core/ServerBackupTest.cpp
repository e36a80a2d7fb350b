// The backups of an office server: written at quit into this workstation's usual backup files
// from one snapshot of both tables, and put back on the server in one step.
#include "StoreEngines.h"
#include "core/names/NameStore.h"
#include "core/store/Backup.h"
#include "core/store/CaseStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace cs42;
using Backup::BackupSet;
using Backup::BackupStatus;
using Backup::RestoreResult;

namespace {
QStringList caseNames(const QString& location)
{
    QStringList names;
    for (const CaseListItem& item : CaseStore(location).listCases())
        names << item.caseDesc;
    return names;
}

class ServerBackupTest : public test::StoreEngineTest
{
};

INSTANTIATE_TEST_SUITE_P(Engines,
                         ServerBackupTest,
                         ::testing::Values(test::StoreEngine::Server),
                         test::engineName);
} // namespace

TEST_P(ServerBackupTest, QuitWritesBothTablesIntoTheLocalBackupFiles)
{
    const CaseStore store(paths.casesDbPath());
    store.addCase(QStringLiteral("O'Neil v. Müller"), QDate(2026, 12, 10));
    ASSERT_EQ(NameStore(paths.namesDbPath()).openNames(), NameStoreStatus::Ok);

    for (const auto& [set, outcome] : Backup::writeBackups(paths))
        ASSERT_EQ(outcome.status, BackupStatus::Written) << outcome.detail.toStdString();
    EXPECT_EQ(QFileInfo(paths.casesBackupPath()).absolutePath(), QDir(paths.backupFolder()).absolutePath());
    EXPECT_TRUE(paths.backupFolder().startsWith(paths.vtrFormsDir())) << "on this workstation";
    EXPECT_EQ(caseNames(paths.casesBackupPath()), QStringList{QStringLiteral("O'Neil v. Müller")});
    EXPECT_EQ(NameStore(paths.namesBackupPath()).count(), 1);
    EXPECT_TRUE(Backup::soundBackup(BackupSet::cases(paths)) == paths.casesBackupPath());

    store.addCase(QStringLiteral("Second"), QDate(2026, 12, 10));
    for (const auto& [set, outcome] : Backup::writeBackups(paths))
        ASSERT_EQ(outcome.status, BackupStatus::Written);
    EXPECT_EQ(caseNames(paths.casesBackupPath()).size(), 2);
    EXPECT_EQ(caseNames(paths.casesPreviousBackupPath()).size(), 1) << "the generation before is kept";
}

TEST_P(ServerBackupTest, AServerOutOfReachLeavesTheBackupsAsTheyWere)
{
    CaseStore(paths.casesDbPath()).addCase(QStringLiteral("Kept"), QDate(2026, 12, 10));
    for (const auto& [set, outcome] : Backup::writeBackups(paths))
        ASSERT_EQ(outcome.status, BackupStatus::Written);

    // A server this workstation backed up before, now out of reach: its backups are those above.
    DataPaths gone = paths;
    gone.filesLocation = QStringLiteral("postgresql://cs42@127.0.0.1:1/cs42");
    ASSERT_TRUE(QDir().mkpath(gone.backupFolder()));
    ASSERT_TRUE(QFile::copy(paths.casesBackupPath(), gone.casesBackupPath()));
    ASSERT_TRUE(QFile::copy(paths.namesBackupPath(), gone.namesBackupPath()));
    for (const auto& [set, outcome] : Backup::writeBackups(gone)) {
        EXPECT_EQ(outcome.status, BackupStatus::Failed);
        EXPECT_TRUE(outcome.detail.contains(QStringLiteral("cannot be reached")))
            << outcome.detail.toStdString();
        EXPECT_TRUE(
            Backup::quitReport(set, outcome).contains(QStringLiteral("is sound and was left as it was")))
            << Backup::quitReport(set, outcome).toStdString();
    }
    EXPECT_EQ(caseNames(gone.casesBackupPath()), QStringList{QStringLiteral("Kept")});
}

TEST_P(ServerBackupTest, RestorePutsTheBackupOnTheServerAndKeepsWhatItReplaced)
{
    const CaseStore store(paths.casesDbPath());
    const QString first = store.addCase(QStringLiteral("First"), QDate(2026, 12, 10));
    store.saveCaseField(first, QStringLiteral("pinc"), QStringLiteral("4250"));
    for (const auto& [set, outcome] : Backup::writeBackups(paths))
        ASSERT_EQ(outcome.status, BackupStatus::Written);
    store.deleteCase(first);
    store.addCase(QStringLiteral("Added since"), QDate(2026, 12, 10));

    const Backup::RestoreOutcome outcome = Backup::restore(BackupSet::cases(paths));
    ASSERT_EQ(outcome.result, RestoreResult::Restored) << outcome.error.toStdString();
    EXPECT_EQ(outcome.restoredFrom, paths.casesBackupPath());
    EXPECT_EQ(caseNames(paths.casesDbPath()), QStringList{QStringLiteral("First")});
    QString id = first;
    EXPECT_EQ(store.findCurrentCase(id)->value(QStringLiteral("pinc")), QStringLiteral("4250"));
    EXPECT_EQ(outcome.keptLivePath, paths.casesBeforeRestorePath());
    EXPECT_EQ(caseNames(outcome.keptLivePath), QStringList{QStringLiteral("Added since")});
    EXPECT_TRUE(store.addCase(QStringLiteral("After"), QDate(2026, 12, 10)).size() == 8)
        << "the server takes new cases after a restore";
}

// Before asking, the restore says what the backup is and that every workstation loses what the
// server holds now; each restore keeps what it replaced, a second one never costs the first's.
TEST_P(ServerBackupTest, RestoreSaysWhatItReplacesForEveryoneAndKeepsEachReplacedGeneration)
{
    const CaseStore store(paths.casesDbPath());
    store.addCase(QStringLiteral("Backed up"), QDate(2026, 12, 10));
    for (const auto& [set, outcome] : Backup::writeBackups(paths))
        ASSERT_EQ(outcome.status, BackupStatus::Written);
    const BackupSet cases = BackupSet::cases(paths);
    const QString question = Backup::restoreQuestion(cases, Backup::casesRestoreTexts());
    const QString written = Backup::readInfo(cases, paths.casesBackupPath())
                                ->written.toLocalTime()
                                .toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    EXPECT_EQ(question,
              QStringLiteral(
                  "The backup %1 was taken from %2 on %3 and holds 1 cases.\r\n\r\nRestoring it replaces "
                  "the office's cases on the server %2 for every workstation, with every change made "
                  "since the backup was taken.\r\n\r\n")
                      .arg(QDir::toNativeSeparators(paths.casesBackupPath()), uri, written) +
                  Backup::casesRestoreTexts().questionText);

    store.addCase(QStringLiteral("First since"), QDate(2026, 12, 10));
    ASSERT_EQ(Backup::restore(cases).result, RestoreResult::Restored);
    store.addCase(QStringLiteral("Second since"), QDate(2026, 12, 10));
    ASSERT_EQ(Backup::restore(cases).result, RestoreResult::Restored);
    const QStringList kept = Backup::beforeRestoreGenerations(cases);
    ASSERT_EQ(kept.size(), 3);
    EXPECT_EQ(caseNames(kept[0]), (QStringList{QStringLiteral("Backed up"), QStringLiteral("Second since")}));
    EXPECT_EQ(caseNames(kept[1]), (QStringList{QStringLiteral("Backed up"), QStringLiteral("First since")}));
    EXPECT_FALSE(QFileInfo::exists(kept[2]));
    EXPECT_EQ(caseNames(paths.casesDbPath()), QStringList{QStringLiteral("Backed up")});
}

// Another workstation's save still open when the restore starts: the restore waits for it under
// its table lock, so the save is in the kept file rather than lost between the kept copy and the
// replacement.
TEST_P(ServerBackupTest, ASaveInProgressDuringARestoreIsKept)
{
    const CaseStore store(paths.casesDbPath());
    const QString id = store.addCase(QStringLiteral("Saved meanwhile"), QDate(2026, 12, 10));
    for (const auto& [set, outcome] : Backup::writeBackups(paths))
        ASSERT_EQ(outcome.status, BackupStatus::Written);

    QTemporaryDir flags;
    const QString updated = flags.filePath(QStringLiteral("updated"));
    QProcess other;
    other.setProgram(QStringLiteral("psql"));
    other.setArguments({QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"), uri});
    other.start();
    ASSERT_TRUE(other.waitForStarted());
    other.write(QStringLiteral("BEGIN;\nUPDATE cases SET pinc = '777' WHERE caseid = '%1';\n\\! touch %2\n"
                               "SELECT pg_sleep(1.5);\nCOMMIT;\n")
                    .arg(id, updated)
                    .toUtf8());
    other.waitForBytesWritten(5000); // no event loop runs here to hand the script on
    other.closeWriteChannel();
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(updated) && clock.elapsed() < 10000)
        QThread::msleep(10);
    ASSERT_TRUE(QFileInfo::exists(updated)) << other.readAllStandardError().toStdString();

    const Backup::RestoreOutcome outcome = Backup::restore(BackupSet::cases(paths));
    ASSERT_EQ(outcome.result, RestoreResult::Restored) << outcome.error.toStdString();
    ASSERT_TRUE(other.waitForFinished(10000));
    EXPECT_EQ(other.exitCode(), 0) << other.readAllStandardError().toStdString();
    const CaseStore kept(outcome.keptLivePath);
    QString keptId = id;
    EXPECT_EQ(kept.findCurrentCase(keptId)->value(QStringLiteral("pinc")), QStringLiteral("777"));
}
