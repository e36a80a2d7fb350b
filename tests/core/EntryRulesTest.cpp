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
    SCOPED_TRACE("income: whole dollars, possibly negative, 0 is nothing");
    expectRule(&EntryRules::income,
               {{"2500.50", "2501"},
                {"0", ""},
                {"-300", "-300"},
                {"abc", ""},
                {"1,234.56", "1235"},
                {"12abc", "12"},
                {"$612", ""},
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
    const EntryRules::BirthDate invalid = EntryRules::birthDate(QStringLiteral("13/45/2012"), today);
    EXPECT_FALSE(invalid.stored);
    EXPECT_FALSE(invalid.future);
    const EntryRules::BirthDate future = EntryRules::birthDate(QStringLiteral("3/16/2024"), today);
    EXPECT_FALSE(future.stored);
    EXPECT_TRUE(future.future);
    EXPECT_EQ(EntryRules::birthDate(QStringLiteral("01/01/29"), today).stored, QStringLiteral("01/01/1929"));
}
