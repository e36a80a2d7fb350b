#include "core/worksheet/LineTable.h"

namespace cs42::LineTable {

namespace {
QString s(const char* text)
{
    return QString::fromUtf8(text);
}

using K = LineKind;
using R = EntryRule;
using S = Side;

LineDef text(const char* label, const char* column, const char* field, const char* title, const char* prompt)
{
    LineDef def{s(label), K::HeaderText, R::Text, S::None, {s(column)}, true, 0, s(title), s(prompt), {}};
    def.fieldName = s(field);
    def.description = s(title);
    return def;
}
} // namespace

LineDef line(const char* label,
             LineKind kind,
             EntryRule rule,
             Side side,
             QStringList columns,
             const char* field,
             const char* description,
             const char* title)
{
    LineDef def{s(label), kind, rule, side, std::move(columns), kind != K::Computed, 0, s(title), {}, {}};
    def.fieldName = s(field);
    def.description = s(description);
    return def;
}

QList<LineDef> entered(const char* number,
                       const char* what,
                       const char* pColumn,
                       const char* dColumn,
                       const char* pField,
                       const char* dField,
                       const char* cField)
{
    QList<LineDef> lines{
        line("", K::Input, R::Amount, S::Plaintiff, {s(pColumn)}, pField, what),
        line("", K::Input, R::Amount, S::Defendant, {s(dColumn)}, dField, what),
    };
    lines[0].label = QStringLiteral("lblP") + s(number);
    lines[0].title = QStringLiteral("Plaintiff's ") + s(what);
    lines[1].label = QStringLiteral("lblD") + s(number);
    lines[1].title = QStringLiteral("Defendant's ") + s(what);
    if (*cField != '\0') {
        lines << line("", K::Computed, R::None, S::Combined, {}, cField, what);
        lines[2].label = QStringLiteral("lblC") + s(number);
    }
    return lines;
}

// One line a label, as a table reads: kept out of the formatter's reach.
// clang-format off
QList<LineDef> header()
{
    QList<LineDef> lines = {
        text("lblCourtFile", "courtfile", "Case Number", "Court File Number", "Enter the court file number in the space below:"),
        text("lblCourtType", "courttype", "Circuit or District", "Court Type", "Enter the court type (Circuit or District) in the space below:"),
        text("lblCounty", "county", "Name of County", "Name of County", "Enter the name of the County in the space below:"),
        line("lblName1Name", K::Party, R::Party, S::Plaintiff, {s("name1name"), s("name1number"), s("name1field")}, "Plaintiff", "Plaintiff", "Select Name of Plaintiff"),
        line("lblName2Name", K::Party, R::Party, S::Defendant, {s("name2name"), s("name2number"), s("name2field")}, "Defendant", "Defendant", "Select Name of Defendant"),
    };
    for (int i = 1; i <= 6; ++i) {
        LineDef name = line("", K::Child, R::Children, S::None, {QStringLiteral("child%1name").arg(i)}, "", "Child", "Information about Children");
        name.label = QStringLiteral("lblChild%1Name").arg(i);
        name.fieldName = QStringLiteral("Child %1").arg(i);
        name.description = QStringLiteral("Child %1").arg(i);
        LineDef born = name;
        born.label = QStringLiteral("lblChild%1DOB").arg(i);
        born.columns = {QStringLiteral("child%1dob").arg(i)};
        born.fieldName = QStringLiteral("Date of Birth Child %1").arg(i);
        born.description = QStringLiteral("Date of birth of child %1").arg(i);
        lines << name << born;
    }
    lines << line("lblNumberOfChildren", K::Input, R::ChildrenNumber, S::None, {s("numchildren")}, "Number of Children", "Number of children", "Number of Children");
    return lines;
}

QList<LineDef> incomes()
{
    QList<LineDef> lines;
    lines << entered("1", "Monthly Gross Income", "pinc", "dinc", "PGI", "DGI", "CI");
    lines << entered("1a", "Preexisting Child-Support Payments", "ppre", "dpre", "PECSP", "DECSP", "CCSP");
    lines << entered("1b", "Preexisting Periodic-Alimony Payments", "presp", "dresp", "PAP", "DAP", "CAP");
    lines += QList<LineDef>{
        line("lblP2", K::Computed, R::None, S::Plaintiff, {}, "PAGI", "Monthly adjusted gross income (line 1 minus lines 1a and 1b)"),
        line("lblD2", K::Computed, R::None, S::Defendant, {}, "DAGI", "Monthly adjusted gross income (line 1 minus lines 1a and 1b)"),
        line("lblC2", K::Computed, R::None, S::Combined, {}, "CAGI", "Combined monthly adjusted gross income"),
    };
    return lines;
}

QList<LineDef> signature(const char* commentsField)
{
    return {
        text("lblComments", "textblock1", commentsField, "Comments", "Enter Comments in the space below:"),
        text("lblPreparedBy", "preparedby", "Prepared By", "Prepared by", "Enter the name of the person preparing this worksheet in the space below:"),
        text("lblDateSigned", "datesigned", "Date", "Date Signed", "Enter the date signed in the space below:"),
    };
}

// clang-format on

} // namespace cs42::LineTable
