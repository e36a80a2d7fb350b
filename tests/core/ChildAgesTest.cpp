#include "core/worksheet/ChildAges.h"

#include "core/worksheet/WorksheetCalculation.h"

#include <gtest/gtest.h>

using namespace cs42;

namespace {

CaseRecord children(const QList<std::pair<const char*, const char*>>& namesAndDates)
{
    CaseRecord record;
    int i = 0;
    for (const auto& [name, date] : namesAndDates) {
        ++i;
        record.setValue(QStringLiteral("child%1name").arg(i), QLatin1String(name));
        record.setValue(QStringLiteral("child%1dob").arg(i), QLatin1String(date));
    }
    return record;
}

TEST(ChildAgesTest, BirthDatesInTheFutureOrOfAgeAreWarnedAbout)
{
    const QDate today(2026, 12, 11);

    const struct
    {
        const char* what;
        CaseRecord record;
        const char* warning;
    } cases[] = {
        {"plausible, blank and unreadable dates",
         children({{"Ann", "03/07/2012"}, {"Ben", ""}, {"Cleo", "soon"}}),
         ""},
        {"18 until the day before the 19th birthday", children({{"Ann", "12/12/2007"}}), ""},
        {"19 on the birthday",
         children({{"Ann", "12/11/2007"}}),
         "CHECK THE BIRTH DATES: ANN IS 19 (THE AGE OF MAJORITY IS 19)!"},
        // Two digits read as the latest such year not after today: 1929.
        {"a two-digit year read as 1929",
         children({{"Ann", "03/07/2012"}, {"Bob", "01/01/29"}}),
         "CHECK THE BIRTH DATES: BOB IS 97 (THE AGE OF MAJORITY IS 19)!"},
        {"a date still to come and a 21-year-old",
         children({{"Ann", "01/02/2027"}, {"Ben", "06/30/2005"}}),
         "CHECK THE BIRTH DATES: ANN'S IS IN THE FUTURE; BEN IS 21 (THE AGE OF MAJORITY IS 19)!"},
        {"a date without a name is no child", children({{"", "01/01/1950"}}), ""},
    };

    for (const auto& c : cases)
        EXPECT_EQ(birthDateWarning(c.record, today), QLatin1String(c.warning)) << c.what;
}

TEST(ChildAgesTest, TheTwoThousandNineFormShowsTheWarningWithItsChildren)
{
    WorksheetResult result;
    result.childCount = 1;
    result.birthDateWarning = QStringLiteral("CHECK THE BIRTH DATES: BOB IS 97 (THE AGE OF MAJORITY IS 19)!");
    EXPECT_EQ(worksheetWarnings(result).value(QStringLiteral("lblChildrenWarning")), result.birthDateWarning);
    result.childCount = 0;
    EXPECT_EQ(worksheetWarnings(result).value(QStringLiteral("lblChildrenWarning")),
              QStringLiteral("NO CHILD IS NAMED: ENTER THE CHILDREN OF THIS CASE!"));
}

TEST(ChildAgesTest, OnlyAChildOfAgeIsAskedAboutOnEntry)
{
    const QDate today(2024, 3, 15);
    EXPECT_EQ(ageOfMajorityQuestion(QStringLiteral("Ann"), QDate(2005, 3, 16), today), QString());
    EXPECT_TRUE(ageOfMajorityQuestion(QStringLiteral("Ann"), QDate(2005, 3, 15), today)
                    .startsWith(QStringLiteral("Ann, born 03/15/2005, is 19 years old.")));
    EXPECT_TRUE(ageOfMajorityQuestion(QString(), QDate(1990, 1, 1), today)
                    .startsWith(QStringLiteral("This child, born 01/01/1990, is 34 years old.")));
}

} // namespace
