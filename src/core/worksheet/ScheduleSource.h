#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace cs42 {

struct ScheduleTextRow;

// Where the rows of one schedule table of VTRchedule.MDB come from: the official Schedule of Basic
// Child-Support Obligations of May 1, 2022 (recognised by its content, whoever put it there), a
// table imported with `cs42-admin schedule import` (file and date as recorded at the import), or
// rows of unknown origin. The checksum is the SHA-256 of the rows in their canonical form
// (ScheduleSource::canonicalText), so the same table has the same checksum however its numbers
// were written.
struct ScheduleSource
{
    enum class Kind
    {
        Unknown,      // not identified: a table built in memory, or a database that cannot be read
        NotInstalled, // the form's own schedule is not there (see holdsOfficial2022)
        Official,     // the official table of May 1, 2022
        Imported,     // imported from `fileName` on `importedOn`, as recorded with the same checksum
        Unrecorded,   // rows whose origin was not recorded (put there before imports were recorded)
    };

    // What an import or an installation records for a table (table ScheduleSource of the schedule
    // database): the kind ("official", "imported", "unrecorded" or "empty"), the file and the day.
    struct Record
    {
        QString kind;
        QString file;
        QDate date;
        QString sha256;
    };

    Kind kind = Kind::Unknown;
    QString table;    // the schedule table: "Schedule" or "Schedule2022"
    QString sha256;   // of the canonical rows, lower-case hex; empty for a table without rows
    QString file;     // Imported: the file as given to the import (its absolute path)
    QDate importedOn; // Imported: the day of the import
    // NotInstalled: the table holds the official 2022 rows, which belong to the forms for actions
    // filed on or after May 1, 2022 and not to the table's own form (form CS-42 Rev. 1/09). The rows
    // are kept as they are; they are only not read.
    bool holdsOfficial2022 = false;

    // The rows may be read for line 4 (not NotInstalled).
    bool isUsable() const { return kind != Kind::NotInstalled; }

    // The 2009 form's table does not hold a schedule of its own: the schedule in force before May
    // 1, 2022 is not installed.
    bool missesPre2022Schedule() const;

    // The table is one whose official content this program knows (Schedule2022), and it holds
    // other rows: imported or of unknown origin.
    bool differsFromOfficial() const;

    // The table in a phrase, for a sentence that says what line 4 was read from: "the official
    // Schedule of Basic Child-Support Obligations of May 1, 2022 (SHA-256 …)", "the schedule
    // imported from plus10.csv on 03/05/2025 (SHA-256 …), which differs from the official one of
    // May 1, 2022". Empty for Unknown and NotInstalled.
    QString phrase() const;

    // Why a table that is not installed cannot be read, as a phrase that follows the schedule
    // database's name: "does not hold the schedule in force before May 1, 2022: its Schedule table
    // is empty". Empty unless NotInstalled.
    QString problem() const;

    // One sentence for the written explanation: what line 4 of this worksheet was read from, or
    // that the form's schedule is not installed. Empty for Unknown.
    QString statement() const;

    // The identity of table `table` of the schedule database at `scheduleDbPath`: its rows' checksum
    // compared with the official one and with the import recorded for the table. Reads the whole
    // table once for each change of the file: the result is kept, in this process, for as long as
    // the file's size and modification time stay the same. Unknown when the database or the table
    // cannot be read.
    static ScheduleSource identify(const QString& scheduleDbPath, const QString& table);

    // The identity of `rows` held in `table`, given what was recorded for it (nullopt: nothing).
    static ScheduleSource
    classify(const QString& table, const QList<ScheduleTextRow>& rows, const std::optional<Record>& recorded);

    // The canonical form of the rows that the checksum is taken of: the CSV text `cs42-admin
    // schedule export` prints (header, one row a line ending in LF), each value that is a plain
    // decimal number written in its shortest form ("0800.50" -> "800.5", "1313.00" -> "1313") and
    // any other value trimmed.
    static QByteArray canonicalText(const QList<ScheduleTextRow>& rows);
    static QString checksum(const QList<ScheduleTextRow>& rows);

    // The checksum of the official Schedule of Basic Child-Support Obligations in force since May
    // 1, 2022 (the 596 rows from $250 to $30,000 shipped as alabama-schedule-2022-05-01.csv).
    static QString official2022Checksum();
};

} // namespace cs42
