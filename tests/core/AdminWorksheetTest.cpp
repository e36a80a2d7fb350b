#include "AdminProcess.h"
#include "core/store/CaseStore.h"
#include "core/store/DataPaths.h"
#include "core/store/SqlConnection.h"
#include "core/worksheet/ScheduleCsv.h"
#include "core/worksheet/ScheduleSource.h"
#include "support/DamagedFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using cs42::test::AdminRun;

// Runs cs42-admin in a working directory of its own, as an office would.
class AdminWorksheetTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    AdminRun admin(const QStringList& args) const { return cs42::test::runAdmin(m_dir.path(), args); }

    QString workFile(const QString& name) const { return m_dir.filePath(name); }

    QString writeCsv(const QString& name, const QByteArray& content) const
    {
        QFile file(workFile(name));
        file.open(QIODevice::WriteOnly);
        file.write(content);
        return file.fileName();
    }

    static QByteArray readData(const char* name)
    {
        QFile file(QStringLiteral(TEST_DATA_DIR "/") + QLatin1String(name));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    static QByteArray smallSchedule() { return readData("schedule-small.csv"); }

    // $800 to $20,000: a schedule the worksheet may be produced from.
    static QByteArray fullSchedule() { return readData("schedule-full.csv"); }

    cs42::DataPaths paths() const { return cs42::DataPaths::forWorkingDirectory(m_dir.path()); }

    void addCase(const QStringList& columns, const QStringList& values) const
    {
        cs42::SqlConnection connection(paths().casesDbPath());
        QStringList marks;
        QVariantList bound;
        for (const QString& v : values) {
            marks << QStringLiteral("?");
            bound << v;
        }
        ASSERT_TRUE(connection.exec(
            QStringLiteral("INSERT INTO Cases (%1) VALUES (%2)").arg(columns.join(u','), marks.join(u',')),
            bound))
            << connection.errorText().toStdString();
    }

    QTemporaryDir m_dir;
};

TEST_F(AdminWorksheetTest, ImportedScheduleExportsAsItWasGiven)
{
    const AdminRun empty = admin({"schedule", "export"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, QStringLiteral("income,child1,child2,child3,child4,child5,child6\n"));

    const AdminRun imported = admin({"schedule", "import", writeCsv("s.csv", smallSchedule())});
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    const AdminRun exported = admin({"schedule", "export"});
    EXPECT_EQ(exported.out, QString::fromUtf8(smallSchedule()));

    // A second import replaces every row; CR LF files and quoted values are read.
    QByteArray crlf = "\xEF\xBB\xBFIncome,child1,child2,child3,child4,child5,child6\r\n"
                      "100,\"1\",2,3,4,5,6.50\r\n";
    QString expected =
        QStringLiteral("income,child1,child2,child3,child4,child5,child6\n100,1,2,3,4,5,6.50\n");
    for (int income = 150; income <= 20000; income += 50) {
        crlf += QByteArray::number(income) + ",1,2,3,4,5,6\r\n";
        expected += QString::number(income) + QStringLiteral(",1,2,3,4,5,6\n");
    }
    const AdminRun again = admin({"schedule", "import", writeCsv("t.csv", crlf + "\r\n")});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(admin({"schedule", "export"}).out, expected);
}

TEST_F(AdminWorksheetTest, RefusedScheduleNamesTheLineAndChangesNothing)
{
    ASSERT_EQ(admin({"schedule", "import", writeCsv("s.csv", smallSchedule())}).exitCode, 0);
    const QString before = admin({"schedule", "export"}).out;
    const QByteArray header = "income,child1,child2,child3,child4,child5,child6\n";

    struct Case
    {
        QByteArray content;
        const char* message;
    };

    const QByteArray tooLarge = "line 2: the child1 amount \"1" + QByteArray(400, '0') + "\" is too large";
    const Case cases[] = {
        {header + "800,1,2,3,4,5,6\n850,1,2,3,4,5,6\n950,1,2,3,4,5,6\n",
         "line 4: the income 950 does not follow 850 in a step of exactly 50"},
        {header + "800,1,2,3,4,5,6\n750,1,2,3,4,5,6\n", "line 3: the income 750 does not follow 800"},
        {header + "800,1,2,3,4,5,6\n850,1,2,abc,4,5,6\n",
         "line 3: the child3 amount \"abc\" is not a number"},
        {header + "800,1,2,3,4,5,-6\n", "line 2: the child6 amount \"-6\" is not a number"},
        {header + "800,1,2,3,4,5,1,234\n", "line 2: 7 values expected"},
        {header + "$800,1,2,3,4,5,6\n", "line 2: the income \"$800\" is not a number"},
        {header + "800,1,2,3,4,5\n", "line 2: 7 values expected"},
        {"income,child1,child2\n800,1,2\n", "line 1: the header must be income,child1,"},
        {header, "holds no schedule rows"},
        {"", "the file is empty"},
        // Cut short at a line end: a combined income above its last row would get line 4 = 0.
        {smallSchedule().left(smallSchedule().indexOf("900,")),
         "line 3 (the last row): the schedule stops at an income of 850; it must reach 20000"},
        {header + "800,1,2,3,4,5,6\n",
         "line 2 (the last row): the schedule stops at an income of 800; it must reach 20000"},
        {header + smallSchedule().mid(smallSchedule().indexOf("900,")),
         "line 2 (the first row): the schedule starts at an income of 900; it must start at 800 or below"},
        // Values a double cannot hold as written.
        {header + "800,1,2,3,4,5,1234567890.1234567\n",
         "line 2: the child6 amount \"1234567890.1234567\" has more than 15 significant digits and would "
         "not read back as written"},
        {header + "800.0000000000000001,1,2,3,4,5,6\n",
         "line 2: the income \"800.0000000000000001\" has more than 15 significant digits"},
        {header + "800,1" + QByteArray(400, '0') + ",2,3,4,5,6\n", tooLarge.constData()},
    };
    for (const auto& c : cases) {
        const AdminRun run = admin({"schedule", "import", writeCsv("bad.csv", c.content)});
        EXPECT_NE(run.exitCode, 0) << c.message;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("the schedule was not changed")))
            << run.err.toStdString();
        EXPECT_EQ(admin({"schedule", "export"}).out, before) << c.message;
    }
    const AdminRun missing = admin({"schedule", "import", workFile("none.csv")});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_EQ(admin({"schedule", "export"}).out, before);
}

