#pragma once

#include "FormFieldSpec.h"

#include <QList>

class QPainter;

namespace cs42::formgen {

// Draws form CS-42 (Rev. 1/09) on one US-Letter page (painter units are points, origin top-left)
// and returns the text fields it leaves for the form, each in its printed cell.
QList<FormFieldSpec> drawCs42Page(QPainter& painter);

} // namespace cs42::formgen
