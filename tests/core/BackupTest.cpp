#include "core/store/Backup.h"

#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"
#include "core/store/SqlConnection.h"
#include "support/DamagedFiles.h"
#include "support/FileContents.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cs42;
using Backup::BackupSet;
using Backup::BackupStatus;
using Backup::RestoreResult;

namespace {
QStringList caseNames(const QString& path)
{
    QStringList names;
    for (const CaseListItem& item : CaseStore(path).listCases())
        names << item.caseDesc;
    return names;
}

QStringList temporaries(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.tmp-*")}, QDir::Files);
}

class BackupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        paths = DataStore::startUp(work.path());
        store.emplace(paths.casesDbPath());
        cases = BackupSet::cases(paths);
        names = BackupSet::names(paths);
    }

    QTemporaryDir work;
    DataPaths paths;
    std::optional<CaseStore> store;
    BackupSet cases;
    BackupSet names;
};
} // namespace

TEST_F(BackupTest, EachQuitReplacesTheBackupAndKeepsTheGenerationBefore)
{
    store->addCase(QStringLiteral("First"), QDate(2026, 1, 2));
    ASSERT_EQ(Backup::writeBackup(cases).status, BackupStatus::Written);
    ASSERT_EQ(Backup::writeBackup(names).status, BackupStatus::Written);
    EXPECT_EQ(caseNames(paths.casesBackupPath()), QStringList{QStringLiteral("First")});
    EXPECT_TRUE(paths.casesBackupPath().endsWith(QStringLiteral("QUONDATA_Backup.MDB")));
    EXPECT_TRUE(paths.namesBackupPath().endsWith(QStringLiteral("Names_Backup.MDB")));

    store->addCase(QStringLiteral("Second"), QDate(2026, 1, 2));
    ASSERT_EQ(Backup::writeBackup(cases).status, BackupStatus::Written);
    ASSERT_EQ(Backup::writeBackup(names).status, BackupStatus::Written);
    EXPECT_EQ(caseNames(paths.casesBackupPath()), (QStringList{"First", "Second"}));
    EXPECT_EQ(caseNames(paths.casesPreviousBackupPath()), QStringList{QStringLiteral("First")});
    EXPECT_TRUE(QFile::exists(paths.namesPreviousBackupPath()));
    EXPECT_EQ(temporaries(paths.filesLocation), QStringList());
    EXPECT_TRUE(Backup::quitReport(cases, {BackupStatus::Written, {}}).isEmpty());
}

TEST_F(BackupTest, FailedBackupKeepsBothGenerationsAndSaysWhy)
{
    store->addCase(QStringLiteral("Kept"), QDate(2026, 1, 2));
    ASSERT_EQ(Backup::writeBackup(cases).status, BackupStatus::Written);
    const QByteArray previous = test::contents(paths.casesBackupPath());

    BackupSet missing = cases;
    missing.livePath = work.filePath(QStringLiteral("missing.MDB"));
    const Backup::BackupOutcome outcome = Backup::writeBackup(missing);
    EXPECT_EQ(outcome.status, BackupStatus::Failed);
    EXPECT_TRUE(outcome.detail.contains(QStringLiteral("missing.MDB"))) << outcome.detail.toStdString();
    EXPECT_EQ(test::contents(paths.casesBackupPath()), previous);
    EXPECT_FALSE(QFile::exists(paths.casesPreviousBackupPath()));
    const QString report = Backup::quitReport(missing, outcome);
    EXPECT_TRUE(report.contains(QStringLiteral("could not be backed up"))) << report.toStdString();
    EXPECT_TRUE(
        report.contains(QDir::toNativeSeparators(paths.casesBackupPath()) + QStringLiteral(" is sound")));
}

// A live file whose index is damaged passes quick_check and VACUUM INTO copies it: it must never
// replace a good backup.
TEST_F(BackupTest, DamagedLiveFileNeverReplacesTheGoodBackup)
{
    store->addCase(QStringLiteral("Good"), QDate(2026, 1, 2));
    ASSERT_EQ(Backup::writeBackup(cases).status, BackupStatus::Written);
    const QByteArray good = test::contents(paths.casesBackupPath());
    ASSERT_TRUE(test::damageCaseIdIndex(paths.casesDbPath()));

    const Backup::BackupOutcome outcome = Backup::writeBackup(cases);
    EXPECT_EQ(outcome.status, BackupStatus::LiveDamaged);
    EXPECT_TRUE(outcome.detail.contains(QStringLiteral("missing from index")))
        << outcome.detail.toStdString();
    EXPECT_EQ(test::contents(paths.casesBackupPath()), good);
    EXPECT_FALSE(QFile::exists(paths.casesPreviousBackupPath()));
    const QString report = Backup::quitReport(cases, outcome);
    EXPECT_TRUE(report.startsWith(QStringLiteral("The CASES database ") +
                                  QDir::toNativeSeparators(paths.casesDbPath()) +
                                  QStringLiteral(" is damaged")))
        << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("The backup ") +
                                QDir::toNativeSeparators(paths.casesBackupPath()) +
                                QStringLiteral(" is sound")));
}

