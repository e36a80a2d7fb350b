#include "core/worksheet/WorksheetCalculation.h"

#include "ScheduleFixture.h"

#include <QMap>

#include <gtest/gtest.h>

using namespace cs42;
using namespace cs42::test;

namespace {

using Columns = QMap<QString, QString>;
using Expected = QMap<QString, QString>; // label -> caption

// A case record as the store returns it after the null repair: every column present.
CaseRecord record(const Columns& columns)
{
    CaseRecord r;
    for (const char* column : {"pinc",
                               "dinc",
                               "ppre",
                               "dpre",
                               "presp",
                               "dresp",
                               "childcare",
                               "healthins",
                               "payshealth",
                               "whosecustody",
                               "override",
                               "overamount",
                               "poc",
                               "doc"})
        r.setValue(QString::fromLatin1(column), QString(QLatin1String("")));
    for (auto it = columns.begin(); it != columns.end(); ++it)
        r.setValue(it.key(), it.value());
    return r;
}

void expectCaptions(const Worksheet& sheet, const Expected& expected, const char* name)
{
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(sheet.captions.value(it.key()), it.value()) << name << ": " << it.key().toStdString();
}

const Columns WorkedExample = {{"pinc", "3000"},
                               {"dinc", "2000"},
                               {"child1name", "Ann"},
                               {"child2name", "Bob"},
                               {"childcare", "200"},
                               {"healthins", "100"},
                               {"payshealth", "D"},
                               {"whosecustody", "P"}};

TEST(WorksheetCalculationTest, WorkedExample)
{
    const Worksheet sheet = computeWorksheet(record(WorkedExample), standardTable());
    const WorksheetResult& r = sheet.result;
    EXPECT_EQ(r.c2, 5000);
    EXPECT_EQ(r.p3, 60);
    EXPECT_EQ(r.d3, 40);
    EXPECT_EQ(r.line4, 900);
    EXPECT_EQ(r.line7, 1200);
    EXPECT_EQ(r.p8, 720);
    EXPECT_EQ(r.d8, 480);
    EXPECT_EQ(r.d10, 380);
    EXPECT_EQ(r.childCount, 2);
    EXPECT_EQ(r.insurancePayer, QStringLiteral("D"));
    EXPECT_EQ(r.custodyCode, QStringLiteral("P"));
    EXPECT_FALSE(r.overrideInForce);
    EXPECT_EQ(r.lookup.bracketIncome, 5000);
    EXPECT_EQ(r.lookup.bracketAmount, 900);
    EXPECT_EQ(r.lookup.nextIncome, 5050);
    EXPECT_EQ(r.lookup.nextAmount, 909);
    expectCaptions(sheet,
                   {{"lblP1", "3000"},
                    {"lblD1", "2000"},
                    {"lblP1a", ""},
                    {"lblD1a", ""},
                    {"lblP1b", ""},
                    {"lblD1b", ""},
                    {"lblP2", "3000"},
                    {"lblD2", "2000"},
                    {"lblC2", "5000"},
                    {"lblP3", "60"},
                    {"lblD3", "40"},
                    {"lblC4", "900"},
                    {"lblC5", "200"},
                    {"lblC6", "100"},
                    {"lblC7", "1200"},
                    {"lblP8", "720"},
                    {"lblD8", "480"},
                    {"lblP9", ""},
                    {"lblD9", "100"},
                    {"lblP10", ""},
                    {"lblD10", "380"},
                    {"lblHealthInsurance", "DEFENDANT"},
                    {"lblCustody", "PLAINTIFF"},
                    {"lblChild1Name", "Ann"},
                    {"lblChild2Name", "Bob"}},
                   "worked example");
    // Every label of the worksheet gets a caption.
    for (const QString& label : worksheetCaptionLabels())
        EXPECT_TRUE(sheet.captions.contains(label)) << label.toStdString();
    EXPECT_EQ(worksheetCaptionLabels().size(), 43);
}

struct Case
{
    const char* name;
    Columns columns;
    Expected captions;
};

TEST(WorksheetCalculationTest, EdgeCasesOfTheLines)
{
    const Case cases[] = {
        {"shares that do not divide evenly",
         {{"pinc", "1000"}, {"dinc", "2000"}, {"override", "Y"}, {"overamount", "1000"}},
         {{"lblP3", "33"}, {"lblD3", "67"}, {"lblC7", "1000"}, {"lblP8", "333"}, {"lblD8", "667"}}},
        {"no health-insurance amount whoever pays",
         {{"pinc", "3000"}, {"healthins", ""}, {"payshealth", "P"}},
         {{"lblHealthInsurance", "N/A"}, {"lblP9", ""}, {"lblD9", ""}, {"lblC6", ""}}},
        {"plaintiff pays the insurance",
         {{"pinc", "3000"}, {"healthins", "45.5"}, {"payshealth", "P"}},
         {{"lblHealthInsurance", "PLAINTIFF"}, {"lblC6", "46"}, {"lblP9", "46"}, {"lblD9", ""}}},
        {"lower-case p pays: the defendant",
         {{"pinc", "3000"}, {"healthins", "100"}, {"payshealth", "p"}},
         {{"lblHealthInsurance", "DEFENDANT"}, {"lblD9", "100"}}},
        {"blank custody is the defendant's, so the plaintiff pays",
         {{"pinc", "3000"}, {"dinc", "2000"}, {"child1name", "Ann"}},
         {{"lblCustody", "DEFENDANT"},
          {"lblC4", "450"},
          {"lblP8", "270"},
          {"lblP10", "270"},
          {"lblD10", ""}}},
        {"override flag without an amount",
         {{"pinc", "3000"}, {"dinc", "2000"}, {"child1name", "Ann"}, {"override", "Y"}, {"overamount", "0"}},
         {{"lblC4", "450"}}},
        {"lower-case override flag",
         {{"pinc", "3000"},
          {"dinc", "2000"},
          {"child1name", "Ann"},
          {"override", "y"},
          {"overamount", "900"}},
         {{"lblC4", "450"}}},
        {"negative override amount",
         {{"pinc", "3000"}, {"dinc", "2000"}, {"child1name", "Ann"}, {"override", "Y"}, {"overamount", "-5"}},
         {{"lblC4", "450"}}},
        {"override under $800",
         {{"pinc", "500"}, {"override", "Y"}, {"overamount", "1234"}},
         {{"lblC4", "1234"}, {"lblC7", "1234"}}},
        {"children counted wherever their slot",
         {{"pinc", "3000"}, {"dinc", "2000"}, {"child2name", "Bo"}, {"child5name", "Cy"}},
         {{"lblC4", "900"}, {"lblChild1Name", ""}, {"lblChild2Name", "Bo"}, {"lblChild5Name", "Cy"}}},
        {"a name of spaces is no child and its date stays off",
         {{"pinc", "3000"},
          {"dinc", "2000"},
          {"child1name", "Ann"},
          {"child2name", "   "},
          {"child2dob", "03/07/2012"},
          {"child3dob", "04/01/2015"}},
         {{"lblC4", "450"}, {"lblChild2Name", ""}, {"lblChild2DOB", ""}, {"lblChild3DOB", ""}}},
        {"deductions larger than the income",
         {{"pinc", "100"}, {"ppre", "150"}, {"presp", "50"}, {"dinc", "1100"}, {"child1name", "Ann"}},
         {{"lblP1", "100"},
          {"lblP1a", "150"},
          {"lblP1b", "50"},
          {"lblP2", "-100"},
          {"lblD2", "1100"},
          {"lblC2", "1000"},
          {"lblP3", "-10"},
          {"lblD3", "110"},
          {"lblC4", "90"},
          {"lblP8", "-9"},
          {"lblD8", "99"},
          {"lblP10", ""}}}, // no order below 0
        {"nothing entered",
         {},
         {{"lblP1", ""},
          {"lblD1", ""},
          {"lblP2", ""},
          {"lblD2", ""},
          {"lblC2", ""},
          {"lblP3", ""},
          {"lblD3", ""},
          {"lblC4", "50"},
          {"lblC5", ""},
          {"lblC6", ""},
          {"lblC7", "50"},
          {"lblP8", ""},
          {"lblD8", ""},
          {"lblP9", ""},
          {"lblD9", ""},
          {"lblP10", ""},
          {"lblD10", ""},
          {"lblHealthInsurance", "N/A"},
          {"lblCustody", "DEFENDANT"}}},
        {"combined income of zero or less: the insurance credit leaves no order",
         {{"pinc", "100"}, {"ppre", "300"}, {"healthins", "80"}, {"payshealth", "P"}},
         {{"lblC2", "-200"}, {"lblP3", ""}, {"lblP8", ""}, {"lblP9", "80"}, {"lblP10", ""}}},
        {"cents that add up to exactly halfway take the higher row",
         {{"pinc", "1136.32"},
          {"ppre", "487.41"},
          {"presp", "261.29"},
          {"dinc", "1559.81"},
          {"dpre", "271.52"},
          {"dresp", "0.91"},
          {"child1name", "Ann"}},
         {{"lblC2", "1675"}, {"lblC4", "153"}}},
        {"deductions in cents that use up the whole income leave no share",
         {{"pinc", "1000.07"}, {"ppre", "10.01"}, {"presp", "990.06"}},
         {{"lblP2", ""}, {"lblC2", ""}, {"lblP3", ""}, {"lblC4", "50"}, {"lblP8", ""}, {"lblP10", ""}}},
        {"an insurance credit equal to the obligor's share leaves no order",
         {{"pinc", "7200"},
          {"dinc", "2800"},
          {"override", "Y"},
          {"overamount", "900"},
          {"healthins", "350"},
          {"payshealth", "D"},
          {"whosecustody", "P"}},
         {{"lblD3", "28"}, {"lblC7", "1250"}, {"lblD8", "350"}, {"lblD9", "350"}, {"lblD10", ""}}},
        {"stored amounts show in whole dollars but count in full",
         {{"pinc", "250.50"}, {"dinc", " 1 000"}, {"childcare", "99.5"}},
         {{"lblP1", "251"}, {"lblD1", "1000"}, {"lblC2", "1251"}, {"lblC5", "100"}}},
        // Read from its first digits it would be another amount (1, 0, 12): it is not used at all.
        {"stored text that is not a plain number cannot be used",
         {{"pinc", "1,234"}, {"dinc", "$900"}, {"childcare", "12abc"}},
         {{"lblP1", "INVALID"}, {"lblD1", "INVALID"}, {"lblP2", ""}, {"lblC5", "INVALID"}}},
        {"header texts unchanged, child names trimmed",
         {{"courtfile", " DR-12 "},
          {"county", "Jefferson"},
          {"courttype", "CIRCUIT"},
          {"name1name", "A. Smith"},
          {"name2name", "B. Smith"},
          {"textblock1", " "},
          {"datesigned", "01/02/2024"},
          {"preparedby", "Me"},
          {"child1name", "  Ann  "},
          {"child1dob", "bad date"}},
         {{"lblCourtFile", " DR-12 "},
          {"lblCounty", "Jefferson"},
          {"lblCourtType", "CIRCUIT"},
          {"lblName1Name", "A. Smith"},
          {"lblName2Name", "B. Smith"},
          {"lblComments", " "},
          {"lblDateSigned", "01/02/2024"},
          {"lblPreparedBy", "Me"},
          {"lblChild1Name", "Ann"},
          {"lblChild1DOB", "bad date"}}},
    };
    for (const auto& c : cases)
        expectCaptions(computeWorksheet(record(c.columns), standardTable()), c.captions, c.name);
}

TEST(WorksheetCalculationTest, ResultCarriesWhatTheDialogsStartFrom)
{
    Columns columns = WorkedExample;
    columns.insert("override", "Y");
    columns.insert("overamount", "612.40");
    columns.insert("poc", "2");
    columns.insert("doc", "x");
    columns.insert("healthins", "");
    const WorksheetResult r = computeWorksheet(record(columns), standardTable()).result;
    EXPECT_EQ(r.overrideFlag, QStringLiteral("Y"));
    EXPECT_EQ(r.overrideAmount, 612.4);
    EXPECT_TRUE(r.overrideInForce);
    EXPECT_EQ(r.line4, 612.4);
    EXPECT_EQ(r.insurancePayer, QStringLiteral("N"));
    EXPECT_EQ(r.poc, QStringLiteral("2"));
    EXPECT_EQ(r.doc, QStringLiteral("x"));
    // The search still ran and is reported even though the override replaced its amount.
    EXPECT_EQ(r.lookup.bracketAmount, 900);
}

TEST(WorksheetCalculationTest, PercentagesAreRoundedHalfToEvenBeforeLineEight)
{
    // 6667 / 20000 = 33.335 %, 13333 / 20000 = 66.665 %.
    const Worksheet sheet = computeWorksheet(
        record({{"pinc", "6667"}, {"dinc", "13333"}, {"override", "Y"}, {"overamount", "10000"}}),
        standardTable());
    EXPECT_EQ(sheet.result.p3, 33.34);
    EXPECT_EQ(sheet.result.d3, 66.66);
    EXPECT_EQ(sheet.captions.value("lblP8"), QStringLiteral("3334"));
    EXPECT_EQ(sheet.captions.value("lblD8"), QStringLiteral("6666"));
}

TEST(WorksheetCalculationTest, NullColumnsReadAsEmpty)
{
    CaseRecord r; // nothing at all: every column Null
    const Worksheet sheet = computeWorksheet(r, standardTable());
    EXPECT_EQ(sheet.captions.value("lblC4"), QStringLiteral("50"));
    EXPECT_FALSE(sheet.captions.value("lblCourtFile").isNull());
    EXPECT_EQ(sheet.result.overrideFlag, QString());
}

} // namespace

