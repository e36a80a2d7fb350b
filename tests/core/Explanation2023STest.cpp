#include "core/explain/Explanation2023S.h"

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
    "for the number of children and at the row of income nearest to the combined adjusted gross income; an "
    "income exactly halfway between two rows takes the higher row, and no income is read below the $250 "
    "row.");

// A CS-42-S computation written by hand: each cell with the caption the worksheet would show for it.
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

    void noOrder()
    {
        result.payer.clear();
        result.orderAmount.reset();
    }

    QString explain() const { return generateExplanation2023S(captions, result, Today); }

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

Computation named()
{
    Computation c;
    c.captions = {{"lblName1Name", "John Smith"},
                  {"lblName2Name", "Jane Smith"},
                  {"lblChild1Name", "Ann"},
                  {"lblChild1DOB", "03/07/2012"}};
    c.result.editionId = QStringLiteral("2023S");
    c.result.numberOfChildren = 1;
    c.result.custodyCode = QStringLiteral("P");
    return c;
}

// The court workbook's own case: plaintiff 1200 paying coverage of 100, defendant 1000 paying child
// care of 20, one child. The plaintiff's line 13 is below zero; the defendant pays $2.
Computation workbookCase()
{
    Computation c = named();
    c.put({{"lblP1", 1200}, {"lblD1", 1000}, {"lblC1", 2200}, {"lblP2", 1200}, {"lblD2", 1000},
           {"lblC2", 2200}, {"lblP3", 0.55}, {"lblD3", 0.45}, {"lblC4", 414},  {"lblC5", 621},
           {"lblD6", 20},   {"lblP7", 100},  {"lblP8", 100},  {"lblD8", 20},   {"lblC8", 120},
           {"lblC9", 741},  {"lblP10", 408}, {"lblD10", 333}, {"lblP11", 100}, {"lblD11", 20},
           {"lblP12", 311}, {"lblD12", 311}, {"lblP13", -3},  {"lblD13", 2},   {"lblD14", 2}});
    c.result.scheduleRowIncome = 2200;
    c.result.payer = QStringLiteral("D");
    c.result.orderAmount = 2;
    return c;
}

// Plaintiff 3000, defendant 1000, no costs: the plaintiff pays.
Computation plaintiffPays()
{
    Computation c = named();
    c.put({{"lblP1", 3000}, {"lblD1", 1000},  {"lblC1", 4000}, {"lblP2", 3000}, {"lblD2", 1000},
           {"lblC2", 4000}, {"lblP3", 0.75},  {"lblD3", 0.25}, {"lblC4", 685},  {"lblC5", 1028},
           {"lblP8", 0},    {"lblD8", 0},     {"lblC8", 0},    {"lblC9", 1028}, {"lblP10", 771},
           {"lblD10", 257}, {"lblP11", 0},    {"lblD11", 0},   {"lblP12", 514}, {"lblD12", 514},
           {"lblP13", 257}, {"lblD13", -257}, {"lblP14", 257}});
    c.result.scheduleRowIncome = 4000;
    c.result.payer = QStringLiteral("P");
    c.result.orderAmount = 257;
    return c;
}

// Two parents with the same income and no costs: both line 13 amounts are 0, and the tie puts
// line 14 in the defendant's column.
Computation identicalParents()
{
    Computation c = named();
    c.put({{"lblP1", 1000}, {"lblD1", 1000}, {"lblC1", 2000}, {"lblP2", 1000}, {"lblD2", 1000},
           {"lblC2", 2000}, {"lblP3", 0.5},  {"lblD3", 0.5},  {"lblC4", 379},  {"lblC5", 569},
           {"lblP8", 0},    {"lblD8", 0},    {"lblC8", 0},    {"lblC9", 569},  {"lblP10", 285},
           {"lblD10", 285}, {"lblP11", 0},   {"lblD11", 0},   {"lblP12", 285}, {"lblD12", 285},
           {"lblP13", 0},   {"lblD13", 0},   {"lblD14", 0}});
    c.result.scheduleRowIncome = 2000;
    c.result.orderAmount = 0;
    return c;
}

