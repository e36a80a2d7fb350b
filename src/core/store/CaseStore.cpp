#include "core/store/CaseStore.h"

#include "core/Logging.h"
#include "core/store/CaseKey.h"
#include "core/store/DataPaths.h"
#include "core/store/NullRepair.h"
#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace cs42 {

namespace {
// The table must be there as well as the file: an empty file opens but holds no cases table.
bool openTable(SqlConnection& connection)
{
    if (!connection.isOpen())
        return false;
    QSqlQuery query(connection.database());
    if (query.exec(QStringLiteral("SELECT caseid FROM Cases LIMIT 0")))
        return true;
    connection.noteError(query.lastError());
    return false;
}

std::optional<qint64> findRowId(SqlConnection& connection, const QString& caseId)
{
    QSqlQuery query(connection.database());
    query.prepare(QStringLiteral("SELECT rowid FROM Cases WHERE caseid = ? ORDER BY rowid LIMIT 1"));
    query.addBindValue(caseId);
    if (query.exec() && query.next())
        return query.value(0).toLongLong();
    return std::nullopt;
}
} // namespace

QString shortDateText(const QDate& date)
{
    return QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
}

CaseStore::CaseStore(QString casesDbPath)
    : m_path(std::move(casesDbPath))
{}

CaseStore::CaseStore(QString casesDbPath, QString problem)
    : m_path(std::move(casesDbPath))
    , m_problem(std::move(problem))
{}

QString CaseStore::openErrorTitle()
{
    return QStringLiteral("Error");
}

QString CaseStore::openErrorText()
{
    return QStringLiteral(
        "There was an error attempting to open the CASES database, and this program will now "
        "end.  Please contact Tessaly to report this problem.");
}

QString CaseStore::openErrorText(const QString& path, const QString& cause)
{
    return openErrorText() + QStringLiteral("\r\n\r\nThe file: ") + shownLocation(path) +
           QStringLiteral("\r\nThe cause: ") + cause;
}

CaseStoreMessage CaseStore::messageFor(CaseStoreStatus status) const
{
    switch (status) {
    case CaseStoreStatus::Ok:
        return {};
    case CaseStoreStatus::OpenFailed:
        return {openErrorTitle(), openErrorText(m_path, m_problem), true};
    case CaseStoreStatus::CaseRemoved:
        return {QString(),
                QStringLiteral("This case no longer exists: it has been removed, perhaps from another "
                               "workstation. Nothing was saved. Please select a case in the Case Library."),
                false};
    case CaseStoreStatus::Busy:
        return {QStringLiteral("Cases Database in Use"),
                QStringLiteral("The CASES database is in use by another workstation, so nothing was read "
                               "or saved just now.  Please try again in a moment.\r\n\r\nThe file: ") +
                    shownLocation(m_path),
                false};
    case CaseStoreStatus::Damaged:
        return {QStringLiteral("Cases Database Damaged"),
                QStringLiteral("The CASES database is damaged: a case that is stored in it can no longer be "
                               "found.  Nothing was changed.  Please restore the CASES database from its "
                               "backup (File Utilities: press Esc on the opening window when the program "
                               "starts).\r\n\r\nThe file: ") +
                    shownLocation(m_path) + QStringLiteral("\r\nThe damage: ") + m_problem,
                false};
    case CaseStoreStatus::Unreachable:
        return {QStringLiteral("Cases Server Not Reached"),
                QStringLiteral("The server that holds the CASES database cannot be reached just now, so "
                               "nothing was read or saved.  Please try again in a moment; if the server "
                               "stays out of reach, ask whoever looks after it.\r\n\r\nThe server: ") +
                    shownLocation(m_path) + QStringLiteral("\r\nThe cause: ") + m_problem,
                false};
    case CaseStoreStatus::Conflict:
        return {QStringLiteral("Changed at Another Workstation"),
                QStringLiteral("Another workstation changed this entry of the case since it was read, so "
                               "nothing was saved."),
                false};
    case CaseStoreStatus::SaveFailed:
        return {QStringLiteral("Not Saved"),
                QStringLiteral("The change could not be saved in the CASES database, and nothing was "
                               "changed.\r\n\r\nThe file: ") +
                    shownLocation(m_path) + QStringLiteral("\r\nThe cause: ") + m_problem,
                false};
    }
    return {};
}

