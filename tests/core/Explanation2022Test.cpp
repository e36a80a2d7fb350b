#include "core/explain/Explanation2022.h"

#include "core/worksheet/WorksheetCalculation.h"

#include <QLocale>
#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <utility>

using namespace cs42;

namespace {

const QDate Today(2024, 1, 15);

const QString RuleSentence = QStringLiteral(
    "Under Rule 32 of the Alabama Rules of Judicial Administration, the basic child-support obligation (line "
    "4) is read from the Schedule of Basic Child-Support Obligations effective May 1, 2022, in the column "
    "for "
    "the number of children and at the row of income nearest to the combined adjusted gross income; an "
    "income exactly halfway between two rows takes the higher row, and no income is read below the $250 "
    "row.");

// A computation written by hand: each cell with the caption the worksheet would show for it.
struct Computation
{
    Captions captions;
    WorksheetResult result;

    void put(std::initializer_list<std::pair<const char*, double>> cells)
    {
        for (const auto& [label, value] : cells) {
            const QString name = QString::fromLatin1(label);
            result.cells.insert(name, value);
            captions.insert(name, shown(name, value));
        }
    }

    void clear(std::initializer_list<const char*> labels)
    {
        for (const char* label : labels) {
            result.cells.remove(QString::fromLatin1(label));
            captions.remove(QString::fromLatin1(label));
        }
    }

    QString explain() const { return generateExplanation2022(captions, result, Today); }

    // Paragraph i (0-based).
    QString paragraph(int i) const { return explain().split(QStringLiteral("\r\n\r\n")).value(i); }