// The plaintiff's income goes entirely to pre-existing support: the combined income is 0.
Computation sharesUndefined()
{
    Computation c = workbookCase();
    c.put({{"lblP1", 500},
           {"lblP1a", 500},
           {"lblP2", 0},
           {"lblD2", 0},
           {"lblC1", 500},
           {"lblC2", 0},
           {"lblC4", 52},
           {"lblC5", 78},
           {"lblC9", 198},
           {"lblP12", 39},
           {"lblD12", 39}});
    c.clear({"lblD1", "lblP3", "lblD3", "lblP10", "lblD10", "lblP13", "lblD13", "lblD14"});
    c.result.scheduleRowIncome = 250;
    c.result.scheduleFloor = true;
    c.result.sharesUndefined = true;
    c.noOrder();
    return c;
}

// Combined income 31,000, above the schedule; the court's amount of 3,000 is entered for line 4.
Computation aboveWithAmount()
{
    Computation c = named();
    c.put({{"lblP1", 25000}, {"lblD1", 6000},   {"lblC1", 31000}, {"lblP2", 25000}, {"lblD2", 6000},
           {"lblC2", 31000}, {"lblP3", 0.81},   {"lblD3", 0.19},  {"lblC4", 3000},  {"lblC5", 4500},
           {"lblP8", 0},     {"lblD8", 0},      {"lblC8", 0},     {"lblC9", 4500},  {"lblP10", 3645},
           {"lblD10", 855},  {"lblP11", 0},     {"lblD11", 0},    {"lblP12", 2250}, {"lblD12", 2250},
           {"lblP13", 1395}, {"lblD13", -1395}, {"lblP14", 1395}});
    c.result.aboveSchedule = true;
    c.result.overrideInForce = true;
    c.result.overrideAmount = 3000;
    c.result.payer = QStringLiteral("P");
    c.result.orderAmount = 1395;
    return c;
}

// The same without the court's amount: nothing from line 4 on can be computed.
Computation aboveWithoutAmount()
{
    Computation c = aboveWithAmount();
    c.clear(
        {"lblC4", "lblC5", "lblC9", "lblP10", "lblD10", "lblP12", "lblD12", "lblP13", "lblD13", "lblP14"});
    c.result.overrideInForce = false;
    c.result.overrideAmount = 0;
    c.noOrder();
    return c;
}

