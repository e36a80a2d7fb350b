#include "core/startup/InstalledData.h"

#include "core/startup/DataStore.h"
#include "core/worksheet/Schedule.h"
#include "core/worksheet/ScheduleCsv.h"
#include "core/worksheet/ScheduleHistory.h"
#include "core/worksheet/ScheduleSource.h"
#include "support/FileContents.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cs42;

namespace {

qsizetype scheduleRowCount(const DataPaths& paths, const QString& table = QStringLiteral("Schedule"))
{
    const auto rows = ScheduleCsv::readRows(paths.scheduleDbPath(), nullptr, table);
    return rows ? rows->size() : -1;
}

const QString Table2022 = QStringLiteral("Schedule2022");

// An installed data folder as the package puts it in /usr/share/cs42: read-only documents and the
// repository's Alabama schedule.
class InstalledDataTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_data.isValid() && m_work.isValid());
        for (const char* name : {"QUON42.PDF", "QUONSchedule.pdf", "QUONRule32.pdf"}) {
            const QString path = m_data.filePath(QLatin1String(name));
            ASSERT_TRUE(test::writeFile(path, QByteArray("installed ") + name));
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        }
        ASSERT_TRUE(QFile::copy(QStringLiteral(REPO_DATA_DIR "/alabama-schedule-2022-05-01.csv"),
                                m_data.filePath(InstalledData::scheduleFileName())));
        // The store's own start-up without installed data: the files a first start makes.
        m_paths = DataStore::startUp(m_work.path());
    }

    QString installed(const char* name) const { return m_data.filePath(QLatin1String(name)); }

    QTemporaryDir m_data;
    QTemporaryDir m_work;
    DataPaths m_paths;
};

TEST_F(InstalledDataTest, FirstStartCopiesEveryDocumentAndFillsTheEmptySchedule)
{
    ASSERT_EQ(scheduleRowCount(m_paths), 0);
    const auto report = InstalledData::install(m_paths, m_data.path(), QDate(2024, 3, 5));

    EXPECT_TRUE(report.problems.isEmpty()) << report.problems.join(u'\n').toStdString();
    EXPECT_EQ(report.copiedFiles, QStringList({"QUON42.PDF", "QUONSchedule.pdf", "QUONRule32.pdf"}));
    EXPECT_EQ(test::contents(m_paths.templatePath()), test::contents(installed("QUON42.PDF")));
    EXPECT_EQ(test::contents(m_paths.schedulePdfPath()), test::contents(installed("QUONSchedule.pdf")));
    EXPECT_EQ(test::contents(m_paths.rule32Path()), test::contents(installed("QUONRule32.pdf")));
    // The office's copy can be replaced by a newer template although the installed one is read-only.
    EXPECT_TRUE(QFile::permissions(m_paths.templatePath()) & QFile::WriteOwner);
    // The shipped schedule, in force since May 1, 2022, fills the table of the forms for actions
    // filed since then, recorded as installed; the 2009 form's table stays empty (not installed).
    EXPECT_EQ(report.schedule2022Rows, 596);
    EXPECT_EQ(scheduleRowCount(m_paths, Table2022), 596);
    EXPECT_EQ(scheduleRowCount(m_paths), 0);
    const auto recorded = ScheduleHistory::record(m_paths.scheduleDbPath(), Table2022);
    ASSERT_TRUE(recorded.has_value());
    EXPECT_EQ(recorded->kind, QStringLiteral("official"));
    EXPECT_EQ(recorded->date, QDate(2024, 3, 5));
    EXPECT_EQ(recorded->sha256, ScheduleSource::official2022Checksum());
    EXPECT_EQ(ScheduleSource::identify(m_paths.scheduleDbPath(), Table2022).kind,
              ScheduleSource::Kind::Official);
    EXPECT_TRUE(ScheduleSource::identify(m_paths.scheduleDbPath(), "Schedule").missesPre2022Schedule());
    EXPECT_FALSE(QDir(m_paths.vtrFormsDir()).entryList({"*.partial"}).size());

    // A second start finds everything in place.
    const auto again = InstalledData::install(m_paths, m_data.path());
    EXPECT_TRUE(again.copiedFiles.isEmpty());
    EXPECT_EQ(again.schedule2022Rows, 0);
    EXPECT_EQ(scheduleRowCount(m_paths), 0);
}

