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

    struct Column
    {
        QString name;
        bool longText;
    };

    QList<Column> columns;
    {
        QSqlQuery query(connection.database());
        query.prepare(QStringLiteral("SELECT name, type FROM pragma_table_info(?) ORDER BY cid"));
        query.addBindValue(tableDef.name);
        if (!query.exec())
            return;
        bool first = true;
        while (query.next()) {
            if (first) { // the first column (casedesc, listname) is never touched
                first = false;
                continue;
            }
            const QString type = query.value(1).toString().toUpper();
            columns.append({query.value(0).toString(),
                            type == QLatin1String("LONGTEXT") || type == QLatin1String("MEMO")});
        }
    }
    if (columns.isEmpty())
        return;
    // One statement, one scan: only rows that hold a Null are rewritten, so the common case of a
    // repaired table costs a read and no write.
    QStringList assignments;
    QStringList nullTests;
    for (const Column& column : columns) {
        const QString name = QLatin1Char('"') +
                             QString(column.name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                             QLatin1Char('"');
        const QString filler = column.longText ? QStringLiteral("' '") : QStringLiteral("''");
        assignments << QStringLiteral("%1 = coalesce(%1, %2)").arg(name, filler);
        nullTests << name + QStringLiteral(" IS NULL");
    }
    const QString table = QLatin1Char('"') + tableDef.name + QLatin1Char('"');
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
