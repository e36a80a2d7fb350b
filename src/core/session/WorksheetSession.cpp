#include "core/session/WorksheetSession.h"

#include "core/explain/EditionExplanation.h"
#include "core/worksheet/AmountCheck.h"
#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/EntryRules.h"

#include <QRegularExpression>

#include <algorithm>

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
    CaseRecord record;
    CaseStoreStatus status = CaseStoreStatus::Ok;
    QString problem;
    std::optional<Worksheet> sheet =
        recalculateWorksheet(m_paths, m_currentCaseId, &status, &problem, nullptr, m_today(), &record);
    if (!sheet)
        return remember(status == CaseStoreStatus::Ok ? CaseStoreStatus::CaseRemoved : status, problem);
    m_worksheet = std::move(sheet);
    m_record = std::move(record);
    if (const FormEdition* edition = FormEditions::find(m_worksheet->result.editionId))
        m_edition = edition;
    return CaseStoreStatus::Ok;
}

CaseStoreStatus WorksheetSession::reread(QList<CaptionChange>* changes)
{
    const Captions before = captions();
    const bool hadComputation = m_worksheet.has_value();
    const CaseStoreStatus status = recalculate();
    if (changes)
        changes->clear();
    if (status != CaseStoreStatus::Ok || !hadComputation || !changes)
        return status;
    const Captions after = captions();
    for (const QString& label : m_edition->captionLabels()) {
        if (before.value(label) != after.value(label))
            changes->append({label, before.value(label), after.value(label)});
    }
    return status;
}

namespace {
// "Line 1, defendant", "Line 4", "Comments": how a label is named in a sentence.
QString labelWords(const FormEdition& edition, const QString& label)
{
    static const QRegularExpression cell(QStringLiteral("^lbl([PDC])(\\d+[ab]?)$"));
    if (const QRegularExpressionMatch m = cell.match(label); m.hasMatch()) {
        const QString side = m.captured(1);
        QString words = QStringLiteral("Line ") + m.captured(2);
        if (side == QLatin1String("P"))
            words += QStringLiteral(", plaintiff");
        else if (side == QLatin1String("D"))
            words += QStringLiteral(", defendant");
        return words;
    }
    const LineDef* line = edition.line(label);
    if (line && !line->title.isEmpty())
        return line->title;
    QString words = label;
    if (words.startsWith(QLatin1String("lbl")))
        words = words.mid(3);
    return words;
}
} // namespace

QString WorksheetSession::describeChanges(const FormEdition& edition, const QList<CaptionChange>& changes)
{
    const auto isEntry = [&edition](const CaptionChange& change) {
        const LineDef* line = edition.line(change.label);
        return line && line->kind != LineKind::Computed;
    };
    const bool entriesChanged = std::any_of(changes.begin(), changes.end(), isEntry);
    QStringList lines;
    for (const CaptionChange& change : changes) {
        if (entriesChanged && !isEntry(change))
            continue;
        const QString before = change.before.isEmpty() ? QStringLiteral("(empty)") : change.before;
        const QString after = change.after.isEmpty() ? QStringLiteral("(empty)") : change.after;
        lines << QStringLiteral("%1: %2 \u2192 %3").arg(labelWords(edition, change.label), before, after);
    }
    return lines.join(QLatin1Char('\n'));
}

CaseStoreStatus WorksheetSession::apply(const ColumnValues& values)
{
    m_conflicts.clear();
    // Only what the entry changed is stored, and only over the value it was entered against: a
    // column another workstation changed meanwhile is not overwritten unseen.
    QList<ColumnChange> changes;
    for (const auto& [column, value] : values) {
        const QString read = m_record ? m_record->value(column) : QString();
        if (m_record && read == value)
            continue;
        changes.append({column, read, value});
    }
    const CaseStoreStatus status = m_record ? m_store.saveCaseChanges(m_currentCaseId, changes, &m_conflicts)
                                            : m_store.saveCaseFields(m_currentCaseId, values);
    if (status != CaseStoreStatus::Ok)
        return status;
    return recalculate();
}

