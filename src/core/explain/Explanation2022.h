#pragma once

#include "core/format/Captions.h"

#include <QDate>
#include <QString>

namespace cs42 {

struct WorksheetResult;

// The written explanation of a Form CS-42 (Rev. 5/2022) computation, in the layout of the 2009
// one: a heading with today's date (passed in so that the text is repeatable), then paragraphs
// separated by an empty line, every line break CR LF, no line break at the end.
//
// The paragraphs follow the form: the edition, the parties and the children; the incomes and
// shares (lines 1 to 3); the schedule reading (line 4); the costs, the total and each parent's
// share and credits (lines 5 to 10); and who pays whom (lines 11 to 13 and the order).
//
// Amounts are written as the captions show them ("$1,293", "$(200)"); a line whose caption is
// empty but which has a value is written from its value in the same style. Which sentences appear
// is decided from result.cells and the flags of `result`, never from the captions' text: a cost,
// deduction or credit of 0 is not mentioned, and the self-support reserve, the 85 % limit and the
// $50 minimum are described only when they decide the paying parent's line 13.
//
// A child's age is the number of whole years since the birth date; a child whose birth date
// cannot be read, or lies after `today`, is named without an age.
QString generateExplanation2022(const Captions& captions, const WorksheetResult& result, const QDate& today);

} // namespace cs42
