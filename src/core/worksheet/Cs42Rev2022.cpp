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
    return WorksheetInputs::label(side, line);
}

const WorksheetInputs::Input CostInputs[] = {{"5", "pchildcare", "dchildcare"},
                                             {"6", "phealthins", "dhealthins"}};
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

    const double c2 = in.showIncomes(sheet);
    // Lines 5 and 6: each parent's child care and health-care coverage, and the combined sums.
    for (const WorksheetInputs::Input& input : CostInputs) {
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

    // Line 3: the plaintiff's share, rounded to a whole percent; the defendant has the rest.
    WorksheetInputs::setShares(sheet, "P", c2);

    // Line 4: the nearest row of the schedule in the column of the number of children; above the
    // last row the court sets the amount, which the user enters as the override.
    in.readLine4(sheet, schedule, rules, c2);

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
        r.payer = QString::fromLatin1(payer);
        r.orderAmount = cell(label(payer, "13"));
    }

    WorksheetInputs::blankUndefinedLines(sheet, FormEditions::cs42Rev0522());
    in.fillWarnings(sheet);
    return sheet;
}

} // namespace cs42::Cs42Rev2022
