#include "core/explain/Explanation2023S.h"

#include "core/explain/ExplanationShared.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QStringList>

namespace cs42 {

using namespace explain;

namespace {
const QString FormName = QStringLiteral("Form CS-42-S (Effective 6/2023), the child-support guidelines "
                                        "worksheet for parents who share physical custody of the children "
                                        "equally (50% each)");

// Lines 1 to 3. The form figures the defendant's share and gives the plaintiff the rest.
QString incomesParagraph(const Sheet& sheet, const Parent& p, const Parent& d)
{
    QString s = incomeSentence(sheet, p) + incomeSentence(sheet, d);
    s += QStringLiteral("Together, their combined adjusted gross income is %1 (line 2).")
             .arg(sheet.dollars(QStringLiteral("lblC2")));
    if (sheet.result().sharesUndefined)
        s += QStringLiteral(" As that is $0, the parents' shares of it (line 3) cannot be computed: line 3 "
                            "stays empty, and so do each parent's share of the total obligation (line 10), "
                            "the adjusted obligations (line 13) and line 14.");
    else
        s += QStringLiteral(" %1's share of it is %2, and %3's share is the rest, %4 (line 3).")
                 .arg(d.name, sheet.percent(d.line("3")), p.name, sheet.percent(p.line("3")));
    return s;
}

// Lines 6 to 8 of one parent: the child care and the coverage he or she pays.
QString costsSentence(const Sheet& sheet, const Parent& x)
{
    const bool care = sheet.value(x.line("6")) > 0;
    const bool coverage = sheet.value(x.line("7")) > 0;
    if (care && coverage)
        return QStringLiteral(" %1 pays %2 a month for work-related child care (line 6) and %3 for "
                              "health-care coverage for the children (line 7), %4 in all (line 8).")
            .arg(x.name, sheet.dollars(x.line("6")), sheet.dollars(x.line("7")), sheet.dollars(x.line("8")));
    if (care)
        return QStringLiteral(" %1 pays %2 a month for work-related child care (line 6).")
            .arg(x.name, sheet.dollars(x.line("6")));
    if (coverage)
        return QStringLiteral(" %1 pays %2 a month for health-care coverage for the children (line 7).")
            .arg(x.name, sheet.dollars(x.line("7")));
    return QString();
}

// Lines 5 to 9.
QString obligationParagraph(const Sheet& sheet, const Parent& p, const Parent& d)
{
    const QString c5 = QStringLiteral("lblC5");
    const QString c8 = QStringLiteral("lblC8");
    const QString c9 = QStringLiteral("lblC9");
    QString s;
    if (sheet.has(c5))
        s += QStringLiteral(" As the parents share physical custody equally, the basic obligation is "
                            "increased by half: 150% of %1 is the shared-custody child-support obligation "
                            "of %2 (line 5).")
                 .arg(sheet.dollars(QStringLiteral("lblC4")), sheet.dollars(c5));

    s += costsSentence(sheet, p) + costsSentence(sheet, d);
    if (sheet.value(p.line("8")) > 0 && sheet.value(d.line("8")) > 0)
        s += QStringLiteral(" Together the parents pay %1 a month in these costs (line 8).")
                 .arg(sheet.dollars(c8));

    if (!sheet.has(c9))
        s += QStringLiteral(" Without an amount on line 4 there is neither a shared-custody obligation "
                            "(line 5) nor a total child-support obligation (line 9) to divide between the "
                            "parents.");
    else if (sheet.value(c8) > 0)
        s += QStringLiteral(" Adding the costs of %1 (line 8) to the shared-custody obligation gives the "
                            "total child-support obligation of %2 (line 9).")
                 .arg(sheet.dollars(c8), sheet.dollars(c9));
    else
        s += QStringLiteral(" The total child-support obligation (line 9) is the shared-custody obligation "
                            "alone, %1.")
                 .arg(sheet.dollars(c9));
    return s.trimmed();
}

// Lines 10 to 13.
QString sharesParagraph(const Sheet& sheet, const Parent& p, const Parent& d)
{
    if (!sheet.has(p.line("10")) || !sheet.has(d.line("10"))) {
        if (sheet.result().sharesUndefined && sheet.has(QStringLiteral("lblC9")))
            return QStringLiteral("As the shares are undefined, the total obligation is not divided between "
                                  "the parents (line 10), and lines 13 and 14 stay empty.");
        return QString(); // the paragraph before says why there is nothing to divide
    }

    QString s = QStringLiteral("At %1, %2's share of the total obligation is %3; at %4, %5's share is %6 "
                               "(line 10).")
                    .arg(sheet.percent(p.line("3")),
                         p.name,
                         sheet.dollars(p.line("10")),
                         sheet.percent(d.line("3")),
                         d.name,
                         sheet.dollars(d.line("10")));

    // Line 11: each parent is credited with the costs he or she pays.
    QStringList credited;
    QList<const Parent*> paying;
    for (const Parent* x : {&p, &d}) {
        if (sheet.value(x->line("11")) > 0) {
            credited << QStringLiteral("%1 for %2").arg(sheet.dollars(x->line("11")), x->name);
            paying << x;
        }
    }
    if (paying.size() == 2)
        s += QStringLiteral(" Each parent is credited with the child-care and coverage costs that parent "
                            "pays (line 11): %1.")
                 .arg(listed(credited));
    else if (paying.size() == 1)
        s += QStringLiteral(" %1 is credited with the %2 in child-care and coverage costs %1 pays (line 11).")
                 .arg(paying.first()->name, sheet.dollars(paying.first()->line("11")));

    // Line 12: half of the shared-custody obligation, for the time the children spend with each.
    if (sheet.has(p.line("12")) && sheet.has(d.line("12"))) {
        const QString why = QStringLiteral(" As the children spend half their time with each parent, each "
                                           "parent is also credited with half of the shared-custody "
                                           "obligation");
        if (same(sheet.value(p.line("12")), sheet.value(d.line("12"))))
            s += why + QStringLiteral(", %1 (line 12), for the support given directly while the children "
                                      "are with that parent.")
                           .arg(sheet.dollars(p.line("12")));
        else
            s += why + QStringLiteral(" (line 12): %1 for %2 and %3 for %4.")
                           .arg(sheet.dollars(p.line("12")), p.name, sheet.dollars(d.line("12")), d.name);
    }

    // Line 13: the share less both credits, which may fall below zero.
    if (sheet.has(p.line("13")) && sheet.has(d.line("13"))) {
        s += QStringLiteral(" Taking the credits from each share leaves the adjusted obligations (line 13): "
                            "%1 for %2 and %3 for %4.")
                 .arg(sheet.dollars(p.line("13")), p.name, sheet.dollars(d.line("13")), d.name);
        for (const Parent* x : {&p, &d}) {
            if (sheet.value(x->line("13")) < 0)
                s += QStringLiteral(" %1's is below zero because the credits are more than the share: %1 "
                                    "owes nothing on this line.")
                         .arg(x->name);
        }
    }
    return s;
}

// Why line 14 has no amount.
QString noOrderReason(const Sheet& sheet)
{
    const WorksheetResult& r = sheet.result();
    if (r.sharesUndefined)
        return QStringLiteral("the parents' shares of their combined adjusted gross income (line 3) are "
                              "undefined when that income is $0");
    if (!sheet.has(QStringLiteral("lblC4")))
        return r.aboveSchedule ? QStringLiteral("the combined adjusted gross income is above the schedule, "
                                                "and the court's amount has not been entered for line 4")
                               : QStringLiteral("line 4 has no amount");
    return QStringLiteral("line 14 has no amount");
}

// Line 14 and the order: the higher adjusted obligation, paid by that parent to the other when it
// is above zero.
QString orderParagraph(const Sheet& sheet, const Parent& p, const Parent& d)
{
    const Parent* column = sheet.has(p.line("14")) ? &p : sheet.has(d.line("14")) ? &d : nullptr;
    if (!column)
        return QStringLiteral("No child-support order can be computed: %1.").arg(noOrderReason(sheet));

    QString s;
    if (sheet.has(p.line("13")) && sheet.has(d.line("13")) &&
        same(sheet.value(p.line("13")), sheet.value(d.line("13"))))
        s += QStringLiteral("The two adjusted obligations are equal, %1 each; a tie is entered in the "
                            "defendant's column, so line 14 is %2's %3.")
                 .arg(sheet.dollars(p.line("13")), column->name, sheet.dollars(column->line("14")));
    else
        s += QStringLiteral(
                 "The higher of the two adjusted obligations is %1's, %2, and it goes on line 14 in "
                 "%1's column.")
                 .arg(column->name, sheet.dollars(column->line("14")));

    const WorksheetResult& r = sheet.result();
    const Parent* payer = r.payer == QLatin1String("P") ? &p : r.payer == QLatin1String("D") ? &d : nullptr;
    if (payer && r.orderAmount && *r.orderAmount > 0) {
        const Parent& payee = payer == &p ? d : p;
        s += QStringLiteral(" The parent with the higher amount pays it to the other, so the recommended "
                            "child-support order is that %1 pay %2 $%3 per month.")
                 .arg(payer->name, payee.name, wholeDollars(*r.orderAmount));
    } else {
        s +=
            QStringLiteral(" As line 14 is not above zero, no child support is owed: neither parent pays the "
                           "other.");
    }
    return s;
}
} // namespace

QString generateExplanation2023S(const Captions& captions, const WorksheetResult& result, const QDate& today)
{
    const Sheet sheet(captions, result);
    const Parent p = plaintiff(sheet);
    const Parent d = defendant(sheet);

    return joined({
        heading(today),
        partiesParagraph(sheet, p, d, FormName, today),
        incomesParagraph(sheet, p, d),
        scheduleParagraph(sheet),
        obligationParagraph(sheet, p, d),
        sharesParagraph(sheet, p, d),
        orderParagraph(sheet, p, d),
    });
}

} // namespace cs42
