#include "core/worksheet/AmountCheck.h"

#include <gtest/gtest.h>

using namespace cs42;

namespace {

TEST(AmountCheckTest, AmountsBeyondAnyIncomeOrBeyondReadingCannotBeUsed)
{
    struct Case
    {
        QString text;
        const char* problem;
        double usable;
    };

    const Case cases[] = {
        {QStringLiteral("10000000"), "", 10000000},
        {QStringLiteral("-10000000"), "", -10000000},
        {QStringLiteral("10000000.01"), "is more than $10,000,000 a month", 0},
        {QStringLiteral("-10000001"), "is less than -$10,000,000 a month", 0},
        {QStringLiteral("1") + QString(308, u'0'), "is more than $10,000,000 a month", 0},
        {QString(400, u'9'), "has more digits than can be read", 0},
        {QStringLiteral("0.") + QString(400, u'0') + QStringLiteral("1"),
         "has more digits than can be read",
         0},
        {QStringLiteral(""), "", 0},
        {QStringLiteral("   "), "", 0},
        {QStringLiteral(" 412.50 "), "", 412.5},
        {QStringLiteral("-100"), "", -100},
        // Stored by other tools: read from their first digits they would be other amounts.
        {QStringLiteral("$3,000"), "is not a plain number", 0},
        {QStringLiteral("1,000"), "is not a plain number", 0},
        {QStringLiteral("(1000)"), "is not a plain number", 0},
        {QStringLiteral("1e3"), "is not a plain number", 0},
        {QStringLiteral("abc"), "is not a plain number", 0},
        {QStringLiteral("12.5.1"), "is not a plain number", 0},
        {QStringLiteral("-"), "is not a plain number", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(amountProblem(c.text), QLatin1String(c.problem)) << c.text.left(20).toStdString();
        EXPECT_EQ(usableAmount(c.text), c.usable) << c.text.left(20).toStdString();
        EXPECT_EQ(amountRefusal(c.text).isEmpty(), QLatin1String(c.problem).isEmpty());
    }
    EXPECT_EQ(amountRefusal(QString(400, u'9')),
              QStringLiteral("You have entered an amount that cannot be used: it has more digits than can be "
                             "read... Please try again"));
}

TEST(AmountCheckTest, AParentsLineTwoMayNotFallBelowZero)
{
    CaseRecord record;
    record.setValue(QStringLiteral("pinc"), QStringLiteral("1000"));
    record.setValue(QStringLiteral("ppre"), QStringLiteral("300"));
    record.setValue(QStringLiteral("presp"), QStringLiteral("200.50"));
    record.setValue(QStringLiteral("dinc"), QStringLiteral("100"));
    const QString refusedPlaintiff = QStringLiteral(
        "This amount would make the Plaintiff's adjusted gross income (line 2) less than 0. The "
        "monthly gross income (line 1), less the pre-existing child support (line 1a) and "
        "alimony (line 1b), must be 0 or more... Please try again");

    struct Case
    {
        bool plaintiff;
        ParentLine line;
        const char* text;
        bool refused;
    };

    const Case cases[] = {
        {true, ParentLine::Income, "500.50", false}, // line 2 exactly 0
        {true, ParentLine::Income, "500", true},
        {true, ParentLine::Income, "-300", true},
        {true, ParentLine::PreexistingSupport, "799.50", false},
        {true, ParentLine::PreexistingSupport, "800", true},
        {true, ParentLine::Alimony, "700.01", true},
        {false, ParentLine::Income, "-1", true}, // a negative income with nothing deducted
        {false, ParentLine::PreexistingSupport, "100", false},
        {false, ParentLine::Alimony, "100.01", true},
    };
    for (const Case& c : cases) {
        const QString refusal = parentAmountRefusal(record, c.plaintiff, c.line, QLatin1String(c.text));
        EXPECT_EQ(!refusal.isEmpty(), c.refused) << c.text;
        if (c.refused && c.plaintiff) {
            EXPECT_EQ(refusal, refusedPlaintiff) << c.text;
        }
        if (c.refused && !c.plaintiff) {
            EXPECT_TRUE(refusal.contains(QStringLiteral("the Defendant's adjusted gross income"))) << c.text;
        }
    }
    // An amount that cannot be used is refused for that reason first.
    EXPECT_EQ(parentAmountRefusal(record, true, ParentLine::Income, QString(400, u'9')),
              amountRefusal(QString(400, u'9')));
}

} // namespace