CaseStoreStatus CaseStore::fail(CaseStoreStatus status, const QString& cause) const
{
    qCWarning(lcStore) << m_path << "status" << int(status) << cause;
    m_problem = cause;
    return status;
}

CaseStoreStatus CaseStore::openFailure(SqlConnection& connection) const
{
    if (connection.failure() == SqlFailure::Busy)
        return fail(CaseStoreStatus::Busy, connection.errorText());
    if (connection.failure() == SqlFailure::Unreachable)
        return fail(CaseStoreStatus::Unreachable, connection.errorText());
    if (connection.isOpen() && connection.errorText().contains(QLatin1String("no such table")))
        return fail(CaseStoreStatus::OpenFailed, QStringLiteral("The file holds no Cases table."));
    return fail(CaseStoreStatus::OpenFailed, connection.errorText());
}

CaseStoreStatus CaseStore::missingRow(SqlConnection& connection) const
{
    const QString damage = connection.integrityProblem();
    if (connection.failure() == SqlFailure::Busy)
        return fail(CaseStoreStatus::Busy, connection.errorText());
    if (connection.failure() == SqlFailure::Unreachable)
        return fail(CaseStoreStatus::Unreachable, connection.errorText());
    if (!damage.isEmpty())
        return fail(CaseStoreStatus::Damaged, damage);
    return fail(CaseStoreStatus::CaseRemoved, QString());
}

CaseStoreStatus CaseStore::writeFailure(SqlConnection& connection, const QSqlError& error) const
{
    connection.noteError(error);
    if (connection.failure() == SqlFailure::Busy)
        return fail(CaseStoreStatus::Busy, connection.errorText());
    if (connection.failure() == SqlFailure::Unreachable)
        return fail(CaseStoreStatus::Unreachable, connection.errorText());
    if (connection.failure() == SqlFailure::NotADatabase)
        return fail(CaseStoreStatus::Damaged, connection.errorText());
    return fail(CaseStoreStatus::SaveFailed, connection.errorText());
}

CaseStoreStatus CaseStore::open() const
{
    SqlConnection connection(m_path);
    return openTable(connection) ? CaseStoreStatus::Ok : openFailure(connection);
}

std::optional<CaseRecord> CaseStore::findCurrentCase(QString& currentCaseId, CaseStoreStatus* status) const
{
    auto report = [status](CaseStoreStatus s) {
        if (status)
            *status = s;
    };
    SqlConnection connection(m_path);
    if (!openTable(connection)) {
        report(openFailure(connection));
        return std::nullopt;
    }
    QSqlQuery query(connection.database());
    const QString columns = connection.dialect().rowColumns(Schema::casesTable());
    if (currentCaseId.isEmpty()) {
        query.prepare(QStringLiteral("SELECT %1 FROM Cases ORDER BY rowid LIMIT 1").arg(columns));
    } else {
        query.prepare(
            QStringLiteral("SELECT %1 FROM Cases WHERE caseid = ? ORDER BY rowid LIMIT 1").arg(columns));
        query.addBindValue(currentCaseId);
    }
    if (!query.exec()) {
        connection.noteError(query.lastError());
        report(openFailure(connection));
        return std::nullopt;
    }
    if (!query.next()) {
        query.finish();
        report(currentCaseId.isEmpty() ? fail(CaseStoreStatus::CaseRemoved, QString())
                                       : missingRow(connection));
        return std::nullopt;
    }
    CaseRecord record;
    const QSqlRecord row = query.record();
    for (int i = 0; i < row.count(); ++i)
        record.setValue(row.fieldName(i), query.value(i).isNull() ? QString() : query.value(i).toString());
    if (currentCaseId.isEmpty())
        currentCaseId = record.caseId();
    report(CaseStoreStatus::Ok);
    return record;
}

