#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"
#include "core/store/SqlDialect.h"

#include <QSqlError>
#include <QSqlQuery>

namespace cs42 {

namespace {
// SQLite's primary result codes, as the driver reports them in nativeErrorCode().
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteConstraint = 19;
constexpr int SqliteNotADatabase = 26;

int primaryCode(const QSqlError& error)
{
    bool ok = false;
    // Extended result codes carry the primary one in their low byte.
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    return ok ? code : -1;
}

// A database file: tables keep the rowid that orders the library, every row is read as "*".
class SqliteDialect final : public SqlDialect
{
public:
    SqlEngine engine() const override { return SqlEngine::SQLite; }

    QString identifier(const QString& name) const override
    {
        return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
               QLatin1Char('"');
    }

    QString rowColumns(const TableDef&) const override { return QStringLiteral("*"); }

    QString createTable(const TableDef& table) const override
    {
        return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2 %3)")
            .arg(identifier(table.name), identifier(table.first.name), table.first.type);
    }

    QString addColumn(const TableDef& table, const ColumnDef& column) const override
    {
        return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
            .arg(identifier(table.name), identifier(column.name), column.type);
    }

    // Files written before keys were indexed may hold two rows with one key: the index only
    // speeds up the search and so is not unique.
    QString keyIndex(const TableDef& table) const override
    {
        if (table.keyIndexName.isEmpty())
            return {};
        return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
            .arg(table.keyIndexName, table.name, table.keyColumn);
    }

    QList<StoredColumn> existingColumns(QSqlDatabase& db, const QString& table) const override
    {
        QList<StoredColumn> columns;
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT name, type FROM pragma_table_info(?) ORDER BY cid"));
        query.addBindValue(table);
        if (query.exec()) {
            while (query.next())
                columns.append({query.value(0).toString().toLower(), query.value(1).toString().toUpper()});
        }
        return columns;
    }

    bool hasUniqueKeyIndex(QSqlDatabase&, const TableDef&) const override { return true; }

    // Every value is stored as given whatever a column's declared type (text affinity).
    QStringList shapeProblems(QSqlDatabase&, const TableDef&) const override { return {}; }

    // A read transaction holds the file's shared lock: no writer can come between its reads.
    QString snapshotStatement() const override { return {}; }

    QString schemaLock() const override { return {}; }

    QString changeNotice() const override { return {}; }

    SqlFailure classify(const QSqlError& error) const override
    {
        if (!error.isValid())
            return SqlFailure::None;
        const int code = primaryCode(error);
        if (code == SqliteBusy || code == SqliteLocked)
            return SqlFailure::Busy;
        if (code == SqliteCorrupt || code == SqliteNotADatabase)
            return SqlFailure::NotADatabase;
        const QString text = error.text();
        if (text.contains(QLatin1String("database is locked")) || text.contains(QLatin1String("is busy")))
            return SqlFailure::Busy;
        if (text.contains(QLatin1String("not a database")) || text.contains(QLatin1String("malformed")))
            return SqlFailure::NotADatabase;
        return SqlFailure::Other;
    }

    bool isDuplicateKey(const QSqlError& error) const override
    {
        return primaryCode(error) == SqliteConstraint &&
               error.databaseText().contains(QLatin1String("UNIQUE"), Qt::CaseInsensitive);
    }
};
} // namespace

QStringList SqlDialect::existingColumnNames(QSqlDatabase& db, const QString& table) const
{
    QStringList names;
    for (const StoredColumn& column : existingColumns(db, table))
        names << column.name;
    return names;
}

const SqlDialect& SqlDialect::sqlite()
{
    static const SqliteDialect dialect;
    return dialect;
}

} // namespace cs42
