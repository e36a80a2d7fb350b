#pragma once

#include "core/store/DataPaths.h"

#include <QStringList>

namespace cs42::admin {

// Each command gets its arguments after the command word and the paths of the working
// directory, whose databases start-up has already ensured. Returns the process exit code.
int runWorksheetCommand(const QStringList& args, const DataPaths& paths);
int runScheduleCommand(const QStringList& args, const DataPaths& paths);
int runProduceCommand(const QStringList& args, const DataPaths& paths);

// Writes to standard output / standard error as UTF-8.
void printOut(const QString& text);
void printError(const QString& text);

} // namespace cs42::admin
