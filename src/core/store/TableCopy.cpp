#include "core/store/TableCopy.h"

#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace cs42::TableCopy {

namespace {
void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// The table's stored columns, in the attached database `schema` when one is named (only a file
// attaches another: the cases and the names files each hold a table Changes).
QStringList columnNames(SqlConnection& connection, const TableDef& table, const QString& schema)
{
    if (schema.isEmpty())
        return connection.dialect().existingColumnNames(connection.database(), table.name);
    QStringList names;
    QSqlQuery query(connection.database());
    query.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?, ?) ORDER BY cid"));
    query.addBindValue(table.name);
    query.addBindValue(schema);
    if (query.exec()) {
        while (query.next())
            names << query.value(0).toString().toLower();
    }
    return names;
}
} // namespace

std::optional<Rows> read(SqlConnection& source, const TableDef& table, QString* error, const QString& schema)
{
    if (!source.isOpen()) {
        setError(error, source.errorText());
        return std::nullopt;
    }
    const SqlDialect& dialect = source.dialect();
    const QStringList stored = columnNames(source, table, schema);
    if (stored.isEmpty()) {
        // The history came after the other tables: a database without one has none to copy.
        if (&table == &Schema::changesTable()) {
            Rows none;
            for (const ColumnDef& column : table.allColumns())
                none.columns << column.name;
            return none;
        }
        setError(error, QStringLiteral("The database holds no %1 table.").arg(table.name));
        return std::nullopt;
    }
    Rows rows;
    QStringList select;
    for (const ColumnDef& column : table.allColumns()) {
        if (stored.contains(column.name.toLower())) {
            rows.columns << column.name;
            select << dialect.identifier(column.name);
        }
    }
    QSqlQuery query(source.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                        .arg(select.join(QStringLiteral(", ")), qualifiedName(source, table, schema)))) {
        source.noteError(query.lastError());
        setError(error, source.errorText());
        return std::nullopt;
    }
    const int width = int(rows.columns.size());
    while (query.next()) {
        QVariantList row;
        row.reserve(width);
        for (int i = 0; i < width; ++i) {
            const QVariant value = query.value(i);
            row << (value.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(value.toString()));
        }
        rows.values.append(std::move(row));
    }
    if (query.lastError().isValid()) {
        source.noteError(query.lastError());
        setError(error, source.errorText());
        return std::nullopt;
    }
    return rows;
}

std::optional<QList<Rows>>
readTogether(SqlConnection& source, const QList<const TableDef*>& tables, QString* error)
{
    if (!source.isOpen()) {
        setError(error, source.errorText());
        return std::nullopt;
    }
    const QString snapshot = source.dialect().snapshotStatement();
    if (!source.database().transaction() || (!snapshot.isEmpty() && !source.exec(snapshot))) {
        source.noteError(source.database().lastError());
        setError(error, source.errorText());
        return std::nullopt;
    }
    QList<Rows> all;
    for (const TableDef* table : tables) {
        std::optional<Rows> rows = read(source, *table, error);
        if (!rows) {
            source.database().rollback();
            return std::nullopt;
        }
        all.append(std::move(*rows));
    }
    source.database().commit();
    return all;
}

QString qualifiedName(SqlConnection& connection, const TableDef& table, const QString& schema)
{
    const QString name = connection.dialect().identifier(table.name);
    return schema.isEmpty() ? name : connection.dialect().identifier(schema) + QLatin1Char('.') + name;
}

bool append(
    SqlConnection& target, const TableDef& table, const Rows& rows, QString* error, const QString& schema)
{
    const SqlDialect& dialect = target.dialect();
    QStringList names;
    for (const QString& column : rows.columns)
        names << dialect.identifier(column);
    QSqlQuery insert(target.database());
    if (!insert.prepare(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(qualifiedName(target, table, schema),
                     names.join(QStringLiteral(", ")),
                     QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", "))))) {
        target.noteError(insert.lastError());
        setError(error, target.errorText());
        return false;
    }
    for (const QVariantList& row : rows.values) {
        for (int i = 0; i < row.size(); ++i)
            insert.bindValue(i, row[i]);
        if (!insert.exec()) {
            const QSqlError refusal = insert.lastError();
            target.noteError(refusal);
            QString text = target.errorText();
            const int key = int(rows.columns.indexOf(table.keyColumn));
            if (dialect.isDuplicateKey(refusal) && key >= 0)
                text = QStringLiteral("Two rows of %1 have the key \"%2\", which the server keeps unique.")
                           .arg(table.name, row[key].toString());
            setError(error, text);
            return false;
        }
    }
    return true;
}

bool writeFile(const QString& path, const TableDef& table, const Rows& rows, QString* error)
{
    return writeFile(path, {{&table, rows}}, error);
}

bool writeFile(const QString& path, const QList<QPair<const TableDef*, Rows>>& tables, QString* error)
{
    QFile::remove(path);
    SqlConnection file(path, SqlConnection::Mode::OpenOrCreate);
    if (!file.isOpen()) {
        setError(error, file.errorText());
        return false;
    }
    for (const auto& [table, rows] : tables) {
        Schema::createTable(file, *table);
        Schema::addColumns(file, *table);
        if (const QString index = file.dialect().keyIndex(*table); !index.isEmpty())
            file.exec(index);
    }
    if (!file.database().transaction()) {
        file.noteError(file.database().lastError());
        setError(error, file.errorText());
        return false;
    }
    for (const auto& [table, rows] : tables) {
        if (!append(file, *table, rows, error)) {
            file.database().rollback();
            return false;
        }
    }
    if (!file.database().commit()) {
        file.noteError(file.database().lastError());
        setError(error, file.errorText());
        return false;
    }
    return true;
}

int count(SqlConnection& connection, const TableDef& table)
{
    if (!connection.isOpen())
        return -1;
    QSqlQuery query(connection.database());
    if (query.exec(
            QStringLiteral("SELECT count(*) FROM %1").arg(connection.dialect().identifier(table.name))) &&
        query.next())
        return query.value(0).toInt();
    return -1;
}

int dataCount(SqlConnection& connection, const TableDef& table, const QString& schema)
{
    if (!connection.isOpen())
        return -1;
    // The example rows are told by their own values; every other row counts.
    QString column;
    QString example;
    if (&table == &Schema::casesTable()) {
        column = QStringLiteral("casedesc");
        example = QStringLiteral("Sample Case");
    } else if (&table == &Schema::namesTable()) {
        column = QStringLiteral("keynumber");
        example = Schema::namesSeedKey();
    }
    QSqlQuery query(connection.database());
    const QString name = qualifiedName(connection, table, schema);
    const bool read =
        column.isEmpty() ? query.exec(QStringLiteral("SELECT count(*) FROM %1").arg(name))
                         : query.prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 IS NULL OR %2 <> ?")
                                             .arg(name, connection.dialect().identifier(column))) &&
                               (query.addBindValue(example), query.exec());
    if (read && query.next())
        return query.value(0).toInt();
    return -1;
}

} // namespace cs42::TableCopy
