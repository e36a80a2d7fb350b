#include "Cs42Rev2022Page.h"

#include "SheetPage.h"
#include "core/worksheet/Cs42Rev2022.h"

#include <QPainter>

namespace cs42::formgen {

namespace {

QList<LineFields> lineFields()
{
    return {
        {QStringLiteral("1"), QStringLiteral("monthly gross income"), {"PGI", "DGI", "CI"}},
        {QStringLiteral("1a"),
         QStringLiteral("preexisting child-support payments"),
         {"PECSP", "DECSP", "CCSP"}},
        {QStringLiteral("1b"),
         QStringLiteral("preexisting periodic-alimony payments"),
         {"PAP", "DAP", "CAP"}},
        {QStringLiteral("2"), QStringLiteral("monthly adjusted gross income"), {"PAGI", "DAGI", "CAGI"}},
        {QStringLiteral("3"), QStringLiteral("percentage share of income"), {"P%", "D%", {}}},
        {QStringLiteral("4"), QStringLiteral("basic child-support obligation"), {{}, {}, "CBCSA"}},
        {QStringLiteral("5"), QStringLiteral("work-related child-care costs"), {"PWRCCC", "DWRCCC", "CWRCC"}},
        {QStringLiteral("6"), QStringLiteral("health-care-coverage costs"), {"PHCCC", "DHCCC", "CHCCC"}},
        {QStringLiteral("7"), QStringLiteral("total child-support obligation"), {{}, {}, "CCSO"}},
        {QStringLiteral("8"),
         QStringLiteral("each parent's child-support obligation"),
         {"PCSO", "Defendant Child Support Obligation", {}}},
        {QStringLiteral("9"),
         QStringLiteral("total costs paid by each parent"),
         {"Plaintiff Total Costs Paid", "Defendant Total Costs Paid", {}}},
        {QStringLiteral("10"),
         QStringLiteral("each parent's adjusted child-support obligation"),
         {"Plaintiff Obligation Before Consideration", "Defendant Obligation Before Consideration", {}}},
        {QStringLiteral("11"),
         QStringLiteral("income available after the self-support reserve"),
         {"Plaintiff Income Available", "Defendant Income Available", {}}},
        {QStringLiteral("12"),
         QStringLiteral("income available for support"),
         {"Plaintiff Max Recommended Child Support After SSR",
          "Defendant Max Recommended Child Support",
          {}}},
        // "AMount" as the court's form spells it.
        {QStringLiteral("13"),
         QStringLiteral("recommended child-support order"),
         {"Plaintiff Recommended Child Support AMount", "Defendant Recommended Child Support Amount", {}}},
    };
}

// The court prints the worksheet from a spreadsheet of six columns (A to F) and 29 rows, scaled to
// 80 %. Column widths are the spreadsheet's pixels, row heights its points at 100 %.
enum Column
{
    A,
    B,
    C,
    D,
    E,
    F
};

SheetGrid worksheetGrid()
{
    return SheetGrid({44, 197, 239, 117, 127, 168},
                     {51, 61, 59, 18, 20, 20, 20, 30, 17, 26, 22, 23, 35, 34, 37,
                      27, 26, 35, 27, 26, 38, 32, 37, 36, 31, 35, 26, 23, 25},
                     0.8);
}

constexpr double SignWidth = 12;

// The court's 12-point text at 80 %, in Liberation Sans, which runs wider than the court's font.
QFont bodyFont(bool bold = false, bool italic = false)
{
    return sheetFont(8.5, bold, italic);
}

QFont noteFont()
{
    return sheetFont(7);
}

QFont signFont()
{
    return sheetFont(10);
}

void drawHeader(PageDrawer& page, const SheetGrid& grid)
{
    // A1:B1, three lines in the court's bold.
    const QFont bold = sheetFont(9, true);
    const QFontMetricsF metrics = page.metrics(bold);
    const QRectF block = grid.cells(A, 1, B, 1);
    const double x = block.left() + 2;
    const double first = block.top() + (block.height() - 3 * metrics.height()) / 2 + metrics.ascent();
    page.text(x, first, QStringLiteral("State of Alabama"), bold);
    page.text(x, first + metrics.height(), QStringLiteral("Unified Judicial System"), bold);
    const QString form = QStringLiteral("Form CS\u201342");
    page.text(x, first + 2 * metrics.height(), form, bold);
    page.text(
        x + page.width(form, bold) + 18, first + 2 * metrics.height(), QStringLiteral("Rev. 5/2022"), bold);

    page.textIn(grid.cells(C, 1, E, 1),
                Qt::AlignCenter,
                QStringLiteral("CHILD SUPPORT GUIDELINES"),
                sheetFont(13, true));

    const QRectF caseCell = grid.cell(F, 1);
    const QRectF caseLabel(caseCell.left(), caseCell.top() + 2, caseCell.width(), 12);
    page.textIn(caseLabel, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Case Number"), bold);
    page.field(QStringLiteral("lblCourtFile"),
               QRectF(QPointF(caseCell.left() + 2, caseLabel.bottom() + 1),
                      QPointF(caseCell.right() - 2, caseCell.bottom() - 2.5)));
}

void drawCourtLine(PageDrawer& page, const SheetGrid& grid)
{
    // IN THE ____ COURT OF ____ COUNTY, ALABAMA, with what goes in each blank beneath it.
    const QRectF row = grid.cells(A, 2, F, 2);
    const QFont f = sheetFont(10.5, true);
    const QFont under = bodyFont();
    const QString inThe = QStringLiteral("IN THE ");
    const QString courtOf = QStringLiteral(" COURT OF ");
    const QString county = QStringLiteral(" COUNTY, ALABAMA");
    const double indent = 22;
    const double blank =
        (row.width() - 2 * indent - page.width(inThe, f) - page.width(courtOf, f) - page.width(county, f)) /
        2;
    const QFontMetricsF metrics = page.metrics(f);
    const QFontMetricsF underMetrics = page.metrics(under);
    const double baseline =
        row.top() + (row.height() - metrics.height() - underMetrics.height()) / 2 + metrics.ascent();
    const double lineY = baseline + 2;

    double x = row.left() + indent;
    page.text(x, baseline, inThe, f);
    x += page.width(inThe, f);
    const double courtStart = x;
    const double courtEnd = x + blank;
    x = courtEnd;
    page.text(x, baseline, courtOf, f);
    x += page.width(courtOf, f);
    const double countyStart = x;
    const double countyEnd = x + blank;
    page.text(countyEnd, baseline, county, f);

    page.hline(courtStart, courtEnd, lineY);
    page.hline(countyStart, countyEnd, lineY);
    page.fieldOnLine(QStringLiteral("lblCourtType"), courtStart, courtEnd, lineY);
    page.fieldOnLine(QStringLiteral("lblCounty"), countyStart, countyEnd, lineY);
    const double underTop = lineY + 0.5;
    page.textIn(QRectF(courtStart, underTop, blank, underMetrics.height()),
                Qt::AlignHCenter | Qt::AlignTop,
                QStringLiteral("(Circuit or District)"),
                under);
    page.textIn(QRectF(countyStart, underTop, blank, underMetrics.height()),
                Qt::AlignHCenter | Qt::AlignTop,
                QStringLiteral("(Name of County)"),
                under);
}

void drawParties(PageDrawer& page, const SheetGrid& grid)
{
    // ____ v. ____, Plaintiff and Defendant beneath the blanks.
    const QRectF row = grid.cells(A, 3, F, 3);
    const QFont f = sheetFont(10);
    const QFontMetricsF metrics = page.metrics(f);
    const double lineY = row.top() + (row.height() - 2 * metrics.height()) / 2 + metrics.ascent() + 2;
    const double middle = (row.left() + row.right()) / 2;
    const double inset = 12;
    const double gap = 20;
    page.hline(row.left() + inset, middle - gap, lineY);
    page.hline(middle + gap, row.right() - inset, lineY);
    page.textIn(QRectF(middle - gap, lineY - 14, 2 * gap, 13),
                Qt::AlignHCenter | Qt::AlignBottom,
                QStringLiteral("v."),
                sheetFont(10.5));
    page.fieldOnLine(QStringLiteral("lblName1Name"), row.left() + inset, middle - gap, lineY, 11);
    page.fieldOnLine(QStringLiteral("lblName2Name"), middle + gap, row.right() - inset, lineY, 11);
    page.textIn(QRectF(row.left() + inset, lineY + 1, middle - gap - row.left() - inset, metrics.height()),
                Qt::AlignHCenter | Qt::AlignTop,
                QStringLiteral("Plaintiff"),
                f);
    page.textIn(QRectF(middle + gap, lineY + 1, row.right() - inset - middle - gap, metrics.height()),
                Qt::AlignHCenter | Qt::AlignTop,
                QStringLiteral("Defendant"),
                f);
}

void drawChildren(PageDrawer& page, const SheetGrid& grid)
{
    // Rows 4 to 7: children 1 to 3 in the left pair of columns, 4 to 6 in the right pair.
    const int nameFirst[2] = {A, D};
    const int nameLast[2] = {B, E};
    const int birth[2] = {C, F};
    for (int pair = 0; pair < 2; ++pair) {
        page.textIn(grid.cells(nameFirst[pair], 4, nameLast[pair], 4),
                    Qt::AlignCenter,
                    QStringLiteral("Children"),
                    bodyFont());
        page.textIn(grid.cell(birth[pair], 4), Qt::AlignCenter, QStringLiteral("Date of Birth"), bodyFont());
        for (int r = 0; r < 3; ++r) {
            const QString n = QString::number(r + 1 + 3 * pair);
            const int row = 5 + r;
            page.field(QStringLiteral("lblChild%1Name").arg(n),
                       grid.cells(nameFirst[pair], row, nameLast[pair], row).adjusted(2, 1.5, -2, -1.5));
            page.field(QStringLiteral("lblChild%1DOB").arg(n),
                       grid.cell(birth[pair], row).adjusted(2, 1.5, -2, -1.5));
        }
    }
    page.textIn(grid.cells(D, 8, E, 8), Qt::AlignCenter, QStringLiteral("Number of Children"), bodyFont());
    page.field(QStringLiteral("lblNumberOfChildren"), grid.cell(F, 8).adjusted(2, 2.5, -2, -2.5));
}

// One printed row of the worksheet table.
struct TableRow
{
    int row;         // of the court's sheet
    QString number;  // the line number, empty for a heading
    QString title;   // with the court's leading spaces
    QString note;    // the smaller text of the line, empty when none
    bool noteInline; // the note follows the title on its line; otherwise it is the second line
    // Per column (plaintiff, defendant, combined): the sign printed in the cell ("$", "–", "+",
    // "%"), which makes the cell a field of its line; a fixed text ("100%"); "#" for a shaded
    // cell; or empty for a blank one.
    QString cells[3];
};

QList<TableRow> tableRows()
{
    const QString dollar = QStringLiteral("$");
    const QString minus = QStringLiteral("\u2013");
    const QString plus = QStringLiteral("+");
    const QString percent = QStringLiteral("%");
    const QString shaded = QStringLiteral("#");
    return {
        {10,
         QStringLiteral("1"),
         QStringLiteral("MONTHLY GROSS INCOME"),
         {},
         false,
         {dollar, dollar, dollar}},
        {11,
         QStringLiteral("1a"),
         QStringLiteral("     Minus Preexisting Child-Support Payments"),
         {},
         false,
         {minus, minus, minus}},
        {12,
         QStringLiteral("1b"),
         QStringLiteral("     Minus Preexisting Periodic-Alimony Payments"),
         {},
         false,
         {minus, minus, minus}},
        {13,
         QStringLiteral("2"),
         QStringLiteral("MONTHLY ADJUSTED GROSS INCOME"),
         QStringLiteral("   (Line 1 \u2013 Line 1a \u2013 Line 1b)"),
         false,
         {dollar, dollar, dollar}},
        {14,
         QStringLiteral("3"),
         QStringLiteral("PERCENTAGE SHARE OF INCOME"),
         QStringLiteral("   (Income on Line 2 divided by Combined Income)"),
         false,
         {percent, percent, QStringLiteral("100%")}},
        {15,
         QStringLiteral("4"),
         QStringLiteral("BASIC CHILD SUPPORT OBLIGATION"),
         QStringLiteral("   (Apply Line 2 Combined to Schedule of Basic Child Support Obligations)"),
         false,
         {shaded, shaded, dollar}},
        {16,
         QStringLiteral("5"),
         QStringLiteral("WORK-RELATED CHILD-CARE COSTS (Paid by Either Parent)"),
         {},
         false,
         {dollar, dollar, plus}},
        {17,
         QStringLiteral("6"),
         QStringLiteral("HEALTH-CARE-COVERAGE COSTS (Paid by Either Parent)"),
         {},
         false,
         {dollar, dollar, plus}},
        {18,
         QStringLiteral("7"),
         QStringLiteral("TOTAL CHILD-SUPPORT OBLIGATION"),
         QStringLiteral("   (Combined Line 4 + Line 5 + Line 6)"),
         false,
         {shaded, shaded, dollar}},
        {19,
         QStringLiteral("8"),
         QStringLiteral("EACH PARENT'S CHILD SUPPORT OBLIGATION "),
         QStringLiteral("(Line 3 x Line 7)"),
         true,
         {dollar, dollar, shaded}},
        {20,
         QStringLiteral("9"),
         QStringLiteral("TOTAL COSTS PAID BY EACH PARENT "),
         QStringLiteral("(Line 5 + Line 6)"),
         true,
         {minus, minus, shaded}},
        {21,
         QStringLiteral("10"),
         QStringLiteral("EACH PARENT'S ADJUSTED CHILD-SUPPORT OBLIGATION"),
         QStringLiteral("   (Line 8 \u2013 Line 9.  If less than $0, enter $0.)"),
         false,
         {dollar, dollar, shaded}},
        {22, {}, QStringLiteral("Self-Support Reserve (SSR)"), {}, false, {{}, {}, shaded}},
        {23,
         QStringLiteral("11"),
         QStringLiteral("INCOME AVAILABLE AFTER SSR"),
         QStringLiteral("   (Line 2 \u2013 SSR of $%1.  If less than $0, enter $0.)")
             .arg(Cs42Rev2022::SelfSupportReserve),
         false,
         {dollar, dollar, shaded}},
        {24,
         QStringLiteral("12"),
         QStringLiteral("INCOME AVAILABLE FOR SUPPORT"),
         QStringLiteral("   (%1% of Line 11.  If less than $%2, enter $%2 minimum obligation.)")
             .arg(Cs42Rev2022::SupportShare * 100)
             .arg(Cs42Rev2022::MinimumOrder),
         false,
         {dollar, dollar, shaded}},
        {25, {}, QStringLiteral("Recommended Child Support Order"), {}, false, {{}, {}, shaded}},
        {26,
         QStringLiteral("13"),
         QStringLiteral("RECOMMENDED CHILD-SUPPORT ORDER"),
         QStringLiteral("   (Lesser of Lines 10 and 12)"),
         false,
         {dollar, dollar, shaded}},
    };
}

void drawItem(PageDrawer& page, const QRectF& cell, const TableRow& row)
{
    const double x = cell.left() + 2;
    if (row.number.isEmpty()) {
        centredLine(page, cell, x, row.title, bodyFont(true, true));
        return;
    }
    const QFont title = bodyFont();
    if (row.note.isEmpty()) {
        centredLine(page, cell, x, row.title, title);
        return;
    }
    const QFont note = noteFont();
    const QFontMetricsF titleMetrics = page.metrics(title);
    if (row.noteInline) {
        const double baseline =
            cell.top() + (cell.height() - titleMetrics.height()) / 2 + titleMetrics.ascent();
        page.text(x, baseline, row.title, title);
        page.text(x + page.width(row.title, title), baseline, row.note, note);
        return;
    }
    const QFontMetricsF noteMetrics = page.metrics(note);
    const double top = cell.top() + (cell.height() - titleMetrics.height() - noteMetrics.height()) / 2;
    page.text(x, top + titleMetrics.ascent(), row.title, title);
    page.text(x, top + titleMetrics.height() + noteMetrics.ascent(), row.note, note);
}

void drawTable(PageDrawer& page, const SheetGrid& grid)
{
    const QFont head = bodyFont();
    page.textIn(grid.cell(A, 9), Qt::AlignCenter, QStringLiteral("Line"), head);
    page.textIn(grid.cells(B, 9, C, 9), Qt::AlignCenter, QStringLiteral("Item"), head);
    const int columns[3] = {D, E, F};
    const QString heads[3] = {
        QStringLiteral("Plaintiff"), QStringLiteral("Defendant"), QStringLiteral("Combined")};
    for (int c = 0; c < 3; ++c)
        page.textIn(grid.cell(columns[c], 9), Qt::AlignCenter, heads[c], head);

    for (const TableRow& row : tableRows()) {
        page.textIn(grid.cell(A, row.row), Qt::AlignCenter, row.number, bodyFont());
        drawItem(page, grid.cells(B, row.row, C, row.row), row);
        for (int c = 0; c < 3; ++c) {
            const QRectF cell = grid.cell(columns[c], row.row);
            const QString& content = row.cells[c];
            if (content.isEmpty())
                continue;
            if (content == QLatin1String("#")) {
                page.shade(cell);
                continue;
            }
            const QRectF inner = cell.adjusted(1.5, 1.5, -1.5, -1.5);
            if (content.size() > 1) { // a fixed text, right-aligned as the court prints numbers
                const double w = page.width(content, signFont());
                page.text(inner.right() - 2 - w, valueBaseline(inner), content, signFont());
                continue;
            }
            const QString label = ColumnLabelPrefix[c] + row.number;
            if (content == QLatin1String("%")) {
                const double w = page.width(content, signFont());
                page.text(inner.right() - 2 - w, valueBaseline(inner), content, signFont());
                page.field(label,
                           QRectF(QPointF(inner.left(), inner.top()),
                                  QPointF(inner.right() - w - 3, inner.bottom())));
            } else {
                page.text(cell.left() + 2, valueBaseline(inner), content, signFont());
                page.field(label, QRectF(QPointF(cell.left() + SignWidth, inner.top()), inner.bottomRight()));
            }
        }
    }
}

void drawSignatureBlock(PageDrawer& page, const SheetGrid& grid)
{
    const QFont f = bodyFont();
    const QFontMetricsF metrics = page.metrics(f);
    const QRectF comments = grid.cells(A, 27, F, 28);
    const double labelBaseline = comments.top() + 3 + metrics.ascent();
    page.text(comments.left() + 2,
              labelBaseline,
              QStringLiteral("Comments, Calculations, or Rebuttals to Guidelines:"),
              f);
    page.field(QStringLiteral("lblComments"),
               QRectF(QPointF(comments.left() + 2, labelBaseline + metrics.descent() + 1),
                      comments.bottomRight() - QPointF(2, 1.5)),
               9);

    const QRectF signature = grid.cells(A, 29, F, 29);
    const QString prepared = QStringLiteral("Prepared By:");
    const QString date = QStringLiteral("Date:");
    centredLine(page, signature, signature.left() + 2, prepared, f);
    centredLine(page, signature, grid.left(E) + 2, date, f);
    const double top = signature.top() + 1.5;
    const double bottom = signature.bottom() - 2;
    page.field(QStringLiteral("lblPreparedBy"),
               QRectF(QPointF(signature.left() + 2 + page.width(prepared, f) + 4, top),
                      QPointF(grid.right(D) - 4, bottom)));
    page.field(QStringLiteral("lblDateSigned"),
               QRectF(QPointF(grid.left(E) + 2 + page.width(date, f) + 4, top),
                      QPointF(signature.right() - 2, bottom)));
}

void drawRules(PageDrawer& page, const SheetGrid& grid)
{
    const double left = grid.left(A);
    const double right = grid.right(F);
    // Row 1: three boxes; the caption rows close with double rules.
    page.vline(grid.left(C), grid.top(1), grid.bottom(1), Medium);
    page.vline(grid.left(F), grid.top(1), grid.bottom(1), Medium);
    page.hline(left, right, grid.bottom(1), Medium);
    page.doubleRule(left, right, grid.bottom(2));
    page.doubleRule(left, right, grid.bottom(3));

    // The children and the number of children.
    for (int row = 5; row <= 7; ++row)
        page.hline(left, right, grid.top(row));
    page.doubleRule(left, right, grid.bottom(7));
    page.doubleRule(left, right, grid.bottom(8));
    page.vline(grid.left(C), grid.top(4) + DoubleGap, grid.bottom(7) - DoubleGap);
    page.vline(grid.left(D), grid.top(4) + DoubleGap, grid.bottom(8) - DoubleGap);
    page.vline(grid.left(F), grid.top(4) + DoubleGap, grid.bottom(8) - DoubleGap);

    // The table, lines 1 to 13.
    for (int row = 10; row <= 27; ++row)
        page.hline(left, right, grid.top(row));
    for (int column : {B, D, E, F})
        page.vline(grid.left(column), grid.top(9) + DoubleGap, grid.top(27));

    // Comments, then the signature row.
    page.hline(left, right, grid.top(29));

    page.frame(QRectF(QPointF(left, grid.top(1)), QPointF(right, grid.bottom(29))), Medium);
}

} // namespace

QList<FormFieldSpec> cs42Rev2022Fields()
{
    // "Calculation,s" as the court's form spells it.
    return worksheetFormFields(lineFields(),
                               QStringLiteral("Comments, Calculation,s or Rebuttals to Guidelines"));
}

QList<FormFieldSpec> drawCs42Rev2022Page(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    const SheetGrid grid = worksheetGrid();
    PageDrawer page(painter, cs42Rev2022Fields());
    drawTable(page, grid); // the shading first, under the rules
    drawHeader(page, grid);
    drawCourtLine(page, grid);
    drawParties(page, grid);
    drawChildren(page, grid);
    drawSignatureBlock(page, grid);
    drawRules(page, grid);
    return page.fields;
}

} // namespace cs42::formgen
