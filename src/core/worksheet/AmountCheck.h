#pragma once

#include "core/store/CaseRecord.h"

#include <QString>

namespace cs42 {

// No income, cost or deduction of a case comes near $10,000,000 a month: an amount beyond it is a
// slip of the keyboard or a damaged record, and computing with it would print figures that make
// no sense together.
inline constexpr double MaximumMonthlyAmount = 10'000'000.0;

// Why a stored or typed amount cannot be used, as a phrase that follows "it" ("is not a plain
// number", "has more digits than can be read", "is more than $10,000,000 a month"); the empty text
// when it can. Blank text can be used and reads as 0; any other text must be one plain number as a
// whole (an optional sign, digits, one decimal point): "$3,000", "1,000", "(1000)", "1e3" and
// "abc" cannot be used.
QString amountProblem(const QString& text);

// The amount a stored text stands for on the worksheet: LeadingNumber of it, or 0 when it
// cannot be used (amountProblem), so that such an amount never reaches a line.
double usableAmount(const QString& text);

// What an entry dialog says when the amount it is about to hand back cannot be used; the empty
// text when it can.
QString amountRefusal(const QString& text);

// One of the three lines that make a parent's adjusted gross income (line 2).
enum class ParentLine
{
    Income,             // line 1, pinc / dinc
    PreexistingSupport, // line 1a, ppre / dpre
    Alimony,            // line 1b, presp / dresp
};

// What an entry dialog says when `text`, about to be stored on one of a parent's lines 1, 1a or
// 1b, cannot be: an amount that cannot be used, or one that leaves that parent's line 2 below 0
// with the other two lines as stored in `record`. The empty text when it can be stored.
QString parentAmountRefusal(const CaseRecord& record, bool plaintiff, ParentLine line, const QString& text);

} // namespace cs42
