#pragma once

#include <QString>

// Small PDF form templates for the production tests, written with QPDF.
namespace cs42::test {

// One page with `count` single-line text fields named as the CS-42 form names its fields
// (Cs42Form::formFieldNames), "F42".."Fcount" beyond them, listed in /AcroForm /Fields in that order. Their
// objects are created last field first, so object-number order (QPDF's own getFormFields) is the reverse of
// the form's field order.
void writeTextFieldTemplate(const QString& path, int count);

// One page whose fields nest: "Top" with the terminal kids "Top.A" and "Top.B", then "Twin", one
// field shown by two widgets, then "Last" (multi-line, right-aligned). Field order: Top.A, Top.B,
// Twin, Last. `namedAsCs42`: the group has no name of its own and the four fields carry the names
// of the form's first four (CourtFile, CourtType, County, PlaintiffName), so production accepts it.
void writeNestedFieldTemplate(const QString& path, bool namedAsCs42 = false);

} // namespace cs42::test
