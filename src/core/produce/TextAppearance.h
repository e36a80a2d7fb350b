#pragma once

#include <QByteArray>
#include <QString>

namespace cs42 {

// How a text field's value is drawn into its widget box.
struct TextFieldStyle
{
    double width = 0;    // of the widget's rectangle, in points
    double height = 0;   // of the widget's rectangle, in points
    double fontSize = 0; // from the default appearance; 0 means "fit the box"
    QByteArray colorOperator = QByteArrayLiteral("0 g");
    int quadding = 0; // 0 left, 1 centred, 2 right
    bool multiline = false;
};

// Takes the font size and the colour of a default appearance string such as "/Helv 9 Tf 0 g".
// Anything it cannot read keeps the style's value.
void applyDefaultAppearance(const QByteArray& defaultAppearance, TextFieldStyle* style);

// The content stream of a text field's normal appearance: `value` drawn with the font resource
// /Helv (Helvetica, WinAnsiEncoding), aligned as the field says, on one line or word-wrapped over
// several for a multi-line field. A value too wide or too tall for the box is drawn smaller (down to
// a legible minimum) rather than cut off. Characters outside WinAnsi are drawn as "?"; the field's
// value itself keeps them.
QByteArray textAppearanceContent(const QString& value, const TextFieldStyle& style);

} // namespace cs42
