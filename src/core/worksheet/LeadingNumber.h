#pragma once

#include <QString>

namespace cs42 {

// Reads the decimal number at the start of a stored text, the way every stored amount is read.
// Blanks, tabs and line feeds are skipped wherever they occur (so "1 000" reads 1000); an
// optional sign may open the number and one decimal point may follow its digits; reading stops
// at the first other character, so "$", "," or a second point ends it ("1,234" reads 1).
// Blank or non-numeric text reads as 0. Carriage returns are not skipped: they end the number.
// Digits too many for a double (beyond about 1e308, or a fraction below about 1e-308) also read
// as 0; *readable is then false, so that a caller can tell them from a written 0.
// *whole (when given) says whether the number is the whole text: blank text, or text with anything
// after the number ("$3,000", "1,000", "(1000)", "1e3", "abc"), is not read whole.
double LeadingNumber(const QString& text, bool* readable = nullptr, bool* whole = nullptr);

} // namespace cs42