TEST(Explanation2023STest, WorkbookCaseReadsLineByLine)
{
    const QString expected =
        QStringLiteral(
            "Child Support Calculation performed on 01/15/2024\r\n\r\n"
            "This explains how Form CS-42-S (Effective 6/2023), the child-support guidelines worksheet for "
            "parents who share physical custody of the children equally (50% each), was completed for this "
            "case, using the Schedule of Basic Child-Support Obligations effective May 1, 2022. The "
            "plaintiff "
            "in this case is John Smith and the defendant is Jane Smith. John Smith and Jane Smith have 1 "
            "child involved in this child-support action: Ann (age 11).\r\n\r\n"
            "John Smith has a monthly gross income of $1,200 (line 1); with nothing to deduct, that is also "
            "the adjusted gross income (line 2). Jane Smith has a monthly gross income of $1,000 (line 1); "
            "with nothing to deduct, that is also the adjusted gross income (line 2). Together, their "
            "combined adjusted gross income is $2,200 (line 2). Jane Smith's share of it is 45%, and John "
            "Smith's share is the rest, 55% (line 3).\r\n\r\n") +
        RuleSentence +
        QStringLiteral(
            " The combined adjusted gross income of $2,200 is itself a row of the schedule. The schedule's "
            "amount there for 1 child is $414.\r\n\r\n"
            "As the parents share physical custody equally, the basic obligation is increased by half: 150% "
            "of $414 is the shared-custody child-support obligation of $621 (line 5). John Smith pays $100 a "
            "month for health-care coverage for the children (line 7). Jane Smith pays $20 a month for "
            "work-related child care (line 6). Together the parents pay $120 a month in these costs (line "
            "8). Adding the costs of $120 (line 8) to the shared-custody obligation gives the total "
            "child-support obligation of $741 (line 9).\r\n\r\n"
            "At 55%, John Smith's share of the total obligation is $408; at 45%, Jane Smith's share is $333 "
            "(line 10). Each parent is credited with the child-care and coverage costs that parent pays "
            "(line 11): $100 for John Smith and $20 for Jane Smith. As the children spend half their time "
            "with each parent, each parent is also credited with half of the shared-custody obligation, $311 "
            "(line 12), for the support given directly while the children are with that parent. Taking the "
            "credits from each share leaves the adjusted obligations (line 13): minus $3 for John Smith and "
            "$2 "
            "for Jane Smith. John Smith's is below zero because the credits are more than the share: John "
            "Smith owes nothing on this line.\r\n\r\n"
            "The higher of the two adjusted obligations is Jane Smith's, $2, and it goes on line 14 in Jane "
            "Smith's column. The parent with the higher amount pays it to the other, so the recommended "
            "child-support order is that Jane Smith pay John Smith $2 per month.");
    EXPECT_EQ(workbookCase().explain().toStdString(), expected.toStdString());
}

TEST(Explanation2023STest, LineFourteenSaysWhoPaysOrThatNoneIsOwed)
{
    struct Case
    {
        const char* name;
        std::function<Computation()> make;
        QString order;
    };

    const Case cases[] = {
        {"the plaintiff's line 13 is the higher",
         plaintiffPays,
         QStringLiteral(
             "The higher of the two adjusted obligations is John Smith's, $257, and it goes on line 14 in "
             "John Smith's column. The parent with the higher amount pays it to the other, so the "
             "recommended child-support order is that John Smith pay Jane Smith $257 per month.")},
        {"identical parents: a tie at $0 goes in the defendant's column and nothing is owed",
         identicalParents,
         QStringLiteral(
             "The two adjusted obligations are equal, $0 each; a tie is entered in the defendant's column, "
             "so line 14 is Jane Smith's $0. As line 14 is not above zero, no child support is owed: "
             "neither parent pays the other.")},
        {"the higher line 13 is below zero",
         [] {
             Computation c = workbookCase();
             c.put({{"lblD13", -1}, {"lblD14", -1}});
             c.noOrder();
             return c;
         },
         QStringLiteral(
             "The higher of the two adjusted obligations is Jane Smith's, minus $1, and it goes on line 14 "
             "in "
             "Jane Smith's column. As line 14 is not above zero, no child support is owed: neither parent "
             "pays the other.")},
        {"the court's amount above the schedule",
         aboveWithAmount,
         QStringLiteral(
             "The higher of the two adjusted obligations is John Smith's, $1,395, and it goes on line 14 in "
             "John Smith's column. The parent with the higher amount pays it to the other, so the "
             "recommended child-support order is that John Smith pay Jane Smith $1,395 per month.")},
    };
    for (const Case& c : cases) {
        const Computation sheet = c.make();
        EXPECT_EQ(sheet.paragraph(6).toStdString(), c.order.toStdString()) << c.name;
    }

    // A tie is no reason to call a line 13 of $0 below zero.
    EXPECT_FALSE(identicalParents().explain().contains(QStringLiteral("below zero")));
    EXPECT_FALSE(identicalParents().explain().contains(QStringLiteral(" pay ")));
}