    static QString shown(const QString& label, double value)
    {
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        if (label == QLatin1String("lblP3") || label == QLatin1String("lblD3"))
            return QString::number(std::lround(value * 100));
        const QString digits = us.toString(static_cast<qlonglong>(std::lround(std::fabs(value))));
        return value < 0 ? QStringLiteral("(") + digits + QStringLiteral(")") : digits;
    }
};

// Plaintiff 1200 paying coverage of 100, defendant 1000 paying child care of 20, one child, the
// plaintiff has custody: the defendant's $50 minimum decides the order.
Computation plainCase()
{
    Computation c;
    c.captions = {{"lblName1Name", "John Smith"},
                  {"lblName2Name", "Jane Smith"},
                  {"lblChild1Name", "Ann"},
                  {"lblChild1DOB", "03/07/2012"}};
    c.put({{"lblP1", 1200}, {"lblD1", 1000}, {"lblC1", 2200}, {"lblP2", 1200}, {"lblD2", 1000},
           {"lblC2", 2200}, {"lblP3", 0.55}, {"lblD3", 0.45}, {"lblC4", 414},  {"lblD5", 20},
           {"lblC5", 20},   {"lblP6", 100},  {"lblC6", 100},  {"lblC7", 534},  {"lblP8", 294},
           {"lblD8", 240},  {"lblP9", 100},  {"lblD9", 20},   {"lblP10", 194}, {"lblD10", 220},
           {"lblP11", 219}, {"lblD11", 19},  {"lblP12", 186}, {"lblD12", 50},  {"lblP13", 186},
           {"lblD13", 50}});
    c.result.editionId = QStringLiteral("2022");
    c.result.numberOfChildren = 1;
    c.result.scheduleRowIncome = 2200;
    c.result.custodyCode = QStringLiteral("P");
    c.result.payer = QStringLiteral("D");
    c.result.orderAmount = 50;
    return c;
}

TEST(Explanation2022Test, PlainCaseReadsLineByLine)
{
    const QString expected = QStringLiteral(
        "Child Support Calculation performed on 01/15/2024\r\n\r\n"
        "This explains how Form CS-42 (Rev. 5/2022), the child-support guidelines worksheet, was completed "
        "for "
        "this case, using the Schedule of Basic Child-Support Obligations effective May 1, 2022. The "
        "plaintiff "
        "in this case is John Smith and the defendant is Jane Smith. John Smith and Jane Smith have 1 child "
        "involved in this child-support action: Ann (age 11).\r\n\r\n"
        "John Smith has a monthly gross income of $1,200 (line 1); with nothing to deduct, that is also the "
        "adjusted gross income (line 2). Jane Smith has a monthly gross income of $1,000 (line 1); with "
        "nothing "
        "to deduct, that is also the adjusted gross income (line 2). Together, their combined adjusted gross "
        "income is $2,200 (line 2). John Smith's share of it is 55% and Jane Smith's share is 45% (line "
        "3).\r\n\r\n");
    const QString rest = QStringLiteral(
        " The combined adjusted gross income of $2,200 is itself a row of the schedule. The schedule's "
        "amount "
        "there for 1 child is $414.\r\n\r\n"
        "Jane Smith pays $20 a month for work-related child care (line 5). John Smith pays $100 a month for "
        "health-care coverage for the children (line 6). Adding the basic obligation of $414, the child-care "
        "costs of $20 and the coverage costs of $100 gives the total child-support obligation (line 7) of "
        "$534. "
        "At 55%, John Smith's share of the total is $294; at 45%, Jane Smith's share is $240 (line 8). Each "
        "parent is credited with the costs that parent pays (line 9): $100 for John Smith and $20 for Jane "
        "Smith. Line 10 is each parent's share less that parent's credit, and never below $0: $194 for John "
        "Smith and $220 for Jane Smith (line 10).\r\n\r\n"
        "Lines 11 to 13 test what each parent can afford to pay. Line 11 is what is left of the parent's "
        "adjusted gross income above the self-support reserve of $981, line 12 is 85% of line 11 but never "
        "less than $50, and line 13 is the smaller of lines 10 and 12. John Smith's adjusted gross income of "
        "$1,200 less the reserve leaves $219 (line 11); 85% of that, in whole dollars, is $186 (line 12). "
        "The "
        "smaller of $194 (line 10) and $186 (line 12) is John Smith's line 13: $186. Jane Smith's adjusted "
        "gross income of $1,000 less the reserve leaves $19 (line 11); 85% of that would be $16, below the "
        "$50 "
        "minimum, so line 12 is $50. The smaller of $220 (line 10) and $50 (line 12) is Jane Smith's line "
        "13: "
        "$50.\r\n\r\n"
        "John Smith has custody of the children, so the support is paid by Jane Smith, the parent without "
        "custody. John Smith's own line 13 ($186) is the share of the support that John Smith provides in "
        "caring for the children; it is not ordered to be paid. The recommended child-support order is "
        "therefore Jane Smith's line 13: that Jane Smith pay John Smith $50 per month.");
    EXPECT_EQ(plainCase().explain().toStdString(), (expected + RuleSentence + rest).toStdString());
}

// Lines 11 to 13 are explained for both parents, whichever rule decides each line 13, and the order
// is the line 13 of the parent without custody.
TEST(Explanation2022Test, LinesElevenToThirteenAreExplainedForBothParents)
{
    const QString plaintiffLines = QStringLiteral(
        "John Smith's adjusted gross income of $1,200 less the reserve leaves $219 (line 11); 85% of that, "
        "in "
        "whole dollars, is $186 (line 12). The smaller of $194 (line 10) and $186 (line 12) is John Smith's "
        "line 13: $186.");

    struct Case
    {
        const char* name;
        std::function<void(Computation&)> change;
        QString payerLines; // in the paragraph of lines 11 to 13
        QString order;      // the paragraph of the order
    };

    const Case cases[] = {
        {"the 85% limit: the defendant has custody, so the plaintiff pays",
         [](Computation& c) {
             c.result.custodyCode = QStringLiteral("D");
             c.result.payer = QStringLiteral("P");
             c.result.orderAmount = 186;
         },
         plaintiffLines,
         QStringLiteral(
             "Jane Smith has custody of the children, so the support is paid by John Smith, the parent "
             "without custody. Jane Smith's own line 13 ($50) is the share of the support that Jane "
             "Smith provides in caring for the children; it is not ordered to be paid. The recommended "
             "child-support order is therefore John Smith's line 13: that John Smith pay Jane Smith "
             "$186 per month.")},
        {"the $50 minimum with nothing above the reserve",
         [](Computation& c) {
             c.put({{"lblD1", 900}, {"lblD2", 900}, {"lblD11", 0}});
         },
         QStringLiteral(
             "Jane Smith's adjusted gross income of $900 does not exceed the reserve, so nothing is "
             "left above it (line 11 is $0); 85% of that would be $0, below the $50 minimum, so line "
             "12 is $50. The smaller of $220 (line 10) and $50 (line 12) is Jane Smith's line 13: "
             "$50."),
         {}},
        {"line 10 when the payer can afford it",
         [](Computation& c) {
             c.put({{"lblD11", 2019}, {"lblD12", 1716}, {"lblD13", 220}});
             c.result.orderAmount = 220;
         },
         QStringLiteral(
             "85% of that, in whole dollars, is $1,716 (line 12). The smaller of $220 (line 10) and "
             "$1,716 (line 12) is Jane Smith's line 13: $220."),
         {}},
        {"line 12 equal to line 10",
         [](Computation& c) {
             c.put({{"lblD11", 259}, {"lblD12", 220}, {"lblD13", 220}});
             c.result.orderAmount = 220;
         },
         QStringLiteral("Lines 10 and 12 are the same, so Jane Smith's line 13 is $220."),
         {}},
        {"a payer with no income pays $0 whatever the reserve says",
         [](Computation& c) {
             c.clear({"lblD1"});
             c.put({{"lblD2", 0}, {"lblD11", 0}, {"lblD13", 0}});
             c.result.orderAmount = 0;
         },
         QStringLiteral("As Jane Smith has no monthly gross income, Jane Smith's line 13 is $0."),
         QStringLiteral(
             "John Smith has custody of the children, so the support is paid by Jane Smith, the parent "
             "without custody. John Smith's own line 13 ($186) is the share of the support that John "
             "Smith provides in caring for the children; it is not ordered to be paid. The recommended "
             "child-support order is therefore Jane Smith's line 13: that Jane Smith pay John Smith $0 "
             "per month.")},
        {"a line 13 in cents is ordered in whole dollars, as the form prints it",
         [](Computation& c) {
             c.put({{"lblD10", 441.68}, {"lblD11", 2019}, {"lblD12", 1716}, {"lblD13", 441.68}});
             c.result.orderAmount = 441.68;
         },
         QStringLiteral(
             "The smaller of $441.68 (line 10) and $1,716 (line 12) is Jane Smith's line 13: $441.68."),
         QStringLiteral(
             "John Smith has custody of the children, so the support is paid by Jane Smith, the parent "
             "without custody. John Smith's own line 13 ($186) is the share of the support that John "
             "Smith provides in caring for the children; it is not ordered to be paid. The recommended "
             "child-support order is therefore Jane Smith's line 13 of $441.68 in whole dollars, as "
             "the form prints it: that Jane Smith pay John Smith $442 per month.")},
    };
    for (const Case& c : cases) {
        Computation sheet = plainCase();
        c.change(sheet);
        const QString lines = sheet.paragraph(5);
        EXPECT_TRUE(lines.startsWith(QStringLiteral(
            "Lines 11 to 13 test what each parent can afford to pay. Line 11 is what is left of the parent's "
            "adjusted gross income above the self-support reserve of $981, line 12 is 85% of line 11 but "
            "never less than $50, and line 13 is the smaller of lines 10 and 12.")))
            << c.name;
        EXPECT_TRUE(lines.contains(c.payerLines)) << c.name << "\n" << lines.toStdString();
        if (c.payerLines != plaintiffLines) {
            EXPECT_TRUE(lines.contains(plaintiffLines)) << c.name << "\n" << lines.toStdString();
        }
        if (!c.order.isEmpty()) {
            EXPECT_EQ(sheet.paragraph(6).toStdString(), c.order.toStdString()) << c.name;
        }
    }
}

// A negative adjusted gross income is said in words, and its share below 0 gives a line 10 of $0,
// not "the same as line 8".
TEST(Explanation2022Test, NegativeAmountsAreSaidInWords)
{
    Computation sheet = plainCase();
    sheet.put({{"lblD1a", 1100},
               {"lblC1a", 1100},
               {"lblD2", -100},
               {"lblC2", 1100},
               {"lblP3", 1.09},
               {"lblD3", -0.09},
               {"lblP8", 582},
               {"lblD8", -48},
               {"lblD9", 0},
               {"lblD5", 0},
               {"lblC5", 0},
               {"lblP10", 482},
               {"lblD10", 0},
               {"lblD11", 0},
               {"lblD12", 50},
               {"lblD13", 0}});
    sheet.result.orderAmount = 0;
    const QString text = sheet.explain();
    EXPECT_FALSE(text.contains(QStringLiteral("$("))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(
        "Jane Smith has a monthly gross income of $1,000 (line 1) and pays $1,100 in pre-existing child "
        "support each month (line 1a), which is deducted from it, leaving a negative adjusted gross income "
        "of "
        "$100 (line 2).")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("at -9%, Jane Smith's share is minus $48 (line 8)")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(
        "Jane Smith's share of minus $48 is below $0 because Jane Smith's adjusted gross income is, so Jane "
        "Smith's line 10 is $0.")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(
        "Jane Smith's adjusted gross income is negative (minus $100), so nothing is left above the reserve "
        "(line 11 is $0)")))
        << text.toStdString();
}

