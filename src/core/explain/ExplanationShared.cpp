#include "core/explain/ExplanationShared.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/UsDate.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QLocale>

#include <cmath>

namespace cs42::explain {

const QString CrLf = QStringLiteral("\r\n");
const QString ScheduleName =
    QStringLiteral("the Schedule of Basic Child-Support Obligations effective May 1, 2022");

namespace {
// The figures of the May 2022 schedule.
constexpr double ScheduleFirstRow = 250;
constexpr double ScheduleLastRow = 30000;
constexpr double ScheduleRowStep = 50;

QLocale usLocale()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

// Whole years from `born` to `today`.
int ageOn(const QDate& born, const QDate& today)
{
    int age = today.year() - born.year();
    if (today.month() < born.month() || (today.month() == born.month() && today.day() < born.day()))
        --age;
    return age;
}

// The schedule line 4 was read from: the installed table as identified, or, when it is not known,
// the official one, which the forms from 2022 on read.
QString scheduleUsed(const WorksheetResult& r)
{
    const QString phrase = r.scheduleSource.phrase();
    return phrase.isEmpty() ? ScheduleName : phrase;
}

// Where the rule sentence says line 4 is read from: a table other than the official one is the one
// the first paragraph named.
QString scheduleRead(const WorksheetResult& r)
{
    return r.scheduleSource.differsFromOfficial() ? QStringLiteral("the schedule named above") : ScheduleName;
}

QString partyName(const Sheet& sheet, const QString& label, const QString& role)
{
    const QString name = sheet.text(label);
    return name.isEmpty() ? role : name;
}
} // namespace

bool same(double a, double b)
{
    return std::fabs(a - b) < 0.005;
}

QString wholeDollars(double value)
{
    const double rounded = Format::roundHalfAway(value, 0);
    const QString digits = usLocale().toString(static_cast<qlonglong>(std::fabs(rounded)));
    return rounded < 0 ? QStringLiteral("(") + digits + QStringLiteral(")") : digits;
}

QString exactDollars(double value)
{
    if (same(value, Format::roundHalfAway(value, 0)))
        return wholeDollars(value);
    const QString digits = usLocale().toString(std::fabs(value), 'f', 2);
    return value < 0 ? QStringLiteral("(") + digits + QStringLiteral(")") : digits;
}

QString money(double value)
{
    if (value < 0 && !same(value, 0))
        return QStringLiteral("minus $") + exactDollars(-value);
    return QStringLiteral("$") + exactDollars(std::fabs(value));
}

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

bool Sheet::has(const QString& label) const
{
    return m_result.cells.contains(label);
}

double Sheet::value(const QString& label) const
{
    return m_result.cells.value(label, 0);
}

QString Sheet::dollars(const QString& label) const
{
    if (has(label) || text(label).isEmpty())
        return money(value(label));
    return QStringLiteral("$") + text(label);
}

QString Sheet::magnitude(const QString& label) const
{
    return money(std::fabs(value(label)));
}

QString Sheet::percent(const QString& label) const
{
    // The form prints the "%" beside the cell; the caption is the number alone.
    const QString shown = text(label).isEmpty() ? Format::courtPercent(value(label)) : text(label);
    return shown + QLatin1Char('%');
}

Parent plaintiff(const Sheet& sheet)
{
    return {partyName(sheet, QStringLiteral("lblName1Name"), QStringLiteral("Plaintiff")),
            QStringLiteral("P")};
}

Parent defendant(const Sheet& sheet)
{
    return {partyName(sheet, QStringLiteral("lblName2Name"), QStringLiteral("Defendant")),
            QStringLiteral("D")};
}

QString heading(const QDate& today)
{
    return QStringLiteral("Child Support Calculation performed on ") + formatUsDate(today);
}

QString joined(const QStringList& paragraphs)
{
    QStringList written;
    for (const QString& paragraph : paragraphs) {
        if (!paragraph.isEmpty())
            written << paragraph;
    }
    return written.join(CrLf + CrLf);
}

QString partiesParagraph(
    const Sheet& sheet, const Parent& p, const Parent& d, const QString& form, const QDate& today)
{
    QString s = QStringLiteral("This explains how %1, was completed for this case, using %2.")
                    .arg(form, scheduleUsed(sheet.result()));

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

QString incomeSentence(const Sheet& sheet, const Parent& x)
{
    const bool hasIncome = sheet.value(x.line("1")) != 0;
    QString s = !hasIncome ? QStringLiteral("%1 reports no monthly gross income (line 1)").arg(x.name)
                : sheet.value(x.line("1")) < 0
                    ? QStringLiteral("%1 has a negative monthly gross income of %2 (line 1)")
                          .arg(x.name, sheet.magnitude(x.line("1")))
                    : QStringLiteral("%1 has a monthly gross income of %2 (line 1)")
                          .arg(x.name, sheet.dollars(x.line("1")));

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
                  sheet.magnitude(x.line("2")));
    return s;
}

QString scheduleParagraph(const Sheet& sheet)
{
    const WorksheetResult& r = sheet.result();
    const QString c2 = QStringLiteral("lblC2");
    const QString c4 = QStringLiteral("lblC4");
    const double combined = sheet.value(c2);
    const QString income = sheet.dollars(c2);
    const QString entered = QStringLiteral("an amount of %1 was entered for line 4").arg(sheet.dollars(c4));

    QString s =
        QStringLiteral(
            "Under Rule 32 of the Alabama Rules of Judicial Administration, the basic child-support "
            "obligation (line 4) is read from %1, in the column for the number of children and at the "
            "row of income nearest to the combined adjusted gross income; an income exactly halfway "
            "between two rows takes the higher row, and no income is read below the $%2 row.")
            .arg(scheduleRead(r), wholeDollars(ScheduleFirstRow));

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

} // namespace cs42::explain
