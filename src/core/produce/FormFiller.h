#pragma once

#include "core/worksheet/Cs42Form.h"

#include <QString>

namespace cs42 {

enum class ProduceStatus
{
    Produced,
    MissingTemplate,
    // The template exists but is no readable PDF form; nothing was written.
    TemplateUnreadable,
    SaveFailed,
};

// Outcome of one production. Unless Produced, `title` and `text` are the message to show the user
// (an empty title means the program's default message-box title).
struct ProduceResult
{
    ProduceStatus status = ProduceStatus::SaveFailed;
    QString title;
    QString text;
    int fieldCount = 0; // text fields of the template (0 when it could not be read)
};

// Produces the filled court form: loads the blank template, numbers every field (" 1", " 2", ...),
// then gives the fields of the CS-42 field map the captions exactly as the worksheet displays them
// (a label missing from `captions` leaves its field empty), writes an appearance for every filled
// widget so any viewer shows the values, and saves to `outputPath`. The fields stay fillable.
// The output is written to a temporary file beside it and renamed over it, so a failed production
// leaves any earlier output as it was. The template is only read. Shows nothing, opens nothing.
ProduceResult fillForm(const QString& templatePath, const QString& outputPath, const Captions& captions);

// The messages of a failed production.
QString missingTemplateMessage(const QString& templatePath);
QString saveFailedTitle();
QString saveFailedMessage();

} // namespace cs42
