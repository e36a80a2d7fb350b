#include "core/worksheet/ScheduleHistory.h"

#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"

#include <QSqlError>
#include <QSqlQuery>

#include <functional>

namespace cs42::ScheduleHistory {

namespace {
using Record = ScheduleSource::Record;

// The names come from the fixed schema (Schema::scheduleTable), never from input.
QString rowsTable(const QString& table)
{
    return Schema::scheduleTable(table).name;
}

QString keptTable(const QString& table)
{
    return Schema::scheduleTable(Schema::keptScheduleTableName(rowsTable(table))).name;
}

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

std::optional<QList<ScheduleTextRow>> readRowsOn(QSqlDatabase& db, const QString& name, QString* error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT income, child1, child2, child3, child4, child5, child6 FROM %1 "
                                   "ORDER BY rowid")
                        .arg(name))) {
        fail(error, query.lastError().text());
        return std::nullopt;
    }
    QList<ScheduleTextRow> rows;
    while (query.next()) {
        ScheduleTextRow row;
        row.income = query.value(0).toString();
        for (int k = 0; k < 6; ++k)
            row.amounts[static_cast<std::size_t>(k)] = query.value(k + 1).toString();
        rows.append(row);
    }
    return rows;
}

bool writeRowsOn(QSqlDatabase& db, const QString& name, const QList<ScheduleTextRow>& rows, QString* error)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("DELETE FROM %1").arg(name)))
        return fail(error, query.lastError().text());
    if (!query.prepare(
            QStringLiteral("INSERT INTO %1 (income, child1, child2, child3, child4, child5, child6) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?)")
                .arg(name)))
        return fail(error, query.lastError().text());
    for (const ScheduleTextRow& row : rows) {
        query.addBindValue(row.income);
        for (const QString& amount : row.amounts)
            query.addBindValue(amount);
        if (!query.exec())
            return fail(error, query.lastError().text());
    }
    return true;
}

// A file made before records were kept has no ScheduleSource table: nothing is recorded then.
std::optional<Record> readRecordOn(QSqlDatabase& db, const QString& name)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT kind, file, recorded, sha256 FROM %1 WHERE tablename = ? "
                                      "ORDER BY rowid DESC")
                           .arg(Schema::scheduleSourceTable().name)))
        return std::nullopt;
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        return std::nullopt;
    return Record{query.value(0).toString(),
                  query.value(1).toString(),
                  QDate::fromString(query.value(2).toString(), Qt::ISODate),
                  query.value(3).toString()};
}

bool writeRecordOn(QSqlDatabase& db, const QString& name, const Record& record, QString* error)
{
    const QString table = Schema::scheduleSourceTable().name;
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("DELETE FROM %1 WHERE tablename = ?").arg(table)))
        return fail(error, query.lastError().text());
    query.addBindValue(name);
    if (!query.exec())
        return fail(error, query.lastError().text());
    if (!query.prepare(
            QStringLiteral("INSERT INTO %1 (tablename, kind, file, recorded, sha256) VALUES (?, ?, ?, ?, ?)")
                .arg(table)))
        return fail(error, query.lastError().text());
    for (const QString& value :
         {name, record.kind, record.file, record.date.toString(Qt::ISODate), record.sha256})
        query.addBindValue(value);
    if (!query.exec())
        return fail(error, query.lastError().text());
    return true;
}

// The record that goes with `rows`: the one kept for them when it still matches, else one that says
// only what the rows are.
Record recordFor(const QList<ScheduleTextRow>& rows, const std::optional<Record>& recorded)
{
    const QString sha = ScheduleSource::checksum(rows);
    if (recorded && recorded->sha256 == sha)
        return *recorded;
    return {rows.isEmpty() ? QStringLiteral("empty") : QStringLiteral("unrecorded"), {}, {}, sha};
}

