// The files the program writes hold children's names, incomes and Social Security numbers: no
// other account on the computer may read them, whatever the umask; in an office's shared folder
// the office's group shares them.
#include "core/store/PrivateFiles.h"

#include "FormFixtures.h"
#include "core/produce/FormFiller.h"
#include "core/startup/DataStore.h"
#include "core/startup/InstalledData.h"
#include "core/store/Backup.h"
#include "core/store/CaseStore.h"
#include "core/store/DataMove.h"
#include "core/store/SqlConnection.h"
#include "support/FileContents.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace cs42;

namespace {
struct stat statOf(const QString& path)
{
    struct stat info = {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info;
}

mode_t modeOf(const QString& path)
{
    return statOf(path).st_mode & 0777;
}

// Every umask the program may be started with gives the same files: a lax one shows the fault.
class PrivateFilesTest : public ::testing::Test
{
protected:
    void SetUp() override { m_umask = ::umask(022); }

    void TearDown() override { ::umask(m_umask); }

    QTemporaryDir work;
    mode_t m_umask = 022;
};
} // namespace

TEST_F(PrivateFilesTest, EveryFileTheProgramWritesIsClosedToOtherAccounts)
{
    // A backup an earlier version left readable by everyone is narrowed at start.
    const QString vtrForms = work.filePath(QStringLiteral("VTRForms"));
    ASSERT_TRUE(QDir().mkpath(vtrForms));
    const QString old = QDir(vtrForms).filePath(QStringLiteral("Names_Backup_Previous.MDB"));
    ASSERT_TRUE(test::writeFile(old, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(old).constData(), 0644), 0);

    const DataPaths paths = DataStore::startUp(work.path());
    CaseStore(paths.casesDbPath()).addCase(QStringLiteral("Private v. Private"), QDate(2026, 12, 10));
    for (int quit = 0; quit < 2; ++quit) {
        for (const auto& [set, outcome] : Backup::writeBackups(paths))
            ASSERT_EQ(outcome.status, Backup::BackupStatus::Written) << outcome.detail.toStdString();
    }
    ASSERT_EQ(Backup::restore(Backup::BackupSet::cases(paths)).result, Backup::RestoreResult::Restored);
    test::writeTextFieldTemplate(work.filePath(QStringLiteral("template.pdf")), 3);
    ASSERT_EQ(
        fillForm(work.filePath(QStringLiteral("template.pdf")), paths.producedFormPath(), Captions{}).status,
        ProduceStatus::Produced);
    const QString moved = work.filePath(QStringLiteral("moved"));
    ASSERT_TRUE(QDir().mkpath(moved));
    QString error;
    ASSERT_TRUE(DataMove::copyDatabases(paths, moved, &error)) << error.toStdString();
    {
        // A save in progress: its journal takes the permissions of its database.
        SqlConnection live(paths.casesDbPath());
        ASSERT_TRUE(live.exec(QStringLiteral("PRAGMA cache_size = 1")));
        ASSERT_TRUE(live.database().transaction());
        ASSERT_TRUE(live.exec(QStringLiteral("UPDATE Cases SET casedesc = casedesc || ' '")));
        const QString journal = paths.casesDbPath() + QStringLiteral("-journal");
        ASSERT_TRUE(QFile::exists(journal));
        EXPECT_EQ(modeOf(journal), 0600u);
        live.database().rollback();
    }

    QStringList written;
    QDirIterator files(work.path(),
                       {QStringLiteral("*.MDB"), QStringLiteral("*.mdb"), QStringLiteral("VTRPDF.PDF")},
                       QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        written << files.next();
    EXPECT_GE(written.size(), 12) << written.join(QLatin1Char(' ')).toStdString();
    for (const QString& file : written)
        EXPECT_EQ(modeOf(file), 0600u) << file.toStdString();
}

// In an office's shared folder (its group may write there) the files are the group's to share.
TEST_F(PrivateFilesTest, AFileInASharedFolderGetsTheFoldersGroup)
{
    const QString shared = work.filePath(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkpath(shared));
    gid_t group = ::getegid();
    // Root may give the folder any group: one that is not its own shows that the folder's is taken.
    if (const struct group* users = ::getgrnam("users"); users && ::geteuid() == 0)
        group = users->gr_gid;
    const QByteArray folder = QFile::encodeName(shared);
    ASSERT_EQ(::chown(folder.constData(), uid_t(-1), group), 0);
    ASSERT_EQ(::chmod(folder.constData(), 02770), 0);

    const QString cases = QDir(shared).filePath(QStringLiteral("QUONDATA.MDB"));
    {
        SqlConnection created(cases, SqlConnection::Mode::OpenOrCreate);
        ASSERT_TRUE(created.isOpen()) << created.errorText().toStdString();
        ASSERT_TRUE(created.exec(QStringLiteral("CREATE TABLE t (x TEXT)")));
    }
    EXPECT_EQ(modeOf(cases), 0660u);
    EXPECT_EQ(statOf(cases).st_gid, group);
}

TEST_F(PrivateFilesTest, ThePerUserDataFolderIsOpenToItsAccountOnly)
{
    const QByteArray before = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(work.filePath(QStringLiteral("share"))));
    QString error;
    const QString folder = InstalledData::userWorkingDirectory(&error);
    ASSERT_FALSE(folder.isEmpty()) << error.toStdString();
    EXPECT_EQ(modeOf(folder), 0700u);
    // A folder an earlier version made open to everyone is closed.
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
    EXPECT_EQ(InstalledData::userWorkingDirectory(&error), folder);
    EXPECT_EQ(modeOf(folder), 0700u);
    qputenv("XDG_DATA_HOME", before);
}