namespace {
// Tells the workstations listening on a server that the case changed; the notice goes out when
// the statement's transaction commits. A file needs none: its readers look for changes themselves.
bool noticeChange(SqlConnection& connection, const QString& caseId, QSqlError* error = nullptr)
{
    const QString notice = connection.dialect().changeNotice();
    if (notice.isEmpty())
        return true;
    QSqlQuery query(connection.database());
    query.prepare(notice);
    query.addBindValue(caseId);
    if (query.exec())
        return true;
    qCWarning(lcStore) << "could not send the notice of a changed case:" << query.lastError().text();
    if (error)
        *error = query.lastError();
    return false;
}

// A save on a server as one statement, which is atomic by itself without BEGIN and COMMIT: the
// driver sends each statement with bound values as PREPARE, EXECUTE and DEALLOCATE, so a save
// made of a transaction's several statements costs several times the round trips of one.
//
// The statement locks the case's first row (FOR UPDATE: a save of another workstation finishes
// first, and what is read is what is replaced), updates it, adds one history row per column whose
// value changed and sends the notice of the changed case, the last two only when the row was
// updated. `checked`: the update writes only the columns whose value differs, and only when every
// column still holds `expected` or already holds `value` (Null reads as the empty text); otherwise
// it writes all the columns as given. Its one result row, none when the case is gone, holds the
// stored values read under the lock, in the order of `changes`, then the number of rows updated.
class ServerSave
{
public:
    ServerSave(const SqlDialect& dialect,
               const QString& caseId,
               const QList<ColumnChange>& changes,
               bool checked)
    {
        // Placeholders are made in the order of the text: the values are bound by position.
        const ChangeHistory::Bind bind = [this](const QVariant& value) {
            m_values << value;
            // Typed, so that the server can prepare the statement whatever the value's place.
            return QStringLiteral("CAST(? AS TEXT)");
        };
        // A value stored into a column takes the column's type, as in a plain UPDATE.
        const auto store = [this](const QVariant& value) {
            m_values << value;
            return QStringLiteral("?");
        };
        QStringList columns;
        QStringList stored;
        QStringList returned;
        QList<ChangeHistory::Written> written;
        for (qsizetype i = 0; i < changes.size(); ++i) {
            const QString column = dialect.identifier(changes[i].column);
            columns << column;
            stored << QStringLiteral("cur.") + column;
            returned << QStringLiteral("cur.%1 AS old%2").arg(column).arg(i);
            written.append({changes[i].column, QStringLiteral("upd.old%1").arg(i), changes[i].value});
        }
        const auto now = [&columns](qsizetype i) {
            return QStringLiteral("COALESCE(t.%1, '')").arg(columns[i]);
        };
        const auto valueText = [&](qsizetype i) {
            return QStringLiteral("COALESCE(") + bind(changes[i].value) + QStringLiteral(", '')");
        };

        QString sql = QStringLiteral("WITH cur AS (SELECT rowid, %1 FROM Cases WHERE caseid = ")
                          .arg(columns.join(QStringLiteral(", ")));
        sql += bind(caseId) + QStringLiteral(" ORDER BY rowid LIMIT 1 FOR UPDATE), ");
        sql += QStringLiteral("upd AS (UPDATE Cases AS t SET ");
        for (qsizetype i = 0; i < changes.size(); ++i) {
            if (i > 0)
                sql += QStringLiteral(", ");
            sql += columns[i] + QStringLiteral(" = ");
            if (checked) {
                // A column already holding its value keeps what it holds (a Null stays Null).
                sql += QStringLiteral("CASE WHEN %1 <> ").arg(now(i)) + valueText(i);
                sql += QStringLiteral(" THEN ") + store(changes[i].value);
                sql += QStringLiteral(" ELSE t.%1 END").arg(columns[i]);
            } else {
                sql += store(changes[i].value);
            }
        }
        sql += QStringLiteral(" FROM cur WHERE t.rowid = cur.rowid");
        if (checked) {
            for (qsizetype i = 0; i < changes.size(); ++i) {
                // Null was read as the empty text; a null text would bind as Null, which equals nothing.
                const QString expected =
                    changes[i].expected.isNull() ? QString(QLatin1String("")) : changes[i].expected;
                sql += QStringLiteral(" AND %1 IN (").arg(now(i)) + bind(expected);
                sql += QStringLiteral(", ") + valueText(i) + QLatin1Char(')');
            }
            sql += QStringLiteral(" AND (");
            for (qsizetype i = 0; i < changes.size(); ++i) {
                if (i > 0)
                    sql += QStringLiteral(" OR ");
                sql += now(i) + QStringLiteral(" <> ") + valueText(i);
            }
            sql += QLatin1Char(')');
        }
        sql += QStringLiteral(" RETURNING %1), ").arg(returned.join(QStringLiteral(", ")));
        sql += QStringLiteral("hist AS (") +
               ChangeHistory::insertWritten(
                   ChangeHistory::Of::Cases, caseId, QStringLiteral("upd"), written, bind);
        sql += QStringLiteral("), note AS (SELECT pg_notify(") + bind(SqlDialect::casesChannel());
        sql += QStringLiteral(", ") + bind(caseId) + QStringLiteral(") FROM upd) ");
        // A CTE that only reads runs when it is read: the count sends the notice.
        sql += QStringLiteral("SELECT %1, (SELECT count(*) FROM upd), (SELECT count(*) FROM note) FROM cur")
                   .arg(stored.join(QStringLiteral(", ")));
        m_sql = sql;
    }

