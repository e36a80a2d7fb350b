#include "core/worksheet/WorksheetSession.h"

#include "core/worksheet/AmountCheck.h"
#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/EntryRules.h"

namespace cs42 {

WorksheetSession::WorksheetSession(const DataPaths& paths, QString& currentCaseId, const FormEdition& edition)
    : m_paths(paths)
    , m_currentCaseId(currentCaseId)
    , m_edition(&edition)
    , m_store(paths.casesDbPath())
{}

CaseStoreStatus WorksheetSession::remember(CaseStoreStatus status, const QString& problem)
{
    if (status != CaseStoreStatus::Ok)
        m_store = CaseStore(m_paths.casesDbPath(), problem);
    return status;
}

CaseStoreStatus WorksheetSession::recalculate()
{
    CaseStoreStatus status = CaseStoreStatus::Ok;
    QString problem;
    std::optional<Worksheet> sheet =
        recalculateWorksheet(m_paths, m_currentCaseId, &status, &problem, nullptr, m_today());
    if (!sheet)
        return remember(status == CaseStoreStatus::Ok ? CaseStoreStatus::CaseRemoved : status, problem);
    m_worksheet = std::move(sheet);
    if (const FormEdition* edition = FormEditions::find(m_worksheet->result.editionId))
        m_edition = edition;
    return CaseStoreStatus::Ok;
}

CaseStoreStatus WorksheetSession::apply(const ColumnValues& values)
{
    const CaseStoreStatus status = m_store.saveCaseFields(m_currentCaseId, values);
    if (status != CaseStoreStatus::Ok)
        return status;
    return recalculate();
}

CaseStoreStatus WorksheetSession::applyText(const QString& label, const QString& text)
{
    const CaseStoreStatus status =
        m_store.saveCaseFields(m_currentCaseId, {{m_edition->column(label), text}});
    if (status == CaseStoreStatus::Ok && m_worksheet)
        m_worksheet->captions.insert(label, text);
    return status;
}

std::optional<CaseRecord> WorksheetSession::currentCase(CaseStoreStatus* status) const
{
    CaseStoreStatus found = CaseStoreStatus::Ok;
    std::optional<CaseRecord> record = m_store.findCurrentCase(m_currentCaseId, &found);
    if (status)
        *status = record ? CaseStoreStatus::Ok
                         : (found == CaseStoreStatus::Ok ? CaseStoreStatus::CaseRemoved : found);
    return record;
}

QString WorksheetSession::caption(const QString& label) const
{
    return m_worksheet ? m_worksheet->captions.value(label) : QString();
}

Captions WorksheetSession::captions() const
{
    return m_worksheet ? m_worksheet->captions : Captions();
}

QString WorksheetSession::explanation(const QDate& today) const
{
    if (!m_worksheet)
        return {};
    return m_edition->explain(m_worksheet->captions, m_worksheet->result, today);
}

CaseStoreStatus WorksheetSession::switchEdition(const FormEdition& edition)
{
    CaseStoreStatus status = CaseStoreStatus::Ok;
    const std::optional<CaseRecord> record = currentCase(&status);
    if (!record)
        return status;
    const FormEdition* from = FormEditions::forCase(*record);
    ColumnValues values = from ? carryOver(*record, *from, edition) : ColumnValues();
    values.append({QStringLiteral("formedition"), edition.id});
    return apply(values);
}

ColumnValues
WorksheetSession::carryOver(const CaseRecord& record, const FormEdition& from, const FormEdition& to)
{
    const QString old = FormEditions::cs42Rev0109().id;
    if ((from.id == old) == (to.id == old))
        return {};
    const auto amount = [&record](const char* column) {
        return usableAmount(record.value(QString::fromLatin1(column)));
    };
    const auto text = [](double value) {
        return value == 0.0 ? QString(QLatin1String("")) : EntryRules::overrideAmountText(value);
    };
    if (from.id == old) {
        const bool plaintiffHasCustody = record.value(QStringLiteral("whosecustody")) == QLatin1String("P");
        const bool plaintiffInsures = record.value(QStringLiteral("payshealth")) == QLatin1String("P");
        const QString childCare = text(amount("childcare"));
        const QString coverage = text(amount("healthins"));
        return {{QStringLiteral("pchildcare"), plaintiffHasCustody ? childCare : QString(QLatin1String(""))},
                {QStringLiteral("dchildcare"), plaintiffHasCustody ? QString(QLatin1String("")) : childCare},
                {QStringLiteral("phealthins"), plaintiffInsures ? coverage : QString(QLatin1String(""))},
                {QStringLiteral("dhealthins"), plaintiffInsures ? QString(QLatin1String("")) : coverage}};
    }
    // The 2009 form stores whole dollars of child care and insurance.
    const double childCare = amount("pchildcare") + amount("dchildcare");
    const double plaintiffCoverage = amount("phealthins");
    const double defendantCoverage = amount("dhealthins");
    ColumnValues values{
        {QStringLiteral("childcare"), EntryRules::childCare(text(childCare))},
        {QStringLiteral("healthins"), text(Format::roundHalfAway(plaintiffCoverage + defendantCoverage, 0))}};
    if (plaintiffCoverage + defendantCoverage > 0)
        values.append({QStringLiteral("payshealth"),
                       plaintiffCoverage >= defendantCoverage ? QStringLiteral("P") : QStringLiteral("D")});
    return values;
}

} // namespace cs42
