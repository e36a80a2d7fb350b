#pragma once

#include "core/worksheet/Schedule.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace cs42 {

// One row of the Schedule table as text: the income level and the amounts for 1 to 6 children,
// exactly as stored.
struct ScheduleTextRow
{
    QString income;
    std::array<QString, 6> amounts;
};

// The schedule as a CSV file (header income,child1,...,child6): how an office installs another
// edition of the Schedule of Basic Child-Support Obligations, and how the installed one is read
// back.
namespace ScheduleCsv {

// The largest schedule file read: an edition is a few tens of kilobytes.
constexpr qint64 MaxFileSize = 1024 * 1024;

// The content of the schedule file at `path`. Refuses, saying why, anything that is not a regular
// file (a device or a pipe would be read without end) and a file larger than MaxFileSize.
std::optional<QByteArray> readFile(const QString& path, QString* error);

// The most significant digits a value may have: any more and the stored text would not read back
// as the number written.
constexpr int MaxSignificantDigits = 15;

// Reads a CSV file's content. Refuses, with a message naming the line, a file without the header,
// a row without seven values, an income or amount that is not a plain non-negative decimal number
// or that has more than MaxSignificantDigits significant digits or is too large to be a number,
// and incomes that do not ascend in steps of exactly 50 from one row to the next. Blank lines
// are skipped. A file without rows is refused too, and so is one whose incomes do not cover the
// range `rules` search (ScheduleTable::rangeProblem): a table cut short gives line 4 = 0 above it.
std::optional<QList<ScheduleTextRow>>
parse(const QByteArray& content, QString* error, const ScheduleRules& rules = ScheduleRules::cs42Rev0109());

// The rows as CSV text, header first, one row a line ("\n").
QString write(const QList<ScheduleTextRow>& rows);

// The Schedule rows of the database at `scheduleDbPath` in stored order, as stored.
// `table` names the edition's table (FormEdition::scheduleTable).
std::optional<QList<ScheduleTextRow>>
readRows(const QString& scheduleDbPath, QString* error, const QString& table = QStringLiteral("Schedule"));

// Replaces every row of the Schedule table with `rows`, in their order, in one transaction: on
// any failure the table is left as it was. Creates the table when the file has none.
bool replaceRows(const QString& scheduleDbPath,
                 const QList<ScheduleTextRow>& rows,
                 QString* error,
                 const QString& table = QStringLiteral("Schedule"));

} // namespace ScheduleCsv

} // namespace cs42
