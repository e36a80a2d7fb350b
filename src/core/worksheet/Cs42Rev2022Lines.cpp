#include "core/worksheet/Cs42Rev2022.h"
#include "core/worksheet/LineTable.h"

namespace cs42::Cs42Rev2022 {

namespace {
QString s(const char* text)
{
    return QString::fromUtf8(text);
}

using K = LineKind;
using R = EntryRule;
using S = Side;
using LineTable::entered;
using LineTable::line;
} // namespace

// The lines of form CS-42 (Rev. 5/2022), in the order the form reads, each with the name the
// court's own fillable PDF gives its field (its typing errors included).
// One line a label, as a table reads: kept out of the formatter's reach.
// clang-format off
QList<LineDef> lines()
{
    QList<LineDef> lines = LineTable::header();
    lines << LineTable::incomes();
    lines += QList<LineDef>{
        line("lblP3", K::Computed, R::None, S::Plaintiff, {}, "P%", "Percentage share of income: line 2 divided by the combined line 2, to a whole percent"),
        line("lblD3", K::Computed, R::None, S::Defendant, {}, "D%", "Percentage share of income: 100 % minus the plaintiff's share"),
        line("lblC3", K::Computed, R::None, S::Combined, {}, "", "Percentage share of income: combined"),
        line("lblC4", K::Input, R::Override, S::Combined, {s("override"), s("overamount")}, "CBCSA", "Basic child-support obligation: the schedule row nearest the combined line 2", "Override Child Support Amount"),
    };
    lines << entered("5", "Work-Related Child-Care Costs", "pchildcare", "dchildcare", "PWRCCC", "DWRCCC", "CWRCC");
    lines << entered("6", "Health-Care-Coverage Costs", "phealthins", "dhealthins", "PHCCC", "DHCCC", "CHCCC");
    lines += QList<LineDef>{
        line("lblC7", K::Computed, R::None, S::Combined, {}, "CCSO", "Total child-support obligation: combined lines 4, 5 and 6"),
        line("lblP8", K::Computed, R::None, S::Plaintiff, {}, "PCSO", "Each parent's child-support obligation: line 3 times line 7"),
        line("lblD8", K::Computed, R::None, S::Defendant, {}, "Defendant Child Support Obligation", "Each parent's child-support obligation: line 7 minus the plaintiff's line 8"),
        line("lblP9", K::Computed, R::None, S::Plaintiff, {}, "Plaintiff Total Costs Paid", "Total costs paid by each parent: lines 5 and 6"),
        line("lblD9", K::Computed, R::None, S::Defendant, {}, "Defendant Total Costs Paid", "Total costs paid by each parent: lines 5 and 6"),
        line("lblP10", K::Computed, R::None, S::Plaintiff, {}, "Plaintiff Obligation Before Consideration", "Adjusted child-support obligation: line 8 minus line 9, not below 0"),
        line("lblD10", K::Computed, R::None, S::Defendant, {}, "Defendant Obligation Before Consideration", "Adjusted child-support obligation: line 8 minus line 9, not below 0"),
        line("lblP11", K::Computed, R::None, S::Plaintiff, {}, "Plaintiff Income Available", "Income available after the self-support reserve: line 2 minus $%1, not below 0"),
        line("lblD11", K::Computed, R::None, S::Defendant, {}, "Defendant Income Available", "Income available after the self-support reserve: line 2 minus $%1, not below 0"),
        line("lblP12", K::Computed, R::None, S::Plaintiff, {}, "Plaintiff Max Recommended Child Support After SSR", "Income available for support: %2 % of line 11, at least $%3"),
        line("lblD12", K::Computed, R::None, S::Defendant, {}, "Defendant Max Recommended Child Support", "Income available for support: %2 % of line 11, at least $%3"),
        line("lblP13", K::Computed, R::None, S::Plaintiff, {}, "Plaintiff Recommended Child Support AMount", "Recommended child-support order: the lesser of lines 10 and 12; 0 without gross income"),
        line("lblD13", K::Computed, R::None, S::Defendant, {}, "Defendant Recommended Child Support Amount", "Recommended child-support order: the lesser of lines 10 and 12; 0 without gross income"),
        line("lblCustody", K::Toggle, R::Toggle, S::None, {s("whosecustody")}, "", "Parent with custody"),
    };
    lines << LineTable::signature("Comments, Calculation,s or Rebuttals to Guidelines");
    // The legal figures in the descriptions are the computation's own.
    for (LineDef& def : lines) {
        if (def.description.contains(QLatin1String("$%1")))
            def.description = def.description.arg(SelfSupportReserve);
        else if (def.description.contains(QLatin1String("$%3")))
            def.description = def.description.arg(SupportShare * 100).arg(MinimumOrder);
    }
    return lines;
}

// clang-format on

} // namespace cs42::Cs42Rev2022
