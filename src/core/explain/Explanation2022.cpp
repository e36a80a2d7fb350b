#include "core/explain/Explanation2022.h"

#include "core/explain/ExplanationShared.h"
#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QStringList>

namespace cs42 {

using namespace explain;

namespace {
const QString FormName = QStringLiteral("Form CS-42 (Rev. 5/2022), the child-support guidelines worksheet");

// The figures of the form's lines 11 and 12.
constexpr double SelfSupportReserve = 981;
constexpr double AbilityShare = 0.85;
constexpr double MinimumOrder = 50;

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
    const Parent p = plaintiff(sheet);
    const Parent d = defendant(sheet);

    const QStringList paragraphs{
        heading(today),
        partiesParagraph(sheet, p, d, FormName, today),
        incomesParagraph(sheet, p, d),
        scheduleParagraph(sheet),
        obligationParagraph(sheet, p, d),
        orderParagraph(sheet, p, d),
    };
    return joined(paragraphs);
}

} // namespace cs42