// Every amount is written as the worksheet carries it, so that the sums written add up.
TEST(Explanation2022Test, AmountsInCentsAddUpAsWritten)
{
    Computation sheet = plainCase();
    sheet.put({{"lblD1", 5287}, {"lblD1a", 412.5}, {"lblC1a", 412.5}, {"lblD2", 4874.5}, {"lblC2", 6074.5}});
    const QString text = sheet.explain();
    EXPECT_TRUE(text.contains(QStringLiteral(
        "Jane Smith has a monthly gross income of $5,287 (line 1) and pays $412.50 in pre-existing child "
        "support each month (line 1a), which is deducted from it, leaving an adjusted gross income of "
        "$4,874.50 "
        "(line 2).")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("combined adjusted gross income is $6,074.50 (line 2)")))
        << text.toStdString();
}

TEST(Explanation2022Test, ScheduleParagraphSaysWhichRowAndWhy)
{
    struct Case
    {
        const char* name;
        std::function<void(Computation&)> change;
        QString sentences; // after the rule sentence
    };

    const Case cases[] = {
        {"a row of its own",
         [](Computation&) {},
         QStringLiteral(" The combined adjusted gross income of $2,200 is itself a row of the schedule. The "
                        "schedule's amount there for 1 child is $414.")},
        {"the nearest row, for two children",
         [](Computation& c) {
             c.put({{"lblC2", 2210}, {"lblC4", 629}});
             c.result.numberOfChildren = 2;
         },
         QStringLiteral(" The row nearest to the combined adjusted gross income of $2,210 is the $2,200 row. "
                        "The schedule's amount there for 2 children is $629.")},
        {"exactly halfway takes the higher row",
         [](Computation& c) {
             c.put({{"lblC2", 2225}, {"lblC4", 423}});
             c.result.scheduleRowIncome = 2250;
         },
         QStringLiteral(
             " The combined adjusted gross income of $2,225 lies exactly halfway between the $2,200 "
             "and $2,250 rows, so the higher row, $2,250, is used. The schedule's amount there for 1 "
             "child is $423.")},
        {"cents short of halfway: the amount is written with its cents",
         [](Computation& c) {
             c.put({{"lblC2", 2224.5}});
         },
         QStringLiteral(
             " The row nearest to the combined adjusted gross income of $2,224.50 is the $2,200 row. "
             "The schedule's amount there for 1 child is $414.")},
        {"the $250 floor",
         [](Computation& c) {
             c.put({{"lblC2", 180}, {"lblC4", 52}});
             c.result.scheduleRowIncome = 250;
             c.result.scheduleFloor = true;
         },
         QStringLiteral(
             " The combined adjusted gross income of $180 is below the schedule's lowest rows, so the "
             "$250 row is used. The schedule's amount there for 1 child is $52.")},
        {"an override inside the schedule",
         [](Computation& c) {
             c.put({{"lblC4", 500}});
             c.result.overrideInForce = true;
             c.result.overrideAmount = 500;
         },
         QStringLiteral(
             " The combined adjusted gross income of $2,200 is itself a row of the schedule. In place "
             "of the schedule's amount there for 1 child, an amount of $500 was entered for line 4, "
             "and that amount is used.")},
        {"above the schedule, the court's amount entered",
         [](Computation& c) {
             c.put({{"lblC2", 31000}, {"lblC4", 3000}});
             c.result.scheduleRowIncome = 0;
             c.result.aboveSchedule = true;
             c.result.overrideInForce = true;
             c.result.overrideAmount = 3000;
         },
         QStringLiteral(
             " The combined adjusted gross income of $31,000 is above the schedule's last row, "
             "$30,000, so the schedule gives no amount, and Rule 32 leaves the basic obligation to "
             "the court. For this case, an amount of $3,000 was entered for line 4 as the basic "
             "child-support obligation.")},
        {"above the schedule, nothing entered",
         [](Computation& c) {
             c.put({{"lblC2", 31000}});
             c.clear({"lblC4"});
             c.result.scheduleRowIncome = 0;
             c.result.aboveSchedule = true;
         },
         QStringLiteral(
             " The combined adjusted gross income of $31,000 is above the schedule's last row, "
             "$30,000, so the schedule gives no amount, and Rule 32 leaves the basic obligation to "
             "the court. No amount has been entered for line 4, so the worksheet cannot be completed "
             "from there on.")},
    };
    for (const Case& c : cases) {
        Computation sheet = plainCase();
        c.change(sheet);
        EXPECT_EQ(sheet.paragraph(3).toStdString(), (RuleSentence + c.sentences).toStdString()) << c.name;
    }
}

