#include "core/worksheet/UsDate.h"

#include <QRegularExpression>
#include <QStringList>

namespace cs42 {

namespace {
// A two-digit year is the latest year with those last digits that is not after today's year, so
// that no date typed with two digits lands in a year still to come ("29" in 2024 is 1929).
int fullYear(const QString& digits, const QDate& today)
{
    const int year = digits.toInt();
    if (digits.size() != 2)
        return year;
    const int century = today.year() - today.year() % 100;
    return century + year <= today.year() ? century + year : century - 100 + year;
}

bool yearDigitsAccepted(const QString& digits)
{
    return digits.size() == 2 || (digits.size() == 4 && digits.toInt() >= 100);
}

// 1..12 for an English month name or its abbreviation, else 0.
int monthFromName(const QString& name)
{
    static const QStringList months = {QStringLiteral("january"),
                                       QStringLiteral("february"),
                                       QStringLiteral("march"),
                                       QStringLiteral("april"),
                                       QStringLiteral("may"),
                                       QStringLiteral("june"),
                                       QStringLiteral("july"),
                                       QStringLiteral("august"),
                                       QStringLiteral("september"),
                                       QStringLiteral("october"),
                                       QStringLiteral("november"),
                                       QStringLiteral("december")};
    QString lower = name.toLower();
    if (lower.endsWith(QLatin1Char('.')))
        lower.chop(1);
    if (lower == QLatin1String("sept"))
        return 9;
    for (int i = 0; i < months.size(); ++i) {
        if (lower == months[i] || (lower.size() == 3 && months[i].startsWith(lower)))
            return i + 1;
    }
    return 0;
}

std::optional<QDate> makeDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}
} // namespace

std::optional<QDate> parseUsDate(const QString& text, const QDate& today)
{
    const QString t = text.trimmed();
    // Month, day, year with one kind of separator.
    static const QRegularExpression numeric(
        QStringLiteral(R"(^(\d{1,2})\s*([/.-])\s*(\d{1,2})\s*\2\s*(\d{2}|\d{4})$)"));
    // Year first.
    static const QRegularExpression yearFirst(
        QStringLiteral(R"(^(\d{4})\s*([/.-])\s*(\d{1,2})\s*\2\s*(\d{1,2})$)"));
    // Month name, day, year.
    static const QRegularExpression nameFirst(
        QStringLiteral(R"(^([A-Za-z]+\.?)\s*[\s-]\s*(\d{1,2})\s*(?:,\s*|[\s-]\s*)(\d{2}|\d{4})$)"));
    // Day, month name, year.
    static const QRegularExpression dayFirst(
        QStringLiteral(R"(^(\d{1,2})\s*[\s-]\s*([A-Za-z]+\.?)\s*(?:,\s*|[\s-]\s*)(\d{2}|\d{4})$)"));

    QRegularExpressionMatch m = numeric.match(t);
    if (m.hasMatch()) {
        if (!yearDigitsAccepted(m.captured(4)))
            return std::nullopt;
        return makeDate(fullYear(m.captured(4), today), m.captured(1).toInt(), m.captured(3).toInt());
    }
    m = yearFirst.match(t);
    if (m.hasMatch()) {
        if (!yearDigitsAccepted(m.captured(1)))
            return std::nullopt;
        return makeDate(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    }
    m = nameFirst.match(t);
    if (m.hasMatch()) {
        const int month = monthFromName(m.captured(1));
        if (month == 0 || !yearDigitsAccepted(m.captured(3)))
            return std::nullopt;
        return makeDate(fullYear(m.captured(3), today), month, m.captured(2).toInt());
    }
    m = dayFirst.match(t);
    if (m.hasMatch()) {
        const int month = monthFromName(m.captured(2));
        if (month == 0 || !yearDigitsAccepted(m.captured(3)))
            return std::nullopt;
        return makeDate(fullYear(m.captured(3), today), month, m.captured(1).toInt());
    }
    return std::nullopt;
}

QString formatUsDate(const QDate& date)
{
    return QStringLiteral("%1/%2/%3")
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

} // namespace cs42
