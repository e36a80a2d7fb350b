#include "core/worksheet/ScheduleSource.h"

#include "core/startup/DataStore.h"
#include "core/worksheet/ScheduleCsv.h"
#include "core/worksheet/ScheduleHistory.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cs42;

namespace {

using Kind = ScheduleSource::Kind;

const QString Table2009 = QStringLiteral("Schedule");
const QString Table2022 = QStringLiteral("Schedule2022");

QList<ScheduleTextRow> shippedRows()
{
    QFile file(QStringLiteral(REPO_DATA_DIR "/alabama-schedule-2022-05-01.csv"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QString error;
    const auto rows = ScheduleCsv::parse(file.readAll(), &error);
    EXPECT_TRUE(rows) << error.toStdString();
    return rows.value_or(QList<ScheduleTextRow>());
}

// The shipped rows with `dollars` added to every amount.
QList<ScheduleTextRow> raised(QList<ScheduleTextRow> rows, int dollars)
{
    for (ScheduleTextRow& row : rows) {
        for (QString& amount : row.amounts)
            amount = QString::number(amount.toInt() + dollars);
    }
    return rows;
}

TEST(ScheduleSourceTest, TheShippedScheduleIsTheOfficialOneHoweverItsNumbersAreWritten)
{
    const QList<ScheduleTextRow> rows = shippedRows();
    ASSERT_EQ(rows.size(), 596);
    EXPECT_EQ(ScheduleSource::checksum(rows), ScheduleSource::official2022Checksum());
    // The canonical text is the CSV `schedule export` prints of the whole-dollar table.
    EXPECT_EQ(ScheduleSource::canonicalText(rows), ScheduleCsv::write(rows).toUtf8());

    QList<ScheduleTextRow> rewritten = rows;
    rewritten[0].income = QStringLiteral("0250.00");
    rewritten[1].amounts[0] = QStringLiteral(" 63.0 ");
    rewritten[2].amounts[5] = rewritten[2].amounts[5] + QStringLiteral(".000");
    EXPECT_EQ(ScheduleSource::checksum(rewritten), ScheduleSource::official2022Checksum());

    // One dollar more in one cell is another table.
    QList<ScheduleTextRow> changed = rows;
    changed[300].amounts[1] = QString::number(changed[300].amounts[1].toInt() + 1);
    EXPECT_NE(ScheduleSource::checksum(changed), ScheduleSource::official2022Checksum());
    // So is a cent, and the same rows in another order.
    changed = rows;
    changed[300].amounts[1] += QStringLiteral(".01");
    EXPECT_NE(ScheduleSource::checksum(changed), ScheduleSource::official2022Checksum());
    changed = rows;
    changed.swapItemsAt(10, 11);
    EXPECT_NE(ScheduleSource::checksum(changed), ScheduleSource::official2022Checksum());
}

TEST(ScheduleSourceTest, ATableIsKnownByItsContentAndTheImportRecordedForIt)
{
    const QList<ScheduleTextRow> official = shippedRows();
    const QList<ScheduleTextRow> plus10 = raised(official, 10);
    const QString plus10Sum = ScheduleSource::checksum(plus10);
    const ScheduleSource::Record importedPlus10{
        QStringLiteral("imported"), QStringLiteral("/office/plus10.csv"), QDate(2025, 3, 5), plus10Sum};
    const ScheduleSource::Record stale{QStringLiteral("imported"),
                                       QStringLiteral("/office/old.csv"),
                                       QDate(2024, 1, 2),
                                       QStringLiteral("0")};

    struct Case
    {
        const char* name;
        QString table;
        QList<ScheduleTextRow> rows;
        std::optional<ScheduleSource::Record> record;
        Kind kind;
        bool differs;
        bool holds2022;
        QString phrase;
    };

    const QString officialPhrase =
        QStringLiteral("the official Schedule of Basic Child-Support Obligations effective May 1, 2022 "
                       "(SHA-256 ") +
        ScheduleSource::official2022Checksum() + QLatin1Char(')');
    const QString differs = QStringLiteral(", which differs from the official Schedule of Basic "
                                           "Child-Support Obligations effective May 1, 2022");
    const Case cases[] = {
        {"official in its own table",
         Table2022,
         official,
         std::nullopt,
         Kind::Official,
         false,
         false,
         officialPhrase},
        // Recognised by its content, whoever put it there.
        {"official, imported",
         Table2022,
         official,
         importedPlus10,
         Kind::Official,
         false,
         false,
         officialPhrase},
        {"official in the 2009 table",
         Table2009,
         official,
         std::nullopt,
         Kind::NotInstalled,
         false,
         true,
         {}},
        {"empty 2009 table", Table2009, {}, std::nullopt, Kind::NotInstalled, false, false, {}},
        {"plus 10 imported",
         Table2022,
         plus10,
         importedPlus10,
         Kind::Imported,
         true,
         false,
         QStringLiteral("the schedule imported from plus10.csv on 03/05/2025 (SHA-256 ") + plus10Sum +
             QLatin1Char(')') + differs},
        {"plus 10 without a record",
         Table2022,
         plus10,
         std::nullopt,
         Kind::Unrecorded,
         true,
         false,
         QStringLiteral("a schedule whose origin was not recorded (SHA-256 ") + plus10Sum + QLatin1Char(')') +
             differs},
        // A record of other rows says nothing about these.
        {"plus 10, record of other rows",
         Table2022,
         plus10,
         stale,
         Kind::Unrecorded,
         true,
         false,
         QStringLiteral("a schedule whose origin was not recorded (SHA-256 ") + plus10Sum + QLatin1Char(')') +
             differs},
        // No official table of the 2009 form is known: nothing is said to differ from it.
        {"imported into the 2009 table",
         Table2009,
         plus10,
         importedPlus10,
         Kind::Imported,
         false,
         false,
         QStringLiteral("the schedule imported from plus10.csv on 03/05/2025 (SHA-256 ") + plus10Sum +
             QLatin1Char(')')},
    };
    for (const Case& c : cases) {
        const ScheduleSource source = ScheduleSource::classify(c.table, c.rows, c.record);
        EXPECT_EQ(source.kind, c.kind) << c.name;
        EXPECT_EQ(source.differsFromOfficial(), c.differs) << c.name;
        EXPECT_EQ(source.holdsOfficial2022, c.holds2022) << c.name;
        EXPECT_EQ(source.isUsable(), c.kind != Kind::NotInstalled) << c.name;
        EXPECT_EQ(source.phrase().toStdString(), c.phrase.toStdString()) << c.name;
    }
}

TEST(ScheduleSourceTest, TheStatementSaysWhatLineFourWasReadFromOrThatNothingIsInstalled)
{
    const QList<ScheduleTextRow> official = shippedRows();
    EXPECT_EQ(ScheduleSource().statement(), QString()) << "a table built in memory says nothing";
    EXPECT_EQ(ScheduleSource::classify(Table2022, official, std::nullopt).statement(),
              QStringLiteral("The schedule installed for this form is the official Schedule of Basic "
                             "Child-Support Obligations effective May 1, 2022 (SHA-256 ") +
                  ScheduleSource::official2022Checksum() + QStringLiteral(")."));

    const ScheduleSource empty = ScheduleSource::classify(Table2009, {}, std::nullopt);
    EXPECT_EQ(
        empty.statement(),
        QStringLiteral("The schedule in force before May 1, 2022 is not installed, so line 4 is not read "
                       "from a schedule."));
    EXPECT_EQ(empty.problem(),
              QStringLiteral("does not hold the schedule in force before May 1, 2022: its Schedule table is "
                             "empty"));
    const ScheduleSource held = ScheduleSource::classify(Table2009, official, std::nullopt);
    EXPECT_TRUE(held.statement().endsWith(QStringLiteral(
        " The program's table for this form holds the schedule in force since May 1, 2022, "
        "which belongs to the forms for actions filed on or after that date and is not read for "
        "this one.")));
    EXPECT_EQ(
        held.problem(),
        QStringLiteral("does not hold the schedule in force before May 1, 2022: its Schedule table holds "
                       "the schedule in force since May 1, 2022, which belongs to the forms for actions "
                       "filed on or after that date"));
}

// A data folder's schedule database as the program's start-up makes it.
class ScheduleHistoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_db = DataStore::startUp(m_dir.path()).scheduleDbPath();
    }

    ScheduleSource now(const QString& table) const { return ScheduleSource::identify(m_db, table); }

    QList<ScheduleTextRow> rowsOf(const QString& table) const
    {
        return ScheduleCsv::readRows(m_db, nullptr, table).value_or(QList<ScheduleTextRow>());
    }

    QTemporaryDir m_dir;
    QString m_db;
};

TEST_F(ScheduleHistoryTest, AnImportKeepsTheTableItReplacesAndUndoPutsItBack)
{
    const QList<ScheduleTextRow> official = shippedRows();
    const QList<ScheduleTextRow> plus10 = raised(official, 10);
    QString error;
    ASSERT_TRUE(ScheduleHistory::installRows(m_db, Table2022, official, QDate(2024, 1, 2), &error))
        << error.toStdString();
    EXPECT_EQ(now(Table2022).kind, Kind::Official);
    EXPECT_FALSE(ScheduleHistory::hasKeptCopy(m_db, Table2022));

    ASSERT_TRUE(
        ScheduleHistory::importRows(m_db, Table2022, plus10, "/office/plus10.csv", QDate(2025, 3, 5), &error))
        << error.toStdString();
    // Identified afresh after the change, in the same process.
    const ScheduleSource imported = now(Table2022);
    EXPECT_EQ(imported.kind, Kind::Imported);
    EXPECT_EQ(imported.file, QStringLiteral("/office/plus10.csv"));
    EXPECT_EQ(imported.importedOn, QDate(2025, 3, 5));
    EXPECT_EQ(imported.sha256, ScheduleSource::checksum(plus10));
    EXPECT_EQ(ScheduleHistory::keptSource(m_db, Table2022)->kind, Kind::Official);

    // Undo puts the official rows back and keeps the import in their place: a second undo redoes it.
    ASSERT_TRUE(ScheduleHistory::undoImport(m_db, Table2022, &error)) << error.toStdString();
    EXPECT_EQ(now(Table2022).kind, Kind::Official);
    EXPECT_EQ(ScheduleCsv::write(rowsOf(Table2022)), ScheduleCsv::write(official));
    ASSERT_TRUE(ScheduleHistory::undoImport(m_db, Table2022, &error)) << error.toStdString();
    EXPECT_EQ(now(Table2022).kind, Kind::Imported);
    EXPECT_EQ(now(Table2022).file, QStringLiteral("/office/plus10.csv"));
    EXPECT_EQ(ScheduleCsv::write(rowsOf(Table2022)), ScheduleCsv::write(plus10));

    // The 2009 table: an import into the empty table, undone, leaves it empty, not installed.
    EXPECT_TRUE(now(Table2009).missesPre2022Schedule());
    ASSERT_TRUE(
        ScheduleHistory::importRows(m_db, Table2009, plus10, "/office/old.csv", QDate(2025, 3, 6), &error));
    EXPECT_EQ(now(Table2009).kind, Kind::Imported);
    EXPECT_TRUE(now(Table2022).kind == Kind::Imported) << "each table keeps its own record";
    ASSERT_TRUE(ScheduleHistory::undoImport(m_db, Table2009, &error));
    EXPECT_TRUE(rowsOf(Table2009).isEmpty());
    EXPECT_TRUE(now(Table2009).missesPre2022Schedule());
}

TEST_F(ScheduleHistoryTest, UndoWithoutAKeptTableChangesNothing)
{
    // A table filled before imports were recorded: its rows are of unknown origin.
    const QList<ScheduleTextRow> rows = raised(shippedRows(), 1);
    ASSERT_TRUE(ScheduleCsv::replaceRows(m_db, rows, nullptr, Table2009));
    EXPECT_EQ(now(Table2009).kind, Kind::Unrecorded);

    QString error;
    EXPECT_FALSE(ScheduleHistory::undoImport(m_db, Table2009, &error));
    EXPECT_EQ(error,
              QStringLiteral("no earlier schedule of table Schedule is kept: no import has replaced it"));
    EXPECT_EQ(ScheduleCsv::write(rowsOf(Table2009)), ScheduleCsv::write(rows));
    EXPECT_EQ(now(Table2009).kind, Kind::Unrecorded);

    // Rows changed behind the program's back at once, in a file of the same size, are seen.
    const QList<ScheduleTextRow> other = raised(shippedRows(), 2);
    ASSERT_TRUE(ScheduleCsv::replaceRows(m_db, other, nullptr, Table2009));
    EXPECT_EQ(now(Table2009).sha256, ScheduleSource::checksum(other));
}

} // namespace