TEST_F(BackupTest, RestorePutsTheBackupInPlaceAndKeepsTheReplacedFile)
{
    store->addCase(QStringLiteral("Backed up"), QDate(2026, 1, 2));
    ASSERT_EQ(Backup::writeBackup(cases).status, BackupStatus::Written);
    store->addCase(QStringLiteral("Added later"), QDate(2026, 1, 2));

    const Backup::RestoreOutcome outcome = Backup::restore(cases);
    ASSERT_EQ(outcome.result, RestoreResult::Restored) << outcome.error.toStdString();
    EXPECT_EQ(caseNames(paths.casesDbPath()), QStringList{QStringLiteral("Backed up")});
    EXPECT_TRUE(QFile::exists(paths.casesBackupPath())) << "the backup stays";
    EXPECT_EQ(outcome.keptLivePath, paths.casesBeforeRestorePath());
    EXPECT_EQ(caseNames(paths.casesBeforeRestorePath()), (QStringList{"Backed up", "Added later"}));
    EXPECT_TRUE(paths.casesBeforeRestorePath().endsWith(QStringLiteral("QUONDATA_BeforeRestore.MDB")));
    const QString text = Backup::restoredText(cases, outcome);
    EXPECT_TRUE(text.contains(QDir::toNativeSeparators(paths.casesBeforeRestorePath())))
        << text.toStdString();
}

TEST_F(BackupTest, RestoreWithoutBackupChangesNothing)
{
    store->addCase(QStringLiteral("Live"), QDate(2026, 1, 2));
    const QByteArray live = test::contents(paths.casesDbPath());
    EXPECT_FALSE(Backup::hasBackup(cases));
    EXPECT_EQ(Backup::restore(cases).result, RestoreResult::NoBackup);
    EXPECT_EQ(test::contents(paths.casesDbPath()), live);
    EXPECT_EQ(Backup::noBackupText(), QStringLiteral("No Backup Database File can be Found!"));
}

// Only a sound copy of the right database goes live; anything else leaves the live file as it
// was and says why.
TEST_F(BackupTest, RestoreRefusesABackupThatIsNoSoundCopy)
{
    store->addCase(QStringLiteral("Live"), QDate(2026, 1, 2));
    const QByteArray live = test::contents(paths.casesDbPath());

    struct Case
    {
        const char* what;
        std::function<void(const QString&)> make;
        const char* reason;
    };

    const QList<Case> backups = {
        {"zero-length", [](const QString& path) { ASSERT_TRUE(test::writeFile(path, {})); }, "empty"},
        {"not a database",
         [](const QString& path) { ASSERT_TRUE(test::writeFile(path, QByteArray(4096, 'x'))); },
         "not a database"},
        {"a database without the table",
         [](const QString& path) {
             SqlConnection other(path, SqlConnection::Mode::OpenOrCreate);
             other.exec(QStringLiteral("CREATE TABLE Other (x TEXT)"));
         },
         "no Cases table"},
        {"the names database",
         [this](const QString& path) { QFile::copy(paths.namesDbPath(), path); },
         "no Cases table"},
        {"a damaged index",
         [this](const QString& path) {
             QFile::copy(paths.casesDbPath(), path);
             test::damageCaseIdIndex(path);
         },
         "damaged"},
    };
    for (const Case& c : backups) {
        SCOPED_TRACE(c.what);
        QFile::remove(paths.casesBackupPath());
        c.make(paths.casesBackupPath());
        const Backup::RestoreOutcome outcome = Backup::restore(cases);
        EXPECT_EQ(outcome.result, RestoreResult::Failed);
        EXPECT_TRUE(outcome.error.contains(QLatin1String(c.reason))) << outcome.error.toStdString();
        EXPECT_EQ(test::contents(paths.casesDbPath()), live);
        EXPECT_FALSE(QFile::exists(paths.casesBeforeRestorePath()));
    }
    EXPECT_EQ(temporaries(paths.filesLocation), QStringList());
}