// Without line 4, or with shares that cannot be computed, the text says why no order follows and
// claims nothing about the lines left empty.
TEST(Explanation2022Test, NoOrderSaysWhy)
{
    struct Case
    {
        const char* name;
        std::function<void(Computation&)> change;
        QString obligation;
        QString order;
    };

    const auto aboveWithoutAmount = [](Computation& c) {
        c.put({{"lblP1", 20000}, {"lblP2", 20000}, {"lblC2", 21000}, {"lblP3", 0.95}, {"lblD3", 0.05}});
        c.clear({"lblC4", "lblC7", "lblP8", "lblD8", "lblP10", "lblD10", "lblP13", "lblD13"});
        c.result.aboveSchedule = true;
        c.result.payer.clear();
        c.result.orderAmount.reset();
    };
    // The plaintiff's income goes entirely to pre-existing support: the combined income is 0.
    const auto sharesUndefined = [](Computation& c) {
        c.put({{"lblP1", 500}, {"lblP1a", 500}, {"lblP2", 0}, {"lblC2", 0}, {"lblC4", 52}, {"lblC7", 172}});
        c.clear({"lblD1", "lblP3", "lblD3", "lblP8", "lblD8", "lblP10", "lblD10", "lblP13"});
        c.put({{"lblD2", 0}, {"lblP11", 0}, {"lblD11", 0}, {"lblD13", 0}});
        c.result.scheduleRowIncome = 250;
        c.result.scheduleFloor = true;
        c.result.sharesUndefined = true;
        c.result.custodyCode = QStringLiteral("D");
        c.result.payer.clear();
        c.result.orderAmount.reset();
    };

    const Case cases[] = {
        {"above the schedule without the court's amount",
         aboveWithoutAmount,
         QStringLiteral(
             "Jane Smith pays $20 a month for work-related child care (line 5). John Smith pays $100 "
             "a month for health-care coverage for the children (line 6). Without an amount on line "
             "4 there is no total child-support obligation (line 7) to divide between the parents."),
         QStringLiteral(
             "John Smith has custody of the children. No child-support order can be recommended: the "
             "combined adjusted gross income is above the schedule, and the court's amount has not "
             "been entered for line 4.")},
        {"shares undefined",
         sharesUndefined,
         QStringLiteral(
             "Jane Smith pays $20 a month for work-related child care (line 5). John Smith pays $100 "
             "a month for health-care coverage for the children (line 6). Adding the basic "
             "obligation of $52, the child-care costs of $20 and the coverage costs of $100 gives the "
             "total child-support obligation (line 7) of $172. As the shares are undefined, the total "
             "is not divided between the parents (lines 8 and 10 stay empty)."),
         QStringLiteral(
             "Jane Smith has custody of the children. No child-support order can be recommended: the "
             "parents' shares of their combined adjusted gross income (line 3) are undefined when "
             "that income is $0.")},
    };
    for (const Case& c : cases) {
        Computation sheet = plainCase();
        c.change(sheet);
        EXPECT_EQ(sheet.paragraph(4).toStdString(), c.obligation.toStdString()) << c.name;
        EXPECT_TRUE(
            sheet.paragraph(5).contains(QStringLiteral("Without a line 10, John Smith's line 13 cannot be "
                                                       "computed.")))
            << c.name;
        EXPECT_EQ(sheet.paragraph(6).toStdString(), c.order.toStdString()) << c.name;
    }

    Computation undefined = plainCase();
    sharesUndefined(undefined);
    EXPECT_EQ(
        undefined.paragraph(2).toStdString(),
        QStringLiteral(
            "John Smith has a monthly gross income of $500 (line 1) and pays $500 in pre-existing child "
            "support each month (line 1a), which is deducted from it, leaving an adjusted gross income of "
            "$0 (line 2). Jane Smith reports no monthly gross income (line 1), so the adjusted gross "
            "income (line 2) is $0. Together, their combined adjusted gross income is $0 (line 2). As that "
            "is $0, neither parent's share of it (line 3) can be computed: line 3 stays empty, and so do "
            "the lines taken from it.")
            .toStdString());
    // No share is given (85% of line 11 is the rule of line 12, not a share).
    EXPECT_FALSE(undefined.explain().contains(QStringLiteral("55%")));
    EXPECT_FALSE(undefined.explain().contains(QStringLiteral("At ")));
}