// The costs each parent pays are named by parent, summed only when both pay, and credited back
// on line 11; a parent who pays none gets no credit sentence, and no costs leave line 5 alone.
TEST(Explanation2023STest, CostsAndCreditsNameOnlyWhatIsPaid)
{
    struct Case
    {
        const char* name;
        std::function<Computation()> make;
        QString costs;   // paragraph 4 after the line 5 sentence
        QString credits; // paragraph 5 from the line 11 sentence to the line 12 sentence
    };

    const Case cases[] = {
        {"the plaintiff pays both kinds",
         [] {
             Computation c = workbookCase();
             c.put({{"lblP6", 30},
                    {"lblP8", 130},
                    {"lblC8", 150},
                    {"lblC9", 771},
                    {"lblP10", 424},
                    {"lblD10", 347},
                    {"lblP11", 130},
                    {"lblP13", -17},
                    {"lblD13", 16},
                    {"lblD14", 16}});
             return c;
         },
         QStringLiteral(
             " John Smith pays $30 a month for work-related child care (line 6) and $100 for health-care "
             "coverage for the children (line 7), $130 in all (line 8). Jane Smith pays $20 a month for "
             "work-related child care (line 6). Together the parents pay $150 a month in these costs (line "
             "8). Adding the costs of $150 (line 8) to the shared-custody obligation gives the total "
             "child-support obligation of $771 (line 9)."),
         QStringLiteral(" Each parent is credited with the child-care and coverage costs that parent pays "
                        "(line 11): $130 for John Smith and $20 for Jane Smith.")},
        {"one parent pays",
         [] {
             Computation c = workbookCase();
             c.clear({"lblD6"});
             c.put({{"lblD8", 0},
                    {"lblC8", 100},
                    {"lblC9", 721},
                    {"lblP10", 397},
                    {"lblD10", 324},
                    {"lblD11", 0},
                    {"lblP13", -14},
                    {"lblD13", 13},
                    {"lblD14", 13}});
             return c;
         },
         QStringLiteral(
             " John Smith pays $100 a month for health-care coverage for the children (line 7). Adding the "
             "costs of $100 (line 8) to the shared-custody obligation gives the total child-support "
             "obligation of $721 (line 9)."),
         QStringLiteral(" John Smith is credited with the $100 in child-care and coverage costs John Smith "
                        "pays (line 11).")},
        {"no costs",
         plaintiffPays,
         QStringLiteral(
             " The total child-support obligation (line 9) is the shared-custody obligation alone, "
             "$1,028."),
         QString()},
    };
    const QString lineTwelve = QStringLiteral(" As the children spend half their time");
    for (const Case& c : cases) {
        const Computation sheet = c.make();
        const QString obligation = sheet.paragraph(4);
        const QString lineFive =
            obligation.section(QStringLiteral("(line 5)."), 0, 0) + QStringLiteral("(line 5).");
        EXPECT_EQ(obligation.mid(lineFive.size()).toStdString(), c.costs.toStdString()) << c.name;

        const QString shares = sheet.paragraph(5);
        const qsizetype from = shares.indexOf(QStringLiteral("(line 10).")) + 10;
        EXPECT_EQ(shares.mid(from, shares.indexOf(lineTwelve) - from).toStdString(), c.credits.toStdString())
            << c.name;
        EXPECT_FALSE(sheet.explain().contains(QStringLiteral("$0 a month"))) << c.name;
    }

    const QString shares = plaintiffPays().paragraph(5);
    EXPECT_EQ(
        shares.toStdString(),
        QStringLiteral(
            "At 75%, John Smith's share of the total obligation is $771; at 25%, Jane Smith's share is "
            "$257 (line 10). As the children spend half their time with each parent, each parent is "
            "also credited with half of the shared-custody obligation, $514 (line 12), for the "
            "support given directly while the children are with that parent. Taking the credits from "
            "each share leaves the adjusted obligations (line 13): $257 for John Smith and minus $257 for "
            "Jane Smith. Jane Smith's is below zero because the credits are more than the share: Jane "
            "Smith owes nothing on this line.")
            .toStdString());
}

