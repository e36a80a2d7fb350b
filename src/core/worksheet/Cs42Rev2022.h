#pragma once

#include "core/worksheet/FormEdition.h"
#include "core/worksheet/Schedule.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QList>

namespace cs42 {

// Form CS-42 (Rev. 5/2022), for actions filed on or after May 1, 2022: the arithmetic of the
// court's own workbook. Rounding is the workbook's ROUND: halves away from zero, taken on the
// value's 15-significant-digit decimal form (Format::roundHalfAway).
namespace Cs42Rev2022 {

constexpr double SelfSupportReserve = 981; // line 11
constexpr double SupportShare = 0.85;      // line 12: 85 % of the income left after the reserve
constexpr double MinimumOrder = 50;        // line 12: never less
constexpr double LowestRow = 250;          // the schedule's first row, below which no row is read
constexpr double RowWidth = 50;

// The schedule figures the 2022 table must cover: from the $250 row to the $30,000 row.
ScheduleRules scheduleRules();

// Computes every line of the form from a case record and the Schedule2022 table.
Worksheet
computeWorksheet(const CaseRecord& record, const ScheduleTable& schedule, const ScheduleRules& rules);

// The form's lines, in the order the form reads.
QList<LineDef> lines();

} // namespace Cs42Rev2022

} // namespace cs42
