#include "core/worksheet/ProductionRefusal.h"

#include "ScheduleFixture.h"
#include "Worksheet2022Fixtures.h"

#include <gtest/gtest.h>

using namespace cs42;
using namespace cs42::test;

namespace {

CaseRecord producible()
{
    CaseRecord r;
    r.setValue(QStringLiteral("pinc"), QStringLiteral("3000"));
    r.setValue(QStringLiteral("dinc"), QStringLiteral("2000"));
    r.setValue(QStringLiteral("child1name"), QStringLiteral("Ann"));
    return r;
}

TEST(ProductionRefusalTest, SaysEveryReasonTheFiguresCannotStand)
{
    const DataPaths paths = DataPaths::forWorkingDirectory(QStringLiteral("/office"));
    const QString schedule = paths.scheduleDbPath();

    struct Case
    {
        const char* name;
        QMap<QString, QString> columns;
        bool readable; // false: the schedule "cannot be read (file is not a database)"
        QStringList reasons;
    };

    const Case cases[] = {
        {"an ordinary case", {}, true, {}},
        {"no schedule",
         {},
         false,
         {QStringLiteral("The schedule of basic child-support obligations '") + schedule +
          QStringLiteral(
              "' cannot be read (file is not a database), so line 4 is not the schedule's "
              "amount. Install the complete schedule, or override line 4 with the amount to use.")}},
        {"no schedule, but an override sets line 4", {{"override", "Y"}, {"overamount", "700"}}, false, {}},
        {"no child named (a blank name is none)",
         {{"child1name", "   "}},
         true,
         {QStringLiteral("No child is named on the worksheet, so line 4 is not for any number of children. "
                         "Enter the children of this case.")}},
        {"an amount that cannot be used",
         {{"healthins", QString(400, u'9')}},
         true,
         {QStringLiteral("The amount stored on line 6 cannot be used: it is not a plain number (such as "
                         "3000 or 412.50), has more digits than can be read, or is more than $10,000,000 a "
                         "month. Enter it again.")}},
        {"stored amounts that are not plain numbers",
         {{"pinc", "$3,000"}, {"dinc", "1,000"}},
         true,
         {QStringLiteral("The amounts stored on line 1 of the plaintiff, line 1 of the defendant cannot be "
                         "used: each is not a plain number (such as 3000 or 412.50), has more digits than "
                         "can be read, or is more than $10,000,000 a month. Enter them again.")}},
        {"a line 2 below 0",
         {{"dpre", "2500"}},
         true,
         {QStringLiteral(
             "The adjusted gross income (line 2) of the defendant is less than 0: the pre-existing "
             "child support and alimony (lines 1a and 1b) are more than the monthly gross income "
             "(line 1). Correct those lines.")}},
    };
    for (const Case& c : cases) {
        CaseRecord r = producible();
        for (auto it = c.columns.begin(); it != c.columns.end(); ++it)
            r.setValue(it.key(), it.value());
        Worksheet sheet = computeWorksheet(r, c.readable ? standardTable() : ScheduleTable());
        if (!c.readable)
            sheet.result.scheduleProblem = QStringLiteral("cannot be read (file is not a database)");
        const QString expected = c.reasons.isEmpty() ? QString()
                                                     : QStringLiteral("The form was not produced.\r\n\r\n") +
                                                           c.reasons.join(QStringLiteral("\r\n\r\n"));
        EXPECT_EQ(productionRefusal(sheet, paths), expected) << c.name;
    }

    // Several reasons at once: each its own paragraph, in the order above.
    CaseRecord r = producible();
    r.setValue(QStringLiteral("child1name"), QString());
    r.setValue(QStringLiteral("pinc"), QString(400, u'9'));
    const QString both = productionRefusal(computeWorksheet(r, makeTable(800, 1300)), paths);
    EXPECT_EQ(both.count(QStringLiteral("\r\n\r\n")), 3) << both.toStdString();
    EXPECT_TRUE(
        both.contains(QStringLiteral("' does not cover every income: the schedule stops at an income of "
                                     "1300; it must reach 20000, so line 4")));
    EXPECT_LT(both.indexOf(QStringLiteral("line 1 of the plaintiff")),
              both.indexOf(QStringLiteral("No child")));
}

// With a combined adjusted income of 0 the refusal names the lines of the case's own form that
// the shares divide.
TEST(ProductionRefusalTest, AnIncomeOfZeroNamesTheLinesOfTheCasesForm)
{
    const DataPaths paths = DataPaths::forWorkingDirectory(QStringLiteral("/office"));

    const struct
    {
        const FormEdition* edition;
        const char* lines;
    } cases[] = {{&FormEditions::cs42Rev0522(), "lines 8 and 10"},
                 {&FormEditions::cs42S2023(), "lines 10, 13 and 14"}};

    for (const auto& c : cases) {
        CaseRecord record;
        record.setValue(QStringLiteral("formedition"), c.edition->id);
        record.setValue(QStringLiteral("numchildren"), QStringLiteral("1"));
        const Worksheet sheet = c.edition->compute(record, alabama2022(), c.edition->rules);
        EXPECT_EQ(productionRefusal(sheet, paths),
                  QStringLiteral("The form was not produced.\r\n\r\nThe combined adjusted gross income (line "
                                 "2) is 0, so the shares of line 3, and %1 with them, cannot be computed. "
                                 "Enter the incomes of this case.")
                      .arg(QLatin1String(c.lines)))
            << c.lines;
    }
}

// The figures of a case whose edition the program does not know are another form's: that is the
// one reason given, whatever else they show.
TEST(ProductionRefusalTest, AnEditionTheProgramDoesNotKnowIsTheOnlyReason)
{
    const DataPaths paths = DataPaths::forWorkingDirectory(QStringLiteral("/office"));
    CaseRecord record;
    record.setValue(QStringLiteral("numchildren"), QStringLiteral("1"));
    Worksheet sheet =
        FormEditions::cs42Rev0522().compute(record, alabama2022(), FormEditions::cs42Rev0522().rules);
    ASSERT_TRUE(sheet.result.sharesUndefined);
    sheet.result.unknownEdition = QStringLiteral("2024");
    EXPECT_EQ(productionRefusal(sheet, paths),
              QStringLiteral("The form was not produced.\r\n\r\nThis case names the form edition '2024', "
                             "which this program does not know (it knows 2009, 2022, 2023S); a later version "
                             "of the program may have stored it. Choose one of those editions for the case "
                             "on its worksheet, or produce the form with the version that stored it."));
}

TEST(ProductionRefusalTest, The2009FormWithoutItsOwnScheduleNamesTheImportAndTheOverride)
{
    const DataPaths paths = DataPaths::forWorkingDirectory(QStringLiteral("/office"));
    // The 2009 table holds the 2022 rows: they are there, but not read.
    ScheduleSource held;
    held.kind = ScheduleSource::Kind::NotInstalled;
    held.table = QStringLiteral("Schedule");
    held.holdsOfficial2022 = true;
    ScheduleTable table = standardTable();
    table.setSource(held);

    const Worksheet sheet = computeWorksheet(producible(), table);
    EXPECT_EQ(sheet.captions.value(QStringLiteral("lblC4")), QStringLiteral("0")) << "not the table's 900";
    EXPECT_EQ(worksheetWarnings(sheet.result).value(QStringLiteral("lblScheduleWarning")),
              QStringLiteral("the schedule in force before May 1, 2022 is not installed"));
    EXPECT_EQ(
        productionRefusal(sheet, paths),
        QStringLiteral("The form was not produced.\r\n\r\nThe schedule in force before May 1, 2022, which "
                       "form CS-42 (Rev. 1/09) reads, is not installed: the schedule database '") +
            paths.scheduleDbPath() +
            QStringLiteral("' does not hold the schedule in force before May 1, 2022: its Schedule table "
                           "holds the schedule in force since May 1, 2022, which belongs to the forms for "
                           "actions filed on or after that date, so line 4 is not from a schedule. Install "
                           "that schedule with 'cs42-admin schedule import FILE.csv' in the program's "
                           "working directory, or override line 4 with the amount to use."));

    // The override sets line 4 without a schedule; the worksheet still says that none is installed.
    CaseRecord overridden = producible();
    overridden.setValue(QStringLiteral("override"), QStringLiteral("Y"));
    overridden.setValue(QStringLiteral("overamount"), QStringLiteral("700"));
    const Worksheet withOverride = computeWorksheet(overridden, table);
    EXPECT_EQ(productionRefusal(withOverride, paths), QString());
    EXPECT_FALSE(
        worksheetWarnings(withOverride.result).value(QStringLiteral("lblScheduleWarning")).isEmpty());
}

} // namespace
