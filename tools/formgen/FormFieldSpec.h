#pragma once

#include <QRectF>
#include <QString>

namespace cs42::formgen {

// A text field of the blank template, as the page drawing places it.
struct FormFieldSpec
{
    QString label;   // the worksheet label that fills it ("lblP1"); fixes its place in the field order
    QString name;    // the field's name in the PDF ("P1")
    QString tooltip; // what the field holds, for viewers and screen readers
    QRectF box;      // in points, origin top-left of the page
    double fontSize = 10;
    bool rightAligned = false;
    bool multiline = false;
};

} // namespace cs42::formgen
