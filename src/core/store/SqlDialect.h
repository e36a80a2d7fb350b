#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QSqlDatabase;
class QSqlError;

namespace cs42 {

struct ColumnDef;
struct TableDef;
enum class SqlFailure;

// A column as a database holds it: its name in lower case and its declared type.
struct StoredColumn
{
    QString name;
    QString type;
};

enum class SqlEngine
{
    SQLite,     // a database file in a folder
    PostgreSQL, // a database on an office server
};

// What differs between the two engines that hold the cases and names: how identifiers are
// spelled, the columns of a whole row, creating what is missing, and what an error means. SQL
// elsewhere names tables and columns either unquoted (both engines then agree) or through
// identifier(); values are always bound.
class SqlDialect
{
public:
    virtual ~SqlDialect() = default;

    virtual SqlEngine engine() const = 0;
    // A table or column name, quoted as this engine stores it.
    virtual QString identifier(const QString& name) const = 0;
    // The select list of a whole row, in stored order.
    virtual QString rowColumns(const TableDef& table) const = 0;
    virtual QString createTable(const TableDef& table) const = 0;
    virtual QString addColumn(const TableDef& table, const ColumnDef& column) const = 0;
    // The index on the table's key column; empty when the table has none.
    virtual QString keyIndex(const TableDef& table) const = 0;
    // The table's columns in stored order (empty when it is missing).
    virtual QList<StoredColumn> existingColumns(QSqlDatabase& db, const QString& table) const = 0;
    QStringList existingColumnNames(QSqlDatabase& db, const QString& table) const;
    // Whether the table has a unique index on its key column alone (always true for a table
    // without a key, and on an engine whose key index is not unique).
    virtual bool hasUniqueKeyIndex(QSqlDatabase& db, const TableDef& table) const = 0;
    // Why the stored table cannot hold the program's rows exactly as they are written, one phrase
    // each naming the columns (a column that is not text, an order column the engine does not
    // number, no unique index on the key); empty when it can. Missing columns are not named here.
    virtual QStringList shapeProblems(QSqlDatabase& db, const TableDef& table) const = 0;
    // The first statement of a transaction whose reads all see one moment; empty when the
    // engine's transaction does that by itself.
    virtual QString snapshotStatement() const = 0;
    // A statement that makes concurrent schema upgrades wait for each other; empty when the
    // engine's own locking suffices.
    virtual QString schemaLock() const = 0;
    // A statement, with the changed case's key bound, that tells the other workstations listening
    // on casesChannel() that the cases changed once the transaction commits; empty when the engine
    // has no such notice (the others then look for changes themselves: ChangeWatch).
    virtual QString changeNotice() const = 0;

    // The channel a server's notices of changed cases go out on.
    static QString casesChannel() { return QStringLiteral("cs42_cases"); }

    virtual SqlFailure classify(const QSqlError& error) const = 0;
    // An insert refused because another row has the key (a unique index).
    virtual bool isDuplicateKey(const QSqlError& error) const = 0;

    static const SqlDialect& sqlite();
    static const SqlDialect& postgres();
};

} // namespace cs42
