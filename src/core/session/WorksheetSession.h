#pragma once

#include "core/store/CaseStore.h"
#include "core/store/DataPaths.h"
#include "core/worksheet/FormEdition.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

namespace cs42 {

// A caption that re-reading the stored case changed: what the screen showed and what is stored.
struct CaptionChange
{
    QString label;
    QString before;
    QString after;
};

// What switching a case from one form edition to another does with the costs the 2009 form and
// the later forms store in different columns (child care and health insurance).
struct EditionCarryOver
{
    // The columns of the edition switched to, as WorksheetSession::carryOver derives them from the
    // columns of the edition switched from.
    ColumnValues derived;
    // False when the columns stored for the edition switched to already stand for the same costs:
    // they equal `derived`, or nothing was changed on the edition switched from since the columns
    // it shows were derived from them. They are then kept as stored, so that switching there and
    // back keeps every figure to the cent.
    bool needed = false;
    // True when `needed` and `derived` would replace a parent's own amount stored for a later form
    // (from whose split the 2009 form's sums cannot be undone): the user is asked first.
    bool replacesAmounts = false;
};

// The worksheet of the current case without a window: loads the case, stores an entry and
// recomputes, and hands out the last computation. The worksheet window is a view of it; the
// written explanation and the produced form read its computed captions, as cs42-admin does.
class WorksheetSession
{
public:
    // `currentCaseId` is the program's current case; with an empty id the first case becomes it.
    // `edition` is the edition shown until the first computation, which takes the case's own.
    WorksheetSession(const DataPaths& paths, QString& currentCaseId, const FormEdition& edition);

    // The edition of the last computation: the case's `formedition`.
    const FormEdition& edition() const { return *m_edition; }

    // Switches the current case to another edition and recomputes. The amounts that have a place
    // on the new form carry over when they are needed there (see planCarryOver); with
    // `replaceAmounts` false, a parent's own amounts stored for the new form are kept instead.
    CaseStoreStatus switchEdition(const FormEdition& edition, bool replaceAmounts = true);
    // What switchEdition(edition) would carry over for the current case as stored (nullopt with the
    // status when the case cannot be read). Nothing for a case of an edition this program does not
    // know.
    std::optional<EditionCarryOver> carryOverTo(const FormEdition& edition,
                                                CaseStoreStatus* status = nullptr) const;
    // The columns a switch from `from` to `to` derives besides `formedition`: going from the 2009
    // form to a later one, the child care goes to the parent with custody and the health
    // insurance to the parent who pays it, in their own lines; going back, each is the sum of both
    // parents' lines and the payer of the larger coverage pays the health insurance.
    static ColumnValues carryOver(const CaseRecord& record, const FormEdition& from, const FormEdition& to);
    // Whether those columns are to be stored (EditionCarryOver).
    static EditionCarryOver
    planCarryOver(const CaseRecord& record, const FormEdition& from, const FormEdition& to);

    // The day the children's ages are counted on (the machine's date unless a test sets another).
    void setToday(std::function<QDate()> today) { m_today = std::move(today); }

    // Reads the current case and computes every line. On failure the last computation stays.
    CaseStoreStatus recalculate();

    // Recomputes from the case as stored at this moment, for what leaves the program (the produced
    // form, the written explanation and its copy): another workstation may have changed or deleted
    // the case since the last computation. *changes receives the captions that differ from the
    // last computation's (empty when nothing changed, or when there was none).
    CaseStoreStatus reread(QList<CaptionChange>* changes);

    // The changes in words, one a line: "Line 1, defendant: 5,287 → 5,400". The entries come first;
    // the computed lines follow only when no entry changed (a changed schedule, say).
    static QString describeChanges(const FormEdition& edition, const QList<CaptionChange>& changes);

    // Stores the columns of the current case that differ from the case as last read, each only
    // while it still holds the value read (Conflict otherwise: see conflicts()), then recomputes.
    CaseStoreStatus apply(const ColumnValues& values);

    // After apply() or applyText() returned Conflict: the columns another workstation changed
    // meanwhile, with both values; nothing of the entry was stored.
    const QList<ColumnConflict>& conflicts() const { return m_conflicts; }

    // Stores the user's values over those another workstation stored (the user chose them), then
    // recomputes.
    CaseStoreStatus applyOver(const QList<ColumnConflict>& conflicts);

    // Stores a text that takes no part in the computation (header, signature, comments) and shows
    // it as typed, without recomputing.
    CaseStoreStatus applyText(const QString& label, const QString& text);

    // The current case as stored (nullopt with the status when it cannot be read).
    std::optional<CaseRecord> currentCase(CaseStoreStatus* status = nullptr) const;

    // The last computation (nullopt until one succeeded).
    const std::optional<Worksheet>& worksheet() const { return m_worksheet; }

    // A label's caption as the last computation set it ("" when none).
    QString caption(const QString& label) const;
    Captions captions() const;

    // The written explanation of the last computation.
    QString explanation(const QDate& today) const;

    // The store of the cases database, which words the message of the last failure.
    const CaseStore& store() const { return m_store; }

private:
    CaseStoreStatus remember(CaseStoreStatus status, const QString& problem);

    DataPaths m_paths;
    QString& m_currentCaseId;
    const FormEdition* m_edition;
    CaseStore m_store;
    std::optional<Worksheet> m_worksheet;
    // The case as the last computation read it: what an entry is made against.
    std::optional<CaseRecord> m_record;
    QList<ColumnConflict> m_conflicts;
    std::function<QDate()> m_today = [] {
        return QDate::currentDate();
    };
};

} // namespace cs42
