#include "core/explain/Explanation.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/LeadingNumber.h"
#include "core/worksheet/UsDate.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QStringList>

namespace cs42 {

namespace {
const QString CrLf = QStringLiteral("\r\n");

class Reader
{
public:
    explicit Reader(const Captions& captions)
        : m_captions(captions)
    {}

    QString caption(const QString& label) const { return m_captions.value(label); }

    QString text(const QString& label) const { return caption(label).trimmed(); }

    double value(const QString& label) const { return LeadingNumber(caption(label)); }

private:
    const Captions& m_captions;
};

// The income sentence of one parent: X with lines 1, 1a, 1b and 2.
QString incomeSentence(const Reader& in,
                       const QString& x,
                       const QString& line1,
                       const QString& line1a,
                       const QString& line1b,
                       const QString& line2)
{
    QString s;
    const double income = in.value(line1);
    if (income == 0)
        s += x + QStringLiteral(" has reported no income");
    else
        s += x + QStringLiteral(" has reported a monthly gross income of $") + in.text(line1);
    const double a = in.value(line1a);
    const double b = in.value(line1b);
    const QString adjusted = QStringLiteral(", resulting in an adjusted gross income of $") + in.text(line2) +
                             QStringLiteral(" per month. ");
    // Four separate tests: a negative deduction matches none of them.
    if (a == 0 && b == 0)
        s += income > 0 ? QStringLiteral(", and has no adjustments. ") : QStringLiteral(". ");
    if (a > 0 && b == 0)
        s += QStringLiteral(", and pays a preexisting child support payment of $") + in.text(line1a) +
             adjusted;
    if (a == 0 && b > 0)
        s += QStringLiteral(", and pays a preexisting alimony payment of $") + in.text(line1b) + adjusted;
    if (a > 0 && b > 0) {
        s += QStringLiteral(", and pays a preexisting child support payment of $") + in.text(line1a) +
             QStringLiteral(" as well as a preexisting alimony payment of $") + in.text(line1b) + adjusted;
    }
    return s;
}
} // namespace

QString generateExplanation(const Captions& captions,
                            int childCount,
                            const ScheduleLookup& lookup,
                            const QDate& today,
                            bool insuranceCreditExceedsShare,
                            const ScheduleSource& source)
{
    const Reader in(captions);
    const QString n = QString::number(childCount);
    const QString p = in.text(QStringLiteral("lblName1Name")).isEmpty()
                          ? QStringLiteral("Plaintiff")
                          : in.text(QStringLiteral("lblName1Name"));
    const QString d = in.text(QStringLiteral("lblName2Name")).isEmpty()
                          ? QStringLiteral("Defendant")
                          : in.text(QStringLiteral("lblName2Name"));
    QString s;

    // Heading.
    s += QStringLiteral("Child Support Calculation performed on ") + formatUsDate(today) + CrLf + CrLf;

    // Children: name, and the age in calendar years when the birth date is a date not after
    // today. A date still to come has no age to give; the child is named alone, as with a date
    // that cannot be read.
    QStringList children;
    for (int i = 1; i <= 6; ++i) {
        const QString name = in.text(QStringLiteral("lblChild%1Name").arg(i));
        if (name.isEmpty())
            continue;
        const auto born = parseUsDate(in.caption(QStringLiteral("lblChild%1DOB").arg(i)), today);
        if (born && *born <= today)
            children << name + QStringLiteral(" - age ") + QString::number(today.year() - born->year());
        else
            children << name;
    }

    // First paragraph: parties, children, incomes and shares.
    if (!in.caption(QStringLiteral("lblName1Name")).isEmpty() &&
        !in.caption(QStringLiteral("lblName2Name")).isEmpty())
        s += QStringLiteral("The Plaintiff in this case is ") + p + QStringLiteral(" and the Defendant is ") +
             d + QStringLiteral(". ");
    s += p + QStringLiteral(" and ") + d + QStringLiteral(" have ") + n +
         (childCount == 1 ? QStringLiteral(" child who is involved in this child-support action (")
                          : QStringLiteral(" children who are involved in this child-support action (")) +
         children.join(QStringLiteral(", ")) + QStringLiteral("). ");
    s += incomeSentence(in,
                        p,
                        QStringLiteral("lblP1"),
                        QStringLiteral("lblP1a"),
                        QStringLiteral("lblP1b"),
                        QStringLiteral("lblP2"));
    s += incomeSentence(in,
                        d,
                        QStringLiteral("lblD1"),
                        QStringLiteral("lblD1a"),
                        QStringLiteral("lblD1b"),
                        QStringLiteral("lblD2"));
    s += QStringLiteral("When added together, their combined monthly gross income is $") +
         in.text(QStringLiteral("lblC2")) + QStringLiteral(". ");
    s += p + QStringLiteral("'s share of this amount is ") + in.text(QStringLiteral("lblP3")) +
         QStringLiteral("%, while ") + d + QStringLiteral("'s share is ") + in.text(QStringLiteral("lblD3")) +
         QStringLiteral("%.");
    s += CrLf + CrLf;

    // Second paragraph: how the schedule was read.
    s += QStringLiteral(
        "According to Rule 32 of the Alabama Rules of Judicial Administration, child-support shall be "
        "determined by using ");
    const double line4 = in.value(QStringLiteral("lblC4"));
    if (line4 == 50) {
        s += QStringLiteral(
            "the Schedule of Basic Child-Support Obligation. When the combined adjusted gross income "
            "falls under $800, Child-Support Obligation is automatically set to $50.");
    } else {
        s += QStringLiteral(
                 "the Schedule of Basic Child-Support Obligation. Locate the combined adjusted gross income "
                 "amount on the Schedule according to the number of ") +
             QStringLiteral(
                 "children included in this support action. For income falling between amounts shown in "
                 "the schedule, the lower value shall be used if the ") +
             QStringLiteral(
                 "income falls less than halfway between the amounts shown in the schedule. Where the "
                 "income falls halfway or more than halfway between two ") +
             QStringLiteral("amounts, the higher value shall be used. ");
        if (lookup.aboveTable) {
            s += QStringLiteral(
                     "In this case, the combined adjusted gross income is above the highest income shown "
                     "in the Schedule, $") +
                 Format::whole(lookup.topIncome) +
                 QStringLiteral(
                     ", so the amount shown for that highest income level is used. According to the "
                     "Schedule, the Child-Support amount for ") +
                 n + QStringLiteral(" children at that income level is $") +
                 in.text(QStringLiteral("lblC4")) + QStringLiteral(".");
        } else {
            const double combined = in.value(QStringLiteral("lblC2"));
            const double b = lookup.bracketIncome;
            const double next = lookup.nextIncome;
            // An income that is itself a row is said once, by that row. No row found (a schedule
            // that is not installed) gives no lower and higher amounts to speak of.
            if (b == 0 && next == 0) {
                s += QStringLiteral("In this case, no row of the Schedule could be read for the combined "
                                    "adjusted gross income of $") +
                     in.text(QStringLiteral("lblC2")) +
                     QStringLiteral(", so line 4 holds no amount from it.");
            } else if (combined == b) {
                s += QStringLiteral(
                         "In this case, the combined adjusted gross income can be found on the chart, so "
                         "the amount used to determine child-") +
                     QStringLiteral("support for ") + n +
                     QStringLiteral(" children at that income level is $") +
                     Format::whole(lookup.bracketAmount) + QStringLiteral(".");
            } else {
                const QString which =
                    next - combined <= 25
                        ? QStringLiteral(". The higher amount will be used to determine child-")
                        : QStringLiteral(". The lower amount will be used to determine child-");
                s += QStringLiteral("In this case, the lower amount is $") + Format::whole(b) +
                     QStringLiteral(" and the higher amount is $") + Format::whole(next) + which +
                     QStringLiteral(
                         "support because it's closer to the actual combined adjusted gross income of $") +
                     in.text(QStringLiteral("lblC2")) +
                     QStringLiteral(". According to the Schedule, the Child-Support amount for ") + n +
                     QStringLiteral(" children at that income level is $") +
                     in.text(QStringLiteral("lblC4")) + QStringLiteral(".");
            }
        }
    }
    // Which schedule that was.
    if (const QString statement = source.statement(); !statement.isEmpty())
        s += QLatin1Char(' ') + statement;
    s += CrLf + CrLf;

    // Third paragraph: child care, health insurance and the shares of the total.
    const double childCare = in.value(QStringLiteral("lblC5"));
    const double healthIns = in.value(QStringLiteral("lblC6"));
    if (childCare > 0)
        s += QStringLiteral("The monthly cost for Work Related Child Care for ALL of the children who are ") +
             QStringLiteral("part of this support action is reported to be $") +
             in.text(QStringLiteral("lblC5")) + QStringLiteral(". ");
    else
        s += QStringLiteral("Work Related Child Care cost is not a factor in this calculation. ");
    if (healthIns > 0)
        s += QStringLiteral("The monthly Health Insurance cost for ALL of the children who are ") +
             QStringLiteral("part of this support action is reported to be $") +
             in.text(QStringLiteral("lblC6")) + QStringLiteral(". ");
    else
        s += QStringLiteral("The cost for Health Insurance is not a factor in this calculation. ");
    if (line4 > 50) {
        s += QStringLiteral(
                 "The Child-Support Obligation is determined by adding the Basic Child-Support Obligation "
                 "of $") +
             in.text(QStringLiteral("lblC4")) + QStringLiteral(" together with ") +
             QStringLiteral("work-related child-care costs (in this case $") +
             (childCare == 0 ? QStringLiteral("0") : in.caption(QStringLiteral("lblC5"))) +
             QStringLiteral("), and health-insurance costs (in this case $") +
             (healthIns == 0 ? QStringLiteral("0") : in.caption(QStringLiteral("lblC6"))) +
             QStringLiteral("), which totals $") + in.text(QStringLiteral("lblC7")) +
             QStringLiteral(". Of this amount, ") + p + QStringLiteral(" is responsible for $") +
             in.text(QStringLiteral("lblP8")) + QStringLiteral(", which is based on a ") +
             in.text(QStringLiteral("lblP3")) +
             QStringLiteral("% share of combined gross income. This leaves ") + d +
             QStringLiteral(" responsible for $") + in.text(QStringLiteral("lblD8")) +
             QStringLiteral(", which is based on a ") + in.text(QStringLiteral("lblD3")) +
             QStringLiteral("% share of combined gross income.");
    }
    s += CrLf + CrLf;

    // Fourth paragraph: custody and the order. The parent without custody is the obligor.
    const QString custody = in.caption(QStringLiteral("lblCustody"));
    const QString insurance = in.caption(QStringLiteral("lblHealthInsurance"));
    const bool custodyKnown = custody == QLatin1String("PLAINTIFF") || custody == QLatin1String("DEFENDANT");
    const bool insuranceKnown = insurance == QLatin1String("PLAINTIFF") ||
                                insurance == QLatin1String("DEFENDANT") || insurance == QLatin1String("N/A");
    if (custodyKnown && insuranceKnown) {
        const bool plaintiffHasCustody = custody == QLatin1String("PLAINTIFF");
        const QString k = plaintiffHasCustody ? p : d;
        const QString o = plaintiffHasCustody ? d : p;
        const QString line8 =
            in.text(plaintiffHasCustody ? QStringLiteral("lblD8") : QStringLiteral("lblP8"));
        // A credit larger than the share leaves an order of 0, which the line shows blank: say $0.
        const QString line10 =
            insuranceCreditExceedsShare
                ? QStringLiteral("0")
                : in.text(plaintiffHasCustody ? QStringLiteral("lblD10") : QStringLiteral("lblP10"));
        QString order = o + QStringLiteral(" should pay ") + k + QStringLiteral(" is $") + line10 +
                        QStringLiteral(" per month.");
        // A share below 0 comes from an adjusted gross income below 0: no order is computed from it.
        if (in.value(plaintiffHasCustody ? QStringLiteral("lblD8") : QStringLiteral("lblP8")) < 0) {
            s += QStringLiteral("As agreed upon by both parties, ") + k +
                 QStringLiteral(" has custody of the children. Therefore, ") + o +
                 QStringLiteral(" is considered to be the 'Obligor' in this case. But ") + o +
                 QStringLiteral("'s adjusted gross income (line 2) is below $0, which makes ") + o +
                 QStringLiteral("'s share of the Child-Support Obligation (line 8) below $0 as well, and no "
                                "child-support order can be computed from it. The Recommended Child-Support "
                                "Order is $0 until the monthly gross income (line 1), the pre-existing child "
                                "support (line 1a) and the alimony (line 1b) of ") +
                 o + QStringLiteral(" are corrected.");
            return s;
        }
        if (insuranceCreditExceedsShare) {
            const QString line9 =
                in.text(plaintiffHasCustody ? QStringLiteral("lblD9") : QStringLiteral("lblP9"));
            order += QStringLiteral(" The health-insurance credit of $") + line9 +
                     QStringLiteral(" (line 9) exceeds ") + o + QStringLiteral("'s share of $") +
                     (line8.isEmpty() ? QStringLiteral("0") : line8) +
                     QStringLiteral(" (line 8); as no order is less than $0, the Recommended Child-Support "
                                    "Order is $0.");
        }
        s += QStringLiteral("As agreed upon by both parties, ") + k +
             QStringLiteral(" has custody of the children. Therefore, ") + o +
             QStringLiteral(
                 " is considered to be the 'Obligor' in this case and is responsible for paying $") +
             line8;
        if (insurance == QLatin1String("N/A")) {
            s += QStringLiteral(" in child-support. Since ") + o + QStringLiteral(" does ") +
                 QStringLiteral(
                     "not pay the Health Insurance premium, the Recommended Child-Support Order that ") +
                 order;
        } else if ((insurance == QLatin1String("PLAINTIFF")) == plaintiffHasCustody) {
            const QString r1 = plaintiffHasCustody
                                   ? QStringLiteral("Therefore, the  Recommended Child-Support Order that ")
                                   : QStringLiteral("Therefore, the Recommended Child-Support Order that ");
            s += QStringLiteral(" in child-support. Although ") + k +
                 QStringLiteral(" actually pays the premium of $") + in.text(QStringLiteral("lblC6")) +
                 QStringLiteral(
                     " for the children's Health Insurance, the child-support obligation amount is not "
                     "affected. ") +
                 r1 + order;
        } else {
            const QString r2 =
                plaintiffHasCustody
                    ? QStringLiteral("that amount. Therefore, the  Recommended Child-Support Order that ")
                    : QStringLiteral("that amount. Therefore, the Recommended Child-Support Order that ");
            s += QStringLiteral(" in child-support. But since ") + o +
                 QStringLiteral(" actually pays the premium of $") + in.text(QStringLiteral("lblC6")) +
                 QStringLiteral(
                     " for the children's Health Insurance, the monthly child-support obligation is reduced "
                     "by ") +
                 r2 + order;
        }
    }
    return s;
}

QString generateExplanation(const Captions& captions, const WorksheetResult& result, const QDate& today)
{
    return generateExplanation(captions,
                               result.childCount,
                               result.lookup,
                               today,
                               result.insuranceCreditExceedsShare,
                               result.scheduleSource);
}

} // namespace cs42