// Opens the database, makes the tables `table` needs, and runs `change` in one transaction.
bool inTransaction(const QString& scheduleDbPath,
                   const QString& table,
                   QString* error,
                   const std::function<bool(QSqlDatabase&, QString*)>& change)
{
    SqlConnection connection(scheduleDbPath, SqlConnection::Mode::OpenOrCreate);
    if (!connection.isOpen())
        return fail(error, connection.errorText());
    for (const TableDef* def : {&Schema::scheduleTable(rowsTable(table)),
                                &Schema::scheduleTable(keptTable(table)),
                                &Schema::scheduleSourceTable()}) {
        Schema::createTable(connection, *def);
        Schema::addColumns(connection, *def);
    }
    QSqlDatabase& db = connection.database();
    if (!db.transaction())
        return fail(error, db.lastError().text());
    QString message;
    if (!change(db, &message)) {
        db.rollback();
        return fail(error, message);
    }
    if (!db.commit()) {
        const QString reason = db.lastError().text();
        db.rollback();
        return fail(error, reason);
    }
    return true;
}
} // namespace

std::optional<Record> record(const QString& scheduleDbPath, const QString& table)
{
    SqlConnection connection(scheduleDbPath);
    if (!connection.isOpen())
        return std::nullopt;
    return readRecordOn(connection.database(), table);
}

bool importRows(const QString& scheduleDbPath,
                const QString& table,
                const QList<ScheduleTextRow>& rows,
                const QString& file,
                const QDate& day,
                QString* error)
{
    const QString live = rowsTable(table);
    const QString kept = keptTable(table);
    return inTransaction(scheduleDbPath, table, error, [&](QSqlDatabase& db, QString* message) {
        const auto replaced = readRowsOn(db, live, message);
        if (!replaced)
            return false;
        const Record replacedRecord = recordFor(*replaced, readRecordOn(db, live));
        return writeRowsOn(db, kept, *replaced, message) &&
               writeRecordOn(db, kept, replacedRecord, message) && writeRowsOn(db, live, rows, message) &&
               writeRecordOn(db,
                             live,
                             {QStringLiteral("imported"), file, day, ScheduleSource::checksum(rows)},
                             message);
    });
}

bool installRows(const QString& scheduleDbPath,
                 const QString& table,
                 const QList<ScheduleTextRow>& rows,
                 const QDate& day,
                 QString* error)
{
    const QString live = rowsTable(table);
    return inTransaction(scheduleDbPath, table, error, [&](QSqlDatabase& db, QString* message) {
        return writeRowsOn(db, live, rows, message) &&
               writeRecordOn(
                   db, live, {QStringLiteral("official"), {}, day, ScheduleSource::checksum(rows)}, message);
    });
}

bool hasKeptCopy(const QString& scheduleDbPath, const QString& table)
{
    return record(scheduleDbPath, keptTable(table)).has_value();
}

std::optional<ScheduleSource> keptSource(const QString& scheduleDbPath, const QString& table)
{
    SqlConnection connection(scheduleDbPath);
    if (!connection.isOpen())
        return std::nullopt;
    const std::optional<Record> recorded = readRecordOn(connection.database(), keptTable(table));
    if (!recorded)
        return std::nullopt;
    const auto rows = readRowsOn(connection.database(), keptTable(table), nullptr);
    if (!rows)
        return std::nullopt;
    return ScheduleSource::classify(rowsTable(table), *rows, recorded);
}

bool undoImport(const QString& scheduleDbPath, const QString& table, QString* error)
{
    const QString live = rowsTable(table);
    const QString kept = keptTable(table);
    return inTransaction(scheduleDbPath, table, error, [&](QSqlDatabase& db, QString* message) {
        const std::optional<Record> keptRecord = readRecordOn(db, kept);
        if (!keptRecord) {
            *message = QStringLiteral("no earlier schedule of table %1 is kept: no import has replaced it")
                           .arg(live);
            return false;
        }
        const auto keptRows = readRowsOn(db, kept, message);
        const auto liveRows = keptRows ? readRowsOn(db, live, message) : std::nullopt;
        if (!liveRows)
            return false;
        const Record liveRecord = recordFor(*liveRows, readRecordOn(db, live));
        return writeRowsOn(db, live, *keptRows, message) && writeRecordOn(db, live, *keptRecord, message) &&
               writeRowsOn(db, kept, *liveRows, message) && writeRecordOn(db, kept, liveRecord, message);
    });
}

} // namespace cs42::ScheduleHistory
