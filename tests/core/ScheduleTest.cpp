#include "core/worksheet/Schedule.h"

#include "ScheduleFixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cs42;
using namespace cs42::test;

namespace {

struct ObligationCase
{
    const char* name;
    double income;
    double children;
    double expected;
    ScheduleLookup lookup; // the four search values expected
};

void expectLookup(const ScheduleLookup& actual, const ScheduleLookup& expected, const char* name)
{
    EXPECT_EQ(actual.bracketIncome, expected.bracketIncome) << name;
    EXPECT_EQ(actual.bracketAmount, expected.bracketAmount) << name;
    EXPECT_EQ(actual.nextIncome, expected.nextIncome) << name;
    EXPECT_EQ(actual.nextAmount, expected.nextAmount) << name;
}

TEST(ScheduleTest, WorksheetReadingFollowsEachRuleOfTheSearch)
{
    const ScheduleTable table = standardTable(); // $800 .. $20,000
    const ObligationCase cases[] = {
        {"under $800 is 50", 799.50, 2, 50, {}},
        {"nothing under $800 even without children", 500, 0, 50, {}},
        {"zero income", 0, 2, 50, {}},
        {"negative income", -300, 2, 50, {}},
        {"$800 is its own row", 800, 2, 144, {800, 144, 850, 153}},
        {"below halfway takes the lower row", 824.99, 2, 144, {800, 144, 850, 153}},
        {"exactly halfway takes the higher row", 825, 2, 153, {800, 144, 850, 153}},
        {"above halfway takes the higher row", 840, 1, 76, {800, 72, 850, 76}},
        {"worked example", 5000, 2, 900, {5000, 900, 5050, 909}},
        {"no children above $800 is 0", 800, 0, 0, {800, 0, 850, 0}},
        {"a fraction of a child selects no column", 5000, 2.5, 0, {5000, 0, 5050, 0}},
        {"seven children select no column", 5000, 7, 0, {5000, 0, 5050, 0}},
        {"six children", 5000, 6, 2700, {5000, 2700, 5050, 2727}},
        {"$20,000 is the last row's own amount", 20000, 2, 3600, {20000, 3600, 0, 0}},
        {"just above $20,000 takes the last row, no search", 20000.01, 2, 3600, {}},
        {"four children far above $20,000", 55000, 4, 7200, {}},
    };
    for (const auto& c : cases) {
        ScheduleLookup lookup;
        lookup.bracketIncome = -1; // must be reset by the reading
        EXPECT_EQ(basicObligation(table, c.income, c.children, &lookup), c.expected) << c.name;
        expectLookup(lookup, c.lookup, c.name);
    }
}

TEST(ScheduleTest, AboveTheTableTheLastRowIsUsedAndSaidSo)
{
    ScheduleLookup lookup;
    basicObligation(standardTable(), 20000.01, 2, &lookup);
    EXPECT_TRUE(lookup.aboveTable);
    EXPECT_EQ(lookup.topIncome, 20000);
    basicObligation(standardTable(), 20000, 2, &lookup);
    EXPECT_FALSE(lookup.aboveTable);
}

TEST(ScheduleTest, ATableReachingBeyondTwentyThousandIsSearchedToItsLastRow)
{
    // The 2022 Alabama table runs to $30,000: its rows above $20,000 are the amounts to use.
    const ScheduleTable table = makeTable(250, 30000);
    ScheduleLookup lookup;
    EXPECT_EQ(basicObligation(table, 25000, 2, &lookup), 4500);
    expectLookup(lookup, {25000, 4500, 25050, 4509}, "25000");
    EXPECT_EQ(basicObligation(table, 25030, 2, &lookup), 4509);
    EXPECT_EQ(basicObligation(table, 30000, 3, &lookup), 8100);
    expectLookup(lookup, {30000, 8100, 0, 0}, "30000");
    EXPECT_EQ(basicObligation(table, 30000.01, 3, &lookup), 8100);
    EXPECT_TRUE(lookup.aboveTable);
    // Under $800 the rule amount stands even where the table has rows.
    EXPECT_EQ(basicObligation(table, 500, 2, &lookup), 50);
    // Between $799 and $800 a bracketing row replaces it.
    EXPECT_EQ(basicObligation(table, 799.5, 2, &lookup), formulaAmount(800, 2));
}

TEST(ScheduleTest, IncomesTheTableDoesNotCoverFindNothing)
{
    const ScheduleTable startsHigh = makeTable(1000, 20000);
    ScheduleLookup lookup;
    EXPECT_EQ(basicObligation(startsHigh, 900, 2, &lookup), 0);
    expectLookup(lookup, {}, "below the first row");

    const ScheduleTable empty;
    EXPECT_EQ(basicObligation(empty, 500, 2, &lookup), 50);
    EXPECT_EQ(basicObligation(empty, 5000, 2, &lookup), 0);
    EXPECT_EQ(basicObligation(empty, 25000, 2, &lookup), 0);
    EXPECT_FALSE(lookup.aboveTable);
}

TEST(ScheduleTest, ImputedReadingInterpolatesBetweenTheTwoRows)
{
    const ScheduleTable table = standardTable();

    struct Case
    {
        const char* name;
        double income;
        double k;
        double expected;
    };

    const Case cases[] = {
        {"the worked interpolation", 1210, 2, 302},
        {"on a row", 1200, 2, 300},
        {"just below the next row", 1249.5, 2, 309.9},
        {"below the first row", 700, 2, 0},
        {"no $800 floor", 799, 1, 0},
        {"the last row's bracket keeps its amount", 20020, 2, 3600},
        {"above the last row's bracket", 20050, 2, 0},
        {"a fraction of a child", 1210, 1.5, 0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(imputedAmount(table, c.income, c.k), c.expected, 1e-9) << c.name;

    // A falling schedule (bad data) that interpolates below zero gives 50.
    const ScheduleTable falling = makeTable(800, 850, {{{800, 1}, 10}, {{850, 1}, -1000}});
    EXPECT_EQ(imputedAmount(falling, 840, 1), 50);
}

TEST(ScheduleTest, DatabaseRowsAreReadInStoredOrderWithBadTextAsZero)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("VTRchedule.MDB"));
    writeScheduleDb(path,
                    QList<QStringList>{
                        {"900", "81", "162", "243", "324", "405", "486"},
                        {"800", "72", "144", "216", "288", "360", "432"},
                        {"850", "$76", "153 ", "", "abc", "38.25", "-1"},
                    });
    const auto table = ScheduleTable::load(path);
    ASSERT_TRUE(table.has_value());
    ASSERT_EQ(table->rows().size(), 3);
    EXPECT_EQ(table->rows()[0].income, 900);
    EXPECT_EQ(table->rows()[1].income, 800);
    const std::array<double, 6> third{0, 153, 0, 0, 38.25, -1};
    EXPECT_EQ(table->rows()[2].amounts, third);

    // A reading for two children needs the child2 column only.
    const auto twoChildren = ScheduleTable::loadFor(path, 2);
    ASSERT_TRUE(twoChildren.has_value());
    const std::array<double, 6> onlyChild2{0, 153, 0, 0, 0, 0};
    EXPECT_EQ(twoChildren->rows()[2].amounts, onlyChild2);
    EXPECT_EQ(twoChildren->rows()[2].income, 850);
    EXPECT_EQ(ScheduleTable::loadFor(path, 2.5)->rows()[0].amounts, (std::array<double, 6>{}));

    // The file's order is what the search walks: $800 is followed by $850.
    ScheduleLookup lookup;
    bool available = false;
    EXPECT_EQ(BasicObligation(path, 830, 2, &lookup, &available), 153);
    EXPECT_TRUE(available);
    expectLookup(lookup, {800, 144, 850, 153}, "stored order");
    EXPECT_EQ(ImputedAmount(path, 810, 2, nullptr, &available), 144 + 9 * 10.0 / 50);
}

TEST(ScheduleTest, AMissingScheduleCountsAsAnEmptyOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("VTRchedule.MDB"));
    bool available = true;
    EXPECT_EQ(BasicObligation(missing, 500, 2, nullptr, &available), 50);
    EXPECT_FALSE(available);
    EXPECT_EQ(BasicObligation(missing, 5000, 2, nullptr, &available), 0);
    EXPECT_EQ(ImputedAmount(missing, 5000, 2, nullptr, &available), 0);
    EXPECT_FALSE(ScheduleTable::load(missing).has_value());

    // Nor is a Schedule table without rows (a data folder whose schedule was never installed).
    const QString empty = dir.filePath(QStringLiteral("empty.MDB"));
    writeScheduleDb(empty, QList<QStringList>{});
    available = true;
    EXPECT_EQ(BasicObligation(empty, 5000, 2, nullptr, &available), 0);
    EXPECT_FALSE(available);
    available = true;
    EXPECT_EQ(ImputedAmount(empty, 5000, 2, nullptr, &available), 0);
    EXPECT_FALSE(available);

    // A database without the Schedule table is no schedule either.
    const QString noTable = dir.filePath(QStringLiteral("other.MDB"));
    Schema::ensureDatabase(noTable, Schema::casesTable());
    EXPECT_FALSE(ScheduleTable::load(noTable).has_value());
}

} // namespace
