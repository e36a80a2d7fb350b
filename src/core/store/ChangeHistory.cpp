#include "core/store/ChangeHistory.h"

#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"
#include "core/store/Workstation.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

namespace cs42::ChangeHistory {

QString actionText(ChangeAction action)
{
    switch (action) {
    case ChangeAction::Added:
        return QStringLiteral("added");
    case ChangeAction::Deleted:
        return QStringLiteral("deleted");
    case ChangeAction::Changed:
        break;
    }
    return QStringLiteral("changed");
}

namespace {

ChangeAction actionOf(const QString& text)
{
    if (text == QLatin1String("added"))
        return ChangeAction::Added;
    if (text == QLatin1String("deleted"))
        return ChangeAction::Deleted;
    return ChangeAction::Changed; // also every row written before actions were recorded
}

// The row's table as `tablename` gives it: empty (a row written before tables were recorded) is a
// row of the cases.
const QString TableOfRow = QStringLiteral("COALESCE(NULLIF(tablename, ''), 'cases')");

const QString Columns =
    QStringLiteral("caseid, columnname, oldvalue, newvalue, osuser, host, changedat, tablename, action");

// Who wrote a history row, where and when.
struct Stamp
{
    QString user;
    QString host;
    QString time; // UTC, ISO 8601

    static Stamp now()
    {
        return {Workstation::user(),
                Workstation::name(),
                QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)};
    }
};

// A null text binds as Null, which equals nothing.
QString bound(const QString& text)
{
    return text.isNull() ? QString(QLatin1String("")) : text;
}
} // namespace

QString tag(Of table)
{
    return table == Of::Cases ? QStringLiteral("cases") : QStringLiteral("names");
}

bool beginWrite(SqlConnection& connection, QSqlError* error)
{
    QSqlDatabase& db = connection.database();
    if (connection.engine() == SqlEngine::SQLite) {
        QSqlQuery begin(db);
        if (begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return true;
        *error = begin.lastError();
        return false;
    }
    if (db.transaction())
        return true;
    *error = db.lastError();
    return false;
}

QString lockRows(const SqlConnection& connection)
{
    return connection.engine() == SqlEngine::PostgreSQL ? QStringLiteral(" FOR UPDATE") : QString();
}

bool write(SqlConnection& connection, Of table, const QList<Entry>& entries, QSqlError* error)
{
    if (entries.isEmpty())
        return true;
    const Stamp stamp = Stamp::now();
    QSqlQuery insert(connection.database());
    insert.prepare(
        QStringLiteral("INSERT INTO Changes (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)").arg(Columns));
    for (const Entry& entry : entries) {
        const QVariantList values{bound(entry.key),
                                  entry.column,
                                  bound(entry.oldValue),
                                  bound(entry.newValue),
                                  stamp.user,
                                  stamp.host,
                                  stamp.time,
                                  tag(table),
                                  actionText(entry.action)};
        for (int i = 0; i < values.size(); ++i)
            insert.bindValue(i, values[i]);
        if (!insert.exec()) {
            if (error)
                *error = insert.lastError();
            return false;
        }
    }
    return true;
}

QString insertWritten(
    Of table, const QString& key, const QString& source, const QList<Written>& columns, const Bind& bind)
{
    // Each placeholder is made in the order of the text: the values are bound by position.
    const Stamp stamp = Stamp::now();
    QString sql = QStringLiteral("INSERT INTO Changes (%1) SELECT ").arg(Columns);
    sql += bind(bound(key)) + QStringLiteral(", h.columnname, h.oldvalue, h.newvalue");
    for (const QString& value :
         {stamp.user, stamp.host, stamp.time, tag(table), actionText(ChangeAction::Changed)})
        sql += QStringLiteral(", ") + bind(value);
    sql += QStringLiteral(" FROM %1 CROSS JOIN LATERAL (VALUES ").arg(source);
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const Written& column = columns[i];
        if (i > 0)
            sql += QStringLiteral(", ");
        // The rows are added in the order of the columns.
        sql += QStringLiteral("(%1, ").arg(i) + bind(column.column);
        sql += QStringLiteral(", COALESCE(%1, ''), ").arg(column.oldExpression);
        sql += bind(bound(column.newValue)) + QLatin1Char(')');
    }
    return sql + QStringLiteral(") AS h(n, columnname, oldvalue, newvalue) WHERE h.oldvalue <> h.newvalue "
                                "ORDER BY h.n");
}

bool read(SqlConnection& connection, Of table, const QString& key, QList<CaseChange>* rows, QSqlError* error)
{
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT caseid, columnname, oldvalue, newvalue, osuser, host, changedat, action "
                       "FROM Changes WHERE %1 = ? AND (? = '' OR caseid = ?) ORDER BY rowid DESC")
            .arg(TableOfRow));
    query.addBindValue(tag(table));
    query.addBindValue(bound(key));
    query.addBindValue(bound(key));
    if (!query.exec()) {
        if (error)
            *error = query.lastError();
        return false;
    }
    while (query.next()) {
        rows->append({query.value(0).toString(),
                      query.value(1).toString(),
                      query.value(2).toString(),
                      query.value(3).toString(),
                      query.value(4).toString(),
                      query.value(5).toString(),
                      query.value(6).toString(),
                      actionOf(query.value(7).toString())});
    }
    return true;
}

bool clear(SqlConnection& connection, Of table)
{
    return connection.exec(QStringLiteral("DELETE FROM Changes WHERE %1 = ?").arg(TableOfRow), {tag(table)});
}

TableCopy::Rows rowsOf(const TableCopy::Rows& all, Of table, bool every)
{
    TableCopy::Rows rows;
    rows.columns = all.columns;
    qsizetype column = rows.columns.indexOf(QStringLiteral("tablename"));
    if (column < 0) {
        rows.columns << QStringLiteral("tablename");
        column = rows.columns.size() - 1;
    }
    const QString wanted = tag(table);
    for (QVariantList row : all.values) {
        if (row.size() <= column)
            row << QVariant(QMetaType::fromType<QString>());
        const QString said = row[column].toString();
        if (!every && (said.isEmpty() ? tag(Of::Cases) : said) != wanted)
            continue;
        row[column] = wanted;
        rows.values.append(std::move(row));
    }
    return rows;
}

QStringList keepableOnServer(TableCopy::Rows& rows)
{
    QStringList cleaned;
    const qsizetype key = rows.columns.indexOf(QStringLiteral("caseid"));
    const qsizetype table = rows.columns.indexOf(QStringLiteral("tablename"));
    const qsizetype changed = rows.columns.indexOf(QStringLiteral("columnname"));
    for (QVariantList& row : rows.values) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (row[i].isNull())
                continue;
            QString text = row[i].toString();
            if (!text.contains(QChar(0)))
                continue;
            text.remove(QChar(0));
            row[i] = text;
            const QString what = table >= 0 && row[table].toString() == tag(Of::Names)
                                     ? QStringLiteral("name")
                                     : QStringLiteral("case");
            const auto shown = [&row](qsizetype column) {
                return column >= 0 ? row[column].toString().remove(QChar(0)) : QString();
            };
            cleaned << QStringLiteral("the history of %1 %2 (column %3, %4): a NUL byte, left out")
                           .arg(what, shown(key), shown(changed), rows.columns[i].toLower());
        }
    }
    return cleaned;
}

} // namespace cs42::ChangeHistory
