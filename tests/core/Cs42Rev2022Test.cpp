#include "core/worksheet/Cs42Rev2022.h"

#include "Worksheet2022Fixtures.h"
#include "core/worksheet/ProductionRefusal.h"

#include <QMap>

#include <gtest/gtest.h>

using namespace cs42;

// Form CS-42 (Rev. 5/2022) where the court's own worked cases (AdminWorksheet2022Test) do not
// reach: amounts in cents, the ends of the schedule, an undefined share, the override and the
// rounding ties that binary doubles store slightly low. Every expected figure is the court
// workbook's formula worked by hand on the decimal amounts, rounding as Excel's ROUND does.
namespace {

using Columns = QMap<QString, QString>;
using cs42::test::alabama2022;
using cs42::test::expectCaptions;
using Expected = Captions; // label -> caption

// A 2022 case with one child, the plaintiff having custody, and `columns` stored over it.
Worksheet compute(const Columns& columns)
{
    CaseRecord record;
    record.setValue(QStringLiteral("formedition"), QStringLiteral("2022"));
    record.setValue(QStringLiteral("numchildren"), QStringLiteral("1"));
    record.setValue(QStringLiteral("whosecustody"), QStringLiteral("P"));
    for (auto it = columns.begin(); it != columns.end(); ++it)
        record.setValue(it.key(), it.value());
    return Cs42Rev2022::computeWorksheet(record, alabama2022(), Cs42Rev2022::scheduleRules());
}

// The lowest combined income above the schedule's last row ($30,000), with `more` stored over it.
Columns aboveSchedule(const Columns& more = {})
{
    Columns columns{{"pinc", "20000.00"}, {"dinc", "10025.00"}};
    columns.insert(more);
    return columns;
}

TEST(Cs42Rev2022Test, LinesFollowTheWorkbookBeyondTheCourtsCases)
{
    const struct
    {
        const char* what;
        Columns columns;
        Expected captions;
    } cases[] = {
        // Rounded to dollars first, 2,225 would read the $2,250 row and line 12 would be 851.
        {"cents decide the row and line 12",
         {{"pinc", "1981.50"}, {"dinc", "243.49"}},
         {{"lblP1", "1,982"},
          {"lblD1", "243"},
          {"lblC2", "2,225"},
          {"lblP3", "89"},
          {"lblD3", "11"},
          {"lblC4", "414"},
          {"lblP8", "368"},
          {"lblD8", "46"},
          {"lblP11", "1,001"},
          {"lblP12", "850"},
          {"lblP13", "368"},
          {"lblD11", "0"},
          {"lblD12", "50"},
          {"lblD13", "46"}}},
        {"cents that add up to a halfway income take the higher row",
         {{"pinc", "1234.56"}, {"dinc", "990.44"}},
         {{"lblC2", "2,225"},
          {"lblC4", "422"},
          {"lblP3", "55"},
          {"lblP8", "232"},
          {"lblD8", "190"},
          {"lblD11", "9"},
          {"lblD13", "50"}}},
        {"two children, amounts in cents",
         {{"numchildren", "2"}, {"pinc", "1234.56"}, {"dinc", "2345.67"}},
         {{"lblP1", "1,235"},
          {"lblD1", "2,346"},
          {"lblC1", "3,580"},
          {"lblP3", "34"},
          {"lblD3", "66"},
          {"lblC4", "979"},
          {"lblP8", "333"},
          {"lblD8", "646"},
          {"lblP12", "216"},
          {"lblD11", "1,365"},
          {"lblD12", "1,160"},
          {"lblD13", "646"}}},
        {"five children",
         {{"numchildren", "5"}, {"pinc", "3000.00"}, {"dinc", "2000.00"}},
         {{"lblC4", "1,747"}, {"lblP8", "1,048"}, {"lblD8", "699"}, {"lblD12", "866"}, {"lblD13", "699"}}},
        {"the last row",
         {{"pinc", "20000.00"}, {"dinc", "10000.00"}},
         {{"lblC2", "30,000"}, {"lblP3", "67"}, {"lblC4", "2,456"}, {"lblD8", "810"}, {"lblD13", "810"}}},
        {"a cent below the income that would read the next row",
         {{"pinc", "20000.00"}, {"dinc", "10024.99"}},
         {{"lblC2", "30,025"},
          {"lblC4", "2,456"},
          {"lblD11", "9,044"},
          {"lblD12", "7,687"},
          {"lblD13", "810"}}},
        {"above the schedule: no line 4 and nothing that follows from it",
         aboveSchedule(),
         {{"lblC4", ""},
          {"lblC7", ""},
          {"lblP8", ""},
          {"lblD8", ""},
          {"lblP10", ""},
          {"lblD10", ""},
          {"lblP13", ""},
          {"lblD13", ""},
          {"lblP3", "67"},
          {"lblP9", "0"},
          {"lblP11", "19,019"},
          {"lblD12", "7,687"}}},
        {"above the schedule, the court's amount entered as the override",
         aboveSchedule({{"override", "Y"}, {"overamount", "5000.00"}}),
         {{"lblC4", "5,000"},
          {"lblC7", "5,000"},
          {"lblP8", "3,350"},
          {"lblD8", "1,650"},
          {"lblD10", "1,650"},
          {"lblP13", "3,350"},
          {"lblD13", "1,650"}}},
        {"above the schedule, the override switched off",
         aboveSchedule({{"override", "N"}, {"overamount", "5000.00"}}),
         {{"lblC4", ""}, {"lblC7", ""}, {"lblD13", ""}}},
        {"the override replaces a row of the schedule",
         {{"pinc", "20000.00"}, {"dinc", "10000.00"}, {"override", "Y"}, {"overamount", "3000.00"}},
         {{"lblC4", "3,000"}, {"lblP8", "2,010"}, {"lblD8", "990"}, {"lblD13", "990"}}},
        {"health coverage paid by the parent without custody is his credit",
         {{"pinc", "3000.00"}, {"dinc", "1000.00"}, {"dhealthins", "100.00"}},
         {{"lblP6", ""},
          {"lblD6", "100"},
          {"lblC6", "100"},
          {"lblC4", "685"},
          {"lblC7", "785"},
          {"lblP8", "589"},
          {"lblD8", "196"},
          {"lblD9", "100"},
          {"lblD10", "96"},
          {"lblD13", "50"}}},
        {"a credit larger than the share: line 10 is 0, not below",
         {{"pinc", "3000.00"}, {"dinc", "1000.00"}, {"dhealthins", "400.00"}},
         {{"lblC7", "1,085"}, {"lblD8", "271"}, {"lblD9", "400"}, {"lblD10", "0"}, {"lblD13", "0"}}},
        {"a gross income of 0 entered shows 0; an amount left empty shows nothing",
         {{"pinc", "0.00"}, {"dinc", "3000.00"}, {"whosecustody", "D"}},
         {{"lblP1", "0"},
          {"lblP1a", ""},
          {"lblC1a", "0"},
          {"lblP2", "0"},
          {"lblP3", "0"},
          {"lblD3", "100"},
          {"lblC4", "551"},
          {"lblP8", "0"},
          {"lblD8", "551"},
          {"lblP12", "50"},
          {"lblP13", "0"}}},
        // Line 10 is 17 here: only the gross-income test gives the plaintiff's line 13 as 0.
        {"no gross income but payments: line 13 is 0 whatever line 10 is",
         {{"pinc", "0.00"}, {"ppre", "100.00"}, {"dinc", "200.00"}, {"dpre", "400.00"}},
         {{"lblP2", "(100)"},
          {"lblD2", "(200)"},
          {"lblC2", "(300)"},
          {"lblP3", "33"},
          {"lblD3", "67"},
          {"lblC4", "52"},
          {"lblP8", "17"},
          {"lblD8", "35"},
          {"lblP10", "17"},
          {"lblP13", "0"},
          {"lblD13", "35"}}},
        // 0.29 x 750 is stored as 217.49999999999997; Excel rounds the decimal 217.5.
        {"a share of line 7 on a half that binary stores low",
         {{"pinc", "290.00"}, {"dinc", "710.00"}, {"pchildcare", "547.00"}},
         {{"lblP3", "29"},
          {"lblC4", "203"},
          {"lblC5", "547"},
          {"lblC7", "750"},
          {"lblP8", "218"},
          {"lblD8", "532"},
          {"lblP9", "547"},
          {"lblP10", "0"},
          {"lblP13", "0"},
          {"lblD10", "532"},
          {"lblD13", "50"}}},
        // 2300 / 4000 is stored as 0.57499999999999996.
        {"a share of 57.5 %",
         {{"pinc", "2300.00"}, {"dinc", "1700.00"}},
         {{"lblP3", "58"}, {"lblD3", "42"}, {"lblC3", "100"}, {"lblP8", "397"}, {"lblD8", "288"}}},
        // 0.85 x 90 = 76.5: away from zero, not to the even 76.
        {"line 12 on a half",
         {{"pinc", "1071.00"}, {"dinc", "1800.00"}},
         {{"lblP11", "90"}, {"lblP12", "77"}, {"lblP13", "77"}}},
        {"below the lowest row: the $250 row",
         {{"pinc", "100.00"}},
         {{"lblC4", "52"}, {"lblP3", "100"}, {"lblD3", "0"}, {"lblD8", "0"}, {"lblD13", "0"}}},
        {"a cent below halfway to the second row", {{"pinc", "274.99"}}, {{"lblC4", "52"}}},
        {"halfway to the second row", {{"pinc", "275.00"}}, {{"lblC4", "63"}}},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        expectCaptions(compute(c.columns), c.captions);
    }
}

// The cells keep the cents the parents entered; only the workbook's own ROUNDs and the captions
// drop them, and the recommended order is the form's whole-dollar figure.
TEST(Cs42Rev2022Test, CentsStayInTheCellsUntilTheWorkbookRounds)
{
    const WorksheetResult r =
        compute({{"numchildren", "2"}, {"pinc", "1234.56"}, {"dinc", "2345.67"}}).result;
    EXPECT_DOUBLE_EQ(r.cells.value(QStringLiteral("lblC1")), 3580.23);
    EXPECT_DOUBLE_EQ(r.cells.value(QStringLiteral("lblC2")), 3580.23);
    EXPECT_DOUBLE_EQ(r.cells.value(QStringLiteral("lblP11")), 253.56);
    EXPECT_DOUBLE_EQ(r.cells.value(QStringLiteral("lblD11")), 1364.67);
    EXPECT_DOUBLE_EQ(r.cells.value(QStringLiteral("lblP3")), 0.34);

    // Line 7 is 1,068.50; the defendant's line 8 keeps the half dollar down to line 13.
    const Worksheet half =
        compute({{"numchildren", "2"}, {"pinc", "1500.00"}, {"dinc", "2500.00"}, {"phealthins", "35.50"}});
    EXPECT_DOUBLE_EQ(half.result.cells.value(QStringLiteral("lblC7")), 1068.5);
    EXPECT_DOUBLE_EQ(half.result.cells.value(QStringLiteral("lblP8")), 406);
    EXPECT_DOUBLE_EQ(half.result.cells.value(QStringLiteral("lblD13")), 662.5);
    expectCaptions(half, {{"lblC7", "1,069"}, {"lblD8", "663"}, {"lblP10", "371"}, {"lblD13", "663"}});
    const RecommendedOrder order = recommendedOrder(half.result);
    EXPECT_EQ(order.payer, QStringLiteral("D"));
    EXPECT_EQ(order.amount, 663);
}

TEST(Cs42Rev2022Test, CombinedIncomeOfZeroLeavesTheSharesUndefined)
{
    for (const char* custody : {"P", "D"}) {
        SCOPED_TRACE(custody);
        const Worksheet sheet = compute({{"pinc", "500.00"}, {"ppre", "500.00"}, {"whosecustody", custody}});
        const WorksheetResult& r = sheet.result;
        EXPECT_TRUE(r.sharesUndefined);
        // Line 4 still has its row ($250), line 13 is 0 for the defendant, who has no gross
        // income, and undefined for the plaintiff, whose share is.
        expectCaptions(sheet,
                       {{"lblC2", "0"},
                        {"lblP3", ""},
                        {"lblD3", ""},
                        {"lblC3", ""},
                        {"lblC4", "52"},
                        {"lblC7", "52"},
                        {"lblP8", ""},
                        {"lblD8", ""},
                        {"lblP10", ""},
                        {"lblD10", ""},
                        {"lblP12", "50"},
                        {"lblP13", ""},
                        {"lblD13", "0"}});
        EXPECT_FALSE(r.cells.contains(QStringLiteral("lblP13")));
        EXPECT_EQ(r.warnings.value(QStringLiteral("lblSharesWarning")),
                  QStringLiteral(
                      "THE COMBINED ADJUSTED INCOME (LINE 2) IS 0: LINES 3, 8 AND 10 CANNOT BE COMPUTED!"));
        const RecommendedOrder order = recommendedOrder(r);
        if (QLatin1String(custody) == QLatin1String("P")) {
            EXPECT_EQ(order.payer, QStringLiteral("D"));
            EXPECT_EQ(order.amount, 0);
        } else {
            EXPECT_EQ(order.payer, QString()) << "the plaintiff's line 13 is undefined";
            EXPECT_FALSE(order.amount);
        }
    }
    EXPECT_EQ(compute({{"pinc", "500.00"}}).result.warnings.value(QStringLiteral("lblSharesWarning")),
              QString());
}

TEST(Cs42Rev2022Test, AboveTheScheduleWarnsUntilTheCourtsAmountIsEntered)
{
    const QString warning =
        QStringLiteral("ABOVE THE SCHEDULE: THE COURT SETS LINE 4. ENTER IT AS AN OVERRIDE!");
    const WorksheetResult above = compute(aboveSchedule()).result;
    EXPECT_TRUE(above.aboveSchedule);
    EXPECT_EQ(above.warnings.value(QStringLiteral("lblAboveScheduleWarning")), warning);
    EXPECT_EQ(recommendedOrder(above).payer, QString());
    EXPECT_FALSE(recommendedOrder(above).amount);

    const WorksheetResult lastRow = compute({{"pinc", "20000.00"}, {"dinc", "10024.99"}}).result;
    EXPECT_FALSE(lastRow.aboveSchedule);
    EXPECT_EQ(lastRow.warnings.value(QStringLiteral("lblAboveScheduleWarning")), QString());

    const WorksheetResult entered =
        compute(aboveSchedule({{"override", "Y"}, {"overamount", "5000.00"}})).result;
    EXPECT_TRUE(entered.overrideInForce);
    EXPECT_EQ(entered.warnings.value(QStringLiteral("lblAboveScheduleWarning")), QString());
    const RecommendedOrder order = recommendedOrder(entered);
    EXPECT_EQ(order.payer, QStringLiteral("D"));
    EXPECT_EQ(order.amount, 1650);
}

// The window shows a computation by setting each label to its caption: a label left without one
// would keep the figure of the computation before (line 8 of the last income inside the schedule).
TEST(Cs42Rev2022Test, EveryLabelGetsACaptionWhenLinesAreUndefined)
{
    const QStringList labels = FormEditions::cs42Rev0522().captionLabels();
    for (const Columns& columns :
         {aboveSchedule(), Columns{{"pinc", "500.00"}, {"ppre", "500.00"}}, Columns{{"numchildren", ""}}}) {
        const Worksheet sheet = compute(columns);
        for (const QString& label : labels)
            EXPECT_TRUE(sheet.captions.contains(label)) << label.toStdString();
        EXPECT_EQ(sheet.captions.size(), labels.size());
    }
}

// Amounts stored by other tools and old databases: a text that is not one plain number is never
// read as another amount ("$3,000" as 0, "1,000" as 1), and the form is not produced from it.
TEST(Cs42Rev2022Test, StoredTextsThatAreNoPlainNumberAreInvalidNotZero)
{
    const DataPaths paths = DataPaths::forWorkingDirectory(QStringLiteral("/office"));
    for (const char* stored : {"$3,000", "1,000", "(1000)", "1e3", "abc"}) {
        const Worksheet sheet = compute({{"pinc", QLatin1String(stored)}, {"dinc", "5287.00"}});
        EXPECT_EQ(sheet.captions.value(QStringLiteral("lblP1")), QStringLiteral("INVALID")) << stored;
        EXPECT_EQ(sheet.result.unusableAmounts, QStringList{QStringLiteral("line 1 of the plaintiff")})
            << stored;
        EXPECT_TRUE(sheet.result.warnings.value(QStringLiteral("lblAmountWarning"))
                        .startsWith(QStringLiteral("THE AMOUNT ON LINE 1 OF THE PLAINTIFF CANNOT BE USED")))
            << stored;
        EXPECT_TRUE(productionRefusal(sheet, paths).contains(QStringLiteral("is not a plain number")))
            << stored;
    }
    const Worksheet plain = compute({{"pinc", "3000"}, {"dinc", " 5287.00 "}});
    EXPECT_EQ(plain.captions.value(QStringLiteral("lblP1")), QStringLiteral("3,000"));
    EXPECT_EQ(productionRefusal(plain, paths), QString());
}

// A "Number of Children" box holding no number of children has its own warning and refusal; line 4
// is read for the children named.
TEST(Cs42Rev2022Test, ANumberOfChildrenOutsideOneToSixIsIgnoredAndSaidSo)
{
    const DataPaths paths = DataPaths::forWorkingDirectory(QStringLiteral("/office"));
    const Columns twoNamed{
        {"child1name", "Ann"}, {"child2name", "Bob"}, {"pinc", "2500.00"}, {"dinc", "4000.00"}};
    for (const char* entered : {"7", "0", "abc"}) {
        Columns columns = twoNamed;
        columns.insert(QStringLiteral("numchildren"), QLatin1String(entered));
        const Worksheet sheet = compute(columns);
        EXPECT_EQ(sheet.result.numberOfChildren, 2) << entered;
        EXPECT_EQ(sheet.captions.value(QStringLiteral("lblC4")), QStringLiteral("1,313")) << entered;
        EXPECT_TRUE(sheet.result.unusableAmounts.isEmpty()) << entered;
        EXPECT_EQ(
            sheet.result.warnings.value(QStringLiteral("lblChildrenWarning")),
            QStringLiteral("THE NUMBER OF CHILDREN (%1) MUST BE 1 TO 6: LINE 4 USES THE 2 CHILDREN NAMED!")
                .arg(QLatin1String(entered)))
            << entered;
        EXPECT_EQ(
            productionRefusal(sheet, paths),
            QStringLiteral("The form was not produced.\r\n\r\nThe Number of Children box holds \"%1\", "
                           "which is no number of children: it must be 1 to 6. Line 4 would be read for "
                           "the 2 children named. Enter the number of children again, or empty the box to "
                           "use the children named.")
                .arg(QLatin1String(entered)))
            << entered;
    }
}

} // namespace