TEST(Explanation2022Test, IncomeSentenceNamesOnlyTheDeductionsMade)
{
    struct Case
    {
        double p1, p1a, p1b, p2;
        const char* sentence;
    };

    const Case cases[] = {
        {3000,
         200,
         0,
         2800,
         "John Smith has a monthly gross income of $3,000 (line 1) and pays $200 in pre-existing child "
         "support "
         "each month (line 1a), which is deducted from it, leaving an adjusted gross income of $2,800 (line "
         "2). "},
        {3000,
         0,
         300,
         2700,
         "John Smith has a monthly gross income of $3,000 (line 1) and pays $300 in pre-existing periodic "
         "alimony "
         "each month (line 1b), which is deducted from it, leaving an adjusted gross income of $2,700 (line "
         "2). "},
        {3000,
         200,
         300,
         2500,
         "John Smith has a monthly gross income of $3,000 (line 1) and pays $200 in pre-existing child "
         "support "
         "and $300 in pre-existing periodic alimony each month (lines 1a and 1b), which are deducted from "
         "it, "
         "leaving an adjusted gross income of $2,500 (line 2). "},
        {0,
         200,
         0,
         -200,
         "John Smith reports no monthly gross income (line 1) and pays $200 in pre-existing child support "
         "each "
         "month (line 1a), which is deducted, leaving a negative adjusted gross income of $200 (line 2). "},
    };
    for (const Case& c : cases) {
        Computation sheet = plainCase();
        sheet.clear({"lblP1", "lblP1a", "lblP1b"});
        if (c.p1 != 0)
            sheet.put({{"lblP1", c.p1}});
        if (c.p1a != 0)
            sheet.put({{"lblP1a", c.p1a}});
        if (c.p1b != 0)
            sheet.put({{"lblP1b", c.p1b}});
        sheet.put({{"lblP2", c.p2}});
        EXPECT_TRUE(sheet.paragraph(2).startsWith(QString::fromUtf8(c.sentence))) << c.sentence;
    }
}