namespace {

TEST(WorksheetCalculationTest, NoOrderBelowZeroAndTheWorksheetSaysWhy)
{
    struct Order
    {
        const char* name;
        Columns columns;
        const char* d10;
        bool exceeds;
    };

    // The defendant pays (the plaintiff has custody) and pays the insurance, with a 40 % share.
    const Order cases[] = {
        {"credit above the share", {{"healthins", "800"}}, "", true}, // D8 = 40 % of 1900 = 760
        {"credit equal to the share",
         {{"childcare", "0"}, {"healthins", "600"}, {"override", "Y"}, {"overamount", "900"}},
         "",
         false}, // D8 = 40 % of 1500 = 600
        {"credit below the share", {}, "380", false},
        {"ordinary case with a large premium", {{"healthins", "1200"}}, "", true},
    };
    for (const Order& c : cases) {
        Columns columns = WorkedExample;
        for (auto it = c.columns.begin(); it != c.columns.end(); ++it)
            columns.insert(it.key(), it.value());
        const Worksheet sheet = computeWorksheet(record(columns), standardTable());
        EXPECT_EQ(sheet.captions.value("lblD10"), QLatin1String(c.d10)) << c.name;
        EXPECT_GE(sheet.result.d10, 0) << c.name;
        EXPECT_EQ(sheet.result.insuranceCreditExceedsShare, c.exceeds) << c.name;
        EXPECT_EQ(worksheetWarnings(sheet.result).value("lblCreditWarning"),
                  c.exceeds ? QStringLiteral("HEALTH-INSURANCE CREDIT (LINE 9) EXCEEDS THE SHARE (LINE 8)!")
                            : QString())
            << c.name;
    }
}

TEST(WorksheetCalculationTest, StoredAmountsThatCannotBeUsedCountAsZeroAndAreNamed)
{
    const QString digits309 = QStringLiteral("1") + QString(308, u'0'); // 1e308: a double, not an income
    const QString digits400 = QString(400, u'9');                       // more than a double holds
    Columns columns = WorkedExample;
    columns.insert("pinc", digits309);
    columns.insert("dresp", digits400);
    columns.insert("healthins", "10000001");
    columns.insert("childcare", "10000000"); // the highest amount accepted
    const Worksheet sheet = computeWorksheet(record(columns), standardTable());
    const WorksheetResult& r = sheet.result;
    EXPECT_EQ(r.unusableAmounts,
              QStringList({"line 1 of the plaintiff", "line 1b of the defendant", "line 6"}));
    // Each counts as 0 and says so, so that no line contradicts another.
    expectCaptions(sheet,
                   {{"lblP1", "INVALID"},
                    {"lblP2", ""},
                    {"lblD1b", "INVALID"},
                    {"lblD2", "2000"},
                    {"lblC2", "2000"},
                    {"lblC5", "10000000"},
                    {"lblC6", "INVALID"},
                    {"lblHealthInsurance", "N/A"}},
                   "unusable amounts");
    EXPECT_EQ(
        worksheetWarnings(r).value("lblAmountWarning"),
        QStringLiteral("THE AMOUNTS ON LINE 1 OF THE PLAINTIFF, LINE 1B OF THE DEFENDANT, LINE 6 CANNOT BE "
                       "USED AND COUNT AS 0: ENTER THEM AGAIN!"));

    // The override amount matters only while the override is switched on.
    columns = WorkedExample;
    columns.insert("overamount", digits400);
    columns.insert("override", "N");
    EXPECT_TRUE(computeWorksheet(record(columns), standardTable()).result.unusableAmounts.isEmpty());
    columns.insert("override", "Y");
    const Worksheet overridden = computeWorksheet(record(columns), standardTable());
    EXPECT_EQ(overridden.result.unusableAmounts, QStringList{"line 4 (the override amount)"});
    EXPECT_EQ(overridden.captions.value("lblC4"), QStringLiteral("900")); // the schedule's, not 0
}

TEST(WorksheetCalculationTest, WarningsForLineTwoBelowZeroAndNoChildren)
{
    Columns columns = {{"pinc", "100"}, {"ppre", "150"}, {"dinc", "1100"}};
    Captions warnings = worksheetWarnings(computeWorksheet(record(columns), standardTable()).result);
    EXPECT_EQ(warnings.value("lblLineTwoWarning"), QStringLiteral("LINE 2 OF THE PLAINTIFF IS BELOW 0!"));
    EXPECT_EQ(warnings.value("lblChildrenWarning"),
              QStringLiteral("NO CHILD IS NAMED: ENTER THE CHILDREN OF THIS CASE!"));
    columns.insert("dresp", "1200");
    columns.insert("child3name", "Cy");
    warnings = worksheetWarnings(computeWorksheet(record(columns), standardTable()).result);
    EXPECT_EQ(warnings.value("lblLineTwoWarning"), QStringLiteral("LINE 2 OF BOTH PARENTS IS BELOW 0!"));
    EXPECT_EQ(warnings.value("lblChildrenWarning"), QString());

    // The worked example warns of nothing.
    warnings = worksheetWarnings(computeWorksheet(record(WorkedExample), standardTable()).result);
    for (auto it = warnings.cbegin(); it != warnings.cend(); ++it)
        EXPECT_EQ(it.value(), QString()) << it.key().toStdString();
    EXPECT_EQ(warnings.size(), 5);
}

TEST(WorksheetCalculationTest, AScheduleThatStopsShortIsNoSchedule)
{
    const WorksheetResult shortTable = computeWorksheet(record(WorkedExample), makeTable(800, 1300)).result;
    EXPECT_FALSE(shortTable.scheduleAvailable);
    EXPECT_TRUE(shortTable.scheduleRead);
    EXPECT_EQ(
        shortTable.scheduleProblem,
        QStringLiteral(
            "does not cover every income: the schedule stops at an income of 1300; it must reach 20000"));
    EXPECT_EQ(worksheetWarnings(shortTable).value("lblScheduleWarning"),
              QStringLiteral("THE SCHEDULE DOES NOT COVER EVERY INCOME: LINE 4 MAY NOT BE FROM IT!"));

    const WorksheetResult noRows = computeWorksheet(record(WorkedExample), ScheduleTable()).result;
    EXPECT_FALSE(noRows.scheduleAvailable);
    EXPECT_FALSE(noRows.scheduleRead);
    EXPECT_EQ(noRows.scheduleProblem, QStringLiteral("cannot be used: the schedule holds no rows"));

    EXPECT_TRUE(computeWorksheet(record(WorkedExample), standardTable()).result.scheduleAvailable);
}

} // namespace