    const QString& sql() const { return m_sql; }

    const QVariantList& values() const { return m_values; }

private:
    QString m_sql;
    QVariantList m_values;
};
} // namespace

CaseStoreStatus CaseStore::saveOnServer(SqlConnection& connection,
                                        const QString& currentCaseId,
                                        const QList<ColumnChange>& changes,
                                        bool checked,
                                        QList<ColumnConflict>* conflicts) const
{
    const ServerSave save(connection.dialect(), currentCaseId, changes, checked);
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.prepare(save.sql()))
        return writeFailure(connection, query.lastError());
    for (const QVariant& value : save.values())
        query.addBindValue(value);
    if (!query.exec())
        return writeFailure(connection, query.lastError());
    if (!query.next()) {
        query.finish();
        return missingRow(connection);
    }
    const int column = static_cast<int>(changes.size());
    const bool updated = query.value(column).toLongLong() > 0;
    bool toWrite = false;
    QList<ColumnConflict> found;
    for (qsizetype i = 0; i < changes.size(); ++i) {
        const ColumnChange& change = changes[i];
        const QString stored = query.value(static_cast<int>(i)).toString();
        if (stored == change.value)
            continue;
        if (stored != change.expected)
            found.append({change.column, change.expected, change.value, stored});
        else
            toWrite = true;
    }
    query.finish();
    if (!checked || updated)
        return CaseStoreStatus::Ok;
    if (conflicts)
        *conflicts = found;
    // Nothing was written: every column already held its value, or one was changed meanwhile.
    return found.isEmpty() && !toWrite ? CaseStoreStatus::Ok : CaseStoreStatus::Conflict;
}

