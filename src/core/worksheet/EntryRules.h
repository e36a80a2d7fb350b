#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace cs42 {

// The override of line 4 as the user chose it: the flag stored in `override` and the amount in
// `overamount`.
struct OverrideChoice
{
    QString flag; // "Y" or "N"
    double amount = 0;
};

// What the worksheet's entries make of the text typed into their boxes: pure functions of the
// text, shared by the entry dialogs and every other front end, so that a value is rounded once,
// by one rule, on its way to the store.
namespace EntryRules {

// A text read as an amount: the whole text as a number in the United States convention
// ("1,234.56", "$612"), else the number it starts with, else 0.
double amountOf(const QString& text);

// Line 1 (income): the text read as an amount (amountOf), in whole dollars ("1,234.56" and
// "$1,234.56" give 1235); an amount of 0, and a text that is none, become the empty text.
QString income(const QString& text);

// The two-decimal boxes (alimony, health insurance) when the focus leaves them: "##0.00" of the
// whole text as a number, else of the number it starts with; no number at all gives the empty
// text.
QString twoDecimalBox(const QString& text);
// What a positive-amount box hands back: the text as shown when its leading number is greater
// than 0, else the empty text.
QString positiveAmount(const QString& text);

// Line 5 (child care): whole dollars of the text read as an amount; 0 gives the empty text.
QString childCare(const QString& text);

// Line 1a's boxes when the focus leaves them: the number of other children ("##": 0 shows
// nothing; no number gives "0") and the amount ("#####0"; no number gives "0.00").
QString otherChildren(const QString& text);
QString preexistingAmount(const QString& text);

// Line 4's override: the box's amount is taken, with the flag "Y", when it is not 0 and the box is
// checked; otherwise the flag is "N" and the amount 0. The computation uses a stored override
// only when overrideInForce(): flag "Y" and an amount greater than 0, so a negative amount stored
// with "Y" has no effect.
OverrideChoice overrideChoice(bool checked, const QString& text);
bool overrideInForce(const QString& flag, double amount);
// The stored form of the override amount: a plain decimal number (612, 612.5), 0 when not in use.
QString overrideAmountText(double amount);

// What is wrong with the text of an amount box, as the entry dialogs say it; the empty text when
// nothing is. Every amount the user types on the worksheet is a sum paid or earned, never below 0,
// so the text is refused when, as a whole, it is no amount ("abc", "12abc", "1,23"), when it is
// negative, or when it cannot be used (amountRefusal). The empty (or blank) text is no amount at
// all and is never refused: each box decides what it stands for.
QString amountTextRefusal(const QString& text);

// The amounts of the editions from 2022 on, kept in cents as typed: the stored form of a text that
// is an amount ("1,234.50" -> "1234.5"), or the text trimmed when it is none (amountTextRefusal
// refuses it then); the empty text stays empty.
QString centsAmount(const QString& text);

// The "Number of Children" box: "1" to "6", or "" to count the children named; nullopt for any
// other text.
std::optional<QString> numberOfChildren(const QString& text);

// The custody and insurance toggles: "P" becomes "D"; anything else, blank included, "P".
QString toggled(const QString& stored);

// A child's birth date as typed: its stored form ("mm/dd/yyyy"), or nullopt with the reason, as the
// dialog says it, when the text is no date or a date after `today`. A blank text stays as typed.
struct BirthDate
{
    std::optional<QString> stored;
    QString refusal; // empty when `stored` holds the date
};

BirthDate birthDate(const QString& text, const QDate& today);

} // namespace EntryRules

} // namespace cs42
