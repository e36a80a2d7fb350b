#include "core/explain/Explanation.h"

#include "ScheduleFixture.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace cs42;
using namespace cs42::test;

namespace {

const QString RulesIntro = QStringLiteral("According to Rule 32 of the Alabama Rules of Judicial "
                                          "Administration, child-support shall be determined by "
                                          "using the Schedule of Basic Child-Support Obligation. Locate the "
                                          "combined adjusted gross income amount on the "
                                          "Schedule according to the number of children included in this "
                                          "support action. For income falling between "
                                          "amounts shown in the schedule, the lower value shall be used if "
                                          "the income falls less than halfway between the "
                                          "amounts shown in the schedule. Where the income falls halfway or "
                                          "more than halfway between two amounts, the "
                                          "higher value shall be used. ");

Worksheet compute(const QMap<QString, QString>& columns)
{
    CaseRecord r;
    for (auto it = columns.begin(); it != columns.end(); ++it)
        r.setValue(it.key(), it.value());
    return computeWorksheet(r, standardTable());
}

QString explain(const Worksheet& sheet, const QDate& today = QDate(2024, 1, 1))
{
    return generateExplanation(sheet.captions, sheet.result.childCount, sheet.result.lookup, today);
}

// Paragraph i (0-based) of an explanation.
QString paragraph(const QString& text, int i)
{
    return text.split(QStringLiteral("\r\n\r\n")).value(i);
}

const QMap<QString, QString> WorkedExample = {{"name1name", "John Smith"},
                                              {"name2name", "Jane Smith"},
                                              {"child1name", "Ann"},
                                              {"child1dob", "03/07/2012"},
                                              {"child2name", "Bob"},
                                              {"child2dob", "12/31/2023"},
                                              {"pinc", "3000"},
                                              {"dinc", "2000"},
                                              {"childcare", "200"},
                                              {"healthins", "100"},
                                              {"payshealth", "D"},
                                              {"whosecustody", "P"}};

TEST(ExplanationTest, WorkedExampleOnTheChart)
{
    // The combined income is a row of the chart: that row is said once, not followed by the
    // lower-and-higher-amount sentence.
    const QString expected =
        QStringLiteral(
            "Child Support Calculation performed on 01/01/2024\r\n\r\n"
            "The Plaintiff in this case is John Smith and the Defendant is Jane Smith. John Smith and "
            "Jane Smith have 2 children who are involved in this child-support action (Ann - age 12, Bob "
            "- age 1). John Smith has reported a monthly gross income of $3000, and has no adjustments. "
            "Jane Smith has reported a monthly gross income of $2000, and has no adjustments. When added "
            "together, their combined monthly gross income is $5000. John Smith's share of this amount is "
            "60%, while Jane Smith's share is 40%.\r\n\r\n") +
        RulesIntro +
        QStringLiteral(
            "In this case, the combined adjusted gross income can be found on the chart, so the amount "
            "used to determine child-support for 2 children at that income level is $900.\r\n\r\n"
            "The monthly cost for Work Related Child Care for ALL of the children who are part of this "
            "support action is reported to be $200. The monthly Health Insurance cost for ALL of the "
            "children who are part of this support action is reported to be $100. The Child-Support "
            "Obligation is determined by adding the Basic Child-Support Obligation of $900 together with "
            "work-related child-care costs (in this case $200), and health-insurance costs (in this case "
            "$100), which totals $1200. Of this amount, John Smith is responsible for $720, which is "
            "based on a 60% share of combined gross income. This leaves Jane Smith responsible for $480, "
            "which is based on a 40% share of combined gross income.\r\n\r\n"
            "As agreed upon by both parties, John Smith has custody of the children. Therefore, Jane "
            "Smith is considered to be the 'Obligor' in this case and is responsible for paying $480 in "
            "child-support. But since Jane Smith actually pays the premium of $100 for the children's "
            "Health Insurance, the monthly child-support obligation is reduced by that amount. Therefore, "
            "the  Recommended Child-Support Order that Jane Smith should pay John Smith is $380 per "
            "month.");
    EXPECT_EQ(explain(compute(WorkedExample)), expected);
}

TEST(ExplanationTest, NoNamesOneChildNobodyPaysInsurance)
{
    // One child: the singular, while the schedule sentences keep "children". Custody left blank
    // is the defendant's, so the plaintiff is the obligor.
    const Worksheet sheet =
        compute({{"child1name", "Ann"}, {"child1dob", "not a date"}, {"pinc", "615"}, {"dinc", "410"}});
    const QString expected =
        QStringLiteral(
            "Child Support Calculation performed on 06/15/2024\r\n\r\n"
            "Plaintiff and Defendant have 1 child who is involved in this child-support action (Ann). "
            "Plaintiff has reported a monthly gross income of $615, and has no adjustments. Defendant has "
            "reported a monthly gross income of $410, and has no adjustments. When added together, their "
            "combined monthly gross income is $1025. Plaintiff's share of this amount is 60%, while "
            "Defendant's share is 40%.\r\n\r\n") +
        RulesIntro +
        QStringLiteral(
            "In this case, the lower amount is $1000 and the higher amount is $1050. The higher amount "
            "will be used to determine child-support because it's closer to the actual combined adjusted "
            "gross income of $1025. According to the Schedule, the Child-Support amount for 1 children at "
            "that income level is $94.\r\n\r\n"
            "Work Related Child Care cost is not a factor in this calculation. The cost for Health "
            "Insurance is not a factor in this calculation. The Child-Support Obligation is determined by "
            "adding the Basic Child-Support Obligation of $94 together with work-related child-care costs "
            "(in this case $0), and health-insurance costs (in this case $0), which totals $94. Of this "
            "amount, Plaintiff is responsible for $56, which is based on a 60% share of combined gross "
            "income. This leaves Defendant responsible for $38, which is based on a 40% share of combined "
            "gross income.\r\n\r\n"
            "As agreed upon by both parties, Defendant has custody of the children. Therefore, Plaintiff "
            "is considered to be the 'Obligor' in this case and is responsible for paying $56 in "
            "child-support. Since Plaintiff does not pay the Health Insurance premium, the Recommended "
            "Child-Support Order that Plaintiff should pay Defendant is $56 per month.");
    EXPECT_EQ(explain(sheet, QDate(2024, 6, 15)), expected);
}

TEST(ExplanationTest, NothingEnteredUsesTheFiftyDollarRule)
{
    const QString expected = QStringLiteral(
        "Child Support Calculation performed on 01/01/2024\r\n\r\n"
        "Plaintiff and Defendant have 0 children who are involved in this child-support action (). Plaintiff "
        "has "
        "reported no income. Defendant has reported no income. When added together, their combined monthly "
        "gross "
        "income is $. Plaintiff's share of this amount is %, while Defendant's share is %.\r\n\r\n"
        "According to Rule 32 of the Alabama Rules of Judicial Administration, child-support shall be "
        "determined by "
        "using the Schedule of Basic Child-Support Obligation. When the combined adjusted gross income falls "
        "under "
        "$800, Child-Support Obligation is automatically set to $50.\r\n\r\n"
        "Work Related Child Care cost is not a factor in this calculation. The cost for Health Insurance is "
        "not a "
        "factor in this calculation. \r\n\r\n"
        "As agreed upon by both parties, Defendant has custody of the children. Therefore, Plaintiff is "
        "considered "
        "to be the 'Obligor' in this case and is responsible for paying $ in child-support. Since Plaintiff "
        "does not "
        "pay the Health Insurance premium, the Recommended Child-Support Order that Plaintiff should pay "
        "Defendant is "
        "$ per month.");
    EXPECT_EQ(explain(compute({})), expected);
}

TEST(ExplanationTest, ScheduleSentenceFollowsTheDisplayedIncome)
{
    struct Case
    {
        const char* combined;
        double line4;
        const char* sentence;
    };

    // Rows $5,000 (900) and $5,050 (909); n = 2.
    const Case cases[] = {
        {"5025",
         909,
         "In this case, the lower amount is $5000 and the higher amount is $5050. The higher amount will be "
         "used to "
         "determine child-support because it's closer to the actual combined adjusted gross income of $5025. "
         "According to the Schedule, the Child-Support amount for 2 children at that income level is $909."},
        {"5024",
         900,
         "In this case, the lower amount is $5000 and the higher amount is $5050. The lower amount will be "
         "used to "
         "determine child-support because it's closer to the actual combined adjusted gross income of $5024. "
         "According to the Schedule, the Child-Support amount for 2 children at that income level is $900."},
    };
    for (const auto& c : cases) {
        Captions captions{{"lblC2", c.combined}, {"lblC4", QString::number(c.line4)}};
        ScheduleLookup lookup{5000, 900, 5050, 909};
        const QString text = generateExplanation(captions, 2, lookup, QDate(2024, 1, 1));
        EXPECT_EQ(paragraph(text, 2), RulesIntro + QString::fromUtf8(c.sentence)) << c.combined;
    }
}

TEST(ExplanationTest, OverrideIsReportedAsTheLineFourAmount)
{
    QMap<QString, QString> columns = WorkedExample;
    columns.insert("pinc", "3010");
    columns.insert("override", "Y");
    columns.insert("overamount", "1000");
    const QString text = explain(compute(columns));
    EXPECT_EQ(paragraph(text, 2),
              RulesIntro +
                  QStringLiteral("In this case, the lower amount is $5000 and the higher amount is $5050. "
                                 "The lower amount will be used to determine child-support because it's "
                                 "closer to the actual combined adjusted gross income of $5010. According "
                                 "to the Schedule, the Child-Support amount for 2 children at that income "
                                 "level is $1000."));
    EXPECT_TRUE(
        paragraph(text, 3).contains(QStringLiteral("Basic Child-Support Obligation of $1000 together")));
    // The whole text: every later line follows from the override (3010 / 5010 = 60.08 %, so line 8
    // is 781 and 519 of 1300, and line 10 is 519 - 100).
    const QString whole =
        QStringLiteral(
            "Child Support Calculation performed on 01/01/2024\r\n\r\n"
            "The Plaintiff in this case is John Smith and the Defendant is Jane Smith. John Smith and "
            "Jane Smith have 2 children who are involved in this child-support action (Ann - age 12, Bob "
            "- age 1). John Smith has reported a monthly gross income of $3010, and has no adjustments. "
            "Jane Smith has reported a monthly gross income of $2000, and has no adjustments. When added "
            "together, their combined monthly gross income is $5010. John Smith's share of this amount is "
            "60%, while Jane Smith's share is 40%.\r\n\r\n") +
        paragraph(text, 2) +
        QStringLiteral(
            "\r\n\r\n"
            "The monthly cost for Work Related Child Care for ALL of the children who are part of this "
            "support action is reported to be $200. The monthly Health Insurance cost for ALL of the "
            "children who are part of this support action is reported to be $100. The Child-Support "
            "Obligation is determined by adding the Basic Child-Support Obligation of $1000 together with "
            "work-related child-care costs (in this case $200), and health-insurance costs (in this case "
            "$100), which totals $1300. Of this amount, John Smith is responsible for $781, which is "
            "based on a 60% share of combined gross income. This leaves Jane Smith responsible for $519, "
            "which is based on a 40% share of combined gross income.\r\n\r\n"
            "As agreed upon by both parties, John Smith has custody of the children. Therefore, Jane "
            "Smith is considered to be the 'Obligor' in this case and is responsible for paying $519 in "
            "child-support. But since Jane Smith actually pays the premium of $100 for the children's "
            "Health Insurance, the monthly child-support obligation is reduced by that amount. Therefore, "
            "the  Recommended Child-Support Order that Jane Smith should pay John Smith is $419 per "
            "month.");
    EXPECT_EQ(text, whole);

    // An override of exactly 50 reads as the $50 rule and leaves out the adding sentence.
    columns.insert("overamount", "50");
    const QString fifty = explain(compute(columns));
    EXPECT_TRUE(paragraph(fifty, 2).endsWith(QStringLiteral("automatically set to $50.")));
    EXPECT_FALSE(fifty.contains(QStringLiteral("The Child-Support Obligation is determined")));
}

TEST(ExplanationTest, AboveTheScheduleSaysTheHighestRowIsUsed)
{
    const Worksheet sheet = compute({{"pinc", "25000"}, {"child1name", "Ann"}, {"child2name", "Bob"}});
    EXPECT_EQ(paragraph(explain(sheet), 2),
              RulesIntro +
                  QStringLiteral("In this case, the combined adjusted gross income is above the highest "
                                 "income shown in the Schedule, $20000, so the amount shown for that "
                                 "highest income level is used. According to the Schedule, the "
                                 "Child-Support amount for 2 children at that income level is $3600."));
}

TEST(ExplanationTest, CustodyAndInsuranceVariants)
{
    struct Case
    {
        const char* custody;
        const char* payer;
        const char* paragraph;
    };

    const QString start = QStringLiteral("As agreed upon by both parties, ");
    const Case cases[] = {
        {"P",
         "P",
         "Ann Roe has custody of the children. Therefore, Bo Doe is considered to be the 'Obligor' in this "
         "case and is "
         "responsible for paying $480 in child-support. Although Ann Roe actually pays the premium of $100 "
         "for the "
         "children's Health Insurance, the child-support obligation amount is not affected. Therefore, the  "
         "Recommended Child-Support Order that Bo Doe should pay Ann Roe is $480 per month."},
        {"D",
         "D",
         "Bo Doe has custody of the children. Therefore, Ann Roe is considered to be the 'Obligor' in this "
         "case and is "
         "responsible for paying $720 in child-support. Although Bo Doe actually pays the premium of $100 "
         "for the "
         "children's Health Insurance, the child-support obligation amount is not affected. Therefore, the "
         "Recommended Child-Support Order that Ann Roe should pay Bo Doe is $720 per month."},
        {"D",
         "P",
         "Bo Doe has custody of the children. Therefore, Ann Roe is considered to be the 'Obligor' in this "
         "case and is "
         "responsible for paying $720 in child-support. But since Ann Roe actually pays the premium of $100 "
         "for the "
         "children's Health Insurance, the monthly child-support obligation is reduced by that amount. "
         "Therefore, "
         "the Recommended Child-Support Order that Ann Roe should pay Bo Doe is $620 per month."},
    };
    for (const auto& c : cases) {
        QMap<QString, QString> columns = WorkedExample;
        columns.insert("name1name", "Ann Roe");
        columns.insert("name2name", "  Bo Doe ");
        columns.insert("whosecustody", c.custody);
        columns.insert("payshealth", c.payer);
        EXPECT_EQ(paragraph(explain(compute(columns)), 4), start + QString::fromUtf8(c.paragraph))
            << c.custody << c.payer;
    }

    // Defendant has custody, nobody pays: the plaintiff's line 8 is what the obligor pays.
    QMap<QString, QString> columns = WorkedExample;
    columns.insert("whosecustody", "D");
    columns.insert("healthins", "");
    EXPECT_EQ(paragraph(explain(compute(columns)), 4),
              start + QStringLiteral(
                          "Jane Smith has custody of the children. Therefore, John Smith is considered to "
                          "be the 'Obligor' in this case and is responsible for paying $660 in "
                          "child-support. Since John Smith does not pay the Health Insurance premium, the "
                          "Recommended Child-Support Order that John Smith should pay Jane Smith is $660 "
                          "per month."));

    // A custody caption the generator does not know adds no fourth paragraph.
    Captions captions = compute(WorkedExample).captions;
    captions.insert("lblCustody", "plaintiff");
    const QString text = generateExplanation(captions, 2, {}, QDate(2024, 1, 1));
    EXPECT_TRUE(text.endsWith(QStringLiteral("share of combined gross income.\r\n\r\n")));
}

TEST(ExplanationTest, IncomeSentencesFollowTheAdjustments)
{
    struct Case
    {
        const char* p1;
        const char* p1a;
        const char* p1b;
        const char* p2;
        const char* sentence;
    };

    const Case cases[] = {
        {"3000", "", "", "3000", "P has reported a monthly gross income of $3000, and has no adjustments. "},
        {"", "", "", "", "P has reported no income. "},
        {"3000",
         "200",
         "",
         "2800",
         "P has reported a monthly gross income of $3000, and pays a preexisting child support payment of "
         "$200, "
         "resulting in an adjusted gross income of $2800 per month. "},
        {"3000",
         "",
         "300",
         "2700",
         "P has reported a monthly gross income of $3000, and pays a preexisting alimony payment of $300, "
         "resulting "
         "in an adjusted gross income of $2700 per month. "},
        {"3000",
         "200",
         "300",
         "2500",
         "P has reported a monthly gross income of $3000, and pays a preexisting child support payment of "
         "$200 as "
         "well as a preexisting alimony payment of $300, resulting in an adjusted gross income of $2500 per "
         "month. "},
        {"",
         "200",
         "",
         "-200",
         "P has reported no income, and pays a preexisting child support payment of $200, resulting in an "
         "adjusted "
         "gross income of $-200 per month. "},
        // A negative deduction matches no clause.
        {"3000", "-5", "", "3005", "P has reported a monthly gross income of $3000"},
    };
    for (const auto& c : cases) {
        const Captions captions{{"lblName1Name", "P"},
                                {"lblP1", c.p1},
                                {"lblP1a", c.p1a},
                                {"lblP1b", c.p1b},
                                {"lblP2", c.p2},
                                {"lblD1", ""},
                                {"lblC4", "50"}};
        const QString text = generateExplanation(captions, 0, {}, QDate(2024, 1, 1));
        const QString expected =
            QStringLiteral(
                "P and Defendant have 0 children who are involved in this child-support action (). ") +
            QString::fromUtf8(c.sentence) +
            QStringLiteral("Defendant has reported no income. When added together");
        EXPECT_TRUE(paragraph(text, 1).startsWith(expected)) << c.p1 << '/' << c.p1a << '/' << c.p1b;
    }
}

TEST(ExplanationTest, ChildListSkipsBlankSlotsAndCountsCalendarYears)
{
    const Worksheet sheet = compute({{"child1name", " "},
                                     {"child1dob", "01/01/2020"},
                                     {"child2name", "Bo"},
                                     {"child2dob", "12/31/2023"},
                                     {"child3name", "Cy"},
                                     {"child3dob", "13/45/2012"},
                                     {"child4name", "Di"},
                                     {"child4dob", "2010-06-30"}});
    EXPECT_TRUE(
        explain(sheet, QDate(2024, 1, 1))
            .contains(QStringLiteral("have 3 children who are involved in this child-support action (Bo - "
                                     "age 1, Cy, Di - age 14). ")));
}

TEST(ExplanationTest, NoAgeIsEverBelowZero)
{
    // Stored before birth dates were checked: a date still to come, also one written with two
    // digits that a reader could take for this century.
    const Worksheet sheet = compute({{"child1name", "Ann"},
                                     {"child1dob", "06/01/2024"},
                                     {"child2name", "Bo"},
                                     {"child2dob", "01/01/29"},
                                     {"child3name", "Cy"},
                                     {"child3dob", "03/15/2024"}});
    EXPECT_TRUE(explain(sheet, QDate(2024, 3, 15))
                    .contains(QStringLiteral("involved in this child-support action (Ann, Bo - age 95, Cy - "
                                             "age 0). ")));
}

TEST(ExplanationTest, AnInsuranceCreditAboveTheShareGivesAnOrderOfZero)
{
    QMap<QString, QString> columns = WorkedExample;
    columns.insert("healthins", "1200"); // D8 = 40 % of 2300 = 920, D9 = 1200
    const Worksheet sheet = compute(columns);
    ASSERT_TRUE(sheet.result.insuranceCreditExceedsShare);
    const QString text = generateExplanation(
        sheet.captions, sheet.result.childCount, sheet.result.lookup, QDate(2024, 1, 1), true);
    EXPECT_TRUE(text.endsWith(QStringLiteral(
        "Recommended Child-Support Order that Jane Smith should pay John Smith is $0 per month. The "
        "health-insurance credit of $1200 (line 9) exceeds Jane Smith's share of $920 (line 8); as no order "
        "is less than $0, the Recommended Child-Support Order is $0.")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("$-")));
}

// The paying parent's adjusted gross income below 0 makes a share below 0: no order is computed from
// it, and it is no insurance credit that exceeds a share.
TEST(ExplanationTest, AShareBelowZeroHasItsOwnWords)
{
    QMap<QString, QString> columns = WorkedExample;
    columns.insert("dpre", "3200"); // D2 = -1200, D8 = -24 % of 1200
    const Worksheet sheet = compute(columns);
    EXPECT_FALSE(sheet.result.insuranceCreditExceedsShare);
    EXPECT_EQ(worksheetWarnings(sheet.result).value(QStringLiteral("lblCreditWarning")), QString());
    EXPECT_EQ(worksheetWarnings(sheet.result).value(QStringLiteral("lblLineTwoWarning")),
              QStringLiteral("LINE 2 OF THE DEFENDANT IS BELOW 0!"));
    const QString text = explain(sheet);
    EXPECT_TRUE(text.endsWith(QStringLiteral(
        "As agreed upon by both parties, John Smith has custody of the children. Therefore, Jane Smith is "
        "considered to be the 'Obligor' in this case. But Jane Smith's adjusted gross income (line 2) is "
        "below $0, which makes Jane Smith's share of the Child-Support Obligation (line 8) below $0 as well, "
        "and no child-support order can be computed from it. The Recommended Child-Support Order is $0 until "
        "the monthly gross income (line 1), the pre-existing child support (line 1a) and the alimony (line "
        "1b) of Jane Smith are corrected.")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("health-insurance credit of $ ")));
}

} // namespace