CaseStoreStatus CaseStore::saveCaseFields(const QString& currentCaseId, const ColumnValues& values) const
{
    QStringList assignments;
    QStringList columns;
    for (const auto& [column, value] : values) {
        // Column names cannot be bound: only the schema's own names are accepted.
        if (!Schema::casesTable().hasColumn(column)) {
            // Columns come from the program's own tables, never from input: a caller's mistake.
            qCWarning(lcStore) << "refusing to save the unknown column" << column;
            Q_ASSERT_X(false, "CaseStore::saveCaseFields", "unknown column");
            return fail(CaseStoreStatus::SaveFailed,
                        QStringLiteral("The column %1 does not exist.").arg(column));
        }
    }
    if (values.isEmpty())
        return CaseStoreStatus::Ok;
    SqlConnection connection(m_path);
    if (!openTable(connection))
        return openFailure(connection);
    if (connection.engine() == SqlEngine::PostgreSQL) {
        QList<ColumnChange> changes;
        for (const auto& [column, value] : values)
            changes.append({column, QString(), value});
        return saveOnServer(connection, currentCaseId, changes, false, nullptr);
    }
    for (const auto& [column, value] : values) {
        assignments << connection.dialect().identifier(column) + QStringLiteral(" = ?");
        columns << connection.dialect().identifier(column);
    }
    if (QSqlError error; !ChangeHistory::beginWrite(connection, &error))
        return writeFailure(connection, error);
    QSqlDatabase db = connection.database();
    const auto rollback = [&](CaseStoreStatus status) {
        db.rollback();
        return status;
    };

    // The values the save replaces, read under the same write lock, are the history's "before".
    QSqlQuery read(db);
    read.prepare(QStringLiteral("SELECT rowid, %1 FROM Cases WHERE rowid = "
                                "(SELECT rowid FROM Cases WHERE caseid = ? ORDER BY rowid LIMIT 1)%2")
                     .arg(columns.join(QStringLiteral(", ")), ChangeHistory::lockRows(connection)));
    read.addBindValue(currentCaseId);
    if (!read.exec())
        return rollback(writeFailure(connection, read.lastError()));
    if (!read.next()) {
        read.finish();
        db.rollback();
        return missingRow(connection);
    }
    const qint64 rowId = read.value(0).toLongLong();
    QList<ChangeHistory::Entry> entries;
    QVariantList bound;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const auto& [column, value] = values[i];
        const QString stored = read.value(static_cast<int>(i) + 1).toString();
        if (stored != value)
            entries.append({currentCaseId, column, stored, value});
        bound << value;
    }
    read.finish();
    bound << rowId;
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("UPDATE Cases SET %1 WHERE rowid = ?").arg(assignments.join(QStringLiteral(", "))));
    for (const QVariant& v : bound)
        query.addBindValue(v);
    if (!query.exec())
        return rollback(writeFailure(connection, query.lastError()));
    query.finish();
    if (QSqlError error; !ChangeHistory::write(connection, ChangeHistory::Of::Cases, entries, &error))
        return rollback(writeFailure(connection, error));
    if (QSqlError error; !noticeChange(connection, currentCaseId, &error))
        return rollback(writeFailure(connection, error));
    if (!db.commit())
        return rollback(writeFailure(connection, db.lastError()));
    return CaseStoreStatus::Ok;
}

CaseStoreStatus CaseStore::saveCaseChanges(const QString& currentCaseId,
                                           const QList<ColumnChange>& changes,
                                           QList<ColumnConflict>* conflicts) const
{
    if (conflicts)
        conflicts->clear();
    for (const ColumnChange& change : changes) {
        if (!Schema::casesTable().hasColumn(change.column)) {
            qCWarning(lcStore) << "refusing to save the unknown column" << change.column;
            return fail(CaseStoreStatus::SaveFailed,
                        QStringLiteral("The column %1 does not exist.").arg(change.column));
        }
    }
    if (changes.isEmpty())
        return CaseStoreStatus::Ok;
    SqlConnection connection(m_path);
    if (!openTable(connection))
        return openFailure(connection);
    if (connection.engine() == SqlEngine::PostgreSQL)
        return saveOnServer(connection, currentCaseId, changes, true, conflicts);
    QSqlDatabase db = connection.database();
    if (QSqlError error; !ChangeHistory::beginWrite(connection, &error))
        return writeFailure(connection, error);
    const auto rollback = [&](CaseStoreStatus status) {
        db.rollback();
        return status;
    };

    // Read the columns under the transaction, then write only where nothing changed meanwhile: the
    // update's own condition makes the check and the write one step even between two reads.
    QStringList columns;
    for (const ColumnChange& change : changes)
        columns << connection.dialect().identifier(change.column);
    QSqlQuery read(db);
    read.prepare(QStringLiteral("SELECT rowid, %1 FROM Cases WHERE caseid = ? ORDER BY rowid LIMIT 1")
                     .arg(columns.join(QStringLiteral(", "))));
    read.addBindValue(currentCaseId);
    if (!read.exec())
        return rollback(writeFailure(connection, read.lastError()));
    if (!read.next()) {
        read.finish();
        db.rollback();
        return missingRow(connection);
    }
    const qint64 rowId = read.value(0).toLongLong();
    QList<ColumnChange> toWrite;
    QStringList olds;
    QList<ColumnConflict> found;
    for (qsizetype i = 0; i < changes.size(); ++i) {
        const ColumnChange& change = changes[i];
        const QString stored = read.value(static_cast<int>(i) + 1).toString();
        if (stored == change.value)
            continue; // already there: nothing to write, nothing to dispute
        if (stored != change.expected) {
            found.append({change.column, change.expected, change.value, stored});
            continue;
        }
        toWrite << change;
        olds << stored;
    }
    read.finish();
    if (!found.isEmpty()) {
        if (conflicts)
            *conflicts = found;
        return rollback(CaseStoreStatus::Conflict);
    }
    if (toWrite.isEmpty())
        return rollback(CaseStoreStatus::Ok);

    QStringList assignments;
    QStringList unchanged;
    QVariantList bound;
    for (const ColumnChange& change : toWrite) {
        assignments << connection.dialect().identifier(change.column) + QStringLiteral(" = ?");
        bound << change.value;
    }
    for (const ColumnChange& change : toWrite) {
        unchanged
            << QStringLiteral("COALESCE(%1, '') = ?").arg(connection.dialect().identifier(change.column));
        // A null text would bind as Null, which equals nothing: Null was read as the empty text.
        bound << (change.expected.isNull() ? QString(QLatin1String("")) : change.expected);
    }
    bound << rowId;
    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE Cases SET %1 WHERE %2 AND rowid = ?")
                       .arg(assignments.join(QStringLiteral(", ")), unchanged.join(QStringLiteral(" AND "))));
    for (const QVariant& v : bound)
        update.addBindValue(v);
    if (!update.exec())
        return rollback(writeFailure(connection, update.lastError()));
    if (update.numRowsAffected() == 0)
        return rollback(CaseStoreStatus::Conflict);

    QList<ChangeHistory::Entry> entries;
    for (qsizetype i = 0; i < toWrite.size(); ++i)
        entries.append({currentCaseId, toWrite[i].column, olds[i], toWrite[i].value});
    if (QSqlError error; !ChangeHistory::write(connection, ChangeHistory::Of::Cases, entries, &error))
        return rollback(writeFailure(connection, error));
    if (QSqlError error; !noticeChange(connection, currentCaseId, &error))
        return rollback(writeFailure(connection, error));
    if (!db.commit())
        return rollback(writeFailure(connection, db.lastError()));
    return CaseStoreStatus::Ok;
}

