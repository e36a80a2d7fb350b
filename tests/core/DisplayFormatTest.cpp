#include "core/worksheet/DisplayFormat.h"

#include "ScheduleFixture.h"
#include "core/explain/Explanation.h"
#include "core/store/CaseStore.h"
#include "core/worksheet/LeadingNumber.h"
#include "core/worksheet/UsDate.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <optional>

using namespace cs42;

namespace {

struct TextToNumber
{
    const char* text;
    double expected;
};

TEST(LeadingNumberTest, ReadsTheNumberAtTheStartOfATextAsStoredAmountsAre)
{
    const TextToNumber cases[] = {
        {"", 0},       {"   ", 0},   {"abc", 0},     {"250.50", 250.5}, {" 1 000 ", 1000}, {"\t3\n4", 34},
        {"12\r3", 12}, {"1,234", 1}, {"$5", 0},      {"-12.5x", -12.5}, {"+7", 7},         {"- 5", -5},
        {"--5", 0},    {"5-3", 5},   {"1.2.3", 1.2}, {".5", 0.5},       {"-.5", -0.5},     {"7.", 7},
        {"1e3", 1},    {"0.1", 0.1}, {"3000", 3000}, {"-", 0},          {".", 0},          {"00042", 42},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LeadingNumber(QString::fromUtf8(c.text)), c.expected) << '"' << c.text << '"';
}

struct NumberToText
{
    double value;
    const char* expected;
};

void expectFormats(QString (*format)(double), std::initializer_list<NumberToText> cases, const char* name)
{
    for (const auto& c : cases)
        EXPECT_EQ(format(c.value), QString::fromLatin1(c.expected)) << name << '(' << c.value << ')';
}

TEST(DisplayFormatTest, WholeNumbersRoundHalvesAwayFromZeroWithoutSeparators)
{
    expectFormats(Format::whole,
                  {{0, "0"},
                   {2.5, "3"},
                   {-2.5, "-3"},
                   {2.4999, "2"},
                   {250.5, "251"},
                   {333.3, "333"},
                   {666.7, "667"},
                   {1234567.49, "1234567"},
                   {-0.4, "0"}, // never "-0"
                   {0.5, "1"},
                   {16.499999999999996, "17"}, // binary noise around a half is that half
                   {1e15, "1000000000000000"}},
                  "whole");
    expectFormats(Format::wholeAtLeastOneDigit, {{0, "0"}, {199.6, "200"}}, "wholeAtLeastOneDigit");
    expectFormats(Format::wholeWide, {{0, "0"}, {12345678.5, "12345679"}}, "wholeWide");
}

// The 2022 form's captions: whole dollars with separators, negatives in parentheses.
TEST(DisplayFormatTest, CourtCaptionsAreTheWorkbooksNumberFormat)
{
    expectFormats(Format::court,
                  {{0, "0"},
                   {-0.4, "0"}, // never "(0)"
                   {999.5, "1,000"},
                   {1293, "1,293"},
                   {-200, "(200)"},
                   {-1234.5, "(1,235)"},
                   {1234567.49, "1,234,567"},
                   {217.49999999999997, "218"}, // 0.29 x 750 as binary stores it
                   {100000, "100,000"}},
                  "court");
    expectFormats(Format::courtPercent,
                  {{0.55, "55"},
                   {1, "100"},
                   {0, "0"},
                   {0.58, "58"}, // 0.58 x 100 is 57.99999999999999 in binary
                   {3, "300"},
                   // As the workbook's "0%" prints them, never as amounts.
                   {-0.13, "-13"},
                   {-2, "-200"},
                   {360.78, "36078"}},
                  "courtPercent");
}

TEST(DisplayFormatTest, BlankVariantsDifferInWhatCountsAsZero)
{
    // "##": blank when it rounds to 0.
    expectFormats(Format::wholeOrBlank,
                  {{0, ""}, {0.4, ""}, {-0.4, ""}, {33.33, "33"}, {66.67, "67"}, {-0.5, "-1"}, {110, "110"}},
                  "wholeOrBlank");
    // Blank-when-zero: blank only when exactly 0.
    expectFormats(
        Format::blankWhenZero, {{0, ""}, {0.3, "0"}, {-100, "-100"}, {380, "380"}}, "blankWhenZero");
}

TEST(DisplayFormatTest, TwoDecimals)
{
    expectFormats(Format::twoDecimals,
                  {{0, "0.00"},
                   {45.5, "45.50"},
                   {0.005, "0.01"},
                   {-1.005, "-1.01"}, // typed 1.005 is held as 1.00499999...
                   {1234.567, "1234.57"},
                   {-0.001, "0.00"},
                   {7, "7.00"}},
                  "twoDecimals");
}

TEST(DisplayFormatTest, RoundHalfEvenSendsExactHalvesToTheEvenDigit)
{
    struct Case
    {
        double value;
        int decimals;
        double expected;
    };

    const Case cases[] = {
        {33.335, 2, 33.34},
        {33.345, 2, 33.34},
        {66.665, 2, 66.66},
        {33.3349, 2, 33.33},
        {1000.0 / 3000.0 * 100.0, 2, 33.33},
        {2000.0 / 3000.0 * 100.0, 2, 66.67},
        {6667.0 / 20000.0 * 100.0, 2, 33.34}, // computed, not typed: still the half 33.335
        {13333.0 / 20000.0 * 100.0, 2, 66.66},
        {12.5, 0, 12},
        {13.5, 0, 14},
        {-2.5, 0, -2},
        {-10.0, 2, -10},
        {0, 2, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format::roundHalfEven(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals;
    EXPECT_EQ(Format::roundHalfAway(33.345, 2), 33.35);
}

TEST(DisplayFormatTest, ParsesNumbersInTheUnitedStatesConvention)
{
    struct Case
    {
        const char* text;
        std::optional<double> expected;
    };

    const Case cases[] = {
        {"1,234.56", 1234.56},
        {"1234", 1234},
        {" 45.5 ", 45.5},
        {"-3", -3},
        {"+3", 3},
        {"$1,234", 1234},
        {".5", 0.5},
        {"5.", 5},
        {"1,234,567", 1234567},
        {"12,34", std::nullopt},
        {"1.2.3", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},
        {"12abc", std::nullopt},
        {"1 000", std::nullopt},
        {"1,23", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format::parseNumber(QString::fromUtf8(c.text)), c.expected) << '"' << c.text << '"';
}

TEST(DisplayFormatTest, TextVariantsFormatNumbersAndLeaveOtherTextAlone)
{
    EXPECT_EQ(Format::wholeText(QString()), QString());
    EXPECT_EQ(Format::wholeText(QStringLiteral("199.6")), QStringLiteral("200"));
    EXPECT_EQ(Format::wholeText(QStringLiteral("1,234.5")), QStringLiteral("1235"));
    EXPECT_EQ(Format::wholeText(QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_EQ(Format::wholeOrBlankText(QStringLiteral("0.4")), QString());
    EXPECT_EQ(Format::wholeOrBlankText(QStringLiteral("2.4")), QStringLiteral("2"));
    EXPECT_EQ(Format::twoDecimalsText(QStringLiteral("45.5")), QStringLiteral("45.50"));
    EXPECT_EQ(Format::twoDecimalsText(QString()), QString());
}

TEST(UsDateTest, ReadsTheDateFormsAUnitedStatesUserTypes)
{
    struct Case
    {
        const char* text;
        QDate expected; // invalid: not a date
    };

    const Case cases[] = {
        {"3/7/2012", QDate(2012, 3, 7)},
        {"03/07/2012", QDate(2012, 3, 7)},
        {" 3 / 7 / 2012 ", QDate(2012, 3, 7)},
        {"3-7-2012", QDate(2012, 3, 7)},
        {"3.7.2012", QDate(2012, 3, 7)},
        {"2012-03-07", QDate(2012, 3, 7)},
        {"2012/3/7", QDate(2012, 3, 7)},
        {"March 7, 2012", QDate(2012, 3, 7)},
        {"Mar 7 2012", QDate(2012, 3, 7)},
        {"mar. 7, 2012", QDate(2012, 3, 7)},
        {"Sept 7, 2012", QDate(2012, 9, 7)},
        {"7 March 2012", QDate(2012, 3, 7)},
        {"7-Mar-2012", QDate(2012, 3, 7)},
        {"3/7/12", QDate(2012, 3, 7)},
        {"3/7/24", QDate(2024, 3, 7)},
        {"3/7/29", QDate(1929, 3, 7)}, // not 2029: after today's year
        {"3/7/30", QDate(1930, 3, 7)},
        {"12/31/99", QDate(1999, 12, 31)},
        {"2/29/2012", QDate(2012, 2, 29)},
        {"13/45/2012", QDate()},
        {"2/30/2012", QDate()},
        {"2/29/2013", QDate()},
        {"3/7/2012/1", QDate()},
        {"3-7/2012", QDate()},
        {"3/7/012", QDate()},
        {"3/7", QDate()},
        {"Marc 7 2012", QDate()},
        {"abc", QDate()},
        {"", QDate()},
    };
    for (const auto& c : cases) {
        const auto date = parseUsDate(QString::fromUtf8(c.text), QDate(2024, 3, 15));
        if (c.expected.isValid()) {
            ASSERT_TRUE(date.has_value()) << c.text;
            EXPECT_EQ(*date, c.expected) << c.text;
        } else {
            EXPECT_FALSE(date.has_value()) << c.text;
        }
    }
}

TEST(UsDateTest, TwoDigitYearsAreTheLatestYearNotAfterToday)
{
    struct Case
    {
        const char* text;
        QDate today;
        QDate expected;
    };

    const Case cases[] = {
        {"01/01/29", QDate(2024, 3, 15), QDate(1929, 1, 1)},
        {"12/31/24", QDate(2024, 3, 15), QDate(2024, 12, 31)}, // this year; GetChA refuses it as future
        {"Jan 1, 01", QDate(2001, 1, 1), QDate(2001, 1, 1)},
        {"1 Jan 02", QDate(2001, 1, 1), QDate(1902, 1, 1)},
        {"6/1/99", QDate(2099, 12, 31), QDate(2099, 6, 1)},
        {"6/1/00", QDate(2099, 12, 31), QDate(2000, 6, 1)},
        {"6/1/2029", QDate(2024, 3, 15), QDate(2029, 6, 1)}, // four digits are taken as written
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseUsDate(QString::fromUtf8(c.text), c.today), c.expected) << c.text;
}

TEST(UsDateTest, WritesTwoDigitMonthAndDayAndFourDigitYear)
{
    EXPECT_EQ(formatUsDate(QDate(2012, 3, 7)), QStringLiteral("03/07/2012"));
    EXPECT_EQ(formatUsDate(QDate(1999, 12, 31)), QStringLiteral("12/31/1999"));
}

TEST(UnitedStatesConvention, HoldsWhateverTheMachinesLocale)
{
    // A workstation set up in German: decimal comma, day before month, German month names.
    struct DefaultLocale
    {
        QLocale previous;

        ~DefaultLocale() { QLocale::setDefault(previous); }
    } restore;

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    EXPECT_EQ(Format::twoDecimals(1234.5), QStringLiteral("1234.50"));
    EXPECT_EQ(Format::whole(2500.5), QStringLiteral("2501"));
    EXPECT_EQ(Format::parseNumber(QStringLiteral("1,234.56")), 1234.56);
    EXPECT_EQ(LeadingNumber(QStringLiteral("250.50")), 250.5);
    EXPECT_EQ(formatUsDate(QDate(2012, 3, 7)), QStringLiteral("03/07/2012"));
    EXPECT_EQ(parseUsDate(QStringLiteral("March 7, 2012")), QDate(2012, 3, 7));
    EXPECT_EQ(parseUsDate(QStringLiteral("3/7/2012")), QDate(2012, 3, 7));
    EXPECT_EQ(shortDateText(QDate(2026, 12, 9)), QStringLiteral("12/9/2026"));

    CaseRecord record;
    record.setValue(QStringLiteral("pinc"), QStringLiteral("2500.50"));
    record.setValue(QStringLiteral("presp"), QStringLiteral("150.00"));
    record.setValue(QStringLiteral("dinc"), QStringLiteral("1000"));
    record.setValue(QStringLiteral("child1name"), QStringLiteral("Ann"));
    const Worksheet sheet = computeWorksheet(record, test::standardTable());
    EXPECT_EQ(sheet.captions.value(QStringLiteral("lblP1")), QStringLiteral("2501"));
    EXPECT_EQ(sheet.captions.value(QStringLiteral("lblP2")), QStringLiteral("2351"));
    EXPECT_EQ(sheet.captions.value(QStringLiteral("lblC2")), QStringLiteral("3351"));
    EXPECT_EQ(sheet.result.p3, 70.15); // 2350.50 / 3350.50
    const QString text =
        generateExplanation(sheet.captions, sheet.result.childCount, sheet.result.lookup, QDate(2024, 1, 2));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Child Support Calculation performed on 01/02/2024\r\n")));
    EXPECT_TRUE(
        text.contains(QStringLiteral("a monthly gross income of $2501, and pays a preexisting alimony "
                                     "payment of $150, resulting in an adjusted gross income of $2351")));
}

} // namespace
