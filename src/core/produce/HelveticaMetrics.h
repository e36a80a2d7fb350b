#pragma once

#include <cstdint>
#include <string_view>

namespace cs42 {

// Advance widths of the standard Helvetica font (Adobe's core-14 metrics), for text in
// WinAnsiEncoding, in points at the given size. Used to right-align and to wrap field values
// exactly as a viewer will draw them with /Helvetica.
double helveticaTextWidth(std::string_view winAnsiText, double fontSize);

// The same widths in font units (1/1000 of the size), exact integers: widths of pieces add up to the
// width of the whole, so text can be measured a piece at a time. A control character has none.
int helveticaCharUnits(char winAnsiChar);
std::int64_t helveticaTextUnits(std::string_view winAnsiText);

// Points at `fontSize` of a width in font units.
inline double helveticaUnitsToPoints(std::int64_t units, double fontSize)
{
    return static_cast<double>(units) * fontSize / 1000.0;
}

// Ascent and descent of Helvetica in units of the font size (descent is negative).
constexpr double HelveticaAscent = 0.718;
constexpr double HelveticaDescent = -0.207;

} // namespace cs42
