#pragma once

#include "FormFieldSpec.h"

#include <QList>

class QPainter;

namespace cs42::formgen {

// The text fields of form CS-42 (Rev. 5/2022) in the form's field order, named as the court's own
// fillable PDF names them, each with the worksheet label that fills it. Their boxes are empty: the
// page drawing places them.
QList<FormFieldSpec> cs42Rev2022Fields();

// Draws form CS-42 (Rev. 5/2022) on one US-Letter page as the court prints it (painter units are
// points, origin top-left) and returns the fields of cs42Rev2022Fields(), each in its printed cell.
QList<FormFieldSpec> drawCs42Rev2022Page(QPainter& painter);

} // namespace cs42::formgen
