#pragma once

#include "core/format/Captions.h"
#include "core/store/CaseRecord.h"
#include "core/store/CaseStore.h"
#include "core/store/DataPaths.h"
#include "core/worksheet/Schedule.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace cs42 {

struct FormEdition;

// The values of one computation of the worksheet (form CS-42), replaced as a whole by the next
// one. Amounts are monthly dollars in double precision; only the percentages of line 3 are
// rounded (two decimals, halves to even). Computed amounts are freed of binary representation
// error (settled on their decimal figure to 9 decimals), so that an amount entered in cents meets
// the halfway rule and the zero tests as its decimal figure does. Never stored: the case record
// holds only inputs.
struct WorksheetResult
{
    int childCount = 0;        // non-blank child names, 0..6
    QString insurancePayer;    // InsurancePayer: "P", "D" or "N" (no health insurance)
    QString custodyCode;       // CustodyCode: "P" or "D"
    QString overrideFlag;      // `override` as stored
    double overrideAmount = 0; // `overamount` as read
    bool overrideInForce = false;

    double p2 = 0, d2 = 0, c2 = 0; // adjusted gross incomes
    double p3 = 0, d3 = 0;         // percentage shares
    double line4 = 0;              // basic obligation, after the override
    ScheduleLookup lookup;
    double line5 = 0, line6 = 0, line7 = 0;
    double p8 = 0, d8 = 0;
    double p9 = 0, d9 = 0;
    double p10 = 0, d10 = 0;

    QString poc, doc; // each parent's number of other children, as stored

    // False when the schedule database could not be read, its table holds no rows, or its rows do
    // not reach over the incomes the rules search: line 4 then has no schedule behind it.
    // `scheduleRead` tells the last case (rows were read) from the others; `scheduleProblem` says
    // why, as a phrase that follows the schedule's name ("cannot be read (...)", "does not cover
    // every income: ...").
    bool scheduleAvailable = true;
    bool scheduleRead = true;
    QString scheduleProblem;
    // Where the schedule table read for line 4 comes from (ScheduleTable::source): Unknown for a
    // table built in memory. The explanations state it; a 2009 table that is not installed leaves
    // scheduleAvailable false.
    ScheduleSource scheduleSource;

    // The lines whose stored amount cannot be used (amountProblem), in form order, as "line 1 of
    // the plaintiff"; each counts as 0.
    QStringList unusableAmounts;

    // The warning about the children's birth dates (ChildAges), "" when they are plausible. Set by
    // recalculateWorksheet, which knows the day.
    QString birthDateWarning;

    // The paying parent's health-insurance credit (line 9) is more than his or her share (line 8):
    // line 10 would be below 0 and is 0 instead, since no order is below 0.
    bool insuranceCreditExceedsShare = false;

    // The edition computed (FormEdition::id).
    QString editionId;
    // The case's `formedition` as stored when this program knows no such edition ("2024", which a
    // later version may have stored); empty otherwise. The case is then computed on
    // FormEditions::defaultEdition() only to be shown: no figure of it may leave the program.
    QString unknownEdition;

    // The editions from 2022 on.
    // The value of every cell of the form by label ("lblP8"), as the court's workbook computes it:
    // amounts keep their cents, line 3 holds the shares as fractions (0.55). A label without a
    // value is an empty cell: an input left empty, or a line the inputs leave undefined.
    QMap<QString, double> cells;
    // The form's "Number of Children" (`numchildren`, else the named children) and whether it was
    // typed into the box.
    int numberOfChildren = 0;
    bool numberOfChildrenEntered = false;
    // The text in the "Number of Children" box when it is no number of children (not 1 to 6): the
    // box is then ignored and line 4 is for the children named.
    QString numberOfChildrenRefused;
    // How line 4 was read: the schedule row used, and whether the combined income lay below the
    // lowest row (the lowest row is used) or above the last one (no amount: the court sets it).
    double scheduleRowIncome = 0;
    bool scheduleFloor = false;
    bool aboveSchedule = false;
    // Line 3 and the lines computed from it are undefined: the combined adjusted income is 0.
    bool sharesUndefined = false;
    // The recommended order: the payer ("P", "D", or "" when no order can be named) and amount.
    QString payer;
    std::optional<double> orderAmount;
    // The warnings the worksheet shows, by label name; "" while hidden.
    Captions warnings;
};

// One computation with the caption of every label it sets.
struct Worksheet
{
    WorksheetResult result;
    Captions captions;
};

// The order a worksheet recommends: the payer ("P", "D", or "" when none can be named) and the
// monthly amount as the form prints it (whole dollars), or nullopt without a payer. The parent
// without custody pays: line 10 on the 2009 form, line 13 on the later ones.
struct RecommendedOrder
{
    QString payer;
    std::optional<double> amount;
};

RecommendedOrder recommendedOrder(const WorksheetResult& result);

// The captions of the override warnings, visible while result.overrideInForce.
inline const QString OverrideWarningText = QStringLiteral("USING OVERRIDE!");
inline const QString OverrideWarning2Text = QStringLiteral("WARNING!");

// The schedule warning while the schedule of form CS-42 (Rev. 1/09) is not installed.
inline const QString ScheduleNotInstalledWarning =
    QStringLiteral("the schedule in force before May 1, 2022 is not installed");

// Every label whose caption computeWorksheet sets, in the order the form reads.
QStringList worksheetCaptionLabels();

// The warnings the worksheet shows over the form, by label name, each with its caption, or the
// empty text while it is hidden: lblScheduleWarning, lblAmountWarning, lblLineTwoWarning,
// lblCreditWarning and lblChildrenWarning (the override warnings follow overrideInForce).
Captions worksheetWarnings(const WorksheetResult& result);

// Computes every line of form CS-42 (Rev. 1/09) from a case record and the schedule: the lines
// and their captions are defined here and nowhere else. Pure: reads nothing else, writes
// nothing. A table that does not cover the rules' incomes is reported in result.scheduleProblem.
// A stored amount that cannot be used counts as 0, shows "INVALID" and is named in
// result.unusableAmounts.
Worksheet computeWorksheet(const CaseRecord& record,
                           const ScheduleTable& schedule,
                           const ScheduleRules& rules = ScheduleRules::cs42Rev0109());

// RecalculateWorksheet without the window: opens the cases database, finds the current case
// (with an empty id, the first case, whose id is then stored in currentCaseId), reads the
// schedule, computes and closes. nullopt when the cases database cannot be opened (status
// OpenFailed) or the case is gone (status CaseRemoved). A schedule that cannot be read counts as
// an empty one; result.scheduleProblem then carries the reason the database gave. *storeProblem
// receives the cause of a store failure.
// `edition` computes the case under that edition in place of its own (FormEditions::forCase); a
// case of an edition this program does not know is otherwise computed on
// FormEditions::defaultEdition() with result.unknownEdition set and the edition warning shown.
// `today` decides the children's ages (the warning about their birth dates). *readRecord receives
// the case as read, which the computation is of.
std::optional<Worksheet> recalculateWorksheet(const DataPaths& paths,
                                              QString& currentCaseId,
                                              CaseStoreStatus* status = nullptr,
                                              QString* storeProblem = nullptr,
                                              const FormEdition* edition = nullptr,
                                              const QDate& today = QDate::currentDate(),
                                              CaseRecord* readRecord = nullptr);

// Two warnings in one label: the first, then the second, either possibly empty.
QString bothWarnings(const QString& first, const QString& second);

} // namespace cs42