CaseStoreStatus WorksheetSession::applyOver(const QList<ColumnConflict>& conflicts)
{
    QList<ColumnChange> changes;
    for (const ColumnConflict& conflict : conflicts)
        changes.append({conflict.column, conflict.stored, conflict.value});
    m_conflicts.clear();
    const CaseStoreStatus status = m_store.saveCaseChanges(m_currentCaseId, changes, &m_conflicts);
    if (status != CaseStoreStatus::Ok)
        return status;
    return recalculate();
}

CaseStoreStatus WorksheetSession::applyText(const QString& label, const QString& text)
{
    const QString column = m_edition->column(label);
    m_conflicts.clear();
    const CaseStoreStatus status =
        m_record ? m_store.saveCaseChanges(
                       m_currentCaseId, {{column, m_record->value(column), text}}, &m_conflicts)
                 : m_store.saveCaseFields(m_currentCaseId, {{column, text}});
    if (status == CaseStoreStatus::Ok && m_worksheet) {
        m_worksheet->captions.insert(label, text);
        if (m_record)
            m_record->setValue(column, text);
    }
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
    return explainWorksheet(*m_edition, m_worksheet->captions, m_worksheet->result, today);
}

CaseStoreStatus WorksheetSession::switchEdition(const FormEdition& edition, bool replaceAmounts)
{
    CaseStoreStatus status = CaseStoreStatus::Ok;
    const std::optional<CaseRecord> record = currentCase(&status);
    if (!record)
        return status;
    const FormEdition* from = FormEditions::forCase(*record);
    const EditionCarryOver plan = from ? planCarryOver(*record, *from, edition) : EditionCarryOver();
    ColumnValues values;
    if (plan.needed && (replaceAmounts || !plan.replacesAmounts))
        values = plan.derived;
    values.append({QStringLiteral("formedition"), edition.id});
    return apply(values);
}

std::optional<EditionCarryOver> WorksheetSession::carryOverTo(const FormEdition& edition,
                                                              CaseStoreStatus* status) const
{
    const std::optional<CaseRecord> record = currentCase(status);
    if (!record)
        return std::nullopt;
    const FormEdition* from = FormEditions::forCase(*record);
    return from ? planCarryOver(*record, *from, edition) : EditionCarryOver();
}

namespace {
// True when the record stores `values` already: the same text, or for an amount the same figure
// to the cent ("300" and "300.00"; empty and 0).
bool storesAlready(const CaseRecord& record, const ColumnValues& values)
{
    for (const auto& [column, value] : values) {
        const QString stored = record.value(column);
        if (stored.trimmed() == value.trimmed())
            continue;
        if (column == QLatin1String("payshealth") ||
            Format::roundHalfAway(usableAmount(stored), 2) != Format::roundHalfAway(usableAmount(value), 2))
            return false;
    }
    return true;
}
} // namespace

EditionCarryOver
WorksheetSession::planCarryOver(const CaseRecord& record, const FormEdition& from, const FormEdition& to)
{
    EditionCarryOver plan;
    plan.derived = carryOver(record, from, to);
    // The other form's columns are what the last switch derived from these: nothing changed on the
    // form switched from, and the columns of the one switched to still hold its figures (a 2022
    // case's cents and each parent's own amounts, which the 2009 sums cannot give back).
    if (plan.derived.isEmpty() || storesAlready(record, plan.derived) ||
        storesAlready(record, carryOver(record, to, from)))
        return plan;
    plan.needed = true;
    if (to.id != FormEditions::cs42Rev0109().id) {
        for (const auto& entry : std::as_const(plan.derived)) {
            if (usableAmount(record.value(entry.first)) != 0.0)
                plan.replacesAmounts = true;
        }
    }
    return plan;
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
