#pragma once

#include "core/format/Captions.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace cs42 {

struct WorksheetResult;

// The pieces the written explanations of the 2022 and later forms have in common: how amounts are
// written, the reader of a computation's captions and cells, and the paragraphs and sentences
// that read the same on every such form (parties and children, a parent's income, line 4).
namespace explain {

extern const QString CrLf;
extern const QString ScheduleName; // "the Schedule of Basic Child-Support Obligations effective May 1, 2022"

// Amounts within half a cent of each other are the same amount.
bool same(double a, double b);

// Whole dollars as the worksheet shows them: thousands separators, a negative in parentheses.
QString wholeDollars(double value);

// The amount to the cent when it has cents, else as wholeDollars().
QString exactDollars(double value);

// An amount as the text writes it: "$1,293" or "$412.50" (the worksheet's own figure, cents
// included, so that every sum written adds up), a negative one in words ("minus $100").
QString money(double value);

// "A", "A and B", "A, B and C".
QString listed(const QStringList& items);

// "1 child", "2 children".
QString childCount(int n);

// A computation as the explanation reads it: captions for how a line is written, cells for
// what it holds.
class Sheet
{
public:
    Sheet(const Captions& captions, const WorksheetResult& result)
        : m_captions(captions)
        , m_result(result)
    {}

    const WorksheetResult& result() const { return m_result; }

    QString text(const QString& label) const { return m_captions.value(label).trimmed(); }

    bool has(const QString& label) const;

    // An empty cell counts as 0.
    double value(const QString& label) const;

    // "$1,293", "$412.50": the cell's value as the worksheet carries it (money()), or the caption
    // of a label without a cell.
    QString dollars(const QString& label) const;
    // The same without its sign, for a sentence that says "negative" itself.
    QString magnitude(const QString& label) const;

    // "55%": the caption of a line 3 cell, or its fraction as a whole percent.
    QString percent(const QString& label) const;

private:
    const Captions& m_captions;
    const WorksheetResult& m_result;
};

// One parent: the name the text uses and the column ("P" or "D") of his or her lines.
struct Parent
{
    QString name;
    QString column;

    QString line(const char* number) const { return QStringLiteral("lbl") + column + QLatin1String(number); }
};

// The plaintiff and the defendant, by the names on the form or else by their roles.
Parent plaintiff(const Sheet& sheet);
Parent defendant(const Sheet& sheet);

// "Child Support Calculation performed on 01/15/2024".
QString heading(const QDate& today);

// The paragraphs joined by an empty line, leaving out empty ones.
QString joined(const QStringList& paragraphs);

// The form, the parties and the children. `form` names the worksheet as the first sentence
// uses it: "Form CS-42 (Rev. 5/2022), the child-support guidelines worksheet".
QString partiesParagraph(
    const Sheet& sheet, const Parent& p, const Parent& d, const QString& form, const QDate& today);

// Lines 1, 1a, 1b and 2 of one parent, ending with a space.
QString incomeSentence(const Sheet& sheet, const Parent& x);

// Line 4: which row of the schedule was read and why, or why the schedule gives no amount.
QString scheduleParagraph(const Sheet& sheet);

} // namespace explain
} // namespace cs42
