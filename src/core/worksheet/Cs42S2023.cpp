#include "core/worksheet/Cs42S2023.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/WorksheetInputs.h"

namespace cs42::Cs42S2023 {

namespace {
double round(double value, int decimals)
{
    return Format::roundHalfAway(value, decimals);
}

QString label(const char* side, const char* line)
{
    return WorksheetInputs::label(side, line);
}

const WorksheetInputs::Input CostInputs[] = {{"6", "pchildcare", "dchildcare"},
                                             {"7", "phealthins", "dhealthins"}};
} // namespace

Worksheet
computeWorksheet(const CaseRecord& record, const ScheduleTable& schedule, const ScheduleRules& rules)
{
    Worksheet sheet;
    WorksheetResult& r = sheet.result;
    r.editionId = QStringLiteral("2023S");
    const WorksheetInputs in(record);
    in.fillCommon(sheet);
    // Custody is shared equally on this form: the custody box decides nothing.
    sheet.captions.remove(QStringLiteral("lblCustody"));

    const double c2 = in.showIncomes(sheet);
    // Lines 6 and 7: each parent's child care and health-care coverage, without combined cells.
    for (const WorksheetInputs::Input& input : CostInputs) {
        in.showInput(sheet, label("P", input.line), input.plaintiffColumn);
        in.showInput(sheet, label("D", input.line), input.defendantColumn);
    }
    const auto cell = [&r](const QString& name) {
        return r.cells.value(name);
    };
    const auto has = [&r](const QString& name) {
        return r.cells.contains(name);
    };

    // Line 3: here the defendant's share is rounded to a whole percent; the plaintiff has the rest.
    WorksheetInputs::setShares(sheet, "D", c2);

    // Line 4 as on form CS-42 (Rev. 5/2022); line 5 is 150 % of it.
    in.readLine4(sheet, schedule, rules, c2);
    if (has(QStringLiteral("lblC4")))
        in.setCell(
            sheet, QStringLiteral("lblC5"), round(SharedMultiplier * cell(QStringLiteral("lblC4")), 0));

    // Line 8: the costs each parent pays; line 9 the total obligation.
    for (const char* side : {"P", "D"})
        in.setCell(sheet, label(side, "8"), cell(label(side, "6")) + cell(label(side, "7")));
    in.setCell(sheet, QStringLiteral("lblC8"), cell(QStringLiteral("lblP8")) + cell(QStringLiteral("lblD8")));
    if (has(QStringLiteral("lblC5")))
        in.setCell(
            sheet, QStringLiteral("lblC9"), cell(QStringLiteral("lblC5")) + cell(QStringLiteral("lblC8")));

    for (const char* side : {"P", "D"}) {
        // Line 10: each share of line 9, each rounded on its own.
        if (has(QStringLiteral("lblC9")) && has(label(side, "3")))
            in.setCell(
                sheet, label(side, "10"), round(cell(label(side, "3")) * cell(QStringLiteral("lblC9")), 0));
        // Line 11: the costs this parent pays are a credit. Line 12: the cross-credit for the time
        // the children spend with this parent.
        in.setCell(sheet, label(side, "11"), cell(label(side, "8")));
        if (has(QStringLiteral("lblC5")))
            in.setCell(sheet, label(side, "12"), round(CrossCredit * cell(QStringLiteral("lblC5")), 0));
        // Line 13, which may be below 0.
        if (has(label(side, "10")) && has(label(side, "12")))
            in.setCell(sheet,
                       label(side, "13"),
                       cell(label(side, "10")) - cell(label(side, "11")) - cell(label(side, "12")));
    }

    // Line 14: the higher line 13 in the column of its parent (a tie in the defendant's), who pays
    // it to the other; nothing is owed when it is not above 0.
    if (has(QStringLiteral("lblP13")) && has(QStringLiteral("lblD13"))) {
        const double p13 = cell(QStringLiteral("lblP13"));
        const double d13 = cell(QStringLiteral("lblD13"));
        const char* payer = p13 > d13 ? "P" : "D";
        const double amount = p13 > d13 ? p13 : d13;
        in.setCell(sheet, label(payer, "14"), amount);
        r.payer = amount > 0 ? QString::fromLatin1(payer) : QString();
        r.orderAmount = amount > 0 ? amount : 0.0;
    }

    WorksheetInputs::blankUndefinedLines(sheet, FormEditions::cs42S2023());
    in.fillWarnings(sheet, QStringLiteral("3, 10, 13 AND 14"));
    return sheet;
}

} // namespace cs42::Cs42S2023
