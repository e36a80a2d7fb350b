#pragma once

#include "core/format/Captions.h"
#include "core/worksheet/Schedule.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace cs42 {

class CaseRecord;
struct Worksheet;
struct WorksheetResult;

// What a worksheet label is.
enum class LineKind
{
    Input,      // a stored amount the user enters through a dialog (lines 1, 1a, 1b, 4, 5, 6)
    Computed,   // a line computed from the inputs, never stored
    HeaderText, // a free text of the header, signature block or comments, edited in an input box
    Toggle,     // a P/D choice switched by a click
    Party,      // the plaintiff or the defendant, picked from the names directory
    Child,      // a child's name or birth date, edited together in the children dialog
};

// How a click on the label is answered: the dialog and the rule its answer follows.
enum class EntryRule
{
    None,
    Income,             // whole dollars, possibly negative
    PreexistingSupport, // amount and number of other children, with the imputed calculator
    Alimony,            // a positive two-decimal amount
    Override,           // the override flag and amount of line 4
    ChildCare,          // whole dollars
    HealthInsurance,    // a positive two-decimal amount, stored in whole dollars
    Children,           // the six names and birth dates
    Text,               // a text, stored as typed
    Party,              // a name record's list name, key and address block
    Toggle,             // "P" becomes "D", anything else "P"
    Amount,             // a non-negative amount, kept in cents as typed (the editions from 2022 on)
    ChildrenNumber,     // the form's "Number of Children" box: 1 to 6, or empty for the named children
    Edition,            // the case's form edition, chosen from FormEditions::all()
};

// Whose column of the form a label stands in.
enum class Side
{
    Plaintiff,
    Defendant,
    Combined,
    None,
};

// One label of a form edition's worksheet.
struct LineDef
{
    QString label; // "lblP1"
    LineKind kind;
    EntryRule rule;
    Side side;
    QStringList columns; // the case columns the entry stores, in the order the rule hands them back
    bool highlighted;    // follows the highlight colour
    int formField;       // 1-based place in the court form's field order; 0: not on the form
    QString title;       // the dialog's or input box's window title
    QString prompt;      // the input box's prompt
    QString incomeLabel; // the parent's line 1, which the pre-existing support calculator reads
    // The form field the caption fills, by name (editions filled by name; the 2009 form is filled
    // by field position, formField).
    QString fieldName = {};
    // What the line is, for the tooltip and the accessible name ("Monthly gross income").
    QString description = {};
};

// A court form edition: its worksheet lines and everything that differs between editions.
struct FormEdition
{
    QString id;           // "2009", as stored in the case's `formedition`
    QString revision;     // "Rev. 1/09"
    QString templateFile; // file name of the blank form in VTRForms
    ScheduleRules rules;
    std::function<Worksheet(const CaseRecord&, const ScheduleTable&, const ScheduleRules&)> compute;
    QList<LineDef> lines; // in the order the form reads
    // The form's name as the worksheet shows it ("Form CS-42 (Rev. 5/2022)") and the actions it is
    // for ("for actions filed on or after May 1, 2022").
    QString title = {};
    QString appliesTo = {};
    // The form's number as the court names it ("CS-42", "CS-42-S"), for file names.
    QString shortName = {};
    // The schedule table of VTRchedule.MDB this edition reads.
    QString scheduleTable = QStringLiteral("Schedule");
    // The warnings shown over the form, by label name, each with its caption or "" while hidden.
    std::function<Captions(const WorksheetResult&)> warnings = {};
    // Every label `warnings` may show, so that a window can make and place them all.
    QStringList warningLabels = {};
    // True when production fills the template's fields by name (LineDef::fieldName), so that the
    // court's own fillable PDF may stand in for the generated template.
    bool fillsByName = false;
    // The worksheet window's title on this form.
    QString windowTitle = QStringLiteral("Worksheet A, Child Support Obligation, Sole Custody");
    // The lines after line 3 that the parents' shares divide, which a combined adjusted income of
    // 0 leaves undefined ("lines 8 and 10").
    QString linesOfTheShares = {};

    // The line of a label, or null.
    const LineDef* line(const QString& label) const;
    // The label of each form field, field 1 first.
    QStringList formFieldLabels() const;
    // Every label the computation sets, in the order the form reads.
    QStringList captionLabels() const;
    QStringList highlightedLabels() const;
    // The labels a click edits (all but computed lines); the children are edited through one area.
    QStringList clickableLabels() const;
    // The stored column of a label's entry (its first column), or an empty text.
    QString column(const QString& label) const;
    // The label that fills the form field named `fieldName`, or an empty text.
    QString labelOfField(const QString& fieldName) const;
    // The label that shows a stored column, or an empty text.
    QString labelOf(const QString& column) const;
};

namespace FormEditions {
// Form CS-42 (Rev. 1/09), the sole-custody worksheet of 2009.
const FormEdition& cs42Rev0109();
// Form CS-42 (Rev. 5/2022), the sole-custody worksheet for actions filed on or after May 1, 2022.
const FormEdition& cs42Rev0522();
// Form CS-42-S (effective 6/2023), shared 50 % physical custody, actions filed on or after June 1,
// 2023.
const FormEdition& cs42S2023();

// Every edition the program prepares, oldest first.
QList<const FormEdition*> all();
// The edition stored as `id`, matched without regard to case or surrounding blanks ("" is the
// 2009 edition, which cases stored before editions were chosen have), or null when the program
// knows no such edition.
const FormEdition* find(const QString& id);
// The edition a case is prepared on (its `formedition`); null for an edition this program does
// not know, such as one a later version stored.
const FormEdition* forCase(const CaseRecord& record);
// The edition of every case added from now on when the settings name none.
inline const QString DefaultId = QStringLiteral("2022");
// The edition of DefaultId. A case whose edition this program does not know is shown on it (and
// never produced), and new cases take it while the settings name an unknown edition.
const FormEdition& defaultEdition();
// The ids of every edition, oldest first, for messages: "2009, 2022, 2023S".
QString knownIds();
} // namespace FormEditions

} // namespace cs42