TEST(Explanation2022Test, CostsAndCreditsOfZeroAreNotMentioned)
{
    Computation sheet = plainCase();
    sheet.clear({"lblD5", "lblP6"});
    sheet.put({{"lblC5", 0},
               {"lblC6", 0},
               {"lblC7", 414},
               {"lblP8", 228},
               {"lblD8", 186},
               {"lblP9", 0},
               {"lblD9", 0},
               {"lblP10", 228},
               {"lblD10", 186}});
    EXPECT_EQ(
        sheet.paragraph(4).toStdString(),
        QStringLiteral("The total child-support obligation (line 7) is the basic obligation, $414. At 55%, "
                       "John Smith's share of the total is $228; at 45%, Jane Smith's share is $186 (line "
                       "8). Neither parent pays a cost to be credited (line 9). Line 10 is each parent's "
                       "share less that parent's credit, and never below $0: $228 for John Smith and $186 "
                       "for Jane Smith (line 10).")
            .toStdString());

    // Both parents paying one cost, and a credit above the share: line 10 is 0, never below.
    Computation both = plainCase();
    both.put({{"lblP5", 30},
              {"lblD5", 300},
              {"lblC5", 330},
              {"lblC7", 844},
              {"lblP8", 464},
              {"lblD8", 380},
              {"lblP9", 130},
              {"lblD9", 300},
              {"lblP10", 334},
              {"lblD10", 80}});
    const QString obligation = both.paragraph(4);
    EXPECT_TRUE(obligation.startsWith(QStringLiteral("Work-related child care costs $330 a month (line 5): "
                                                     "John Smith pays $30 and Jane Smith pays $300. ")))
        << obligation.toStdString();
    both.put({{"lblD9", 400}, {"lblD10", 0}});
    EXPECT_TRUE(both.paragraph(4).endsWith(QStringLiteral(
        "Line 10 is each parent's share less that parent's credit, and never below $0: $334 for John Smith "
        "and $0 for Jane Smith (line 10). Jane Smith's credit of $400 is more than Jane Smith's share of "
        "$380, so Jane Smith's line 10 is $0.")))
        << both.paragraph(4).toStdString();
}

