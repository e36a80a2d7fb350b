#include "core/startup/DataStore.h"
#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cs42;

namespace {
QStringList columnsOf(const QString& path, const QString& table)
{
    SqlConnection connection(path);
    QStringList columns;
    QSqlQuery query(connection.database());
    query.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"));
    query.addBindValue(table);
    if (query.exec()) {
        while (query.next())
            columns << query.value(0).toString();
    }
    return columns;
}

QStringList schemaColumns(const TableDef& table)
{
    QStringList columns;
    for (const ColumnDef& column : table.allColumns())
        columns << column.name;
    return columns;
}

QList<QStringList> rowsOf(const QString& path, const QString& sql)
{
    SqlConnection connection(path);
    QList<QStringList> rows;
    QSqlQuery query(connection.database());
    if (query.exec(sql)) {
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < query.record().count(); ++i)
                row << (query.value(i).isNull() ? QStringLiteral("<null>") : query.value(i).toString());
            rows << row;
        }
    }
    return rows;
}
} // namespace

TEST(StartUp, FirstStartCreatesEveryFileTableAndColumn)
{
    QTemporaryDir work;
    const DataPaths paths = DataStore::startUp(work.path());

    EXPECT_EQ(paths.dataDrive, QDir::toNativeSeparators(work.path()));
    EXPECT_EQ(paths.filesLocation, QDir::toNativeSeparators(work.path() + QStringLiteral("/VTRForms")));
    EXPECT_EQ(columnsOf(paths.settingsDbPath(), QStringLiteral("Main")), schemaColumns(Schema::mainTable()));
    EXPECT_EQ(columnsOf(paths.namesDbPath(), QStringLiteral("Names")), schemaColumns(Schema::namesTable()));
    EXPECT_EQ(columnsOf(paths.casesDbPath(), QStringLiteral("Cases")), schemaColumns(Schema::casesTable()));
    EXPECT_EQ(columnsOf(paths.scheduleDbPath(), QStringLiteral("Schedule")),
              schemaColumns(Schema::scheduleTable()));
    EXPECT_EQ(columnsOf(paths.scheduleDbPath(), QStringLiteral("Schedule2022")),
              schemaColumns(Schema::scheduleTable(QStringLiteral("Schedule2022"))));
    EXPECT_EQ(schemaColumns(Schema::casesTable()).size(), 90);

    const auto main = rowsOf(paths.settingsDbPath(), QStringLiteral("SELECT * FROM Main"));
    ASSERT_EQ(main.size(), 1);
    EXPECT_EQ(main[0][0], paths.filesLocation);
    EXPECT_EQ(main[0].mid(2, 9), QStringList(9, QString())) << "option fields hold the empty text";
    EXPECT_EQ(DataStore::defaultEdition(paths), QStringLiteral("2022")) << "new cases take the 2022 form";
    EXPECT_TRUE(rowsOf(paths.casesDbPath(), QStringLiteral("SELECT * FROM Cases")).isEmpty());
    EXPECT_TRUE(rowsOf(paths.namesDbPath(), QStringLiteral("SELECT * FROM Names")).isEmpty());

    // A second start finds everything in place and changes nothing.
    DataStore::startUp(work.path());
    EXPECT_EQ(rowsOf(paths.settingsDbPath(), QStringLiteral("SELECT * FROM Main")), main);
}

TEST(StartUp, OlderCasesFileGainsTheMissingColumnsWithItsRowsIntact)
{
    QTemporaryDir work;
    ASSERT_TRUE(QDir(work.path()).mkpath(QStringLiteral("VTRForms")));
    const DataPaths fresh = DataPaths::forWorkingDirectory(work.path());
    ASSERT_TRUE(QFile::copy(QStringLiteral(TEST_DATA_DIR "/QUONDATA-v1.MDB"), fresh.casesDbPath()));
    QFile::setPermissions(fresh.casesDbPath(), QFile::ReadOwner | QFile::WriteOwner);
    const auto before = rowsOf(fresh.casesDbPath(), QStringLiteral("SELECT * FROM Cases ORDER BY rowid"));

    const DataPaths paths = DataStore::startUp(work.path());

    const QStringList columns = columnsOf(paths.casesDbPath(), QStringLiteral("Cases"));
    EXPECT_EQ(columns.size(), 90);
    // The old columns keep their places; the new ones follow at the end, in schema order.
    EXPECT_EQ(columns.mid(0, 9),
              (QStringList{"casedesc",
                           "caseid",
                           "caseopen",
                           "courtfile",
                           "courttype",
                           "county",
                           "pinc",
                           "dinc",
                           "whosecustody"}));
    EXPECT_EQ(columns.at(9), QStringLiteral("casefile"));
    EXPECT_EQ(columns.last(), QStringLiteral("dhealthins"));
    const auto after =
        rowsOf(paths.casesDbPath(),
               QStringLiteral("SELECT casedesc, caseid, caseopen, courtfile, courttype, county, pinc, "
                              "dinc, whosecustody FROM Cases ORDER BY rowid"));
    EXPECT_EQ(after, before);
}

