#include "core/worksheet/ScheduleCsv.h"

#include <gtest/gtest.h>

namespace cs42 {
namespace {

// A schedule covering the whole range of the 2009 edition, with `value` as the first row's child1
// amount.
QByteArray fullSchedule(const QByteArray& value)
{
    QByteArray csv = "income,child1,child2,child3,child4,child5,child6\n";
    for (int income = 800; income <= 20000; income += 50)
        csv += QByteArray::number(income) + ',' + (income == 800 ? value : QByteArray("1")) + ",2,3,4,5,6\n";
    return csv;
}

TEST(ScheduleCsv, KeepsOnlyValuesThatReadBackAsWritten)
{
    struct Case
    {
        QByteArray value;
        bool accepted;
    };

    const Case cases[] = {
        {"123456789012.345", true},                   // 15 significant digits
        {"000123456789012.3450000000", true},         // leading and trailing zeros do not count
        {"100000000000000000000", true},              // 1e20: one significant digit, exact
        {"123456789012.3456", false},                 // 16
        {"1234567890123456000", false},               // 16 before the zeros
        {"0.0000000000000001234567890123456", false}, // 16 after the leading zeros
        {"1" + QByteArray(309, '0'), false},          // beyond the largest double
    };
    for (const Case& c : cases) {
        QString error;
        const auto rows = ScheduleCsv::parse(fullSchedule(c.value), &error);
        EXPECT_EQ(rows.has_value(), c.accepted) << c.value.constData() << ": " << error.toStdString();
        if (rows) {
            EXPECT_EQ(rows->first().amounts[0], QString::fromLatin1(c.value));
            EXPECT_EQ(rows->size(), 385);
        } else {
            EXPECT_TRUE(error.startsWith(QStringLiteral("line 2: the child1 amount \"")))
                << error.toStdString();
        }
    }
}

} // namespace
} // namespace cs42
