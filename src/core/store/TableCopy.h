#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

namespace cs42 {

class SqlConnection;
struct TableDef;

// Whole tables moved between databases of either engine, value for value: every value is text
// or Null and arrives exactly as it left. The backups of a server, putting a backup back on it,
// and moving an office between a folder and a server are built from these.
namespace TableCopy {

struct Rows
{
    QStringList columns;        // the table's columns that the source holds, in schema order
    QList<QVariantList> values; // one list per row, in stored order
};

// Every row of `table` in stored order; `schema` names an attached database that holds it. A
// database without the history table (Schema::changesTable) gives it with no rows.
std::optional<Rows> read(SqlConnection& source,
                         const TableDef& table,
                         QString* error = nullptr,
                         const QString& schema = QString());
// Every row of each of `tables`, all read at one moment (one snapshot transaction), in the
// order given; nullopt when any cannot be read.
std::optional<QList<Rows>>
readTogether(SqlConnection& source, const QList<const TableDef*>& tables, QString* error = nullptr);
// Appends the rows to `table` in `target` (which must hold the table); the caller owns the
// transaction. `schema` names an attached database that holds the table (empty: the main one).
bool append(SqlConnection& target,
            const TableDef& table,
            const Rows& rows,
            QString* error = nullptr,
            const QString& schema = QString());
// The table's name as statements spell it, in the attached database `schema` when one is named.
QString qualifiedName(SqlConnection& connection, const TableDef& table, const QString& schema = QString());
// Creates a new database file at `path` holding `table` with `rows`, in one transaction. A file
// already at `path` is removed first.
bool writeFile(const QString& path, const TableDef& table, const Rows& rows, QString* error = nullptr);
// The same with several tables, each with its rows.
bool writeFile(const QString& path,
               const QList<QPair<const TableDef*, Rows>>& tables,
               QString* error = nullptr);
// The number of rows of `table`, or -1 when it cannot be read.
int count(SqlConnection& connection, const TableDef& table);
// The number of rows that are an office's own data: the sample case a new library starts with
// and the directory's example record are not counted. -1 when the table cannot be read.
int dataCount(SqlConnection& connection, const TableDef& table, const QString& schema = QString());

} // namespace TableCopy

} // namespace cs42
