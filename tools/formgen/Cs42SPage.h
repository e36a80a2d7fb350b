#pragma once

#include "FormFieldSpec.h"

#include <QList>

class QPainter;

namespace cs42::formgen {

// The text fields of form CS-42-S (shared 50 % physical custody, effective 6/2023) in the form's
// field order, each with its name and the worksheet label that fills it. Their boxes are empty:
// the page drawing places them.
QList<FormFieldSpec> cs42SFields();

// Draws form CS-42-S on one US-Letter page as the court prints it (painter units are points,
// origin top-left) and returns the fields of cs42SFields(), each in its printed cell.
QList<FormFieldSpec> drawCs42SPage(QPainter& painter);

} // namespace cs42::formgen
