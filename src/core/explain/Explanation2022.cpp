#include "core/explain/Explanation2022.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/UsDate.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

namespace cs42 {

namespace {
const QString CrLf = QStringLiteral("\r\n");
const QString FormName = QStringLiteral("Form CS-42 (Rev. 5/2022)");
const QString ScheduleName =
    QStringLiteral("the Schedule of Basic Child-Support Obligations effective May 1, 2022");

// The figures of the May 2022 schedule and of the form's lines 11 and 12.
constexpr double ScheduleFirstRow = 250;
constexpr double ScheduleLastRow = 30000;
constexpr double ScheduleRowStep = 50;
constexpr double SelfSupportReserve = 981;
constexpr double AbilityShare = 0.85;
constexpr double MinimumOrder = 50;

// Amounts within half a cent of each other are the same amount.
bool same(double a, double b)
{
    return std::fabs(a - b) < 0.005;
}

QLocale usLocale()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

// Whole dollars as the worksheet shows them: thousands separators, a negative in parentheses.
QString wholeDollars(double value)
{
    const double rounded = Format::roundHalfAway(value, 0);
    const QString digits = usLocale().toString(static_cast<qlonglong>(std::fabs(rounded)));
    return rounded < 0 ? QStringLiteral("(") + digits + QStringLiteral(")") : digits;
}

// The amount to the cent when it has cents, else as wholeDollars().
QString exactDollars(double value)
{
    if (same(value, Format::roundHalfAway(value, 0)))
        return wholeDollars(value);
    const QString digits = usLocale().toString(std::fabs(value), 'f', 2);
    return value < 0 ? QStringLiteral("(") + digits + QStringLiteral(")") : digits;
}

// "A", "A and B", "A, B and C".
QString listed(const QStringList& items)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + items.last();
}

QString childCount(int n)
{
    return n == 1 ? QStringLiteral("1 child") : QStringLiteral("%1 children").arg(n);
}

// Whole years from `born` to `today`.
int ageOn(const QDate& born, const QDate& today)
{
    int age = today.year() - born.year();
    if (today.month() < born.month() || (today.month() == born.month() && today.day() < born.day()))
        --age;
    return age;
}

class Sheet
{
public:
    Sheet(const Captions& captions, const WorksheetResult& result)
        : m_captions(captions)
        , m_result(result)
    {}

    const WorksheetResult& result() const { return m_result; }

    QString text(const QString& label) const { return m_captions.value(label).trimmed(); }

    bool has(const QString& label) const { return m_result.cells.contains(label); }

    // An empty cell counts as 0.
    double value(const QString& label) const { return m_result.cells.value(label, 0); }

    // "$1,293": the caption, or the cell's value in the caption's style when the caption is empty.
    QString dollars(const QString& label) const
    {
        const QString shown = text(label);
        return QStringLiteral("$") + (shown.isEmpty() ? wholeDollars(value(label)) : shown);
    }

