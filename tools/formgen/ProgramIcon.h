#pragma once

#include <QString>

namespace cs42::formgen {

// The program's icon as a square PNG of `size` pixels: a worksheet page and a coin, the same
// shapes as packaging/icons/org.cs42.Worksheet.svg (drawn on a 64-unit grid).
bool writeProgramIcon(int size, const QString& outputPath, QString* error);

} // namespace cs42::formgen
