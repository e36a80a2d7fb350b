#include "core/worksheet/Cs42S2023.h"

#include "Worksheet2022Fixtures.h"

#include <QMap>

#include <gtest/gtest.h>

#include <optional>

using namespace cs42;

// Form CS-42-S where the court's own worked cases (AdminWorksheet2023STest) do not reach: a line
// 14 of 0 or below, a tie that is not 0, negative shares, amounts in cents, the override above
// the schedule, an undefined share and the halves the workbook rounds away from zero. Every
// expected figure is the court workbook's formula worked by hand on the decimal amounts, rounding
// as Excel's ROUND does.
namespace {

using Columns = QMap<QString, QString>;
using cs42::test::alabama2022;
using cs42::test::expectCaptions;

const QString AboveScheduleWarning =
    QStringLiteral("ABOVE THE SCHEDULE: THE COURT SETS LINE 4. ENTER IT AS AN OVERRIDE!");
const QString SharesWarning =
    QStringLiteral("THE COMBINED ADJUSTED INCOME (LINE 2) IS 0: LINES 3, 10, 13 AND 14 CANNOT BE COMPUTED!");

// A CS-42-S case with one child and `columns` stored over it.
Worksheet compute(const Columns& columns)
{
    CaseRecord record;
    record.setValue(QStringLiteral("formedition"), QStringLiteral("2023S"));
    record.setValue(QStringLiteral("numchildren"), QStringLiteral("1"));
    for (auto it = columns.begin(); it != columns.end(); ++it)
        record.setValue(it.key(), it.value());
    return Cs42S2023::computeWorksheet(record, alabama2022(), FormEditions::cs42S2023().rules);
}

// The warnings shown, in label order.
QStringList shownWarnings(const WorksheetResult& r)
{
    QStringList shown;
    for (const QString& text : r.warnings) {
        if (!text.isEmpty())
            shown << text;
    }
    return shown;
}

// The lowest combined income above the schedule's last row ($30,000), with `more` stored over it.
Columns aboveSchedule(const Columns& more = {})
{
    Columns columns{{"pinc", "20000.00"}, {"dinc", "10025.00"}};
    columns.insert(more);
    return columns;
}

TEST(Cs42S2023Test, LinesFollowTheWorkbookBeyondTheCourtsCases)
{
    const struct
    {
        const char* what;
        Columns columns;
        Captions captions;
        QString payer;
        std::optional<double> amount;
        QStringList warnings;
    } cases[] = {
        // $1,000 row: 203. Line 5 is 304.5 and line 12 152.5, both halves away from zero (to the
        // even figure they would be 304 and 152). The plaintiff's 29 % of 750 is stored as
        // 217.49999999999997; Excel rounds the decimal 217.5.
        {"halves in lines 5, 10 and 12",
         {{"pinc", "290.00"}, {"dinc", "710.00"}, {"pchildcare", "445.00"}},
         {{"lblP3", "29"},
          {"lblD3", "71"},
          {"lblC4", "203"},
          {"lblC5", "305"},
          {"lblP6", "445"},
          {"lblP8", "445"},
          {"lblC8", "445"},
          {"lblC9", "750"},
          {"lblP10", "218"},
          {"lblD10", "533"},
          {"lblP11", "445"},
          {"lblD11", "0"},
          {"lblP12", "153"},
          {"lblD12", "153"},
          {"lblP13", "(380)"},
          {"lblD13", "380"},
          {"lblP14", ""},
          {"lblD14", "380"}},
         "D",
         380,
         {}},
        // Line 2 of -100: the defendant's share is 50 / -100 = -50 %, the plaintiff's 150 %.
        // -0.5 x 79 = -39.5 goes to -40, away from zero.
        {"negative shares and a negative half in line 10",
         {{"pinc", "500.00"}, {"ppre", "650.00"}, {"dinc", "50.00"}, {"dhealthins", "1.00"}},
         {{"lblP2", "(150)"},
          {"lblC2", "(100)"},
          {"lblP3", "150"},
          {"lblD3", "-50"}, // the workbook prints "-50%"
          {"lblC3", "100"},
          {"lblC4", "52"},
          {"lblC5", "78"},
          {"lblC9", "79"},
          {"lblP10", "119"},
          {"lblD10", "(40)"},
          {"lblD11", "1"},
          {"lblD12", "39"},
          {"lblP13", "80"},
          {"lblD13", "(80)"},
          {"lblP14", "80"},
          {"lblD14", ""}},
         "P",
         80,
         {"LINE 2 OF THE PLAINTIFF IS BELOW 0!"}},
        // The two lines 13 add up to the rounding of lines 10 and 12 only, so a tie is never far
        // from 0: here 608 - 10.50 - 597 = 0.50 each. The defendant's column takes it and he pays.
        {"a tie above 0 is the defendant's",
         {{"pinc", "2500.00"}, {"dinc", "2500.00"}, {"phealthins", "10.50"}, {"dhealthins", "10.50"}},
         {{"lblC4", "796"},
          {"lblC5", "1,194"},
          {"lblC8", "21"},
          {"lblC9", "1,215"},
          {"lblP10", "608"},
          {"lblD10", "608"},
          {"lblP12", "597"},
          {"lblP13", "1"},
          {"lblD13", "1"},
          {"lblP14", ""},
          {"lblD14", "1"}},
         "D",
         1,
         {}},
        {"a tie below 0: line 14 below 0 and nobody pays",
         {{"pinc", "3000.00"}, {"dinc", "3000.00"}, {"phealthins", "10.50"}, {"dhealthins", "10.50"}},
         {{"lblC5", "1,277"},
          {"lblC9", "1,298"},
          {"lblP10", "649"},
          {"lblP12", "639"},
          {"lblP13", "(1)"},
          {"lblD13", "(1)"},
          {"lblP14", ""},
          {"lblD14", "(1)"}},
         "",
         0,
         {}},
        {"a line 14 of 0 in the plaintiff's column: nobody pays",
         {{"pinc", "1000.00"}, {"dinc", "1000.00"}, {"dhealthins", "1.00"}},
         {{"lblC4", "379"},
          {"lblC5", "569"},
          {"lblC9", "570"},
          {"lblP10", "285"},
          {"lblD10", "285"},
          {"lblP12", "285"},
          {"lblP13", "0"},
          {"lblD13", "(1)"},
          {"lblP14", "0"},
          {"lblD14", ""}},
         "",
         0,
         {}},
        {"above the schedule: no line 4 and nothing that follows from it",
         aboveSchedule(),
         {{"lblP3", "67"},
          {"lblD3", "33"},
          {"lblC4", ""},
          {"lblC5", ""},
          {"lblC8", "0"},
          {"lblC9", ""},
          {"lblP10", ""},
          {"lblD10", ""},
          {"lblP11", "0"},
          {"lblP12", ""},
          {"lblD12", ""},
          {"lblP13", ""},
          {"lblD13", ""},
          {"lblP14", ""},
          {"lblD14", ""}},
         "",
         std::nullopt,
         {AboveScheduleWarning}},
        {"above the schedule, the court's amount entered as the override",
         aboveSchedule({{"override", "Y"}, {"overamount", "5000.00"}, {"phealthins", "200.00"}}),
         {{"lblC4", "5,000"},
          {"lblC5", "7,500"},
          {"lblC9", "7,700"},
          {"lblP10", "5,159"},
          {"lblD10", "2,541"},
          {"lblP12", "3,750"},
          {"lblD12", "3,750"},
          {"lblP13", "1,209"},
          {"lblD13", "(1,209)"},
          {"lblP14", "1,209"},
          {"lblD14", ""}},
         "P",
         1209,
         {}},
        {"above the schedule, the override switched off",
         aboveSchedule({{"override", "N"}, {"overamount", "5000.00"}}),
         {{"lblC4", ""}, {"lblC5", ""}, {"lblP12", ""}, {"lblP14", ""}, {"lblD14", ""}},
         "",
         std::nullopt,
         {AboveScheduleWarning}},
        // Line 4 still has its row ($250) and so lines 5, 9 and 12.
        {"a combined adjusted income of 0 leaves the shares undefined",
         {{"pinc", "500.00"}, {"ppre", "500.00"}},
         {{"lblC2", "0"},
          {"lblP3", ""},
          {"lblD3", ""},
          {"lblC3", ""},
          {"lblC4", "52"},
          {"lblC5", "78"},
          {"lblC9", "78"},
          {"lblP10", ""},
          {"lblD10", ""},
          {"lblP11", "0"},
          {"lblP12", "39"},
          {"lblD12", "39"},
          {"lblP13", ""},
          {"lblD13", ""},
          {"lblP14", ""},
          {"lblD14", ""}},
         "",
         std::nullopt,
         {SharesWarning}},
        // An amount that cannot be used is named by this form's own line number.
        {"coverage that cannot be used counts as 0",
         {{"pinc", "3000.00"}, {"dinc", "2000.00"}, {"dhealthins", "20000000.00"}},
         {{"lblD7", "INVALID"},
          {"lblD8", "0"},
          {"lblC9", "1,194"},
          {"lblD10", "478"},
          {"lblD11", "0"},
          {"lblP13", "119"},
          {"lblD13", "(119)"},
          {"lblP14", "119"}},
         "P",
         119,
         {"THE AMOUNT ON LINE 7 OF THE DEFENDANT CANNOT BE USED AND COUNTS AS 0: ENTER IT AGAIN!"}},
        {"no number of children: no line 4",
         {{"numchildren", ""}, {"pinc", "3000.00"}, {"dinc", "2000.00"}},
         {{"lblP3", "60"}, {"lblC4", ""}, {"lblC5", ""}, {"lblC9", ""}, {"lblD13", ""}, {"lblD14", ""}},
         "",
         std::nullopt,
         {"ENTER THE NUMBER OF CHILDREN: LINE 4 DEPENDS ON IT!"}},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Worksheet sheet = compute(c.columns);
        expectCaptions(sheet, c.captions);
        const RecommendedOrder order = recommendedOrder(sheet.result);
        EXPECT_EQ(order.payer, c.payer);
        EXPECT_EQ(order.amount, c.amount);
        EXPECT_EQ(shownWarnings(sheet.result), c.warnings);
    }
}

// The cells keep the cents the parents entered; only the workbook's own ROUNDs and the captions
// drop them, and the recommended order is the form's whole-dollar figure. Custody, shared
// equally, changes nothing.
TEST(Cs42S2023Test, CentsStayInTheCellsUntilTheWorkbookRounds)
{
    const Columns columns{{"numchildren", "2"},
                          {"pinc", "1234.56"},
                          {"dinc", "2345.67"},
                          {"phealthins", "35.25"},
                          {"dchildcare", "100.10"}};
    const Worksheet sheet = compute(columns);
    const WorksheetResult& r = sheet.result;
    // $3,600 row, two children: 979; line 5 1,468.5 -> 1,469; line 12 734.5 -> 735.
    const QMap<QString, double> cells{{"lblC1", 3580.23},
                                      {"lblC2", 3580.23},
                                      {"lblD3", 0.66},
                                      {"lblC5", 1469},
                                      {"lblC8", 135.35},
                                      {"lblC9", 1604.35},
                                      {"lblP10", 545},
                                      {"lblD10", 1059},
                                      {"lblP11", 35.25},
                                      {"lblD11", 100.10},
                                      {"lblP12", 735},
                                      {"lblP13", -225.25},
                                      {"lblD13", 223.90},
                                      {"lblD14", 223.90}};
    for (auto it = cells.begin(); it != cells.end(); ++it)
        EXPECT_DOUBLE_EQ(r.cells.value(it.key()), it.value()) << it.key().toStdString();
    EXPECT_FALSE(r.cells.contains(QStringLiteral("lblP14")));
    expectCaptions(sheet,
                   {{"lblP1", "1,235"},
                    {"lblD1", "2,346"},
                    {"lblC1", "3,580"},
                    {"lblP3", "34"},
                    {"lblP7", "35"},
                    {"lblD6", "100"},
                    {"lblC8", "135"},
                    {"lblC9", "1,604"},
                    {"lblP13", "(225)"},
                    {"lblD13", "224"},
                    {"lblD14", "224"}});
    const RecommendedOrder order = recommendedOrder(r);
    EXPECT_EQ(order.payer, QStringLiteral("D"));
    EXPECT_EQ(order.amount, 224);

    for (const char* custody : {"P", "D"}) {
        SCOPED_TRACE(custody);
        Columns withCustody = columns;
        withCustody.insert(QStringLiteral("whosecustody"), QLatin1String(custody));
        const Worksheet other = compute(withCustody);
        EXPECT_EQ(other.captions, sheet.captions);
        EXPECT_EQ(recommendedOrder(other.result).payer, QStringLiteral("D"));
    }
}

// The window shows a computation by setting each label to its caption: a label left without one
// would keep the figure of the computation before.
TEST(Cs42S2023Test, EveryLabelGetsACaptionWhenLinesAreUndefined)
{
    const QStringList labels = FormEditions::cs42S2023().captionLabels();
    for (const Columns& columns :
         {aboveSchedule(), Columns{{"pinc", "500.00"}, {"ppre", "500.00"}}, Columns{{"numchildren", ""}}}) {
        const Worksheet sheet = compute(columns);
        for (const QString& label : labels)
            EXPECT_TRUE(sheet.captions.contains(label)) << label.toStdString();
        EXPECT_EQ(sheet.captions.size(), labels.size());
    }
}

} // namespace
