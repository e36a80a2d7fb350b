#pragma once

#include "core/store/CaseRecord.h"

#include <QDate>
#include <QString>

namespace cs42 {

// Alabama's age of majority: a child of 19 or more is, as a rule, no longer owed support.
inline constexpr int AgeOfMajority = 19;

// Whole years from `born` to `today` (negative for a date still to come).
int ageOn(const QDate& born, const QDate& today);

// The warning over the worksheet about the named children's stored birth dates: a date later than
// `today`, or a child aged 19 or more ("01/01/29" reads as 1929, so such a child is 97). The empty
// text when every date is plausible or blank; dates that are no date are the entry's to refuse.
QString birthDateWarning(const CaseRecord& record, const QDate& today);

// The question the children's entry asks before it keeps a birth date that makes the child 19 or
// more; the empty text when the date needs no question.
QString ageOfMajorityQuestion(const QString& name, const QDate& born, const QDate& today);

} // namespace cs42