TEST_F(BackupTest, RestoreFallsBackToThePreviousGenerationWhenTheNewestIsDamaged)
{
    store->addCase(QStringLiteral("Older"), QDate(2026, 1, 2));
    ASSERT_EQ(Backup::writeBackup(cases).status, BackupStatus::Written);
    ASSERT_EQ(Backup::writeBackup(cases).status, BackupStatus::Written);
    ASSERT_TRUE(test::writeFile(paths.casesBackupPath(), {}));
    store->addCase(QStringLiteral("Live only"), QDate(2026, 1, 2));

    const Backup::RestoreOutcome outcome = Backup::restore(cases);
    ASSERT_EQ(outcome.result, RestoreResult::Restored);
    EXPECT_EQ(outcome.restoredFrom, paths.casesPreviousBackupPath());
    EXPECT_EQ(caseNames(paths.casesDbPath()), QStringList{QStringLiteral("Older")});
    EXPECT_TRUE(
        Backup::restoredText(cases, outcome).contains(QStringLiteral("newer backup could not be used")));
}

TEST_F(BackupTest, StartRemovesTemporariesOfEndedRunsOnly)
{
    QString host = QSysInfo::machineHostName();
    host.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"));
    const QString folder = paths.filesLocation;
    const QString ended = QStringLiteral("QUONDATA_Backup.MDB.tmp-%1-1073741824").arg(host);
    const QString older = QStringLiteral("Names_Backup.MDB.tmp-1073741823");
    const QString otherStation = QStringLiteral("QUONDATA_Backup.MDB.tmp-otherstation-4242");
    const QString oldOtherStation = QStringLiteral("Names_Backup.MDB.tmp-otherstation-4243");
    // A copy killed in the middle of its transaction leaves its journal too.
    const QString endedJournal = ended + QStringLiteral("-journal");
    for (const QString& name : {ended, endedJournal, older, otherStation, oldOtherStation})
        ASSERT_TRUE(test::writeFile(QDir(folder).filePath(name), "partial"));
    QFile old(QDir(folder).filePath(oldOtherStation));
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        old.setFileTime(QDateTime::currentDateTime().addSecs(-2 * 3600), QFileDevice::FileModificationTime));
    old.close();

    DataStore::startUp(work.path());
    EXPECT_EQ(temporaries(folder), QStringList{otherStation}) << "another workstation may be writing it now";
    EXPECT_TRUE(QFile::exists(paths.casesDbPath()));
}

// A workstation killed in the middle of a save leaves a hot journal beside the live file. The
// restore rolls it back into the old file before the backup takes the name: renamed under it, the
// backup would have inherited it and come out malformed.
TEST_F(BackupTest, RestoreOverALiveFileWithACrashedWorkstationsJournal)
{
    {
        SqlConnection live(paths.casesDbPath());
        ASSERT_TRUE(live.exec(
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600) "
                           "INSERT INTO Cases (caseid, casedesc, textblock1) SELECT 'K' || i, 'Live ' || i, "
                           "printf('%.400c', 'x') FROM n")));
    }
    ASSERT_EQ(Backup::writeBackup(cases).status, BackupStatus::Written);
    const QString journal = paths.casesDbPath() + QStringLiteral("-journal");
    const QString crashed = work.filePath(QStringLiteral("crashed"));
    {
        SqlConnection live(paths.casesDbPath());
        ASSERT_TRUE(live.exec(QStringLiteral("PRAGMA cache_size = 1")));
        ASSERT_TRUE(live.database().transaction());
        ASSERT_TRUE(live.exec(QStringLiteral("UPDATE Cases SET casedesc = 'Half ' || casedesc")));
        ASSERT_TRUE(QFile::copy(paths.casesDbPath(), crashed));
        ASSERT_TRUE(QFile::copy(journal, crashed + QStringLiteral("-journal")));
        live.database().rollback();
    }
    ASSERT_TRUE(QFile::remove(paths.casesDbPath()));
    ASSERT_TRUE(QFile::rename(crashed, paths.casesDbPath()));
    ASSERT_TRUE(QFile::rename(crashed + QStringLiteral("-journal"), journal));

    const Backup::RestoreOutcome outcome = Backup::restore(cases);
    ASSERT_EQ(outcome.result, RestoreResult::Restored) << outcome.error.toStdString();
    for (const QString& path : {paths.casesDbPath(), paths.casesBeforeRestorePath()}) {
        SCOPED_TRACE(path.toStdString());
        SqlConnection file(path);
        EXPECT_EQ(file.integrityProblem(), QString());
        EXPECT_EQ(caseNames(path).size(), 600);
        EXPECT_EQ(caseNames(path).first(), QStringLiteral("Live 1"));
    }
}