TEST_F(AdminWorksheetTest, ScheduleImportReadsOnlyARegularFileOfASaneSize)
{
    ASSERT_EQ(admin({"schedule", "import", writeCsv("s.csv", smallSchedule())}).exitCode, 0);
    const QString before = admin({"schedule", "export"}).out;

    const QString fifo = workFile("pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A sound schedule padded with blank lines to one byte over the limit is refused by its size.
    QByteArray padded = smallSchedule();
    padded += QByteArray(1024 * 1024 + 1 - padded.size(), '\n');
    const QString large = writeCsv("large.csv", padded);

    const struct
    {
        QString path;
        QString message;
    } cases[] = {
        {QStringLiteral("/dev/zero"), "/dev/zero is not a file but a folder, a device or a pipe"},
        {fifo, fifo + " is not a file but a folder, a device or a pipe"},
        {m_dir.path(), m_dir.path() + " is not a file but a folder, a device or a pipe"},
        {large, large + " is larger than 1048576 bytes (1 MiB); a schedule is a few tens of kilobytes"},
        {workFile("none.csv"), workFile("none.csv") + " does not exist"},
    };

    for (const auto& c : cases) {
        const AdminRun run = admin({"schedule", "import", c.path});
        EXPECT_EQ(run.exitCode, 1) << c.path.toStdString();
        EXPECT_EQ(run.err, "cs42-admin: " + c.message + "; the schedule was not changed\n");
        EXPECT_EQ(admin({"schedule", "export"}).out, before) << c.path.toStdString();
    }
}

TEST_F(AdminWorksheetTest, WorksheetJsonHoldsCaptionsLookupAndExplanation)
{
    ASSERT_EQ(admin({"schedule", "import", writeCsv("s.csv", fullSchedule())}).exitCode, 0);
    addCase({"casedesc", "caseid", "pinc", "dinc", "child1name", "child2name", "whosecustody", "payshealth"},
            {"First", "FI000001", "600", "420", "Ann", "Bob", "P", "D"});
    addCase({"casedesc", "caseid", "pinc"}, {"Second", "SE000002", "1000"});

    const AdminRun run = admin({"worksheet", "--today", "2024-03-05", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(json.value("caseid").toString(), QStringLiteral("FI000001")); // the first case
    EXPECT_EQ(json.value("childCount").toInt(), 2);
    const QJsonObject captions = json.value("captions").toObject();
    EXPECT_EQ(captions.size(), 43);
    EXPECT_EQ(captions.value("lblC2").toString(), QStringLiteral("1020"));
    EXPECT_EQ(captions.value("lblC4").toString(), QStringLiteral("180")); // $1,000 row, 2 children
    EXPECT_EQ(captions.value("lblCustody").toString(), QStringLiteral("PLAINTIFF"));
    EXPECT_EQ(captions.value("lblChild3Name").toString(), QString());
    const QJsonObject lookup = json.value("scheduleLookup").toObject();
    EXPECT_EQ(lookup.value("bracketIncome").toDouble(), 1000);
    EXPECT_EQ(lookup.value("bracketAmount").toDouble(), 180);
    EXPECT_EQ(lookup.value("nextIncome").toDouble(), 1050);
    EXPECT_EQ(lookup.value("nextAmount").toDouble(), 189);
    const QString explanation = json.value("explanation").toString();
    EXPECT_TRUE(
        explanation.startsWith(QStringLiteral("Child Support Calculation performed on 03/05/2024\r\n\r\n")));
    EXPECT_TRUE(explanation.endsWith(QStringLiteral(" per month.")));

    const AdminRun second = admin({"worksheet", "--case", "SE000002"});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(second.out.startsWith(QStringLiteral("caseid: SE000002\n")));
    EXPECT_TRUE(second.out.contains(QStringLiteral("\nlblC4: 0\n")));
    EXPECT_TRUE(second.out.contains(QStringLiteral("\nchildCount: 0\n")));
    EXPECT_TRUE(second.out.contains(QStringLiteral("\nscheduleLookup.nextIncome: 1050\n")));
}

TEST_F(AdminWorksheetTest, WorksheetRefusesWhatItCannotShow)
{
    const AdminRun noCases = admin({"worksheet"});
    EXPECT_NE(noCases.exitCode, 0);
    EXPECT_TRUE(noCases.err.contains(QStringLiteral("no cases"))) << noCases.err.toStdString();

    addCase({"casedesc", "caseid"}, {"First", "FI000001"});
    // The data folder's schedule was created empty at start-up: line 4 has no schedule behind it,
    // so the lines are printed but the run fails.
    const AdminRun emptySchedule = admin({"worksheet"});
    EXPECT_EQ(emptySchedule.exitCode, 1);
    EXPECT_TRUE(emptySchedule.err.contains(QStringLiteral(
        "does not hold the schedule in force before May 1, 2022: its Schedule table is empty")))
        << emptySchedule.err.toStdString();
    EXPECT_TRUE(emptySchedule.out.contains(QStringLiteral("\nlblC4: 50\n")));

    const AdminRun unknown = admin({"worksheet", "--case", "NO999999"});
    EXPECT_NE(unknown.exitCode, 0);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("no case with the id 'NO999999'")))
        << unknown.err.toStdString();
    EXPECT_TRUE(unknown.out.isEmpty());

    EXPECT_EQ(admin({"worksheet", "--today", "5/3/2024"}).exitCode, 2);
    EXPECT_EQ(admin({"worksheet", "--bogus"}).exitCode, 2);

    // A schedule that cannot be read at all still computes (the $50 rule), says so and fails.
    QFile::remove(paths().scheduleDbPath());
    QDir().mkpath(paths().scheduleDbPath()); // a folder where the file should be
    const AdminRun noSchedule = admin({"worksheet"});
    EXPECT_EQ(noSchedule.exitCode, 1);
    EXPECT_TRUE(noSchedule.err.contains(QStringLiteral("cannot be read"))) << noSchedule.err.toStdString();
    EXPECT_TRUE(noSchedule.out.contains(QStringLiteral("\nlblC4: 50\n")));
}

TEST_F(AdminWorksheetTest, CasesDatabaseThatCannotBeOpenedPrintsTheErrorText)
{
    QDir().mkpath(paths().vtrFormsDir());
    QDir().mkpath(paths().casesDbPath()); // a folder where the file should be
    const AdminRun run = admin({"worksheet"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(cs42::CaseStore::openErrorText())) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("The file: ") + paths().casesDbPath()))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("is a folder"))) << run.err.toStdString();
}

