#include "core/store/NullRepair.h"

#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"

#include <QSqlQuery>

namespace cs42::NullRepair {

void repairTable(const QString& databasePath, const TableDef& tableDef)
{
    SqlConnection connection(databasePath);
    if (!connection.isOpen())
        return;
    const SqlDialect& dialect = connection.dialect();

    struct Column
    {
        QString name;
        bool longText;
    };

    QList<Column> columns;
    bool first = true;
    for (const StoredColumn& stored : dialect.existingColumns(connection.database(), tableDef.name)) {
        if (first) { // the first column (casedesc, listname) is never touched
            first = false;
            continue;
        }
        bool longText = stored.type == QLatin1String("LONGTEXT") || stored.type == QLatin1String("MEMO");
        for (const ColumnDef& def : tableDef.additions) {
            if (def.name.compare(stored.name, Qt::CaseInsensitive) == 0)
                longText = longText || def.isLongText();
        }
        columns.append({stored.name, longText});
    }
    if (columns.isEmpty())
        return;
    // One statement, one scan: only rows that hold a Null are rewritten, so the common case of a
    // repaired table costs a read and no write.
    QStringList assignments;
    QStringList nullTests;
    for (const Column& column : columns) {
        const QString name = dialect.identifier(column.name);
        const QString filler = column.longText ? QStringLiteral("' '") : QStringLiteral("''");
        assignments << QStringLiteral("%1 = coalesce(%1, %2)").arg(name, filler);
        nullTests << name + QStringLiteral(" IS NULL");
    }
    const QString table = dialect.identifier(tableDef.name);
    if (connection.exec(
            QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                .arg(table, assignments.join(QStringLiteral(", ")), nullTests.join(QStringLiteral(" OR ")))))
        return;
    // The whole-row update failed: repair column by column so that one bad column does not stop
    // the others.
    for (int i = 0; i < columns.size(); ++i)
        connection.exec(QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(table, assignments[i], nullTests[i]));
}

} // namespace cs42::NullRepair
