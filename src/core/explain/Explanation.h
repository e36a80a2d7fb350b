#pragma once

#include "core/format/Captions.h"
#include "core/worksheet/Schedule.h"

#include <QDate>
#include <QString>

namespace cs42 {

struct WorksheetResult;

// The written explanation of a worksheet as displayed: built from the labels' captions, the
// number of children and the schedule search of the last computation, and today's date (passed
// in so that the text is repeatable). Paragraphs are separated by an empty line; every line break
// is CR LF; the text does not end with a line break.
//
// When the combined income lies above every row of the schedule (lookup.aboveTable), the
// schedule paragraph says that the amount of the highest income level shown is used, instead of
// describing a lower and a higher row that do not exist.
//
// A child born after `today` (a date stored before dates were checked) is named without an age:
// no age is ever negative. With `insuranceCreditExceedsShare` (WorksheetResult) the order is
// written as $0 and a sentence says that the health-insurance credit (line 9) exceeds the
// obligor's share (line 8).
//
// The schedule paragraph ends with what line 4 was read from (`source`, ScheduleSource::statement),
// or that the schedule of this form is not installed; nothing for a source that is not known.
QString generateExplanation(const Captions& captions,
                            int childCount,
                            const ScheduleLookup& lookup,
                            const QDate& today,
                            bool insuranceCreditExceedsShare = false,
                            const ScheduleSource& source = {});

// The same for a computation of form CS-42 (Rev. 1/09): its child count, schedule search, credit
// and schedule source.
QString generateExplanation(const Captions& captions, const WorksheetResult& result, const QDate& today);

} // namespace cs42
