#include "core/store/ServerText.h"

#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"

#include <QSqlQuery>
#include <QStringDecoder>

namespace cs42::ServerText {

QStringList unsendableValues(SqlConnection& source, const TableDef& table, int limit)
{
    QStringList found;
    if (!source.isOpen() || source.engine() != SqlEngine::SQLite)
        return found;
    const SqlDialect& dialect = source.dialect();
    const QStringList stored = dialect.existingColumnNames(source.database(), table.name);
    QStringList columns;
    QStringList select;
    for (const ColumnDef& column : table.allColumns()) {
        if (stored.contains(column.name.toLower())) {
            columns << column.name;
            // The bytes as stored: reading a value as text would already have replaced them.
            select << QStringLiteral("CAST(%1 AS BLOB)").arg(dialect.identifier(column.name));
        }
    }
    const int key = int(columns.indexOf(table.keyColumn));
    const int name = 0; // casedesc, listname
    if (columns.isEmpty() || key < 0)
        return found;
    QSqlQuery query(source.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                        .arg(select.join(QStringLiteral(", ")), dialect.identifier(table.name))))
        return found;
    const QString what = table.name.compare(QLatin1String("Cases"), Qt::CaseInsensitive) == 0
                             ? QStringLiteral("case")
                             : QStringLiteral("name");
    while (query.next() && found.size() < limit) {
        for (int i = 0; i < columns.size() && found.size() < limit; ++i) {
            const QByteArray bytes = query.value(i).toByteArray();
            QString why;
            if (bytes.contains('\0')) {
                why = QStringLiteral("a NUL byte");
            } else {
                QStringDecoder utf8(QStringDecoder::Utf8);
                const QString decoded = utf8.decode(bytes);
                if (utf8.hasError())
                    why = QStringLiteral("bytes that are not UTF-8 text");
            }
            if (why.isEmpty())
                continue;
            const auto readable = [&query](int column) {
                return QString::fromUtf8(query.value(column).toByteArray()).remove(QChar(0));
            };
            found << QStringLiteral("%1 %2 (%3), column %4: %5")
                         .arg(what, readable(key), readable(name), columns[i].toLower(), why);
        }
    }
    return found;
}

} // namespace cs42::ServerText