TEST(Explanation2023STest, AboveTheScheduleUsesTheCourtsAmountOrStopsAtLineFour)
{
    const Computation with = aboveWithAmount();
    EXPECT_EQ(with.paragraph(3).toStdString(),
              (RuleSentence +
               QStringLiteral(" The combined adjusted gross income of $31,000 is above the schedule's last "
                              "row, $30,000, so the schedule gives no amount, and Rule 32 leaves the basic "
                              "obligation to the court. For this case, an amount of $3,000 was entered for "
                              "line 4 as the basic child-support obligation."))
                  .toStdString());
    EXPECT_TRUE(with.paragraph(4).startsWith(QStringLiteral(
        "As the parents share physical custody equally, the basic obligation is increased by half: 150% of "
        "$3,000 is the shared-custody child-support obligation of $4,500 (line 5).")))
        << with.paragraph(4).toStdString();

    // Without the court's amount the lines 10 to 13 paragraph is left out, not written empty.
    const QStringList without = aboveWithoutAmount().explain().split(QStringLiteral("\r\n\r\n"));
    ASSERT_EQ(without.size(), 6);
    EXPECT_TRUE(without[3].endsWith(QStringLiteral(
        "No amount has been entered for line 4, so the worksheet cannot be completed from there on.")));
    EXPECT_EQ(without[4].toStdString(),
              QStringLiteral("Without an amount on line 4 there is neither a shared-custody obligation (line "
                             "5) nor a total child-support obligation (line 9) to divide between the "
                             "parents.")
                  .toStdString());
    EXPECT_EQ(without[5].toStdString(),
              QStringLiteral("No child-support order can be computed: the combined adjusted gross income is "
                             "above the schedule, and the court's amount has not been entered for line 4.")
                  .toStdString());
}

TEST(Explanation2023STest, UndefinedSharesStopTheDivision)
{
    const Computation sheet = sharesUndefined();
    EXPECT_TRUE(sheet.paragraph(2).endsWith(QStringLiteral(
        "Together, their combined adjusted gross income is $0 (line 2). As that is $0, the parents' shares "
        "of it (line 3) cannot be computed: line 3 stays empty, and so do each parent's share of the total "
        "obligation (line 10), the adjusted obligations (line 13) and line 14.")))
        << sheet.paragraph(2).toStdString();
    EXPECT_TRUE(
        sheet.paragraph(4).endsWith(QStringLiteral("total child-support obligation of $198 (line 9).")))
        << sheet.paragraph(4).toStdString();
    EXPECT_EQ(sheet.paragraph(5).toStdString(),
              QStringLiteral("As the shares are undefined, the total obligation is not divided between the "
                             "parents (line 10), and lines 13 and 14 stay empty.")
                  .toStdString());
    EXPECT_EQ(sheet.paragraph(6).toStdString(),
              QStringLiteral("No child-support order can be computed: the parents' shares of their combined "
                             "adjusted gross income (line 3) are undefined when that income is $0.")
                  .toStdString());
}

// Every text, whatever it says: paragraphs apart by one empty line, CR LF only, no break at the end,
// nothing claimed that no input says, and the same words whichever parent the record names as
// custodian.
TEST(Explanation2023STest, LineBreaksAreCrLfAndCustodyChangesNothing)
{
    Computation empty;
    empty.result.sharesUndefined = true;

    for (const Computation& sheet : {workbookCase(),
                                     plaintiffPays(),
                                     identicalParents(),
                                     sharesUndefined(),
                                     aboveWithAmount(),
                                     aboveWithoutAmount(),
                                     empty}) {
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
        EXPECT_FALSE(text.contains(QStringLiteral("reserve")));
        EXPECT_FALSE(text.contains(QStringLiteral("has custody")));

        Computation other = sheet;
        other.result.custodyCode = QStringLiteral("D");
        EXPECT_EQ(other.explain().toStdString(), text.toStdString());
    }
}

} // namespace
