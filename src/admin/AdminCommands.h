#pragma once

#include "core/store/CaseStore.h"
#include "core/store/DataPaths.h"
#include "core/worksheet/FormEdition.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QStringList>

#include <optional>

namespace cs42::admin {

// Each command gets its arguments after the command word and the paths of the working
// directory, whose databases start-up has already ensured. Returns the process exit code.
int runWorksheetCommand(const QStringList& args, const DataPaths& paths);
int runScheduleCommand(const QStringList& args, const DataPaths& paths);
int runProduceCommand(const QStringList& args, const DataPaths& paths);
// history [--case CASEID | --name KEY | --names] [--json]: the changes saved to the cases (or
// to the names directory), newest first.
int runHistoryCommand(const QStringList& args, const DataPaths& paths);
// Prints the files location, or stores a new one (a folder or a server URI) once its databases
// are there.
int runLocationCommand(const QStringList& args, DataPaths paths);
// Works on the places it is given, not on the working directory.
int runMigrateCommand(const QStringList& args);

// The worksheet of case `caseId` computed as the worksheet window computes it; with an empty id
// the first case, whose id is then stored in caseId. When there is none it says why on standard
// error (`caseGiven`: the id came from --case).
// `edition` computes the case under that edition in place of its own.
std::optional<Worksheet> loadWorksheet(const DataPaths& paths,
                                       QString& caseId,
                                       bool caseGiven,
                                       const FormEdition* edition = nullptr,
                                       const QDate& today = QDate::currentDate());

// Reads "--edition ID" at args[*i] (advancing *i); false, having said why, for an unknown id.
bool readEditionOption(const QStringList& args, qsizetype* i, const FormEdition** edition);

// Says on standard error why the cases database could not be used.
void printStoreFailure(const CaseStore& store, CaseStoreStatus status);

// Writes to standard output / standard error as UTF-8.
void printOut(const QString& text);
void printError(const QString& text);

} // namespace cs42::admin
