#include "core/worksheet/Cs42S2023.h"
#include "core/worksheet/LineTable.h"

namespace cs42::Cs42S2023 {

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

// The lines of form CS-42-S, in the order the form reads. Its header, parties, children and lines
// 1 to 3 carry the field names of form CS-42 (Rev. 5/2022); its own lines are named for what they
// hold.
// One line a label, as a table reads: kept out of the formatter's reach.
// clang-format off
QList<LineDef> lines()
{
    QList<LineDef> lines = LineTable::header();
    lines << LineTable::incomes();
    lines += QList<LineDef>{
        line("lblP3", K::Computed, R::None, S::Plaintiff, {}, "P%", "Percentage share of income: 100 % minus the defendant's share"),
        line("lblD3", K::Computed, R::None, S::Defendant, {}, "D%", "Percentage share of income: line 2 divided by the combined line 2, to a whole percent"),
        line("lblC3", K::Computed, R::None, S::Combined, {}, "", "Percentage share of income: combined"),
        line("lblC4", K::Input, R::Override, S::Combined, {s("override"), s("overamount")}, "CBCSA", "Basic child-support obligation: the schedule row nearest the combined line 2", "Override Child Support Amount"),
        line("lblC5", K::Computed, R::None, S::Combined, {}, "Shared Child Support Obligation", "Shared 50 % physical-custody obligation: 150 % of line 4"),
    };
    lines << entered("6", "Work-Related Child-Care Costs", "pchildcare", "dchildcare", "PWRCCC", "DWRCCC", "");
    lines << entered("7", "Health-Care-Coverage Costs", "phealthins", "dhealthins", "PHCCC", "DHCCC", "");
    lines += QList<LineDef>{
        line("lblP8", K::Computed, R::None, S::Plaintiff, {}, "Plaintiff Total Costs", "Child-care and health-care-coverage costs: lines 6 and 7"),
        line("lblD8", K::Computed, R::None, S::Defendant, {}, "Defendant Total Costs", "Child-care and health-care-coverage costs: lines 6 and 7"),
        line("lblC8", K::Computed, R::None, S::Combined, {}, "Combined Total Costs", "Child-care and health-care-coverage costs of both parents"),
        line("lblC9", K::Computed, R::None, S::Combined, {}, "CCSO", "Total child-support obligation: combined lines 5 and 8"),
        line("lblP10", K::Computed, R::None, S::Plaintiff, {}, "PCSO", "Each parent's child-support obligation: line 3 times line 9"),
        line("lblD10", K::Computed, R::None, S::Defendant, {}, "Defendant Child Support Obligation", "Each parent's child-support obligation: line 3 times line 9"),
        line("lblP11", K::Computed, R::None, S::Plaintiff, {}, "Plaintiff Total Costs Paid", "Total costs paid by each parent: line 8"),
        line("lblD11", K::Computed, R::None, S::Defendant, {}, "Defendant Total Costs Paid", "Total costs paid by each parent: line 8"),
        line("lblP12", K::Computed, R::None, S::Plaintiff, {}, "Plaintiff Shared Custody Credit", "Credit for shared 50 % physical custody: 50 % of line 5"),
        line("lblD12", K::Computed, R::None, S::Defendant, {}, "Defendant Shared Custody Credit", "Credit for shared 50 % physical custody: 50 % of line 5"),
        line("lblP13", K::Computed, R::None, S::Plaintiff, {}, "Plaintiff Adjusted Obligation", "Adjusted shared obligation: line 10 minus lines 11 and 12"),
        line("lblD13", K::Computed, R::None, S::Defendant, {}, "Defendant Adjusted Obligation", "Adjusted shared obligation: line 10 minus lines 11 and 12"),
        line("lblP14", K::Computed, R::None, S::Plaintiff, {}, "Plaintiff Recommended Child Support Amount", "Recommended order: the higher line 13, in the column of the parent who pays it"),
        line("lblD14", K::Computed, R::None, S::Defendant, {}, "Defendant Recommended Child Support Amount", "Recommended order: the higher line 13, in the column of the parent who pays it"),
    };
    lines << LineTable::signature("Comments, Calculations, or Rebuttals to Guidelines");
    return lines;
}

// clang-format on

} // namespace cs42::Cs42S2023
