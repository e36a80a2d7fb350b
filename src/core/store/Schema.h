#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace cs42 {

class SqlConnection;
enum class SqlFailure;

// A column as the schema declares it. Long text ("MEMO") is declared LONGTEXT so that SQLite
// gives it text affinity and stores every value as typed.
struct ColumnDef
{
    QString name;
    QString type; // "TEXT", "TEXT(200)" or "LONGTEXT"

    bool isLongText() const { return type == QLatin1String("LONGTEXT"); }
};

// A table: created with its first column, then grown one column at a time, in order.
struct TableDef
{
    QString name;
    ColumnDef first;
    QList<ColumnDef> additions;
    // The column a row is found by, and the name of its index (empty: no index).
    QString keyColumn;
    QString keyIndexName;

    QList<ColumnDef> allColumns() const;
    bool hasColumn(const QString& column) const; // without regard to case
};

namespace Schema {
const TableDef& mainTable();
const TableDef& namesTable();
// The key of the example row an empty names table is given (NameRecord::seedRecord): a copy or a
// migration counts a names table holding only that row as empty.
const QString& namesSeedKey();
const TableDef& casesTable();
// The history of the cases and of the names, in the cases database and in the names database
// (ChangeHistory writes and reads it).
const TableDef& changesTable();
// The schedule table `name`: "Schedule" (form CS-42 Rev. 1/09) or "Schedule2022" (the editions
// from 2022 on), or the copy an import keeps of either ("Schedule_Previous",
// "Schedule2022_Previous"); any other name gives the "Schedule" table.
const TableDef& scheduleTable(const QString& name = QStringLiteral("Schedule"));
// The name of the copy an import keeps of schedule table `name`: "Schedule_Previous".
QString keptScheduleTableName(const QString& name);
// Where each schedule table's rows come from (ScheduleSource::Record): one row a table, found by
// `tablename`.
const TableDef& scheduleSourceTable();
// The names of the schedule tables, in the order the editions came.
QStringList scheduleTableNames();

// Creates the table when it is missing; an existing table is left alone.
void createTable(SqlConnection& connection, const TableDef& table);
// Re-issues the addition of every column; a column that exists already is skipped. The schema
// only grows: nothing is ever removed or altered, and existing rows are untouched.
void addColumns(SqlConnection& connection, const TableDef& table);
// Both of the above and the key's index, on the database at `path` (a file, created when it is
// missing, or a server URI). Returns why the database could not be opened (None when it could);
// `error` gets the reason in words. On a server nothing is changed unless something is missing
// (a role that may only read and write rows can use complete tables), the first statement that
// fails is the one reported, and a table that would not keep values exactly as written (see
// serverTableProblem) is refused.
SqlFailure ensureDatabase(const QString& path, const TableDef& table, QString* error = nullptr);
// Why the server table cannot hold the program's rows exactly as written, naming the columns
// (columns that are not text, no serial rowid, no unique key index); empty when it can, and
// always on a database file.
QString serverTableProblem(SqlConnection& connection, const TableDef& table);
QString unusableTableText(const TableDef& table, const QStringList& problems);
} // namespace Schema

} // namespace cs42
