#include "core/worksheet/WorksheetSession.h"

namespace cs42 {

WorksheetSession::WorksheetSession(const DataPaths& paths, QString& currentCaseId, const FormEdition& edition)
    : m_paths(paths)
    , m_currentCaseId(currentCaseId)
    , m_edition(edition)
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
    std::optional<Worksheet> sheet = recalculateWorksheet(m_paths, m_currentCaseId, &status, &problem);
    if (!sheet)
        return remember(status == CaseStoreStatus::Ok ? CaseStoreStatus::CaseRemoved : status, problem);
    m_worksheet = std::move(sheet);
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
    const CaseStoreStatus status = m_store.saveCaseFields(m_currentCaseId, {{m_edition.column(label), text}});
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
    return m_edition.explain(m_worksheet->captions, m_worksheet->result, today);
}

} // namespace cs42
