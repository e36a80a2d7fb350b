#pragma once

#include "core/store/DataPaths.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace cs42 {

// The program's installed data: the blank template, the reference documents and the default
// schedule, in <prefix>/share/cs42 beside <prefix>/bin. A build tree has the same layout
// (build/bin, build/share/cs42), so the programs find their data there too.
namespace InstalledData {

// The environment variable that names the installed data folder in place of the one beside the
// program; set to an empty text or an empty folder, the program installs nothing.
inline constexpr char FolderVariable[] = "CS42_DATA_DIR";

// The default schedule's file name in the installed data folder.
QString scheduleFileName();

// The installed data folder: $CS42_DATA_DIR when set, else <program dir>/../share/cs42 when the
// program lives in a folder named "bin" and that folder exists; empty when there is none.
QString folder();

// What install() did.
struct InstallReport
{
    QStringList copiedFiles;  // names of the documents copied into VTRForms
    int schedule2022Rows = 0; // rows put into an empty Schedule2022 table, 0 when none were
    QStringList problems;     // what could not be done, for a developer's log
};

// Copies into VTRForms each of the template and the two reference documents that is missing
// there, and fills the Schedule2022 table from the installed schedule (the official one in force
// since May 1, 2022) when the table has no rows, recording it as installed on `today`. The
// Schedule table of form CS-42 (Rev. 1/09) is left as it is: that form goes with the schedule in
// force before May 1, 2022, which is not shipped and which an office imports.
// An existing document and a schedule with rows are never replaced. Does nothing when
// `dataFolder` is empty.
InstallReport
install(const DataPaths& paths, const QString& dataFolder, const QDate& today = QDate::currentDate());

// The per-user working directory the desktop entry starts the program in: $XDG_DATA_HOME/cs42
// (~/.local/share/cs42), created when missing. Empty, with the reason, when it cannot be created.
QString userWorkingDirectory(QString* error);

} // namespace InstalledData

} // namespace cs42
