#pragma once

#include "core/store/CaseRecord.h"
#include "core/worksheet/FormEdition.h"
#include "core/worksheet/Schedule.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QList>
#include <QString>

namespace cs42 {

// How the editions from 2022 on read a case and show its cells: each parent's amounts in cents
// as stored, the "Number of Children" box, the override of line 4, custody, the header texts and
// the warnings over the form. One place, so that every such edition reads a case alike.
class WorksheetInputs
{
public:
    explicit WorksheetInputs(const CaseRecord& record)
        : m_record(record)
    {}

    // A line that each parent enters: the line's name on the form and the two stored columns.
    struct Input
    {
        const char* line;
        const char* plaintiffColumn;
        const char* defendantColumn;
    };

    // "lblP8": the label of a side's ("P", "D", "C") cell of a line ("8").
    static QString label(const char* side, const char* line);

    // Lines 1, 1a and 1b of each parent with their combined cells, then line 2 (not clamped).
    // Returns the combined line 2.
    double showIncomes(Worksheet& sheet) const;

    // Line 3: the share of `roundedSide` ("P" or "D") of the combined line 2, rounded to a whole
    // percent; the other parent has the rest. Undefined (empty) when the combined line 2 is 0.
    static void setShares(Worksheet& sheet, const char* roundedSide, double c2);

    // The form's "Number of Children": the box when it holds 1 to 6, else the named children.
    static int numberOfChildren(const CaseRecord& record);

    // Custody, the header, party and children captions, the number of children, the stored
    // override and the amounts that cannot be used.
    void fillCommon(Worksheet& sheet) const;

    // Shows a stored amount: nothing when nothing was entered, "INVALID" when it cannot be used,
    // else the amount. Returns the amount the computation uses (0 for the first two).
    double showInput(Worksheet& sheet, const QString& label, const char* column) const;

    // Sets a computed cell, freed of binary representation error, with its caption (the court's
    // whole-dollar figure unless given).
    static void
    setCell(Worksheet& sheet, const QString& label, double value, const QString& caption = QString());

    // The schedule row line 4 reads for a combined adjusted income: the nearest row, an income
    // exactly halfway between two rows taking the higher one, never below the rules' lowest row
    // (*floor: the lowest row was used because the income lies below it).
    static double scheduleRow(double combinedIncome, const ScheduleRules& rules, bool* floor = nullptr);

    // Line 4 from the schedule for a combined adjusted income (cell lblC4 unless no amount can be
    // read: no number of children, an income above the schedule, or a table that lacks the row),
    // then the override in force, which replaces it.
    static void
    readLine4(Worksheet& sheet, const ScheduleTable& schedule, const ScheduleRules& rules, double c2);

    // Every line of `edition` the computation left without a caption shows empty, never what an
    // earlier computation showed.
    static void blankUndefinedLines(Worksheet& sheet, const FormEdition& edition);

    // Every warning label fillWarnings sets, and the one of a case whose edition is unknown.
    static QStringList warningLabels();

    // The warnings over the form, from the result (WorksheetResult::warnings).
    // `undefinedLines` names the lines a combined adjusted income of 0 leaves undefined.
    static void fillWarnings(Worksheet& sheet, const QString& undefinedLines = QStringLiteral("3, 8 AND 10"));

private:
    QString text(const QString& column) const;
    static void
    lookUpSchedule(Worksheet& sheet, const ScheduleTable& schedule, const ScheduleRules& rules, double c2);

    const CaseRecord& m_record;
};

} // namespace cs42
