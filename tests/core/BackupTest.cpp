#include "core/store/Backup.h"

#include "core/store/CaseStore.h"
#include "core/store/DataStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cs42;

namespace {
QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList caseNames(const QString& path)
{
    QStringList names;
    for (const CaseListItem& item : CaseStore(path).listCases())
        names << item.caseDesc;
    return names;
}

class BackupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        paths = DataStore::startUp(work.path());
        store.emplace(paths.casesDbPath());
    }

    QTemporaryDir work;
    DataPaths paths;
    std::optional<CaseStore> store;
};
} // namespace

TEST_F(BackupTest, EachQuitReplacesBothBackups)
{
    store->addCase(QStringLiteral("First"), QDate(2026, 1, 2));
    ASSERT_TRUE(Backup::writeBackup(paths.casesDbPath(), paths.casesBackupPath()));
    ASSERT_TRUE(Backup::writeBackup(paths.namesDbPath(), paths.namesBackupPath()));
    EXPECT_EQ(caseNames(paths.casesBackupPath()), QStringList{QStringLiteral("First")});
    EXPECT_TRUE(paths.casesBackupPath().endsWith(QStringLiteral("QUONDATA_Backup.MDB")));
    EXPECT_TRUE(paths.namesBackupPath().endsWith(QStringLiteral("Names_Backup.MDB")));

    store->addCase(QStringLiteral("Second"), QDate(2026, 1, 2));
    ASSERT_TRUE(Backup::writeBackup(paths.casesDbPath(), paths.casesBackupPath()));
    ASSERT_TRUE(Backup::writeBackup(paths.namesDbPath(), paths.namesBackupPath()));
    EXPECT_EQ(caseNames(paths.casesBackupPath()), (QStringList{"First", "Second"}));
    // No temporary files are left beside the backups.
    EXPECT_EQ(QDir(paths.filesLocation).entryList({QStringLiteral("*.tmp-*")}, QDir::Files), QStringList());
}

TEST_F(BackupTest, FailedBackupKeepsThePreviousOne)
{
    store->addCase(QStringLiteral("Kept"), QDate(2026, 1, 2));
    ASSERT_TRUE(Backup::writeBackup(paths.casesDbPath(), paths.casesBackupPath()));
    const QByteArray previous = contentsOf(paths.casesBackupPath());

    QString error;
    EXPECT_FALSE(
        Backup::writeBackup(work.filePath(QStringLiteral("missing.MDB")), paths.casesBackupPath(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(contentsOf(paths.casesBackupPath()), previous);
}

TEST_F(BackupTest, RestorePutsTheBackupInPlaceOfTheLiveFile)
{
    store->addCase(QStringLiteral("Backed up"), QDate(2026, 1, 2));
    ASSERT_TRUE(Backup::writeBackup(paths.casesDbPath(), paths.casesBackupPath()));
    store->addCase(QStringLiteral("Added later"), QDate(2026, 1, 2));

    EXPECT_EQ(Backup::restore(paths.casesBackupPath(), paths.casesDbPath()), Backup::RestoreResult::Restored);
    EXPECT_EQ(caseNames(paths.casesDbPath()), QStringList{QStringLiteral("Backed up")});
    EXPECT_TRUE(QFile::exists(paths.casesBackupPath())) << "the backup stays";
}

TEST_F(BackupTest, RestoreWithoutBackupChangesNothing)
{
    store->addCase(QStringLiteral("Live"), QDate(2026, 1, 2));
    const QByteArray live = contentsOf(paths.casesDbPath());
    EXPECT_EQ(Backup::restore(paths.casesBackupPath(), paths.casesDbPath()), Backup::RestoreResult::NoBackup);
    EXPECT_EQ(contentsOf(paths.casesDbPath()), live);
    EXPECT_EQ(Backup::noBackupText(), QStringLiteral("No Backup Database File can be Found!"));
}

TEST_F(BackupTest, FailedRestoreKeepsTheLiveFile)
{
    store->addCase(QStringLiteral("Live"), QDate(2026, 1, 2));
    const QByteArray live = contentsOf(paths.casesDbPath());

    // A backup that is not a database.
    QFile damaged(paths.casesBackupPath());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, 'x'));
    damaged.close();
    QString error;
    EXPECT_EQ(Backup::restore(paths.casesBackupPath(), paths.casesDbPath(), &error),
              Backup::RestoreResult::Failed);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(contentsOf(paths.casesDbPath()), live);

    // A copy that cannot be written beside the live file (its folder is gone).
    EXPECT_EQ(Backup::restore(paths.namesBackupPath(), work.filePath(QStringLiteral("gone/Names.mdb"))),
              Backup::RestoreResult::NoBackup);
    ASSERT_TRUE(Backup::writeBackup(paths.casesDbPath(), paths.casesBackupPath()));
    EXPECT_EQ(Backup::restore(paths.casesBackupPath(), work.filePath(QStringLiteral("gone/QUONDATA.MDB"))),
              Backup::RestoreResult::Failed);
    EXPECT_EQ(contentsOf(paths.casesDbPath()), live);
    EXPECT_EQ(QDir(paths.filesLocation).entryList({QStringLiteral("*.tmp-*")}, QDir::Files), QStringList());
}
