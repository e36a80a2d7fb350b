#pragma once

#include <string_view>

namespace cs42 {

// Advance widths of the standard Helvetica font (Adobe's core-14 metrics), for text in
// WinAnsiEncoding, in points at the given size. Used to right-align and to wrap field values
// exactly as a viewer will draw them with /Helvetica.
double helveticaTextWidth(std::string_view winAnsiText, double fontSize);

// Ascent and descent of Helvetica in units of the font size (descent is negative).
constexpr double HelveticaAscent = 0.718;
constexpr double HelveticaDescent = -0.207;

} // namespace cs42