TEST(Explanation2022Test, PartiesAndChildren)
{
    struct Case
    {
        const char* name;
        std::function<void(Computation&)> change;
        QString sentences; // after the edition sentence
    };

    const Case cases[] = {
        {"no names",
         [](Computation& c) {
             c.captions.remove(QStringLiteral("lblName1Name"));
             c.captions.insert(QStringLiteral("lblName2Name"), QStringLiteral("  "));
         },
         QStringLiteral(
             " Plaintiff and Defendant have 1 child involved in this child-support action: Ann (age "
             "11).")},
        {"the defendant alone named",
         [](Computation& c) { c.captions.remove(QStringLiteral("lblName1Name")); },
         QStringLiteral(" The defendant in this case is Jane Smith. Plaintiff and Jane Smith have 1 child "
                        "involved in this child-support action: Ann (age 11).")},
        {"ages in whole years; a birth date unread or to come gives none",
         [](Computation& c) {
             c.result.numberOfChildren = 4;
             c.captions.insert(QStringLiteral("lblChild1DOB"), QStringLiteral("01/16/2012"));
             c.captions.insert(QStringLiteral("lblChild2Name"), QStringLiteral("Bo"));
             c.captions.insert(QStringLiteral("lblChild2DOB"), QStringLiteral("01/15/2012"));
             c.captions.insert(QStringLiteral("lblChild4Name"), QStringLiteral("Cy"));
             c.captions.insert(QStringLiteral("lblChild4DOB"), QStringLiteral("13/45/2012"));
             c.captions.insert(QStringLiteral("lblChild5Name"), QStringLiteral("Di"));
             c.captions.insert(QStringLiteral("lblChild5DOB"), QStringLiteral("02/01/2024"));
         },
         QStringLiteral(
             " The plaintiff in this case is John Smith and the defendant is Jane Smith. John Smith "
             "and Jane Smith have 4 children involved in this child-support action: Ann (age 11), Bo "
             "(age 12), Cy and Di.")},
        {"a number of children entered beyond the names",
         [](Computation& c) {
             c.result.numberOfChildren = 2;
             c.result.numberOfChildrenEntered = true;
         },
         QStringLiteral(
             " The plaintiff in this case is John Smith and the defendant is Jane Smith. John Smith "
             "and Jane Smith have 2 children involved in this child-support action, the number "
             "entered in the form's Number of Children box. The child named on the form is Ann (age "
             "11).")},
    };
    const QString edition = QStringLiteral(
        "This explains how Form CS-42 (Rev. 5/2022), the child-support guidelines worksheet, was completed "
        "for "
        "this case, using the Schedule of Basic Child-Support Obligations effective May 1, 2022.");
    for (const Case& c : cases) {
        Computation sheet = plainCase();
        c.change(sheet);
        EXPECT_EQ(sheet.paragraph(1).toStdString(), (edition + c.sentences).toStdString()) << c.name;
    }

    Computation unnamed = plainCase();
    unnamed.captions.remove(QStringLiteral("lblName1Name"));
    unnamed.captions.remove(QStringLiteral("lblName2Name"));
    EXPECT_TRUE(
        unnamed.explain().endsWith(QStringLiteral("The recommended child-support order is therefore "
                                                  "Defendant's line 13: that Defendant pay Plaintiff $50 "
                                                  "per month.")));
}

