#pragma once

#include "core/worksheet/FormEdition.h"
#include "core/worksheet/Schedule.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QList>

namespace cs42 {

// Form CS-42-S (effective June 1, 2023), for parents who share physical custody equally: the
// cross-credit worksheet with a 150 % multiplier, as the court's own workbook computes it. It
// shares the 2022 schedule, lines 1 and 2, the inputs and the display rules of form CS-42
// (Rev. 5/2022); it has no self-support reserve, no minimum order and no zero-income rule.
namespace Cs42S2023 {

constexpr double SharedMultiplier = 1.5; // line 5: 150 % of the basic obligation
constexpr double CrossCredit = 0.5;      // line 12: each parent's credit, 50 % of line 5

Worksheet
computeWorksheet(const CaseRecord& record, const ScheduleTable& schedule, const ScheduleRules& rules);

// The form's lines, in the order the form reads.
QList<LineDef> lines();

} // namespace Cs42S2023

} // namespace cs42
