#pragma once

#include "FormFieldSpec.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace cs42::formgen {

// Adds the interactive form to a one-page PDF drawn by QPdfWriter and writes the result.
// `fields` must already be in the form's field order: field i of /AcroForm /Fields is fields[i-1].
// The page's annotations follow the page (top to bottom, left to right), and so does the tab order.
// Returns false with a reason in *error when the PDF cannot be read or the output not written.
bool writeFormTemplate(const QByteArray& pagePdf,
                       const QList<FormFieldSpec>& fields,
                       const QString& outputPath,
                       QString* error);

} // namespace cs42::formgen