// Every text, whatever it says: paragraphs apart by one empty line, CR LF only, no break at the end,
// and nothing claimed that no input says.
TEST(Explanation2022Test, LineBreaksAreCrLfBetweenParagraphsOnly)
{
    Computation above = plainCase();
    above.put({{"lblC2", 31000}});
    above.clear({"lblC4", "lblC7", "lblP8", "lblD8", "lblP10", "lblD10", "lblP13", "lblD13"});
    above.result.aboveSchedule = true;
    above.result.payer.clear();
    above.result.orderAmount.reset();

    Computation empty;
    empty.result.sharesUndefined = true;

    for (const Computation& sheet : {plainCase(), above, empty}) {
        const QString text = sheet.explain();
        EXPECT_FALSE(text.endsWith(QLatin1Char('\n')));
        EXPECT_FALSE(text.endsWith(QLatin1Char('\r')));
        QString rest = text;
        rest.remove(QStringLiteral("\r\n\r\n"));
        EXPECT_FALSE(rest.contains(QLatin1Char('\n'))) << text.toStdString();
        EXPECT_FALSE(rest.contains(QLatin1Char('\r'))) << text.toStdString();
        for (const QString& paragraph : text.split(QStringLiteral("\r\n\r\n")))
            EXPECT_FALSE(paragraph.trimmed().isEmpty()) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("agreed")));
        EXPECT_FALSE(text.contains(QStringLiteral("$$")));
    }
}

} // namespace