// A damaged index hides a case that is there: that is damage to restore, not a wrong case id.
TEST_F(AdminWorksheetTest, DamagedIndexIsReportedAsDamage)
{
    ASSERT_EQ(admin({"schedule", "export"}).exitCode, 0); // start-up makes the databases
    addCase({"casedesc", "caseid"}, {"Doe v. Roe", "K1"});
    ASSERT_TRUE(cs42::test::damageCaseIdIndex(paths().casesDbPath()));
    const AdminRun run = admin({"worksheet", "--case", "K1"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(run.err.contains(QStringLiteral("there is no case"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("is damaged")) && run.err.contains(QStringLiteral("restore")))
        << run.err.toStdString();
}

// Another workstation holds the cases database: one wait, then a message saying so.
TEST_F(AdminWorksheetTest, BusyCasesDatabaseIsReportedAsInUse)
{
    ASSERT_EQ(admin({"schedule", "export"}).exitCode, 0);
    addCase({"casedesc", "caseid"}, {"Doe v. Roe", "K1"});
    cs42::SqlConnection holder(paths().casesDbPath());
    ASSERT_TRUE(holder.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    const AdminRun run = admin({"worksheet", "--case", "K1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("in use by another workstation"))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(cs42::CaseStore::openErrorText())) << "a busy file is no broken file";
    holder.exec(QStringLiteral("ROLLBACK"));
}

TEST_F(AdminWorksheetTest, UnreadableSettingsStopTheToolWithoutMakingDatabases)
{
    ASSERT_EQ(admin({"schedule", "export"}).exitCode, 0);
    QFile::remove(paths().casesDbPath());
    QFile settings(paths().settingsDbPath());
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write(QByteArray(4096, 'z'));
    settings.close();
    const AdminRun run = admin({"worksheet"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(paths().settingsDbPath() + QStringLiteral(" cannot be read")))
        << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(paths().casesDbPath()));
}

// Form CS-42 (Rev. 1/09) goes with the schedule in force before May 1, 2022, which is not shipped:
// a first start fills only the later forms' table, and a 2009 case waits for its own schedule.
TEST_F(AdminWorksheetTest, AFirstStartLeavesThe2009ScheduleToTheOfficeAndSaysSo)
{
    // The build tree's installed data, as an installed program finds it in <prefix>/share/cs42.
    ASSERT_EQ(cs42::test::runAdmin(m_dir.path(), {"schedule", "export"}, INSTALLED_DATA_DIR).exitCode, 0);
    EXPECT_EQ(admin({"schedule", "export", "--edition", "2022"}).out.count(u'\n'), 597);
    EXPECT_EQ(admin({"schedule", "export"}).out,
              QStringLiteral("income,child1,child2,child3,child4,child5,child6\n"));
    for (const char* name : {"QUON42.PDF", "QUONSchedule.pdf", "QUONRule32.pdf"})
        EXPECT_TRUE(QFile::exists(paths().vtrFormsDir() + QLatin1Char('/') + QLatin1String(name))) << name;
    addCase({"casedesc", "caseid", "pinc", "dinc", "child1name", "child2name", "whosecustody"},
            {"Sample Case", "MO123456", "2500", "4000", "Ann", "Bob", "P"});

    // The 2022 amount for $6,500 and two children is $1,313; the 2009 form shows none of it.
    const AdminRun before = admin({"worksheet", "--json"});
    EXPECT_EQ(before.exitCode, 1);
    EXPECT_TRUE(before.err.contains(QStringLiteral("install it with 'cs42-admin schedule import FILE.csv'")))
        << before.err.toStdString();
    const QJsonObject sheet = QJsonDocument::fromJson(before.out.toUtf8()).object();
    EXPECT_EQ(sheet.value("captions").toObject().value("lblC4").toString(), QStringLiteral("0"));
    EXPECT_EQ(sheet.value("warnings").toArray().first().toString(),
              QStringLiteral("the schedule in force before May 1, 2022 is not installed"));
    EXPECT_TRUE(
        sheet.value("explanation")
            .toString()
            .contains(QStringLiteral(
                "The schedule in force before May 1, 2022 is not installed, so line 4 is not read from "
                "a schedule.\r\n\r\n")));

    const AdminRun refused = admin({"produce"});
    EXPECT_EQ(refused.exitCode, 1);
    for (const char* said :
         {"The schedule in force before May 1, 2022, which form CS-42 (Rev. 1/09) reads, is "
          "not installed",
          "'cs42-admin schedule import FILE.csv'",
          "or override line 4 with the amount to use"})
        EXPECT_TRUE(refused.err.contains(QLatin1String(said))) << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(paths().producedFormPath()));

    // The shipped schedule is refused for the 2009 form's table.
    const AdminRun wrongTable =
        admin({"schedule", "import", QStringLiteral(REPO_DATA_DIR "/alabama-schedule-2022-05-01.csv")});
    EXPECT_EQ(wrongTable.exitCode, 1);
    EXPECT_TRUE(wrongTable.err.contains(QStringLiteral("is the schedule in force since May 1, 2022")))
        << wrongTable.err.toStdString();

    // The office installs its schedule: line 4 comes from it, and the explanation names it.
    const QString csv = writeCsv("office-2009.csv", fullSchedule());
    const AdminRun imported = admin({"schedule", "import", csv});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    const auto rows = cs42::ScheduleCsv::parse(fullSchedule(), nullptr);
    ASSERT_TRUE(rows.has_value());
    const AdminRun after = admin({"worksheet", "--json"});
    ASSERT_EQ(after.exitCode, 0) << after.err.toStdString();
    const QJsonObject computed = QJsonDocument::fromJson(after.out.toUtf8()).object();
    EXPECT_EQ(computed.value("captions").toObject().value("lblC4").toString(), QStringLiteral("1170"));
    EXPECT_TRUE(computed.value("warnings").toArray().isEmpty());
    const QRegularExpression named(
        QStringLiteral(" The schedule installed for this form is the schedule imported from office-2009.csv "
                       "on \\d\\d/\\d\\d/\\d{4} \\(SHA-256 %1\\)\\.\r\n\r\n")
            .arg(cs42::ScheduleSource::checksum(*rows)));
    EXPECT_TRUE(named.match(computed.value("explanation").toString()).hasMatch())
        << computed.value("explanation").toString().toStdString();
    if (QFile::exists(paths().templatePath())) {
        const AdminRun produced = admin({"produce"});
        EXPECT_EQ(produced.exitCode, 0) << produced.err.toStdString();
    }

    // Undone, the table is empty again, and the case is refused again.
    ASSERT_EQ(admin({"schedule", "import", "--undo"}).exitCode, 0);
    EXPECT_EQ(admin({"worksheet"}).exitCode, 1);
}

// An earlier version filled the 2009 form's table with the 2022 schedule: those rows stay, unread.
TEST_F(AdminWorksheetTest, An2009TableHoldingThe2022ScheduleIsNotReadAndIsKept)
{
    ASSERT_EQ(admin({"schedule", "export"}).exitCode, 0);
    QFile shipped(QStringLiteral(REPO_DATA_DIR "/alabama-schedule-2022-05-01.csv"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const auto rows = cs42::ScheduleCsv::parse(shipped.readAll(), nullptr);
    ASSERT_TRUE(rows && cs42::ScheduleCsv::replaceRows(paths().scheduleDbPath(), *rows, nullptr));
    addCase({"casedesc", "caseid", "pinc", "dinc", "child1name", "child2name"},
            {"Sample Case", "MO123456", "2500", "4000", "Ann", "Bob"});

    const AdminRun run = admin({"worksheet", "--json"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(
        run.err.contains(QStringLiteral("its Schedule table holds the schedule in force since May 1, 2022")))
        << run.err.toStdString();
    const QJsonObject sheet = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(sheet.value("captions").toObject().value("lblC4").toString(), QStringLiteral("0"));
    EXPECT_EQ(sheet.value("warnings").toArray().first().toString(),
              QStringLiteral("the schedule in force before May 1, 2022 is not installed"));
    EXPECT_TRUE(sheet.value("explanation")
                    .toString()
                    .contains(QStringLiteral(
                        "The program's table for this form holds the schedule in force since May 1, 2022")));
    EXPECT_EQ(admin({"schedule", "export"}).out.count(u'\n'), 597) << "the rows are the office's to remove";
}

} // namespace
