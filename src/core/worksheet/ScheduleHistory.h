#pragma once

#include "core/worksheet/ScheduleCsv.h"
#include "core/worksheet/ScheduleSource.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace cs42 {

// What is recorded about the schedule tables of VTRchedule.MDB and the one copy kept of each: an
// import keeps the rows it replaces (table "Schedule_Previous" for "Schedule") with their record,
// so that `cs42-admin schedule import --undo` can put them back. Every change is one transaction:
// on failure the tables and their records are as they were.
namespace ScheduleHistory {

// What was recorded for `table` (a schedule table or its kept copy), or nullopt when nothing was
// (a file made before records were kept, or a table never written by an import or installation).
std::optional<ScheduleSource::Record> record(const QString& scheduleDbPath, const QString& table);

// Replaces the rows of `table` with `rows` imported from `file` on `day`, after keeping the rows
// it held, with their record, as its kept copy (the copy kept before is dropped).
bool importRows(const QString& scheduleDbPath,
                const QString& table,
                const QList<ScheduleTextRow>& rows,
                const QString& file,
                const QDate& day,
                QString* error);

// Fills `table` with the schedule installed with the program, `rows` (the official table), and
// records it as installed on `day`. Used on an empty table only; nothing is kept.
bool installRows(const QString& scheduleDbPath,
                 const QString& table,
                 const QList<ScheduleTextRow>& rows,
                 const QDate& day,
                 QString* error);

// Whether an import kept a copy of `table` (possibly of an empty table).
bool hasKeptCopy(const QString& scheduleDbPath, const QString& table);

// The identity of the copy kept of `table`, as it would be once put back; nullopt when none is
// kept or it cannot be read.
std::optional<ScheduleSource> keptSource(const QString& scheduleDbPath, const QString& table);

// Puts the kept copy of `table` back in its place and keeps the rows it replaces as the copy in
// turn, so that a second undo restores them. False, saying why, when no copy is kept.
bool undoImport(const QString& scheduleDbPath, const QString& table, QString* error);

} // namespace ScheduleHistory

} // namespace cs42
