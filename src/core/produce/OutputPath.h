#pragma once

#include "core/store/DataPaths.h"

#include <QString>
#include <QStringList>

namespace cs42 {

// The files a produced form must never be written over: every database of the program and its
// backups, the blank template and the two reference documents.
QStringList producedFormProtectedFiles(const DataPaths& paths);

// Why `outputPath` may not receive a produced form, as a message naming the path; empty when it
// may. Refused: one of `protectedFiles` (compared by canonical folder and by file name without
// regard to case, so that a symbolic link or another spelling is caught too), anything that exists
// and is not a regular file (a folder, a device, a pipe), and an existing file that is not a PDF
// (does not start with "%PDF-"): a form written there would destroy something that is not a form.
QString outputPathProblem(const QString& outputPath, const QStringList& protectedFiles);

} // namespace cs42
