#include "core/worksheet/Cs42Rev2022.h"

#include "core/worksheet/AmountCheck.h"
#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/EntryRules.h"
#include "core/worksheet/WorksheetInputs.h"

#include <algorithm>

namespace cs42::Cs42Rev2022 {

namespace {
double round(double value, int decimals)
{
    return Format::roundHalfAway(value, decimals);
}

QString label(const char* side, const char* line)
{
    return QStringLiteral("lbl%1%2").arg(QLatin1String(side), QLatin1String(line));
}
} // namespace

ScheduleRules scheduleRules()
{
    ScheduleRules rules;
    rules.bracketWidth = RowWidth;
    rules.minimumIncome = LowestRow;
    rules.minimumAmount = 0;
    rules.searchFrom = LowestRow;
    rules.searchUpTo = 30000;
    return rules;
}

Worksheet
computeWorksheet(const CaseRecord& record, const ScheduleTable& schedule, const ScheduleRules& rules)
{
    Worksheet sheet;
    WorksheetResult& r = sheet.result;
    r.editionId = QStringLiteral("2022");
    const WorksheetInputs in(record);
    in.fillCommon(sheet);
    // A line the inputs leave undefined shows nothing, and says so with an empty caption: every
    // label gets one, as the window and the form replace each label's text by its caption.
    for (const char* undefinedLabel :
         {"lblP3", "lblD3", "lblC3", "lblC7", "lblP8", "lblD8", "lblP10", "lblD10", "lblP13", "lblD13"})
        sheet.captions.insert(QLatin1String(undefinedLabel), QString(QLatin1String("")));

    // Lines 1, 1a, 1b, 5 and 6: each parent's input and the combined sum.
    for (const WorksheetInputs::Input& input : WorksheetInputs::parentInputs()) {
        const double p = in.showInput(sheet, label("P", input.line), input.plaintiffColumn);
        const double d = in.showInput(sheet, label("D", input.line), input.defendantColumn);
        in.setCell(sheet, label("C", input.line), p + d);
    }
    const auto cell = [&r](const QString& name) {
        return r.cells.value(name);
    };
    const auto has = [&r](const QString& name) {
        return r.cells.contains(name);
    };

    // Line 2, not clamped.
    for (const char* side : {"P", "D", "C"})
        in.setCell(sheet,
                   label(side, "2"),
                   cell(label(side, "1")) - cell(label(side, "1a")) - cell(label(side, "1b")));
    const double c2 = cell(QStringLiteral("lblC2"));

    // Line 3: the plaintiff's share, rounded to a whole percent; the defendant has the rest.
    r.sharesUndefined = c2 == 0.0;
    if (!r.sharesUndefined) {
        const double p3 = round(cell(QStringLiteral("lblP2")) / c2, 2);
        in.setCell(sheet, QStringLiteral("lblP3"), p3, Format::courtPercent(p3));
        in.setCell(sheet, QStringLiteral("lblD3"), 1 - p3, Format::courtPercent(1 - p3));
        in.setCell(sheet, QStringLiteral("lblC3"), 1, Format::courtPercent(1));
    }

    // Line 4: the nearest row of the schedule in the column of the number of children; above the
    // last row the court sets the amount, which the user enters as the override.
    in.readSchedule(sheet, schedule, rules, c2);
    if (r.overrideInForce)
        in.setCell(sheet, QStringLiteral("lblC4"), r.overrideAmount);

    // Line 7.
    if (has(QStringLiteral("lblC4")))
        in.setCell(sheet,
                   QStringLiteral("lblC7"),
                   cell(QStringLiteral("lblC4")) + cell(QStringLiteral("lblC5")) +
                       cell(QStringLiteral("lblC6")));

    // Line 8: the plaintiff's share of line 7 in whole dollars; the defendant has the rest.
    if (has(QStringLiteral("lblC7")) && has(QStringLiteral("lblP3"))) {
        const double c7 = cell(QStringLiteral("lblC7"));
        const double p8 = round(cell(QStringLiteral("lblP3")) * c7, 0);
        in.setCell(sheet, QStringLiteral("lblP8"), p8);
        in.setCell(sheet, QStringLiteral("lblD8"), c7 - p8);
    }

    for (const char* side : {"P", "D"}) {
        // Line 9: the costs this parent pays are a credit, custodial or not.
        const double paid = cell(label(side, "5")) + cell(label(side, "6"));
        in.setCell(sheet, label(side, "9"), paid);
        // Line 10.
        if (has(label(side, "8")))
            in.setCell(sheet, label(side, "10"), std::max(cell(label(side, "8")) - paid, 0.0));
        // Lines 11 and 12: the self-support reserve, then 85 % of what is left, at least $50.
        const double available = std::max(cell(label(side, "2")) - SelfSupportReserve, 0.0);
        in.setCell(sheet, label(side, "11"), available);
        in.setCell(sheet, label(side, "12"), std::max(round(SupportShare * available, 0), MinimumOrder));
        // Line 13: the lesser of lines 10 and 12; nothing for a parent without gross income.
        if (cell(label(side, "1")) == 0.0)
            in.setCell(sheet, label(side, "13"), 0);
        else if (has(label(side, "10")))
            in.setCell(sheet, label(side, "13"), std::min(cell(label(side, "10")), cell(label(side, "12"))));
    }

    // The form names no payer: the parent without custody pays his or her line 13.
    const char* payer = r.custodyCode == QLatin1String("P") ? "D" : "P";
    if (has(label(payer, "13"))) {
        r.payer = QLatin1String(payer);
        r.orderAmount = cell(label(payer, "13"));
    }

    in.fillWarnings(sheet);
    return sheet;
}

} // namespace cs42::Cs42Rev2022