QList<CaseChange> CaseStore::history(const QString& caseId, CaseStoreStatus* status) const
{
    QList<CaseChange> rows;
    SqlConnection connection(m_path);
    if (!openTable(connection)) {
        const CaseStoreStatus failed = openFailure(connection);
        if (status)
            *status = failed;
        return rows;
    }
    if (QSqlError error; !ChangeHistory::read(connection, ChangeHistory::Of::Cases, caseId, &rows, &error)) {
        const CaseStoreStatus failed = writeFailure(connection, error);
        if (status)
            *status = failed == CaseStoreStatus::SaveFailed ? CaseStoreStatus::OpenFailed : failed;
        return {};
    }
    if (status)
        *status = CaseStoreStatus::Ok;
    return rows;
}

QList<CaseListItem> CaseStore::listCases(CaseStoreStatus* status) const
{
    QList<CaseListItem> items;
    SqlConnection connection(m_path);
    if (!openTable(connection)) {
        const CaseStoreStatus failed = openFailure(connection);
        if (status)
            *status = failed;
        return items;
    }
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT casedesc, caseid FROM Cases ORDER BY rowid"))) {
        const CaseStoreStatus failed = writeFailure(connection, query.lastError());
        if (status)
            *status = failed == CaseStoreStatus::SaveFailed ? CaseStoreStatus::OpenFailed : failed;
        return items;
    }
    while (query.next()) {
        items.append(
            {query.value(0).isNull() ? QString() : query.value(0).toString(), query.value(1).toString()});
    }
    if (status)
        *status = CaseStoreStatus::Ok;
    return items;
}

int CaseStore::caseCount() const
{
    SqlConnection connection(m_path);
    if (!openTable(connection))
        return 0;
    QSqlQuery query(connection.database());
    if (query.exec(QStringLiteral("SELECT count(*) FROM Cases")) && query.next())
        return query.value(0).toInt();
    return 0;
}

bool CaseStore::caseExists(const QString& caseId) const
{
    SqlConnection connection(m_path);
    return openTable(connection) && findRowId(connection, caseId).has_value();
}

QString CaseStore::addCase(const QString& caseName, const QDate& today, const QString& edition) const
{
    return addCaseRow(caseName, caseName, today, edition);
}

