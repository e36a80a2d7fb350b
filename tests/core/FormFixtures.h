#pragma once

#include <QString>

// Small PDF form templates for the production tests, written with QPDF.
namespace cs42::test {

// One page with `count` single-line text fields named "F1".."Fcount", listed in /AcroForm /Fields
// in that order. Their objects are created last field first, so object-number order (QPDF's own
// getFormFields) is the reverse of the form's field order.
void writeTextFieldTemplate(const QString& path, int count);

// One page whose fields nest: "Top" with the terminal kids "Top.A" and "Top.B", then "Twin", one
// field shown by two widgets, then "Last" (multi-line, right-aligned). Field order: Top.A, Top.B,
// Twin, Last.
void writeNestedFieldTemplate(const QString& path);

} // namespace cs42::test
