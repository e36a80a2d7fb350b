#include "core/store/CaseStore.h"

#include "core/store/CaseKey.h"
#include "core/store/NullRepair.h"
#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"

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
    return query.exec(QStringLiteral("SELECT caseid FROM Cases LIMIT 0"));
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

CaseStoreStatus CaseStore::open() const
{
    SqlConnection connection(m_path);
    return openTable(connection) ? CaseStoreStatus::Ok : CaseStoreStatus::OpenFailed;
}

std::optional<CaseRecord> CaseStore::findCurrentCase(QString& currentCaseId, CaseStoreStatus* status) const
{
    auto report = [status](CaseStoreStatus s) {
        if (status)
            *status = s;
    };
    SqlConnection connection(m_path);
    if (!openTable(connection)) {
        report(CaseStoreStatus::OpenFailed);
        return std::nullopt;
    }
    QSqlQuery query(connection.database());
    if (currentCaseId.isEmpty()) {
        query.prepare(QStringLiteral("SELECT * FROM Cases ORDER BY rowid LIMIT 1"));
    } else {
        query.prepare(QStringLiteral("SELECT * FROM Cases WHERE caseid = ? ORDER BY rowid LIMIT 1"));
        query.addBindValue(currentCaseId);
    }
    if (!query.exec() || !query.next()) {
        report(CaseStoreStatus::CaseRemoved);
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

CaseStoreStatus CaseStore::saveCaseFields(const QString& currentCaseId, const ColumnValues& values) const
{
    SqlConnection connection(m_path);
    if (!openTable(connection))
        return CaseStoreStatus::OpenFailed;
    QStringList assignments;
    QVariantList bound;
    for (const auto& [column, value] : values) {
        // Column names cannot be bound: only the schema's own names are accepted.
        if (!Schema::casesTable().hasColumn(column))
            return CaseStoreStatus::OpenFailed;
        assignments << QStringLiteral("\"%1\" = ?").arg(column);
        bound << value;
    }
    if (assignments.isEmpty())
        return CaseStoreStatus::Ok;
    bound << currentCaseId;
    QSqlQuery query(connection.database());
    query.prepare(QStringLiteral("UPDATE Cases SET %1 WHERE rowid = "
                                 "(SELECT rowid FROM Cases WHERE caseid = ? ORDER BY rowid LIMIT 1)")
                      .arg(assignments.join(QStringLiteral(", "))));
    for (const QVariant& v : bound)
        query.addBindValue(v);
    if (!query.exec())
        return CaseStoreStatus::OpenFailed;
    return query.numRowsAffected() > 0 ? CaseStoreStatus::Ok : CaseStoreStatus::CaseRemoved;
}

QList<CaseListItem> CaseStore::listCases(CaseStoreStatus* status) const
{
    QList<CaseListItem> items;
    SqlConnection connection(m_path);
    if (!openTable(connection)) {
        if (status)
            *status = CaseStoreStatus::OpenFailed;
        return items;
    }
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("SELECT casedesc, caseid FROM Cases ORDER BY rowid"))) {
        while (query.next()) {
            items.append(
                {query.value(0).isNull() ? QString() : query.value(0).toString(), query.value(1).toString()});
        }
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

QString CaseStore::addCase(const QString& caseName, const QDate& today) const
{
    return addCaseRow(caseName, caseName, today);
}

QString CaseStore::addSampleCase(const QDate& today) const
{
    return addCaseRow(QStringLiteral("MO"), QStringLiteral("Sample Case"), today);
}

QString CaseStore::addCaseRow(const QString& keySource, const QString& caseName, const QDate& today) const
{
    SqlConnection connection(m_path);
    if (!openTable(connection))
        return {};
    const QString key = CaseKey::makeUnique(keySource, [&connection](const QString& candidate) {
        return findRowId(connection, candidate).has_value();
    });
    const bool added = connection.exec(
        QStringLiteral(
            "INSERT INTO Cases (caseid, casedesc, caseopen, casefile, obligor, payshealth, whosecustody) "
            "VALUES (?, ?, ?, ?, 'D', 'P', 'P')"),
        {key, caseName, shortDateText(today), key});
    return added ? key : QString();
}

CaseStoreStatus CaseStore::renameCase(const QString& caseId, const QString& newName) const
{
    return saveCaseField(caseId, QStringLiteral("casedesc"), newName);
}

CaseStoreStatus CaseStore::deleteCase(const QString& caseId) const
{
    SqlConnection connection(m_path);
    if (!openTable(connection))
        return CaseStoreStatus::OpenFailed;
    QSqlQuery query(connection.database());
    query.prepare(QStringLiteral(
        "DELETE FROM Cases WHERE rowid = (SELECT rowid FROM Cases WHERE caseid = ? ORDER BY rowid LIMIT 1)"));
    query.addBindValue(caseId);
    if (!query.exec())
        return CaseStoreStatus::OpenFailed;
    return query.numRowsAffected() > 0 ? CaseStoreStatus::Ok : CaseStoreStatus::CaseRemoved;
}

void CaseStore::repairNulls() const
{
    NullRepair::repairTable(m_path, Schema::casesTable());
}

} // namespace cs42