TEST_F(InstalledDataTest, AnOldDataFolderKeepsThe2022RowsOfItsScheduleTableButDoesNotReadThem)
{
    // Earlier versions filled the 2009 form's table with the shipped 2022 rows on first start.
    QFile csv(installed("alabama-schedule-2022-05-01.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const auto rows = ScheduleCsv::parse(csv.readAll(), nullptr);
    ASSERT_TRUE(rows && ScheduleCsv::replaceRows(m_paths.scheduleDbPath(), *rows, nullptr));

    InstalledData::install(m_paths, m_data.path());

    EXPECT_EQ(scheduleRowCount(m_paths), 596) << "the office's table is never emptied";
    const ScheduleSource source = ScheduleSource::identify(m_paths.scheduleDbPath(), "Schedule");
    EXPECT_TRUE(source.missesPre2022Schedule());
    EXPECT_TRUE(source.holdsOfficial2022);
    const auto table = ScheduleTable::loadIdentified(m_paths.scheduleDbPath(), 2);
    ASSERT_TRUE(table.has_value());
    EXPECT_TRUE(table->isEmpty());
    bool available = true;
    EXPECT_EQ(BasicObligation(m_paths.scheduleDbPath(), 6500, 2, nullptr, &available), 0);
    EXPECT_FALSE(available);
}

TEST_F(InstalledDataTest, PresentTemplateAndInstalledScheduleAreKept)
{
    const QByteArray officeTemplate("%PDF-1.4 the office's own template");
    ASSERT_TRUE(test::writeFile(m_paths.templatePath(), officeTemplate));
    QFile small(QStringLiteral(TEST_DATA_DIR "/schedule-small.csv"));
    ASSERT_TRUE(small.open(QIODevice::ReadOnly));
    const auto smallRows = ScheduleCsv::parse(small.readAll(), nullptr);
    ASSERT_TRUE(smallRows && ScheduleCsv::replaceRows(m_paths.scheduleDbPath(), *smallRows, nullptr));

    const auto report = InstalledData::install(m_paths, m_data.path());

    EXPECT_EQ(test::contents(m_paths.templatePath()), officeTemplate);
    EXPECT_EQ(report.copiedFiles, QStringList({"QUONSchedule.pdf", "QUONRule32.pdf"}));
    EXPECT_EQ(ScheduleCsv::readRows(m_paths.scheduleDbPath(), nullptr)->size(), smallRows->size());
}

TEST_F(InstalledDataTest, NoDataFolderOrAnUnreadableScheduleChangesNothing)
{
    EXPECT_TRUE(InstalledData::install(m_paths, QString()).copiedFiles.isEmpty());
    EXPECT_FALSE(QFile::exists(m_paths.templatePath()));

    // A damaged schedule database is the user's to see, never written over with the default.
    const QByteArray damaged(4096, 'z');
    ASSERT_TRUE(test::writeFile(m_paths.scheduleDbPath(), damaged));
    const auto report = InstalledData::install(m_paths, m_data.path());
    EXPECT_EQ(report.problems.size(), 1) << "the Schedule2022 table, the only one filled";
    EXPECT_EQ(test::contents(m_paths.scheduleDbPath()), damaged);
}

TEST_F(InstalledDataTest, StartUpInstallsFromTheFolderTheEnvironmentNames)
{
    QTemporaryDir work;
    qputenv(InstalledData::FolderVariable, m_data.path().toLocal8Bit());
    EXPECT_EQ(InstalledData::folder(), m_data.path());
    const DataPaths paths = DataStore::startUp(work.path());
    qunsetenv(InstalledData::FolderVariable);

    EXPECT_EQ(test::contents(paths.templatePath()), test::contents(installed("QUON42.PDF")));
    EXPECT_EQ(scheduleRowCount(paths, Table2022), 596);
    // The test program does not live in a bin folder: without the variable it has no installed data.
    EXPECT_TRUE(InstalledData::folder().isEmpty());
}

TEST(UserWorkingDirectory, IsCreatedUnderXdgDataHome)
{
    QTemporaryDir home;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    QString error;
    const QString folder = InstalledData::userWorkingDirectory(&error);
    saved.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", saved);

    EXPECT_EQ(folder, home.filePath(QStringLiteral("cs42"))) << error.toStdString();
    EXPECT_TRUE(QDir(folder).exists());
}

} // namespace
