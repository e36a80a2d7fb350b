#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"
#include "core/store/SqlDialect.h"

#include <QSqlError>
#include <QSqlQuery>

namespace cs42 {

namespace {
// The column that keeps the stored order, which a database file has built in as its rowid.
const QString OrderColumn = QStringLiteral("rowid");

// A server database. Names are stored in lower case (the server folds unquoted names so, and
// the program's SQL names tables and columns unquoted); every column is text; a serial rowid
// keeps the order in which rows were added; keys are unique.
class PostgresDialect final : public SqlDialect
{
public:
    SqlEngine engine() const override { return SqlEngine::PostgreSQL; }

    QString identifier(const QString& name) const override
    {
        return QLatin1Char('"') + name.toLower().replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
               QLatin1Char('"');
    }

    // "*" would bring the rowid column along.
    QString rowColumns(const TableDef& table) const override
    {
        QStringList names;
        for (const ColumnDef& column : table.allColumns())
            names << identifier(column.name);
        return names.join(QStringLiteral(", "));
    }

    QString createTable(const TableDef& table) const override
    {
        return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2 BIGSERIAL PRIMARY KEY, %3 TEXT)")
            .arg(identifier(table.name), OrderColumn, identifier(table.first.name));
    }

    QString addColumn(const TableDef& table, const ColumnDef& column) const override
    {
        return QStringLiteral("ALTER TABLE %1 ADD COLUMN IF NOT EXISTS %2 TEXT")
            .arg(identifier(table.name), identifier(column.name));
    }

    // Workstations add rows at the same moment: only the server can keep two of them from
    // taking one key.
    QString keyIndex(const TableDef& table) const override
    {
        if (table.keyIndexName.isEmpty())
            return {};
        return QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS %1 ON %2 (%3)")
            .arg(identifier(table.keyIndexName), identifier(table.name), identifier(table.keyColumn));
    }

