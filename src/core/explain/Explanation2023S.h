#pragma once

#include "core/format/Captions.h"

#include <QDate>
#include <QString>

namespace cs42 {

struct WorksheetResult;

// The written explanation of a Form CS-42-S (effective June 2023) computation, the worksheet of
// parents who share physical custody of the children equally. Laid out as the 2022 one: a heading
// with today's date (passed in so that the text is repeatable), then paragraphs separated by an
// empty line, every line break CR LF, no line break at the end.
//
// The paragraphs follow the form: the form, the parties and the children; the incomes and shares
// (lines 1 to 3); the schedule reading (line 4); the shared-custody obligation, the costs and the
// total (lines 5 to 9); each parent's share, credits and adjusted obligation (lines 10 to 13);
// and who pays whom (line 14).
//
// Amounts are written as the captions show them ("$1,293", "$(3)"). Which sentences appear is
// decided from result.cells and the flags of `result`, never from the captions' text: a cost of 0
// is not mentioned. Custody decides nothing on this form, and the text does not name a custodian.
QString generateExplanation2023S(const Captions& captions, const WorksheetResult& result, const QDate& today);

} // namespace cs42
