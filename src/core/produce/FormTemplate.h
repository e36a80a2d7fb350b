#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

namespace cs42 {

// One text field of a form template, as the court's form places it.
struct FormFieldInfo
{
    int index = 0;             // 1-based, in the template's own field order
    QString name;              // fully qualified field name ("P1", "CourtFile", ...)
    QRectF rect;               // of its (first) widget, in PDF points, origin bottom-left of the page
    bool multiline = false;    // field flag 13 (the comments box)
    bool rightAligned = false; // quadding 2 (the money cells)
};

// What a window needs to lay its labels over a picture of the template's first page.
struct FormTemplateInfo
{
    QSizeF pageSize; // of the first page's MediaBox, in points
    QList<FormFieldInfo> fields;
};

// Reads the fields of a PDF form template in field order: field i is the i-th terminal field met
// walking /AcroForm /Fields and their /Kids depth first, the order in which production fills them.
// Returns nullopt, with a reason in *error, when the file is missing or is not a readable PDF.
std::optional<FormTemplateInfo> readFormTemplate(const QString& path, QString* error = nullptr);

} // namespace cs42