    // "55%": the caption of a line 3 cell, or its fraction as a whole percent.
    QString percent(const QString& label) const
    {
        // The form prints the "%" beside the cell; the caption is the number alone.
        const QString shown = text(label).isEmpty() ? Format::courtPercent(value(label)) : text(label);
        return shown.endsWith(QLatin1Char(')')) ? shown.chopped(1) + QStringLiteral("%)")
                                                : shown + QLatin1Char('%');
    }

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

QString partyName(const Sheet& sheet, const QString& label, const QString& role)
{
    const QString name = sheet.text(label);
    return name.isEmpty() ? role : name;
}

// Edition, parties and children.
QString partiesParagraph(const Sheet& sheet, const Parent& p, const Parent& d, const QDate& today)
{
    QString s = QStringLiteral("This explains how %1, the child-support guidelines worksheet, was completed "
                               "for this case, using %2.")
                    .arg(FormName, ScheduleName);

    const bool plaintiffNamed = !sheet.text(QStringLiteral("lblName1Name")).isEmpty();
    const bool defendantNamed = !sheet.text(QStringLiteral("lblName2Name")).isEmpty();
    if (plaintiffNamed && defendantNamed)
        s += QStringLiteral(" The plaintiff in this case is %1 and the defendant is %2.").arg(p.name, d.name);
    else if (plaintiffNamed)
        s += QStringLiteral(" The plaintiff in this case is %1.").arg(p.name);
    else if (defendantNamed)
        s += QStringLiteral(" The defendant in this case is %1.").arg(d.name);

    QStringList children;
    for (int i = 1; i <= 6; ++i) {
        const QString name = sheet.text(QStringLiteral("lblChild%1Name").arg(i));
        if (name.isEmpty())
            continue;
        const auto born = parseUsDate(sheet.text(QStringLiteral("lblChild%1DOB").arg(i)), today);
        if (born && *born <= today)
            children << QStringLiteral("%1 (age %2)").arg(name).arg(ageOn(*born, today));
        else
            children << name;
    }

    const int n = sheet.result().numberOfChildren;
    if (n < 1) {
        s += QStringLiteral(" No child is counted on the form for this child-support action.");
    } else if (children.size() == n) {
        s += QStringLiteral(" %1 and %2 have %3 involved in this child-support action: %4.")
                 .arg(p.name, d.name, childCount(n), listed(children));
    } else {
        s += QStringLiteral(" %1 and %2 have %3 involved in this child-support action")
                 .arg(p.name, d.name, childCount(n));
        s += sheet.result().numberOfChildrenEntered
                 ? QStringLiteral(", the number entered in the form's Number of Children box.")
                 : QStringLiteral(".");
        if (!children.isEmpty())
            s += (children.size() == 1 ? QStringLiteral(" The child named on the form is %1.")
                                       : QStringLiteral(" The children named on the form are %1."))
                     .arg(listed(children));
    }
    return s;
}

// Lines 1, 1a, 1b and 2 of one parent.
QString incomeSentence(const Sheet& sheet, const Parent& x)
{
    const bool hasIncome = sheet.value(x.line("1")) != 0;
    QString s = hasIncome ? QStringLiteral("%1 has a monthly gross income of %2 (line 1)")
                                .arg(x.name, sheet.dollars(x.line("1")))
                          : QStringLiteral("%1 reports no monthly gross income (line 1)").arg(x.name);

    QStringList paid;
    QStringList lines;
    if (sheet.value(x.line("1a")) > 0) {
        paid << QStringLiteral("%1 in pre-existing child support").arg(sheet.dollars(x.line("1a")));
        lines << QStringLiteral("1a");
    }
    if (sheet.value(x.line("1b")) > 0) {
        paid << QStringLiteral("%1 in pre-existing periodic alimony").arg(sheet.dollars(x.line("1b")));
        lines << QStringLiteral("1b");
    }

    if (paid.isEmpty()) {
        s += hasIncome ? QStringLiteral("; with nothing to deduct, that is also the adjusted gross income "
                                        "(line 2). ")
                       : QStringLiteral(", so the adjusted gross income (line 2) is %1. ")
                             .arg(sheet.dollars(x.line("2")));
        return s;
    }
    s += QStringLiteral(" and pays %1 each month (%2), which %3 deducted%4, leaving %5 adjusted gross income "
                        "of %6 (line 2). ")
             .arg(listed(paid),
                  lines.size() == 1 ? QStringLiteral("line ") + lines.first()
                                    : QStringLiteral("lines 1a and 1b"),
                  paid.size() == 1 ? QStringLiteral("is") : QStringLiteral("are"),
                  hasIncome ? QStringLiteral(" from it") : QString(),
                  sheet.value(x.line("2")) < 0 ? QStringLiteral("a negative") : QStringLiteral("an"),
                  sheet.dollars(x.line("2")));
    return s;
}

// Lines 1 to 3.
QString incomesParagraph(const Sheet& sheet, const Parent& p, const Parent& d)
{
    QString s = incomeSentence(sheet, p) + incomeSentence(sheet, d);
    s += QStringLiteral("Together, their combined adjusted gross income is %1 (line 2).")
             .arg(sheet.dollars(QStringLiteral("lblC2")));
    if (sheet.result().sharesUndefined) {
        s += QStringLiteral(" As that is $0, neither parent's share of it (line 3) can be computed: line 3 "
                            "stays empty, and so do the lines taken from it.");
    } else {
        s += QStringLiteral(" %1's share of it is %2 and %3's share is %4 (line 3).")
                 .arg(p.name, sheet.percent(p.line("3")), d.name, sheet.percent(d.line("3")));
    }
    return s;
}

// Line 4: which row of the schedule was read and why, or why the schedule gives no amount.
QString scheduleParagraph(const Sheet& sheet)
{
    const WorksheetResult& r = sheet.result();
    const QString c2 = QStringLiteral("lblC2");
    const QString c4 = QStringLiteral("lblC4");
    const double combined = sheet.value(c2);
    // The combined income as shown, and to the cent where the caption rounds it.
    QString income = sheet.dollars(c2);
    if (!same(combined, Format::roundHalfAway(combined, 0)))
        income += QStringLiteral(" (exactly $%1)").arg(exactDollars(combined));
    const QString entered = QStringLiteral("an amount of %1 was entered for line 4").arg(sheet.dollars(c4));

    QString s =
        QStringLiteral(
            "Under Rule 32 of the Alabama Rules of Judicial Administration, the basic child-support "
            "obligation (line 4) is read from %1, in the column for the number of children and at the "
            "row of income nearest to the combined adjusted gross income; an income exactly halfway "
            "between two rows takes the higher row, and no income is read below the $%2 row.")
            .arg(ScheduleName, wholeDollars(ScheduleFirstRow));

    if (r.aboveSchedule) {
        s += QStringLiteral(" The combined adjusted gross income of %1 is above the schedule's last row, "
                            "$%2, so the schedule gives no amount, and Rule 32 leaves the basic obligation "
                            "to the court.")
                 .arg(income, wholeDollars(ScheduleLastRow));
        if (r.overrideInForce && sheet.has(c4))
            s += QStringLiteral(" For this case, %1 as the basic child-support obligation.").arg(entered);
        else
            s += QStringLiteral(" No amount has been entered for line 4, so the worksheet cannot be "
                                "completed from there on.");
        return s;
    }

    if (!r.scheduleAvailable) {
        s += QStringLiteral(" The schedule %1.").arg(r.scheduleProblem);
        s += r.overrideInForce && sheet.has(c4)
                 ? QStringLiteral(" In its place, %1, and that amount is used.").arg(entered)
                 : QStringLiteral(" Line 4 is therefore empty.");
        return s;
    }

    const int n = r.numberOfChildren;
    if (n < 1 || n > 6) {
        if (r.overrideInForce && sheet.has(c4))
            s += QStringLiteral(" No number of children chooses a column of the schedule; %1, and that "
                                "amount is used.")
                     .arg(entered);
        else
            s += QStringLiteral(" With no number of children on the form, no column of the schedule can be "
                                "read, and line 4 is empty.");
        return s;
    }

    const double row = r.scheduleRowIncome;
    const bool rowKnown = r.scheduleFloor || row > 0;
    if (r.scheduleFloor) {
        s += QStringLiteral(" The combined adjusted gross income of %1 is below the schedule's lowest rows, "
                            "so the $%2 row is used.")
                 .arg(income, wholeDollars(ScheduleFirstRow));
    } else if (rowKnown && same(combined, row)) {
        s += QStringLiteral(" The combined adjusted gross income of %1 is itself a row of the schedule.")
                 .arg(income);
    } else if (rowKnown && same(row - combined, ScheduleRowStep / 2) &&
               row - ScheduleRowStep >= ScheduleFirstRow) {
        s += QStringLiteral(" The combined adjusted gross income of %1 lies exactly halfway between the $%2 "
                            "and $%3 rows, so the higher row, $%3, is used.")
                 .arg(income, wholeDollars(row - ScheduleRowStep), wholeDollars(row));
    } else if (rowKnown) {
        s += QStringLiteral(" The row nearest to the combined adjusted gross income of %1 is the $%2 row.")
                 .arg(income, wholeDollars(row));
    }

    if (r.overrideInForce && sheet.has(c4)) {
        s += rowKnown ? QStringLiteral(" In place of the schedule's amount there for %1, %2, and that amount "
                                       "is used.")
                            .arg(childCount(n), entered)
                      : QStringLiteral(" In place of the schedule's amount, %1, and that amount is used.")
                            .arg(entered);
    } else if (sheet.has(c4)) {
        s += QStringLiteral(" The schedule's amount there for %1 is %2.")
                 .arg(childCount(n), sheet.dollars(c4));
    } else {
        s += QStringLiteral(" The schedule gives no amount there, and line 4 is empty.");
    }
    return s;
}

// One kind of cost (line 5 or 6), named by `what` in lower case: who pays how much.
QString
costSentence(const Sheet& sheet, const Parent& p, const Parent& d, const char* line, const QString& what)
{
    const bool byP = sheet.value(p.line(line)) > 0;
    const bool byD = sheet.value(d.line(line)) > 0;
    const QString number = QLatin1String(line);
    if (byP && byD) {
        const QString subject = what.left(1).toUpper() + what.mid(1);
        return QStringLiteral(" %1 costs %2 a month (line %3): %4 pays %5 and %6 pays %7.")
            .arg(subject,
                 sheet.dollars(QStringLiteral("lblC") + number),
                 number,
                 p.name,
                 sheet.dollars(p.line(line)),
                 d.name,
                 sheet.dollars(d.line(line)));
    }
    if (byP || byD) {
        const Parent& x = byP ? p : d;
        return QStringLiteral(" %1 pays %2 a month for %3 (line %4).")
            .arg(x.name, sheet.dollars(x.line(line)), what, number);
    }
    return QString();
}

// Lines 5 to 10.
QString obligationParagraph(const Sheet& sheet, const Parent& p, const Parent& d)
{
    QString s = costSentence(sheet, p, d, "5", QStringLiteral("work-related child care")) +
                costSentence(sheet, p, d, "6", QStringLiteral("health-care coverage for the children"));

    if (!sheet.has(QStringLiteral("lblC7"))) {
        s +=
            QStringLiteral(" Without an amount on line 4 there is no total child-support obligation (line 7) "
                           "to divide between the parents.");
        return s.trimmed();
    }
    QStringList parts{
        QStringLiteral("the basic obligation of %1").arg(sheet.dollars(QStringLiteral("lblC4")))};
    if (sheet.value(QStringLiteral("lblC5")) > 0)
        parts << QStringLiteral("the child-care costs of %1").arg(sheet.dollars(QStringLiteral("lblC5")));
    if (sheet.value(QStringLiteral("lblC6")) > 0)
        parts << QStringLiteral("the coverage costs of %1").arg(sheet.dollars(QStringLiteral("lblC6")));
    if (parts.size() == 1)
        s += QStringLiteral(" The total child-support obligation (line 7) is the basic obligation, %1.")
                 .arg(sheet.dollars(QStringLiteral("lblC7")));
    else
        s += QStringLiteral(" Adding %1 gives the total child-support obligation (line 7) of %2.")
                 .arg(listed(parts), sheet.dollars(QStringLiteral("lblC7")));

    if (!sheet.has(p.line("8")) || !sheet.has(d.line("8"))) {
        s += QStringLiteral(" As the shares are undefined, the total is not divided between the parents "
                            "(lines 8 and 10 stay empty).");
        return s.trimmed();
    }
    s += QStringLiteral(" At %1, %2's share of the total is %3; at %4, %5's share is %6 (line 8).")
             .arg(sheet.percent(p.line("3")),
                  p.name,
                  sheet.dollars(p.line("8")),
                  sheet.percent(d.line("3")),
                  d.name,
                  sheet.dollars(d.line("8")));

    // Line 9: each parent is credited with the costs he or she pays.
    QStringList credited;
    for (const Parent* x : {&p, &d}) {
        if (sheet.value(x->line("9")) > 0)
            credited << QStringLiteral("%1 for %2").arg(sheet.dollars(x->line("9")), x->name);
    }
    if (credited.isEmpty()) {
        s += QStringLiteral(" With no costs to credit (line 9), each parent's share after credits (line 10) "
                            "is the same as line 8.");
        return s.trimmed();
    }
    s += QStringLiteral(" Each parent is credited with the costs that parent pays (line 9): %1.")
             .arg(listed(credited));
    s += QStringLiteral(" After the credits, the shares are %1 for %2 and %3 for %4 (line 10).")
             .arg(sheet.dollars(p.line("10")), p.name, sheet.dollars(d.line("10")), d.name);
    for (const Parent* x : {&p, &d}) {
        if (sheet.value(x->line("9")) > sheet.value(x->line("8")))
            s += QStringLiteral(" %1's credit of %2 is more than %1's share of %3, and as line 10 is never "
                                "below zero, %1's line 10 is $0.")
                     .arg(x->name, sheet.dollars(x->line("9")), sheet.dollars(x->line("8")));
    }
    return s.trimmed();
}

// How the paying parent's line 13 follows from lines 10 to 12.
QString lineThirteenSentences(const Sheet& sheet, const Parent& x)
{
    if (sheet.value(x.line("1")) == 0)
        return QStringLiteral(" Because %1 has no monthly gross income, %1's line 13 is $0.").arg(x.name);

    const double line10 = sheet.value(x.line("10"));
    const double line11 = sheet.value(x.line("11"));
    const double line12 = sheet.value(x.line("12"));
    if (!sheet.has(x.line("10")))
        return QStringLiteral(" %1's line 13 is %2.").arg(x.name, sheet.dollars(x.line("13")));
    if (!sheet.has(x.line("12")) || line12 >= line10)
        return QStringLiteral(" %1's line 13 is the share after credits, %2 (line 10).")
            .arg(x.name, sheet.dollars(x.line("10")));

    QString s =
        QStringLiteral(" Line 13 is the smaller of %1's share after credits (line 10) and what %1 can "
                       "afford to pay after the self-support reserve (line 12).")
            .arg(x.name);
    if (line11 > 0)
        s +=
            QStringLiteral(" %1's adjusted gross income of %2 less the self-support reserve of $%3 leaves %4 "
                           "(line 11).")
                .arg(x.name,
                     sheet.dollars(x.line("2")),
                     wholeDollars(SelfSupportReserve),
                     sheet.dollars(x.line("11")));
    else
        s += QStringLiteral(
                 " %1's adjusted gross income of %2 does not exceed the self-support reserve of $%3, "
                 "so nothing is left above it (line 11 is $0).")
                 .arg(x.name, sheet.dollars(x.line("2")), wholeDollars(SelfSupportReserve));

    const double share = Format::roundHalfAway(AbilityShare * line11, 0);
    if (share < MinimumOrder)
        s += QStringLiteral(
                 " 85% of that would be only $%1, but line 12 is never below the $%2 minimum; as %3 is "
                 "less than the share after credits of %4, the $%2 minimum decides line 13: %5.")
                 .arg(wholeDollars(share),
                      wholeDollars(MinimumOrder),
                      sheet.dollars(x.line("12")),
                      sheet.dollars(x.line("10")),
                      sheet.dollars(x.line("13")));
    else
        s += QStringLiteral(
                 " Line 12 allows 85% of that, %1, which is less than the share after credits of %2, "
                 "so the 85% limit decides line 13: %3.")
                 .arg(sheet.dollars(x.line("12")), sheet.dollars(x.line("10")), sheet.dollars(x.line("13")));
    return s;
}

// Why no order can be recommended.
QString noOrderReason(const Sheet& sheet, bool custodyKnown)
{
    const WorksheetResult& r = sheet.result();
    if (r.sharesUndefined)
        return QStringLiteral("the parents' shares of their combined adjusted gross income (line 3) are "
                              "undefined when that income is $0");
    if (!sheet.has(QStringLiteral("lblC4")))
        return r.aboveSchedule ? QStringLiteral("the combined adjusted gross income is above the schedule, "
                                                "and the court's amount has not been entered for line 4")
                               : QStringLiteral("line 4 has no amount");
    if (!custodyKnown)
        return QStringLiteral("the worksheet does not say which parent has custody");
    return QStringLiteral("line 13 of the parent without custody has no amount");
}

// Lines 11 to 13 and the order.
QString orderParagraph(const Sheet& sheet, const Parent& p, const Parent& d)
{
    const WorksheetResult& r = sheet.result();
    const bool custodyKnown = r.custodyCode == QLatin1String("P") || r.custodyCode == QLatin1String("D");
    const Parent* custodian = r.custodyCode == QLatin1String("P")   ? &p
                              : r.custodyCode == QLatin1String("D") ? &d
                                                                    : nullptr;
    const Parent* payer = r.payer == QLatin1String("P") ? &p : r.payer == QLatin1String("D") ? &d : nullptr;

    QString s;
    if (payer && r.orderAmount) {
        const Parent& payee = payer == &p ? d : p;
        if (custodian == &payee)
            s += QStringLiteral("%1 has custody of the children, so the support is paid by %2.")
                     .arg(payee.name, payer->name);
        else
            s += QStringLiteral("The support is paid by %1 to %2.").arg(payer->name, payee.name);
        s += lineThirteenSentences(sheet, *payer);
        s += QStringLiteral(" The recommended child-support order is therefore that %1 pay %2 $%3 per month.")
                 .arg(payer->name, payee.name, wholeDollars(*r.orderAmount));
        return s;
    }
    if (custodian)
        s += QStringLiteral("%1 has custody of the children. ").arg(custodian->name);
    s += QStringLiteral("No child-support order can be recommended: %1.")
             .arg(noOrderReason(sheet, custodyKnown));
    return s;
}
} // namespace

QString generateExplanation2022(const Captions& captions, const WorksheetResult& result, const QDate& today)
{
    const Sheet sheet(captions, result);
    const Parent p{partyName(sheet, QStringLiteral("lblName1Name"), QStringLiteral("Plaintiff")),
                   QStringLiteral("P")};
    const Parent d{partyName(sheet, QStringLiteral("lblName2Name"), QStringLiteral("Defendant")),
                   QStringLiteral("D")};

    const QStringList paragraphs{
        QStringLiteral("Child Support Calculation performed on ") + formatUsDate(today),
        partiesParagraph(sheet, p, d, today),
        incomesParagraph(sheet, p, d),
        scheduleParagraph(sheet),
        obligationParagraph(sheet, p, d),
        orderParagraph(sheet, p, d),
    };
    QStringList written;
    for (const QString& paragraph : paragraphs) {
        if (!paragraph.isEmpty())
            written << paragraph;
    }
    return written.join(CrLf + CrLf);
}

} // namespace cs42
