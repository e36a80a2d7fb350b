#include "core/worksheet/DisplayFormat.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <string>

namespace cs42::Format {

namespace {
constexpr int SignificantDigits = 15;

enum class Halves
{
    AwayFromZero,
    ToEven
};

// The value rounded to `decimals` places, as the decimal digits of the scaled whole number
// (no leading zeros, "0" for zero) and its sign.
struct Rounded
{
    bool negative = false;
    std::string digits = "0"; // |value| * 10^decimals, rounded

    bool isZero() const { return digits == "0"; }
};

std::string stripLeadingZeros(const std::string& digits)
{
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : digits.substr(first);
}

void incrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

Rounded roundDecimal(double value, int decimals, Halves halves)
{
    Rounded result;
    if (!std::isfinite(value) || value == 0.0)
        return result;
    result.negative = value < 0;
    // d.dddddddddddddde+XX: 15 significant digits.
    char buffer[64];
    const auto written = std::to_chars(buffer,
                                       buffer + sizeof buffer,
                                       std::fabs(value),
                                       std::chars_format::scientific,
                                       SignificantDigits - 1);
    const std::string text(buffer, written.ptr);
    const auto ePos = text.find('e');
    std::string mantissa;
    for (std::size_t i = 0; i < ePos; ++i) {
        if (text[i] != '.')
            mantissa += text[i];
    }
    const int exponent = std::stoi(text.substr(ePos + 1));
    // Digit i of the mantissa weighs 10^(exponent - i); the last kept one weighs 10^-decimals.
    const int kept = exponent + decimals + 1;
    std::string digits;
    bool roundUp = false;
    if (kept >= static_cast<int>(mantissa.size())) {
        digits = mantissa + std::string(static_cast<std::size_t>(kept) - mantissa.size(), '0');
    } else if (kept >= 0) {
        digits = mantissa.substr(0, static_cast<std::size_t>(kept));
        const std::string dropped = mantissa.substr(static_cast<std::size_t>(kept));
        const char first = dropped.front();
        const bool restIsZero = dropped.find_first_not_of('0', 1) == std::string::npos;
        if (first > '5' || (first == '5' && !restIsZero)) {
            roundUp = true;
        } else if (first == '5') {
            const int lastKept = digits.empty() ? 0 : digits.back() - '0';
            roundUp = halves == Halves::AwayFromZero || lastKept % 2 == 1;
        }
    }
    // push_back, not `digits = "0"`: GCC 12 at -O3 reports a false -Wrestrict overlap for the
    // assignment of a literal to this string (GCC bug 105329).
    if (digits.empty())
        digits.push_back('0');
    if (roundUp)
        incrementDigits(digits);
    result.digits = stripLeadingZeros(digits);
    if (result.isZero())
        result.negative = false;
    return result;
}

QString render(const Rounded& rounded, int decimals)
{
    std::string digits = rounded.digits;
    if (decimals > 0) {
        if (digits.size() <= static_cast<std::size_t>(decimals))
            digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    }
    if (rounded.negative)
        digits.insert(0, 1, '-');
    return QString::fromLatin1(digits.data(), static_cast<qsizetype>(digits.size()));
}

double toDouble(const Rounded& rounded, int decimals)
{
    const std::string text = render(rounded, decimals).toStdString();
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}
} // namespace

QString whole(double value)
{
    return render(roundDecimal(value, 0, Halves::AwayFromZero), 0);
}

QString court(double value)
{
    const Rounded rounded = roundDecimal(value, 0, Halves::AwayFromZero);
    std::string digits = rounded.digits;
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    const QString text = QString::fromLatin1(digits.data(), static_cast<qsizetype>(digits.size()));
    return rounded.negative ? QLatin1Char('(') + text + QLatin1Char(')') : text;
}

QString courtPercent(double fraction)
{
    // The workbook's percent format ("0%"): no thousands separators, a leading minus.
    return whole(fraction * 100.0);
}

QString wholeOrBlank(double value)
{
    const Rounded rounded = roundDecimal(value, 0, Halves::AwayFromZero);
    return rounded.isZero() ? QString() : render(rounded, 0);
}

QString blankWhenZero(double value)
{
    return value == 0.0 ? QString() : whole(value);
}

QString twoDecimals(double value)
{
    return render(roundDecimal(value, 2, Halves::AwayFromZero), 2);
}

QString wholeAtLeastOneDigit(double value)
{
    return whole(value);
}

QString wholeWide(double value)
{
    return whole(value);
}

double roundHalfEven(double value, int decimals)
{
    return toDouble(roundDecimal(value, decimals, Halves::ToEven), decimals);
}

double roundHalfAway(double value, int decimals)
{
    return toDouble(roundDecimal(value, decimals, Halves::AwayFromZero), decimals);
}

std::optional<double> parseNumber(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*([+-]?)\s*\$?\s*((?:\d{1,3}(?:,\d{3})+|\d*)(?:\.\d*)?)\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    QString number = match.captured(2);
    if (!number.contains(QRegularExpression(QStringLiteral("\\d"))))
        return std::nullopt;
    number.remove(QLatin1Char(','));
    if (number.endsWith(QLatin1Char('.')))
        number.chop(1);
    const std::string digits = number.toStdString();
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size())
        return std::nullopt;
    return match.captured(1) == QLatin1String("-") ? -value : value;
}

QString wholeText(const QString& text)
{
    if (text.isEmpty())
        return text;
    const auto number = parseNumber(text);
    return number ? whole(*number) : text;
}

QString wholeOrBlankText(const QString& text)
{
    if (text.isEmpty())
        return text;
    const auto number = parseNumber(text);
    return number ? wholeOrBlank(*number) : text;
}

QString twoDecimalsText(const QString& text)
{
    if (text.isEmpty())
        return text;
    const auto number = parseNumber(text);
    return number ? twoDecimals(*number) : text;
}

} // namespace cs42::Format
