#pragma once

#include <QString>

#include <optional>

namespace cs42 {

// The display patterns of the worksheet and its dialogs, always in the United States convention
// (no thousands separators, "." as the decimal point, a leading "-" for negatives) whatever the
// machine's locale.
//
// How halves are detected: a double is first written as a decimal number with 15 significant
// digits (the precision the worksheet's figures are good to), and that decimal is rounded. So a
// computed 16.499999999999996 (binary noise around 16.5) is treated as the half it stands for, and
// a stored 33.335 (held as 33.33499999...) is the exact half it was typed as. A negative value
// that rounds to 0 shows as "0", never "-0".
namespace Format {

// "#####0": whole number, halves away from zero (2.5 -> "3", -2.5 -> "-3"); 0 -> "0".
QString whole(double value);
// "##": as whole(), but a value that rounds to 0 shows as "".
QString wholeOrBlank(double value);
// Blank-when-zero: "" when the value is exactly 0, else whole().
QString blankWhenZero(double value);
// "##0.00": two decimals, halves away from zero (45.5 -> "45.50", 0 -> "0.00").
QString twoDecimals(double value);
// As the court's 2022 workbooks print an amount: whole dollars (halves away from zero), thousands
// separators, negatives in parentheses ("1,293", "(200)", "0").
QString court(double value);
// A share of line 3 as the court's workbook prints it, a whole percent of the fraction without the
// "%" the form prints beside it: no thousands separators, a leading minus (0.55 -> "55",
// -0.13 -> "-13", 360.78 -> "36078").
QString courtPercent(double fraction);

// "##0" and "#######0": the same figures as whole() (the digit placeholders only set the minimum
// of one digit).
QString wholeAtLeastOneDigit(double value);
QString wholeWide(double value);

// Rounds to `decimals` places with exact halves going to the even digit (33.335 -> 33.34,
// 33.345 -> 33.34), halves detected as described above.
double roundHalfEven(double value, int decimals);
// Rounds to `decimals` places with halves away from zero, halves detected as described above.
double roundHalfAway(double value, int decimals);

// A text that is, as a whole, a number in the United States convention: optional blanks around
// it, an optional sign, an optional "$", digits with optional thousands separators in groups of
// three ("1,234,567.5"), an optional decimal part. "1,234.56" -> 1234.56; "12,34", "abc",
// "1.2.3" and "" are not numbers.
std::optional<double> parseNumber(const QString& text);

// A pattern applied to a text, as the dialogs do: the empty text stays empty, a text that is a
// number (parseNumber) is shown in the pattern, and any other text comes back unchanged.
QString wholeText(const QString& text);
QString wholeOrBlankText(const QString& text);
QString twoDecimalsText(const QString& text);

} // namespace Format

} // namespace cs42