    QList<StoredColumn> existingColumns(QSqlDatabase& db, const QString& table) const override
    {
        QList<StoredColumn> columns;
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT column_name, data_type FROM information_schema.columns "
                                     "WHERE table_schema = current_schema() AND table_name = ? "
                                     "ORDER BY ordinal_position"));
        query.addBindValue(table.toLower());
        if (query.exec()) {
            while (query.next()) {
                const QString name = query.value(0).toString().toLower();
                if (name != OrderColumn)
                    columns.append({name, query.value(1).toString().toUpper()});
            }
        }
        return columns;
    }

    bool hasUniqueKeyIndex(QSqlDatabase& db, const TableDef& table) const override
    {
        if (table.keyColumn.isEmpty())
            return true;
        // A partial or expression index would let two rows share a key.
        QSqlQuery query(db);
        query.prepare(QStringLiteral(
            "SELECT 1 FROM pg_index i JOIN pg_class t ON t.oid = i.indrelid "
            "JOIN pg_attribute a ON a.attrelid = t.oid AND a.attnum = i.indkey[0] "
            "WHERE t.relnamespace = current_schema()::regnamespace AND t.relname = ? AND i.indisunique "
            "AND i.indnkeyatts = 1 AND i.indpred IS NULL AND i.indexprs IS NULL AND a.attname = ?"));
        query.addBindValue(table.name.toLower());
        query.addBindValue(table.keyColumn.toLower());
        return query.exec() && query.next();
    }

    // Tables made by hand may hold numbers or bounded texts, which would change or refuse what the
    // program writes (3000.49 kept as 3000), or lack the rowid that keeps the stored order.
    QStringList shapeProblems(QSqlDatabase& db, const TableDef& table) const override
    {
        QSqlQuery query(db);
        query.prepare(
            QStringLiteral("SELECT a.attname, format_type(a.atttypid, a.atttypmod), t.typname, a.atttypmod, "
                           "a.atthasdef OR a.attidentity <> '' FROM pg_attribute a "
                           "JOIN pg_class c ON c.oid = a.attrelid JOIN pg_type t ON t.oid = a.atttypid "
                           "WHERE c.relnamespace = current_schema()::regnamespace AND c.relname = ? "
                           "AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum"));
        query.addBindValue(table.name.toLower());
        if (!query.exec())
            return {QStringLiteral("its columns could not be read (%1)").arg(query.lastError().text())};
        QStringList notText;
        QString order;
        bool hasOrder = false;
        bool exists = false;
        while (query.next()) {
            exists = true;
            const QString name = query.value(0).toString();
            const QString type = query.value(1).toString();
            const QString base = query.value(2).toString();
            if (name == OrderColumn) {
                hasOrder = true;
                const bool integer = base == QLatin1String("int2") || base == QLatin1String("int4") ||
                                     base == QLatin1String("int8");
                if (!integer || !query.value(4).toBool())
                    order = QStringLiteral("the column %1 (%2%3) is not an integer the server numbers "
                                           "itself (a serial)")
                                .arg(OrderColumn,
                                     type,
                                     query.value(4).toBool() ? QString() : QStringLiteral(", no default"));
                continue;
            }
            if (!table.hasColumn(name))
                continue;
            const bool unboundedText = base == QLatin1String("text") ||
                                       (base == QLatin1String("varchar") && query.value(3).toInt() < 0);
            if (!unboundedText)
                notText << QStringLiteral("%1 (%2)").arg(name, type);
        }
        // A missing table is made, or reported, by whoever needs it.
        if (!exists)
            return {};
        QStringList problems;
        if (notText.size() == 1)
            problems << QStringLiteral("the column %1 is not text").arg(notText.first());
        else if (!notText.isEmpty())
            problems << QStringLiteral("the columns %1 are not text").arg(notText.join(QStringLiteral(", ")));
        if (!hasOrder)
            problems << QStringLiteral("it has no column %1 (a serial that keeps the stored order)")
                            .arg(OrderColumn);
        else if (!order.isEmpty())
            problems << order;
        // A table without a key (the cases' history) needs no index.
        if (!table.keyIndexName.isEmpty() && !hasUniqueKeyIndex(db, table))
            problems << QStringLiteral("it has no unique index on %1 alone").arg(table.keyColumn.toLower());
        return problems;
    }

    QString snapshotStatement() const override
    {
        return QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ READ ONLY");
    }

    // Workstations starting together would otherwise race to add the same column.
    QString schemaLock() const override { return QStringLiteral("SELECT pg_advisory_xact_lock(4203042)"); }

    QString changeNotice() const override
    {
        return QStringLiteral("SELECT pg_notify('%1', ?)").arg(casesChannel());
    }

    SqlFailure classify(const QSqlError& error) const override
    {
        if (!error.isValid())
            return SqlFailure::None;
        const QString state = error.nativeErrorCode();
        // Lock not available, serialization failure, deadlock, too many connections: wait and retry.
        if (state == QLatin1String("55P03") || state == QLatin1String("40001") ||
            state == QLatin1String("40P01") || state == QLatin1String("53300"))
            return SqlFailure::Busy;
        // 57014: the statement timeout cancelled the statement. The server did not answer in
        // time; like a lost connection, the user may try again.
        if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")) ||
            state == QLatin1String("57014"))
            return SqlFailure::Unreachable;
        const QString text = error.text();
        for (const char* lost : {"could not connect",
                                 "Connection refused",
                                 "connection to server",
                                 "server closed the connection",
                                 "no connection to the server",
                                 "terminating connection",
                                 "timeout expired",
                                 "could not translate host name",
                                 "Network is unreachable",
                                 "No route to host"}) {
            if (text.contains(QLatin1String(lost), Qt::CaseInsensitive))
                return SqlFailure::Unreachable;
        }
        return SqlFailure::Other;
    }

    bool isDuplicateKey(const QSqlError& error) const override
    {
        return error.nativeErrorCode() == QLatin1String("23505");
    }
};
} // namespace

const SqlDialect& SqlDialect::postgres()
{
    static const PostgresDialect dialect;
    return dialect;
}

} // namespace cs42
