#include "core/worksheet/EntryRules.h"

#include <gtest/gtest.h>

using namespace cs42;

namespace {
struct TextCase
{
    const char* typed;
    const char* stored;
};

void expectRule(QString (*rule)(const QString&), std::initializer_list<TextCase> cases)
{
    for (const TextCase& c : cases)
        EXPECT_EQ(rule(QString::fromUtf8(c.typed)), QString::fromUtf8(c.stored)) << "typed: " << c.typed;
}
} // namespace

TEST(EntryRules, EachBoxKeepsItsOwnRule)
{
    SCOPED_TRACE("income: whole dollars, 0 is nothing");
    expectRule(&EntryRules::income,
               {{"2500.50", "2501"},
                {"0", ""},
                {"-300", "-300"},
                {"abc", ""},
                {"1,234.56", "1235"},
                {"12abc", "12"},
                {"$612", "612"},
                {"", ""}});
    SCOPED_TRACE("two-decimal boxes");
    expectRule(
        &EntryRules::twoDecimalBox,
        {{"150", "150.00"}, {"45.5", "45.50"}, {"251", "251.00"}, {"", ""}, {"abc", ""}, {"12abc", "12.00"}});
    SCOPED_TRACE("positive amounts");
    expectRule(&EntryRules::positiveAmount, {{"150.00", "150.00"}, {"-150.00", ""}, {"0.00", ""}, {"", ""}});
    SCOPED_TRACE("child care");
    expectRule(&EntryRules::childCare, {{"199.6", "200"}, {"0", ""}, {"", ""}, {"1,200", "1200"}});
    SCOPED_TRACE("line 1a");
    expectRule(&EntryRules::otherChildren, {{"2.4", "2"}, {"0", ""}, {"abc", "0"}, {"3", "3"}});
    expectRule(&EntryRules::preexistingAmount, {{"abc", "0.00"}, {"310.5", "311"}, {"0", "0"}});
}

TEST(EntryRules, AmountTextIsRefusedWhenNoAmountNegativeOrUnusable)
{
    const QString noAmount = QStringLiteral("' is not an amount. Enter the amount in dollars and cents, such "
                                            "as 1,234.56, or leave the box empty for none.");
    const QString negative = QStringLiteral("This amount cannot be negative. Enter the amount in dollars and "
                                            "cents, or leave the box empty for none.");

    const struct
    {
        QString typed;
        QString refusal;
    } cases[] = {
        // Accepted: empty, blank, 0 and amounts as the boxes take them.
        {"", ""},
        {"   ", ""},
        {"0", ""},
        {"2500.50", ""},
        {" 1,234.56 ", ""},
        {"$612", ""},
        {".5", ""},
        {"-0", ""},
        // No amount as a whole: said with the text as typed, trimmed.
        {"abc", "'abc" + noAmount},
        {" 12abc ", "'12abc" + noAmount},
        {"1,23", "'1,23" + noAmount},
        {"$", "'$" + noAmount},
        {"1 000", "'1 000" + noAmount},
        {"-5", negative},
        {"-$1,200.50", negative},
        {"-20000000", negative},
        {"12,000,000",
         "You have entered an amount that cannot be used: it is more than $10,000,000 a month... Please try "
         "again"},
        {QString(400, u'9'),
         "You have entered an amount that cannot be used: it has more digits than can be read... Please try "
         "again"},
    };

    for (const auto& c : cases)
        EXPECT_EQ(EntryRules::amountTextRefusal(c.typed), c.refusal) << c.typed.left(20).toStdString();
}

TEST(EntryRules, OverrideIsTakenWhenCheckedAndNotZeroAndCountsWhenPositive)
{
    const struct
    {
        bool checked;
        const char* typed;
        const char* flag;
        double amount;
        bool inForce;
    } cases[] = {
        {true, "612", "Y", 612, true},
        {false, "612", "N", 0, false},
        {true, "", "N", 0, false},
        {true, "0", "N", 0, false},
        {true, "1,200", "Y", 1200, true},
        // Stored with "Y", as typed, but a negative amount replaces nothing.
        {true, "-50", "Y", -50, false},
    };

    for (const auto& c : cases) {
        const OverrideChoice choice = EntryRules::overrideChoice(c.checked, QString::fromLatin1(c.typed));
        EXPECT_EQ(choice.flag, QLatin1String(c.flag)) << c.typed;
        EXPECT_EQ(choice.amount, c.amount) << c.typed;
        EXPECT_EQ(EntryRules::overrideInForce(choice.flag, choice.amount), c.inForce) << c.typed;
    }
    EXPECT_EQ(EntryRules::overrideAmountText(612), QStringLiteral("612"));
    EXPECT_EQ(EntryRules::overrideAmountText(612.5), QStringLiteral("612.5"));
    EXPECT_EQ(EntryRules::overrideAmountText(0), QStringLiteral("0"));
}

TEST(EntryRules, TogglesAndBirthDates)
{
    EXPECT_EQ(EntryRules::toggled(QStringLiteral("P")), QStringLiteral("D"));
    EXPECT_EQ(EntryRules::toggled(QStringLiteral("D")), QStringLiteral("P"));
    EXPECT_EQ(EntryRules::toggled(QString()), QStringLiteral("P"));
    EXPECT_EQ(EntryRules::toggled(QStringLiteral("p")), QStringLiteral("P"));

    const QDate today(2024, 3, 15);
    EXPECT_EQ(EntryRules::birthDate(QStringLiteral("3/7/2012"), today).stored, QStringLiteral("03/07/2012"));
    EXPECT_EQ(EntryRules::birthDate(QStringLiteral("2012-03-07"), today).stored,
              QStringLiteral("03/07/2012"));
    EXPECT_EQ(EntryRules::birthDate(QStringLiteral("  "), today).stored, QStringLiteral("  "));
    EXPECT_EQ(EntryRules::birthDate(QStringLiteral("03/15/2024"), today).stored,
              QStringLiteral("03/15/2024"));
    EXPECT_EQ(EntryRules::birthDate(QStringLiteral("01/01/29"), today).stored, QStringLiteral("01/01/1929"));
    EXPECT_TRUE(EntryRules::birthDate(QStringLiteral("3/7/2012"), today).refusal.isEmpty());

    const struct
    {
        const char* typed;
        const char* refusal;
    } refused[] = {
        {" 13/45/2012 ",
         "'13/45/2012' is not a date. Enter the date of birth as month/day/year, such as 03/07/2012, or "
         "leave the box empty."},
        {"2/30/2012",
         "'2/30/2012' is not a date. Enter the date of birth as month/day/year, such as 03/07/2012, or "
         "leave the box empty."},
        {"Ann",
         "'Ann' is not a date. Enter the date of birth as month/day/year, such as 03/07/2012, or leave "
         "the box empty."},
        {"3/16/2024",
         "This date of birth, 03/16/2024, is later than today (03/15/2024). Enter a date of birth no later "
         "than today, or leave the box empty."},
        {"2030-01-01",
         "This date of birth, 01/01/2030, is later than today (03/15/2024). Enter a date of birth no later "
         "than today, or leave the box empty."},
    };

    for (const auto& c : refused) {
        const EntryRules::BirthDate date = EntryRules::birthDate(QString::fromLatin1(c.typed), today);
        EXPECT_FALSE(date.stored) << c.typed;
        EXPECT_EQ(date.refusal, QString::fromLatin1(c.refusal)) << c.typed;
    }
}
