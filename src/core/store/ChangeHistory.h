#pragma once

#include "core/store/TableCopy.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

class QSqlError;

namespace cs42 {

class SqlConnection;

// What a row of the history records: a column's value changed, or the whole row was added or
// deleted (its name column then gives the name it was added with, or had when it went).
enum class ChangeAction
{
    Changed,
    Added,
    Deleted,
};

// One row of the history: a column changed by one save, or a case (a name) added or deleted.
struct CaseChange
{
    QString caseId; // the case's key; in the names directory's history, the name's key
    QString column;
    QString oldValue;
    QString newValue;
    QString user; // the operating-system user
    QString host; // the workstation's host name
    QString time; // UTC, ISO 8601
    ChangeAction action = ChangeAction::Changed;
};

// The history of the cases and of the names directory, kept in the table `Changes` beside each
// (the cases database's, the names database's; on a server, one table for both). Each row says
// which table it belongs to (`tablename`); rows written before that was recorded belong to the
// cases. Every write of a case or a name adds its rows here inside its own transaction, so that a
// change is stored with its history or not at all.
namespace ChangeHistory {

enum class Of
{
    Cases,
    Names,
};

// What a save writes into the history; who, where and when are added by write().
struct Entry
{
    QString key;
    QString column;
    QString oldValue;
    QString newValue;
    ChangeAction action = ChangeAction::Changed;
};

// How an action is stored in the `action` column and shown by cs42-admin: "added", "deleted",
// "changed".
QString actionText(ChangeAction action);

// Starts a transaction that will write: on a database file it takes the write lock at once
// (waiting as long as the busy timeout), so that a read made in it is still true when it writes
// and two workstations never both hold a read lock they then cannot turn into a write lock.
bool beginWrite(SqlConnection& connection, QSqlError* error);
// " FOR UPDATE" where the engine needs it for a read in a write transaction to hold the rows it
// read until the commit (a server), else empty (a file's write lock already holds them).
QString lockRows(const SqlConnection& connection);

// Adds the entries, stamped with this workstation's user and host name and the UTC time, inside
// the caller's transaction. False with `error` when one could not be written.
bool write(SqlConnection& connection, Of table, const QList<Entry>& entries, QSqlError* error);

// One column of a statement that writes a row and its history at once: the SQL expression of the
// value it replaces (the stored value, read in the same statement) and the value it stores.
struct Written
{
    QString column;
    QString oldExpression;
    QString newValue;
};

// Adds `value` to a statement's bound values and returns its placeholder.
using Bind = std::function<QString(const QVariant& value)>;

// For a server statement that writes a row and its history at once (a data-modifying WITH): the
// INSERT that adds, stamped as write() stamps them, one row for each of `columns` whose value
// changed (Null reads as the empty text), in their order. `source` is the table expression of the
// statement, one row or none, that the old values are read from; no row, no history. Values are
// bound through `bind` in the order of the text.
QString insertWritten(
    Of table, const QString& key, const QString& source, const QList<Written>& columns, const Bind& bind);

// The history of one row (`key`), or of every row with an empty key, of `table`, newest first.
// False with `error` when it cannot be read.
bool read(SqlConnection& connection, Of table, const QString& key, QList<CaseChange>* rows, QSqlError* error);

// Removes `table`'s rows of the history inside the caller's transaction (a restore puts a
// backup's history in their place). False, with the connection's error, when it failed.
bool clear(SqlConnection& connection, Of table);

// Of the rows of a `Changes` table, those that belong to `table`, each saying so in its
// `tablename` (rows from a file's table whose rows all belong to it may not say it yet).
// `every`: all the rows belong to `table`, whatever they say.
TableCopy::Rows rowsOf(const TableCopy::Rows& all, Of table, bool every = false);

// Removes from the history rows the NUL characters a server cannot keep; one line for each value
// changed ("the history of case KEY, column COLUMN: ..."), for the user.
QStringList keepableOnServer(TableCopy::Rows& rows);

// How `tablename` spells each table.
QString tag(Of table);

} // namespace ChangeHistory

} // namespace cs42
