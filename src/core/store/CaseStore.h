#pragma once

#include "core/store/CaseRecord.h"
#include "core/store/ChangeHistory.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QSqlError>
#include <QString>
#include <QVariant>

#include <optional>

namespace cs42 {

class SqlConnection;

// Outcome of a case-store operation that the user has to hear about.
enum class CaseStoreStatus
{
    Ok,
    OpenFailed,  // the cases database or its table cannot be opened: the program ends
    CaseRemoved, // the case is gone (deleted from another workstation); nothing was written
    Busy,        // another workstation holds the file: nothing was read or written, try again
    Damaged,     // the file is damaged (an expected row is missing): it must be restored
    SaveFailed,  // the file opens but took no change (read-only, disk full): nothing was written
    Unreachable, // the server cannot be reached just now: nothing was read or written, try again
    Conflict,    // another workstation changed a column since it was read: nothing was written
};

// What the user is told about a status other than Ok: a message box's title and text, and
// whether the program must end (only when the database truly cannot be opened).
struct CaseStoreMessage
{
    QString title;
    QString text;
    bool endsProgram = false;
};

// One entry of the case library: casedesc (null when Null) and caseid, in stored order.
struct CaseListItem
{
    QString caseDesc;
    QString caseId;

    friend bool operator==(const CaseListItem&, const CaseListItem&) = default;
};

using ColumnValues = QList<QPair<QString, QString>>;

// One column a save changes: the value it held when the entry read it, and the value to store.
struct ColumnChange
{
    QString column;
    QString expected;
    QString value;
};

// A column another workstation changed meanwhile: what the entry read, what it would store, and
// what is stored now.
struct ColumnConflict
{
    QString column;
    QString expected;
    QString value;
    QString stored;
};

// The cases database at one path (a file or a server URI). Every call opens the database, does
// its work and closes it again.
class CaseStore
{
public:
    explicit CaseStore(QString casesDbPath);
    // A store that already knows the cause of a failure met elsewhere, to word its message.
    CaseStore(QString casesDbPath, QString problem);

    // The message shown, with the title "Error", before the program ends when the cases database
    // cannot be opened.
    static QString openErrorTitle();
    static QString openErrorText();
    // The same text with the file and the cause of the failure.
    static QString openErrorText(const QString& path, const QString& cause);

    // The message for the outcome of the last operation of this store (its cause is kept).
    CaseStoreMessage messageFor(CaseStoreStatus status) const;

    // The cause of the last failed operation, in words ("the file is in use by ...").
    const QString& problem() const { return m_problem; }

    // OpenCases: can the database and its table be opened?
    CaseStoreStatus open() const;

    // FindCurrentCase: the row whose caseid equals `currentCaseId` exactly (the first such row);
    // with an empty id, the first row, whose key then becomes `currentCaseId`. No row: nullopt
    // with status CaseRemoved (or OpenFailed).
    std::optional<CaseRecord> findCurrentCase(QString& currentCaseId,
                                              CaseStoreStatus* status = nullptr) const;

    // SaveCaseField: stores the columns of the current case in one update. Unknown column names
    // are refused (nothing written). A case that no longer exists changes no row: CaseRemoved.
    // Each column whose value changed (Null reads as the empty text) adds a row to the case's
    // history in the same transaction.
    CaseStoreStatus saveCaseFields(const QString& currentCaseId, const ColumnValues& values) const;

    // Stores the columns of the current case that an entry changed, in one transaction, only when
    // each still holds the value the entry read (Null reads as the empty text); a column already
    // holding the value to store is left alone. Otherwise nothing is written, the status is
    // Conflict and *conflicts names the columns changed meanwhile. Each column written adds a row to
    // the case's history (`Changes`) in the same transaction.
    CaseStoreStatus saveCaseChanges(const QString& currentCaseId,
                                    const QList<ColumnChange>& changes,
                                    QList<ColumnConflict>* conflicts = nullptr) const;

    // The history of one case (or of every case with an empty id), newest first: the cases' rows
    // only, never the names directory's.
    QList<CaseChange> history(const QString& caseId, CaseStoreStatus* status = nullptr) const;

    CaseStoreStatus
    saveCaseField(const QString& currentCaseId, const QString& column, const QString& value) const
    {
        return saveCaseFields(currentCaseId, {{column, value}});
    }

    // Every case in stored order.
    QList<CaseListItem> listCases(CaseStoreStatus* status = nullptr) const;
    int caseCount() const;
    bool caseExists(const QString& caseId) const;

    // Adds a case named `caseName` opened on `today`, with a key no other case has. Returns the
    // key, or an empty text when the row could not be added. `edition` is the case's form edition
    // (`formedition`; empty: the 2009 form, as for every case stored before editions were chosen).
    // The case's history gets one row, Added, with the name as the new `casedesc`; a rename
    // gives a row for `casedesc`, a delete one row, Deleted, with the name the case had.
    QString addCase(const QString& caseName, const QDate& today, const QString& edition = QString()) const;
    // Adds "Sample Case" with a key beginning "MO".
    QString addSampleCase(const QDate& today, const QString& edition = QString()) const;
    CaseStoreStatus renameCase(const QString& caseId, const QString& newName) const;
    CaseStoreStatus deleteCase(const QString& caseId) const;

    // RepairNulls over Cases: Null text columns (all but casedesc) become the empty text.
    void repairNulls() const;

    const QString& path() const { return m_path; }

private:
    QString addCaseRow(const QString& keySource,
                       const QString& caseName,
                       const QDate& today,
                       const QString& edition) const;

    // The server's save of saveCaseFields (all the columns, unchecked) and of saveCaseChanges
    // (`checked`) in one statement.
    CaseStoreStatus saveOnServer(SqlConnection& connection,
                                 const QString& currentCaseId,
                                 const QList<ColumnChange>& changes,
                                 bool checked,
                                 QList<ColumnConflict>* conflicts) const;

    CaseStoreStatus fail(CaseStoreStatus status, const QString& cause) const;
    CaseStoreStatus openFailure(SqlConnection& connection) const;
    CaseStoreStatus writeFailure(SqlConnection& connection, const QSqlError& error) const;
    // A row that should be there is not: a damaged index hides rows, so check the file first.
    CaseStoreStatus missingRow(SqlConnection& connection) const;

    QString m_path;
    mutable QString m_problem;
};

// Today's date in the short form stored in `caseopen` (m/d/yyyy).
QString shortDateText(const QDate& date);

} // namespace cs42