QString CaseStore::addSampleCase(const QDate& today, const QString& edition) const
{
    return addCaseRow(QStringLiteral("MO"), QStringLiteral("Sample Case"), today, edition);
}

QString CaseStore::addCaseRow(const QString& keySource,
                              const QString& caseName,
                              const QDate& today,
                              const QString& edition) const
{
    SqlConnection connection(m_path);
    if (!openTable(connection)) {
        openFailure(connection);
        return {};
    }
    QSqlDatabase db = connection.database();
    // A server refuses a key that another workstation took a moment ago: draw another (in a new
    // transaction: a server's transaction ends with its first failed statement).
    for (int attempt = 0;; ++attempt) {
        if (QSqlError error; !ChangeHistory::beginWrite(connection, &error)) {
            writeFailure(connection, error);
            return {};
        }
        const QString key = CaseKey::makeUnique(keySource, [&connection](const QString& candidate) {
            return findRowId(connection, candidate).has_value();
        });
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral(
            "INSERT INTO Cases (caseid, casedesc, caseopen, casefile, obligor, payshealth, whosecustody, "
            "formedition) VALUES (?, ?, ?, ?, 'D', 'P', 'P', ?)"));
        for (const QString& value : {key,
                                     caseName,
                                     shortDateText(today),
                                     key,
                                     edition.isNull() ? QString(QLatin1String("")) : edition})
            insert.addBindValue(value);
        QSqlError error;
        if (insert.exec()) {
            insert.finish();
            const ChangeHistory::Entry added{
                key, QStringLiteral("casedesc"), QString(), caseName, ChangeAction::Added};
            if (ChangeHistory::write(connection, ChangeHistory::Of::Cases, {added}, &error) &&
                noticeChange(connection, key, &error)) {
                if (db.commit())
                    return key;
                error = db.lastError();
            }
        } else {
            error = insert.lastError();
        }
        db.rollback();
        if (attempt < 5 && connection.dialect().isDuplicateKey(error))
            continue;
        writeFailure(connection, error);
        return {};
    }
}

CaseStoreStatus CaseStore::renameCase(const QString& caseId, const QString& newName) const
{
    return saveCaseField(caseId, QStringLiteral("casedesc"), newName);
}

CaseStoreStatus CaseStore::deleteCase(const QString& caseId) const
{
    SqlConnection connection(m_path);
    if (!openTable(connection))
        return openFailure(connection);
    QSqlDatabase db = connection.database();
    if (QSqlError error; !ChangeHistory::beginWrite(connection, &error))
        return writeFailure(connection, error);
    const auto rollback = [&](CaseStoreStatus status) {
        db.rollback();
        return status;
    };
    // The name the case had goes into its history, so that who deleted it, and when, is still known.
    QSqlQuery read(db);
    read.prepare(QStringLiteral("SELECT rowid, casedesc FROM Cases WHERE caseid = ? ORDER BY rowid LIMIT 1%1")
                     .arg(ChangeHistory::lockRows(connection)));
    read.addBindValue(caseId);
    if (!read.exec())
        return rollback(writeFailure(connection, read.lastError()));
    if (!read.next()) {
        read.finish();
        db.rollback();
        return missingRow(connection);
    }
    const qint64 rowId = read.value(0).toLongLong();
    const ChangeHistory::Entry deleted{
        caseId, QStringLiteral("casedesc"), read.value(1).toString(), QString(), ChangeAction::Deleted};
    read.finish();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DELETE FROM Cases WHERE rowid = ?"));
    query.addBindValue(rowId);
    if (!query.exec())
        return rollback(writeFailure(connection, query.lastError()));
    query.finish();
    if (QSqlError error; !ChangeHistory::write(connection, ChangeHistory::Of::Cases, {deleted}, &error))
        return rollback(writeFailure(connection, error));
    if (QSqlError error; !noticeChange(connection, caseId, &error))
        return rollback(writeFailure(connection, error));
    if (!db.commit())
        return rollback(writeFailure(connection, db.lastError()));
    return CaseStoreStatus::Ok;
}

void CaseStore::repairNulls() const
{
    NullRepair::repairTable(m_path, Schema::casesTable());
}

} // namespace cs42
