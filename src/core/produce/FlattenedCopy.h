#pragma once

#include <QString>

namespace cs42 {

// Writes to `copyPath` a copy of the PDF document at `sourcePath` in which the appearance of every
// visible annotation, the values of a filled form's fields among them, is drawn into the content of
// its page, and the annotations and the interactive form are removed: a viewer that draws no form
// fields (Qt's own) shows the values all the same. Appearances the document leaves for a viewer to
// make (/NeedAppearances) are made first. The source is only read. False, with the reason in
// `error`, when the source is no readable PDF document or the copy cannot be written.
bool writeFlattenedCopy(const QString& sourcePath, const QString& copyPath, QString* error = nullptr);

} // namespace cs42