TEST(StartUp, MovedLocationGetsFreshDatabasesWhileSettingsAndScheduleStay)
{
    QTemporaryDir work;
    QTemporaryDir shared;
    DataPaths paths = DataStore::startUp(work.path());
    paths.filesLocation = QDir::toNativeSeparators(shared.path());
    ASSERT_TRUE(DataStore::saveFilesLocation(paths));

    const DataPaths moved = DataStore::startUp(work.path());
    EXPECT_EQ(moved.filesLocation, paths.filesLocation);
    EXPECT_TRUE(QFile::exists(shared.path() + QStringLiteral("/QUONDATA.MDB")));
    EXPECT_TRUE(QFile::exists(shared.path() + QStringLiteral("/Names.mdb")));
    EXPECT_FALSE(QFile::exists(shared.path() + QStringLiteral("/Quon2017.MDB")));
    EXPECT_FALSE(QFile::exists(shared.path() + QStringLiteral("/VTRchedule.MDB")));
    EXPECT_EQ(moved.settingsDbPath(), paths.settingsDbPath());
}

TEST(StartUp, InstalledScheduleIsNeverTouched)
{
    QTemporaryDir work;
    const DataPaths paths = DataStore::startUp(work.path());
    {
        SqlConnection schedule(paths.scheduleDbPath());
        ASSERT_TRUE(
            schedule.exec(QStringLiteral("INSERT INTO Schedule VALUES ('800','100','150','','','','')")));
    }
    DataStore::startUp(work.path());
    EXPECT_EQ(rowsOf(paths.scheduleDbPath(), QStringLiteral("SELECT income, child1 FROM Schedule")),
              (QList<QStringList>{{"800", "100"}}));
}

// The settings file holds where the cases live. When it cannot be read, start-up must not quietly
// make empty databases in the default folder: that shows "no cases" in place of the shared ones.
TEST(StartUp, UnreadableSettingsMakeNoDatabasesUntilReplaced)
{
    QTemporaryDir work;
    QTemporaryDir shared;
    DataPaths paths = DataStore::startUp(work.path());
    paths.filesLocation = QDir::toNativeSeparators(shared.path());
    ASSERT_TRUE(DataStore::saveFilesLocation(paths));
    QFile::remove(paths.casesDbPath());
    for (const QString& file : {paths.defaultFilesLocation() + QStringLiteral("/QUONDATA.MDB"),
                                paths.defaultFilesLocation() + QStringLiteral("/Names.mdb")})
        QFile::remove(file);
    {
        QFile settings(paths.settingsDbPath());
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
        settings.write(QByteArray(4096, '\x5a'));
    }
    const QByteArray damagedContent = QByteArray(4096, '\x5a');

    StartUpReport report;
    DataPaths again = DataStore::startUp(work.path(), &report);
    EXPECT_TRUE(report.settingsProblem.contains(QStringLiteral("not a database")))
        << report.settingsProblem.toStdString();
    EXPECT_FALSE(QFile::exists(again.casesDbPath()));
    EXPECT_FALSE(QFile::exists(again.namesDbPath()));

    // With the user's consent: the damaged file is kept aside, new settings point at the default
    // folder, and its databases are made.
    ASSERT_TRUE(DataStore::replaceDamagedSettings(again));
    QFile kept(DataStore::damagedSettingsPath(again));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damagedContent);
    EXPECT_EQ(again.filesLocation, again.defaultFilesLocation());
    EXPECT_TRUE(QFile::exists(again.casesDbPath()));
    StartUpReport clean;
    DataStore::startUp(work.path(), &clean);
    EXPECT_TRUE(clean.settingsProblem.isEmpty());
}

// The default edition of new cases is checked when it is read: an id the program knows is taken in
// its own spelling, anything else is reported with the value and never applied.
TEST(StartUp, DefaultEditionIsCheckedWhenRead)
{
    QTemporaryDir work;
    const DataPaths paths = DataStore::startUp(work.path());

    const struct
    {
        const char* stored;
        const char* edition;
        bool reported;
    } cases[] = {
        {"", "2022", false},
        {"2009", "2009", false},
        {"2023s", "2023S", false},
        {" 2022 ", "2022", false},
        {"2024", "2022", true},
        {"xyz", "2022", true},
    };

    for (const auto& c : cases) {
        ASSERT_TRUE(DataStore::saveDefaultEdition(paths, QLatin1String(c.stored)));
        QString problem = QStringLiteral("left from before");
        EXPECT_EQ(DataStore::defaultEdition(paths, &problem), QLatin1String(c.edition)) << c.stored;
        if (c.reported)
            EXPECT_EQ(problem,
                      QStringLiteral("The settings name the form edition '%1' for new cases, which this "
                                     "program does not know (it knows 2009, 2022, 2023S). New cases take "
                                     "form CS-42 (Rev. 5/2022) meanwhile; choose the default form with the "
                                     "menu \"Default Form\".")
                          .arg(QLatin1String(c.stored)));
        else
            EXPECT_EQ(problem, QString()) << c.stored;
    }
}
