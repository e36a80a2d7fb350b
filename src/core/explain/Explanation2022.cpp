#include "core/explain/Explanation2022.h"

#include "core/explain/ExplanationShared.h"
#include "core/worksheet/Cs42Rev2022.h"
#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QStringList>

namespace cs42 {

using namespace explain;

namespace {
const QString FormName = QStringLiteral("Form CS-42 (Rev. 5/2022), the child-support guidelines worksheet");

// The figures of the form's lines 11 and 12, as the computation uses them.
using Cs42Rev2022::MinimumOrder;
using Cs42Rev2022::SelfSupportReserve;
constexpr double AbilityShare = Cs42Rev2022::SupportShare;

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

    // Line 9: each parent is credited with the costs he or she pays; line 10 is line 8 less line 9,
    // never below $0.
    QStringList credited;
    for (const Parent* x : {&p, &d}) {
        if (sheet.value(x->line("9")) > 0)
            credited << QStringLiteral("%1 for %2").arg(sheet.dollars(x->line("9")), x->name);
    }
    if (credited.isEmpty())
        s += QStringLiteral(" Neither parent pays a cost to be credited (line 9).");
    else
        s += QStringLiteral(" Each parent is credited with the costs that parent pays (line 9): %1.")
                 .arg(listed(credited));
    s += QStringLiteral(" Line 10 is each parent's share less that parent's credit, and never below $0: "
                        "%1 for %2 and %3 for %4 (line 10).")
             .arg(sheet.dollars(p.line("10")), p.name, sheet.dollars(d.line("10")), d.name);
    for (const Parent* x : {&p, &d}) {
        const double line8 = sheet.value(x->line("8"));
        const double line9 = sheet.value(x->line("9"));
        if (line8 < 0 && !same(line8, 0))
            s +=
                QStringLiteral(" %1's share of %2 is below $0 because %1's adjusted gross income is, so %1's "
                               "line 10 is $0.")
                    .arg(x->name, sheet.dollars(x->line("8")));
        else if (line9 > line8 && !same(line9, line8))
            s += QStringLiteral(" %1's credit of %2 is more than %1's share of %3, so %1's line 10 is $0.")
                     .arg(x->name, sheet.dollars(x->line("9")), sheet.dollars(x->line("8")));
    }
    return s.trimmed();
}

// Lines 11 to 13 of one parent: the self-support reserve, 85 % of what is left, and the lesser of
// lines 10 and 12.
QString abilitySentences(const Sheet& sheet, const Parent& x)
{
    const double line2 = sheet.value(x.line("2"));
    const double line11 = sheet.value(x.line("11"));
    QString s;
    if (line11 > 0)
        s += QStringLiteral(" %1's adjusted gross income of %2 less the reserve leaves %3 (line 11)")
                 .arg(x.name, sheet.dollars(x.line("2")), sheet.dollars(x.line("11")));
    else if (line2 < 0 && !same(line2, 0))
        s +=
            QStringLiteral(" %1's adjusted gross income is negative (minus %2), so nothing is left above the "
                           "reserve (line 11 is $0)")
                .arg(x.name, sheet.magnitude(x.line("2")));
    else
        s += QStringLiteral(
                 " %1's adjusted gross income of %2 does not exceed the reserve, so nothing is left "
                 "above it (line 11 is $0)")
                 .arg(x.name, sheet.dollars(x.line("2")));

    const double share = Format::roundHalfAway(AbilityShare * line11, 0);
    if (share < MinimumOrder)
        s += QStringLiteral("; 85% of that would be %1, below the $%2 minimum, so line 12 is %3.")
                 .arg(money(share), wholeDollars(MinimumOrder), sheet.dollars(x.line("12")));
    else
        s += QStringLiteral("; 85% of that, in whole dollars, is %1 (line 12).")
                 .arg(sheet.dollars(x.line("12")));

    if (sheet.value(x.line("1")) == 0)
        s += QStringLiteral(" As %1 has no monthly gross income, %1's line 13 is $0.").arg(x.name);
    else if (!sheet.has(x.line("10")))
        s += QStringLiteral(" Without a line 10, %1's line 13 cannot be computed.").arg(x.name);
    else if (same(sheet.value(x.line("10")), sheet.value(x.line("12"))))
        s += QStringLiteral(" Lines 10 and 12 are the same, so %1's line 13 is %2.")
                 .arg(x.name, sheet.dollars(x.line("13")));
    else
        s += QStringLiteral(" The smaller of %1 (line 10) and %2 (line 12) is %3's line 13: %4.")
                 .arg(sheet.dollars(x.line("10")),
                      sheet.dollars(x.line("12")),
                      x.name,
                      sheet.dollars(x.line("13")));
    return s;
}

// Lines 11 to 13 of both parents: what the form prints for each, and why.
QString abilityParagraph(const Sheet& sheet, const Parent& p, const Parent& d)
{
    QString s = QStringLiteral(
                    "Lines 11 to 13 test what each parent can afford to pay. Line 11 is what is left of the "
                    "parent's adjusted gross income above the self-support reserve of $%1, line 12 is 85% "
                    "of line 11 but never less than $%2, and line 13 is the smaller of lines 10 and 12.")
                    .arg(wholeDollars(SelfSupportReserve), wholeDollars(MinimumOrder));
    s += abilitySentences(sheet, p);
    s += abilitySentences(sheet, d);
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

// The order: the line 13 of the parent without custody.
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
        if (custodian == &payee) {
            s += QStringLiteral("%1 has custody of the children, so the support is paid by %2, the parent "
                                "without custody.")
                     .arg(payee.name, payer->name);
            if (sheet.has(payee.line("13")))
                s += QStringLiteral(" %1's own line 13 (%2) is the share of the support that %1 provides in "
                                    "caring for the children; it is not ordered to be paid.")
                         .arg(payee.name, sheet.dollars(payee.line("13")));
        } else {
            s += QStringLiteral("The support is paid by %1 to %2.").arg(payer->name, payee.name);
        }
        const double line13 = sheet.value(payer->line("13"));
        if (same(line13, Format::roundHalfAway(line13, 0)))
            s += QStringLiteral(
                     " The recommended child-support order is therefore %1's line 13: that %1 pay %2 "
                     "$%3 per month.")
                     .arg(payer->name, payee.name, wholeDollars(*r.orderAmount));
        else
            s += QStringLiteral(
                     " The recommended child-support order is therefore %1's line 13 of %2 in whole "
                     "dollars, as the form prints it: that %1 pay %3 $%4 per month.")
                     .arg(payer->name,
                          sheet.dollars(payer->line("13")),
                          payee.name,
                          wholeDollars(*r.orderAmount));
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
    const Parent p = plaintiff(sheet);
    const Parent d = defendant(sheet);

    const QStringList paragraphs{
        heading(today),
        partiesParagraph(sheet, p, d, FormName, today),
        incomesParagraph(sheet, p, d),
        scheduleParagraph(sheet),
        obligationParagraph(sheet, p, d),
        abilityParagraph(sheet, p, d),
        orderParagraph(sheet, p, d),
    };
    return joined(paragraphs);
}

} // namespace cs42
