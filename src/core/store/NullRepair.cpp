#include "core/store/NullRepair.h"

#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"

#include <QSqlQuery>

namespace cs42::NullRepair {

void repairTable(const QString& databasePath, const TableDef& table)
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
        query.addBindValue(table.name);
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
    // One transaction: a repair of a large table costs one file sync, not one per column.
    connection.database().transaction();
    for (const Column& column : columns) {
        const QString quotedName = QLatin1Char('"') +
                                   QString(column.name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                                   QLatin1Char('"');
        connection.exec(
            QStringLiteral("UPDATE \"%1\" SET %2 = ? WHERE %2 IS NULL").arg(table.name, quotedName),
            {column.longText ? QStringLiteral(" ") : QString(QLatin1String(""))});
    }
    connection.database().commit();
}

} // namespace cs42::NullRepair
