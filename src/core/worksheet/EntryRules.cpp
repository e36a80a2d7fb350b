#include "core/worksheet/EntryRules.h"

#include "core/worksheet/AmountCheck.h"
#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/LeadingNumber.h"
#include "core/worksheet/UsDate.h"

#include <QLocale>

namespace cs42::EntryRules {

double amountOf(const QString& text)
{
    if (const auto number = Format::parseNumber(text))
        return *number;
    return LeadingNumber(text);
}

QString income(const QString& text)
{
    const double amount = amountOf(text);
    if (amount == 0.0)
        return {};
    return Format::whole(amount);
}

QString twoDecimalBox(const QString& text)
{
    if (text.trimmed().isEmpty())
        return {};
    if (const auto number = Format::parseNumber(text))
        return Format::twoDecimals(*number);
    const double leading = LeadingNumber(text);
    return leading == 0.0 ? QString() : Format::twoDecimals(leading);
}

QString positiveAmount(const QString& text)
{
    return LeadingNumber(text) > 0.0 ? text : QString();
}

QString childCare(const QString& text)
{
    const QString amount = Format::wholeWide(amountOf(text));
    return amount == QLatin1String("0") ? QString() : amount;
}

QString otherChildren(const QString& text)
{
    const auto number = Format::parseNumber(text);
    return number ? Format::wholeOrBlank(*number) : QStringLiteral("0");
}

QString preexistingAmount(const QString& text)
{
    const auto number = Format::parseNumber(text);
    return number ? Format::whole(*number) : QStringLiteral("0.00");
}

OverrideChoice overrideChoice(bool checked, const QString& text)
{
    // The whole text read as a number, as the other amount boxes read it: "1,200" is 1200, not the
    // 1 before its comma, and "$612" is 612.
    const double amount = amountOf(text);
    if (amount != 0.0 && checked)
        return {QStringLiteral("Y"), amount};
    return {QStringLiteral("N"), 0.0};
}

bool overrideInForce(const QString& flag, double amount)
{
    return flag == QLatin1String("Y") && amount > 0;
}

QString overrideAmountText(double amount)
{
    return QLocale::c().toString(amount, 'f', QLocale::FloatingPointShortest);
}

QString centsAmount(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QString(QLatin1String(""));
    const std::optional<double> number = Format::parseNumber(trimmed);
    return number ? overrideAmountText(*number) : trimmed;
}

QString amountTextRefusal(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    const std::optional<double> number = Format::parseNumber(trimmed);
    if (number && *number < 0)
        return QStringLiteral("This amount cannot be negative. Enter the amount in dollars and cents, "
                              "or leave the box empty for none.");
    // An amount is measured as the number it is ("12,000,000" is not the 12 before its comma);
    // digits beyond reading are no number as a whole either, and are said as what they are.
    if (number)
        return amountRefusal(overrideAmountText(*number));
    bool readable = true;
    LeadingNumber(trimmed, &readable);
    if (!readable)
        return amountRefusal(trimmed);
    return QStringLiteral("'%1' is not an amount. Enter the amount in dollars and cents, such as "
                          "1,234.56, or leave the box empty for none.")
        .arg(trimmed);
}

std::optional<QString> numberOfChildren(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QString(QLatin1String(""));
    bool ok = false;
    const int number = trimmed.toInt(&ok);
    if (!ok || number < 1 || number > 6)
        return std::nullopt;
    return QString::number(number);
}

QString toggled(const QString& stored)
{
    return stored == QLatin1String("P") ? QStringLiteral("D") : QStringLiteral("P");
}

BirthDate birthDate(const QString& text, const QDate& today)
{
    if (text.trimmed().isEmpty())
        return {text, {}};
    const auto date = parseUsDate(text, today);
    if (!date)
        return {std::nullopt,
                QStringLiteral("'%1' is not a date. Enter the date of birth as month/day/year, such as "
                               "03/07/2012, or leave the box empty.")
                    .arg(text.trimmed())};
    if (*date > today)
        return {std::nullopt,
                QStringLiteral("This date of birth, %1, is later than today (%2). Enter a date of birth "
                               "no later than today, or leave the box empty.")
                    .arg(formatUsDate(*date), formatUsDate(today))};
    return {formatUsDate(*date), {}};
}

} // namespace cs42::EntryRules
