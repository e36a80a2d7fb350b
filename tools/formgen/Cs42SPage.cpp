#include "Cs42SPage.h"

#include "SheetPage.h"

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
        {QStringLiteral("5"),
         QStringLiteral("shared 50% physical-custody child-support obligation"),
         {{}, {}, "Shared Child Support Obligation"}},
        {QStringLiteral("6"), QStringLiteral("work-related child-care costs"), {"PWRCCC", "DWRCCC", {}}},
        {QStringLiteral("7"), QStringLiteral("health-care-coverage costs"), {"PHCCC", "DHCCC", {}}},
        {QStringLiteral("8"),
         QStringLiteral("total child-care and health-care-coverage costs"),
         {"Plaintiff Total Costs", "Defendant Total Costs", "Combined Total Costs"}},
        {QStringLiteral("9"), QStringLiteral("total child-support obligation"), {{}, {}, "CCSO"}},
        {QStringLiteral("10"),
         QStringLiteral("each parent's child-support obligation"),
         {"PCSO", "Defendant Child Support Obligation", {}}},
        {QStringLiteral("11"),
         QStringLiteral("total costs paid by each parent"),
         {"Plaintiff Total Costs Paid", "Defendant Total Costs Paid", {}}},
        {QStringLiteral("12"),
         QStringLiteral("credit for shared 50% physical custody"),
         {"Plaintiff Shared Custody Credit", "Defendant Shared Custody Credit", {}}},
        {QStringLiteral("13"),
         QStringLiteral("adjusted shared 50% physical-custody child-support obligation"),
         {"Plaintiff Adjusted Obligation", "Defendant Adjusted Obligation", {}}},
        {QStringLiteral("14"),
         QStringLiteral("recommended child-support order"),
         {"Plaintiff Recommended Child Support Amount", "Defendant Recommended Child Support Amount", {}}},
    };
}

// The court prints the form from a spreadsheet of thirteen columns (A to M) and 35 rows, fitted to
// the page inside half-inch margins. Column widths are the sheet's, in characters; row heights its
// points at 100 %. Each amount column is two cells: a narrow one for the sign ("$", "–", "+") and
// the one that holds the value (the combined value has a sliver of a cell to its right).
enum Column
{
    A,
    B,
    C,
    D,
    E,
    F,
    G, // plaintiff: sign
    H, // plaintiff: value
    I, // defendant: sign
    J, // defendant: value
    K, // combined: sign
    L, // combined: value
    M
};

constexpr double PrintScale = 0.66;

// The amounts, and the signs printed beside them at the same size: the court's 14-point cells.
constexpr double AmountFontSize = 9;

SheetGrid worksheetGrid()
{
    return SheetGrid({5.83203125,
                      21,
                      14.6640625,
                      14.33203125,
                      4.5,
                      10.6640625,
                      2.83203125,
                      12,
                      4.83203125,
                      12,
                      4.6640625,
                      16,
                      1.83203125},
                     {20, 20, 20, 31, 29, 39, 29, 24, 20, 20, 20, 25, 30, 26, 26, 26, 29, 37,
                      40, 39, 50, 31, 29, 29, 35, 33, 37, 33, 33, 33, 37, 38, 30, 41, 29},
                     PrintScale);
}

// The court's Calibri of `points` at the print's scale, in Liberation Sans, which runs wider.
QFont courtFont(double points, bool bold = false, bool italic = false)
{
    return sheetFont(points * PrintScale * 0.885, bold, italic);
}

// `f`, made smaller where `content` would not fit in `width`: Liberation Sans takes more room than
// the court's font for the longest of its texts.
QFont fitted(const PageDrawer& page, QFont f, const QString& content, double width)
{
    while (page.width(content, f) > width && f.pointSizeF() > 5)
        f.setPointSizeF(f.pointSizeF() - 0.1);
    return f;
}

// The baseline of text sitting at the bottom of a cell, as a spreadsheet places it by default.
double bottomBaseline(const PageDrawer& page, double cellBottom, const QFont& f)
{
    return cellBottom - page.metrics(f).descent() - 1.5;
}

// Text whose right end, trailing spaces included, is at `right`.
void rightText(PageDrawer& page, double right, double baseline, const QString& content, const QFont& f)
{
    page.text(right - page.width(content, f), baseline, content, f);
}

void drawHeader(PageDrawer& page, const SheetGrid& grid)
{
    // A1:B3, a line a row in the court's bold; C1:J3 the title; K1:M3 the case number.
    const QStringList lines = {QStringLiteral("State of Alabama"),
                               QStringLiteral("Unified Judicial System"),
                               QStringLiteral("Form CS-42-S  Effective 6/2023")};
    const QFont bold = fitted(page, courtFont(12, true), lines.last(), grid.right(B) - grid.left(A) - 4);
    for (int r = 0; r < 3; ++r)
        centredLine(page, grid.cells(A, r + 1, B, r + 1), grid.left(A) + 2, lines[r], bold);

    page.textIn(grid.cells(C, 1, J, 3),
                Qt::AlignCenter,
                QStringLiteral("CHILD-SUPPORT GUIDELINES"),
                courtFont(16, true));

    page.textIn(grid.cells(K, 1, M, 1), Qt::AlignCenter, QStringLiteral("Case Number"), courtFont(12, true));
    page.field(QStringLiteral("lblCourtFile"), grid.cells(K, 2, M, 3).adjusted(2, 1, -2, -2.5));
}

void drawCourtLine(PageDrawer& page, const SheetGrid& grid)
{
    // IN THE ____ COURT OF ____ COUNTY, ALABAMA on row 4, what goes in each blank on row 5.
    const QFont f = courtFont(14, true);
    const double lineY = grid.bottom(4);
    const double baseline = bottomBaseline(page, lineY, f);
    rightText(page, grid.right(B) - 2, baseline, QStringLiteral("IN THE  "), f);
    const QString courtOf = QStringLiteral("COURT OF");
    page.text((grid.left(F) + grid.right(F) - page.width(courtOf, f)) / 2, baseline, courtOf, f);
    page.text(grid.left(K) + 2, baseline, QStringLiteral(" COUNTY, ALABAMA"), f);

    page.hline(grid.left(C), grid.right(E), lineY);
    page.hline(grid.left(H), grid.right(J), lineY);
    page.fieldOnLine(QStringLiteral("lblCourtType"), grid.left(C), grid.right(E), lineY);
    page.fieldOnLine(QStringLiteral("lblCounty"), grid.left(H), grid.right(J), lineY);

    const QFont under = courtFont(12);
    page.textIn(grid.cells(C, 5, E, 5).adjusted(0, 1, 0, 0),
                Qt::AlignHCenter | Qt::AlignTop,
                QStringLiteral("(Circuit or District)"),
                under);
    page.textIn(grid.cells(H, 5, J, 5).adjusted(0, 1, 0, 0),
                Qt::AlignHCenter | Qt::AlignTop,
                QStringLiteral("(Name of County)"),
                under);
}

void drawParties(PageDrawer& page, const SheetGrid& grid)
{
    // ____ v. ____ on row 6, Plaintiff and Defendant at the right ends of the blanks on row 7.
    const QFont f = courtFont(14);
    const double lineY = grid.bottom(6);
    page.hline(grid.left(B), grid.right(D), lineY);
    page.hline(grid.left(F), grid.right(L), lineY);
    const QString versus = QStringLiteral("v.");
    page.text((grid.left(E) + grid.right(E) - page.width(versus, f)) / 2,
              bottomBaseline(page, lineY, f),
              versus,
              f);
    page.fieldOnLine(QStringLiteral("lblName1Name"), grid.left(B), grid.right(D), lineY, 11);
    page.fieldOnLine(QStringLiteral("lblName2Name"), grid.left(F), grid.right(L), lineY, 11);
    page.textIn(
        grid.cell(D, 7).adjusted(0, 1, -2, 0), Qt::AlignRight | Qt::AlignTop, QStringLiteral("Plaintiff"), f);
    page.textIn(
        grid.cell(L, 7).adjusted(0, 1, -2, 0), Qt::AlignRight | Qt::AlignTop, QStringLiteral("Defendant"), f);
}

void drawChildren(PageDrawer& page, const SheetGrid& grid)
{
    // Row 8 the headings; rows 9 to 11 children 1 to 3 at the left, 4 to 6 at the right.
    const int nameFirst[2] = {A, F};
    const int nameLast[2] = {C, J};
    const int birthFirst[2] = {D, K};
    const int birthLast[2] = {E, M};
    const QFont f = courtFont(12);
    for (int pair = 0; pair < 2; ++pair) {
        page.textIn(grid.cells(nameFirst[pair], 8, nameLast[pair], 8),
                    Qt::AlignCenter,
                    QStringLiteral("Children"),
                    f);
        page.textIn(grid.cells(birthFirst[pair], 8, birthLast[pair], 8),
                    Qt::AlignCenter,
                    QStringLiteral("Date of Birth"),
                    f);
        for (int r = 0; r < 3; ++r) {
            const QString n = QString::number(r + 1 + 3 * pair);
            const int row = 9 + r;
            page.field(QStringLiteral("lblChild%1Name").arg(n),
                       grid.cells(nameFirst[pair], row, nameLast[pair], row).adjusted(2, 1, -2, -1),
                       9);
            page.field(QStringLiteral("lblChild%1DOB").arg(n),
                       grid.cells(birthFirst[pair], row, birthLast[pair], row).adjusted(2, 1, -2, -1),
                       9);
        }
    }
    const QRectF row = grid.cells(G, 12, J, 12);
    const QFontMetricsF metrics = page.metrics(f);
    rightText(page,
              row.right() - 2,
              row.top() + (row.height() - metrics.height()) / 2 + metrics.ascent(),
              QStringLiteral("Number of Children  "),
              f);
    page.field(QStringLiteral("lblNumberOfChildren"), grid.cells(K, 12, M, 12).adjusted(2, 2, -2, -2));
}

// One printed row of the worksheet table.
struct TableRow
{
    int row;           // of the court's sheet
    QString number;    // the line number, empty for a heading
    QStringList title; // its lines, with the court's leading spaces
    QString note;      // the smaller line beneath, empty when none
    // Per column (plaintiff, defendant, combined): the sign printed before the value ("$", "–",
    // "+"), which makes the value cell a field of its line; "%", printed after the value; a fixed
    // text ("100 %"); "#" for a shaded cell; or empty for a blank one.
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
        {14, QStringLiteral("1"), {QStringLiteral("MONTHLY GROSS INCOME")}, {}, {dollar, dollar, dollar}},
        {15,
         QStringLiteral("1a"),
         {QStringLiteral("     Minus Preexisting Child-Support Payments")},
         {},
         {minus, minus, minus}},
        {16,
         QStringLiteral("1b"),
         {QStringLiteral("     Minus Preexisting Periodic Alimony Payments")},
         {},
         {minus, minus, minus}},
        {17,
         QStringLiteral("2"),
         {QStringLiteral("MONTHLY ADJUSTED GROSS INCOME")},
         QStringLiteral("    (Line 1 \u2013 Line 1a \u2013 Line 1b)"),
         {dollar, dollar, dollar}},
        {18, {}, {QStringLiteral("Child-Support-Obligation Calculations")}, {}, {{}, {}, shaded}},
        {19,
         QStringLiteral("3"),
         {QStringLiteral("PERCENTAGE SHARE OF INCOME")},
         QStringLiteral("    (Income on Line 2 divided by Combined Income)"),
         {percent, percent, QStringLiteral("100 %")}},
        {20,
         QStringLiteral("4"),
         {QStringLiteral("BASIC CHILD-SUPPORT OBLIGATION")},
         QStringLiteral("    (Apply Line 2 Combined to Schedule of Basic Child-Support Obligations)"),
         {shaded, shaded, dollar}},
        {21,
         QStringLiteral("5"),
         {QStringLiteral("SHARED 50% PHYSICAL-CUSTODY CHILD-SUPPORT OBLIGATION (150% of "),
          QStringLiteral("Basic Child-Support Obligation)")},
         QStringLiteral("    (1.5 x Line 4 Combined)"),
         {shaded, shaded, dollar}},
        {22,
         QStringLiteral("6"),
         {QStringLiteral("WORK-RELATED CHILD-CARE COSTS (Paid by Either Parent)")},
         {},
         {dollar, dollar, shaded}},
        {23,
         QStringLiteral("7"),
         {QStringLiteral("HEALTH-CARE-COVERAGE COSTS (Paid by Either Parent)")},
         {},
         {plus, plus, shaded}},
        {24,
         QStringLiteral("8"),
         {QStringLiteral("TOTAL CHILD-CARE AND HEALTH-CARE-COVERAGE COSTS")},
         QStringLiteral("    (Line 6 + Line 7)"),
         {dollar, dollar, dollar}},
        {25,
         QStringLiteral("9"),
         {QStringLiteral("TOTAL CHILD-SUPPORT OBLIGATION")},
         QStringLiteral("    (Combined Line 5 + Line 8)"),
         {shaded, shaded, dollar}},
        {26,
         QStringLiteral("10"),
         {QStringLiteral("EACH PARENT'S CHILD-SUPPORT OBLIGATION")},
         QStringLiteral("    (Line 3 x Line 9)"),
         {dollar, dollar, shaded}},
        {27, {}, {QStringLiteral("Shared 50% Physical Custody Calculations")}, {}, {{}, {}, shaded}},
        {28,
         QStringLiteral("11"),
         {QStringLiteral("TOTAL COSTS PAID BY EACH PARENT")},
         QStringLiteral("    (Line 8)"),
         {minus, minus, shaded}},
        {29,
         QStringLiteral("12"),
         {QStringLiteral("CREDIT FOR SHARED 50% PHYSICAL CUSTODY")},
         QStringLiteral("    (50% of Line 5 Combined)"),
         {minus, minus, shaded}},
        {30,
         QStringLiteral("13"),
         {QStringLiteral("ADJUSTED SHARED 50% PHYSICAL-CUSTODY CHILD-SUPPORT OBLIGATION")},
         QStringLiteral("    (Line 10 \u2013 Line 11 \u2013 Line 12)"),
         {dollar, dollar, shaded}},
        {31, {}, {QStringLiteral("Recommended Child-Support Order")}, {}, {{}, {}, shaded}},
        {32,
         QStringLiteral("14"),
         {QStringLiteral("RECOMMENDED CHILD-SUPPORT ORDER")},
         QStringLiteral("    (Higher of amounts in Line 13 placed in column of parent with higher amount.)"),
         {dollar, dollar, shaded}},
    };
}

void drawItem(PageDrawer& page, const QRectF& cell, const TableRow& row)
{
    const double x = cell.left() + 2;
    const double width = cell.width() - 4;
    if (row.number.isEmpty()) {
        centredLine(page, cell, x, row.title.first(), courtFont(12, true, true));
        return;
    }
    QList<QFont> fonts;
    QStringList lines;
    for (const QString& line : row.title) {
        fonts.append(fitted(page, courtFont(12), line, width));
        lines.append(line);
    }
    if (!row.note.isEmpty()) {
        fonts.append(fitted(page, courtFont(10), row.note, width));
        lines.append(row.note);
    }
    double height = 0;
    for (const QFont& f : fonts)
        height += page.metrics(f).height();
    double top = cell.top() + (cell.height() - height) / 2;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QFontMetricsF metrics = page.metrics(fonts[i]);
        page.text(x, top + metrics.ascent(), lines[i], fonts[i]);
        top += metrics.height();
    }
}

void drawTable(PageDrawer& page, const SheetGrid& grid)
{
    const QFont head = courtFont(12);
    page.textIn(grid.cell(A, 13), Qt::AlignCenter, QStringLiteral("Line"), head);
    page.textIn(grid.cells(B, 13, F, 13), Qt::AlignCenter, QStringLiteral("Item"), head);
    page.textIn(grid.cell(H, 13), Qt::AlignCenter, QStringLiteral("Plaintiff"), head);
    page.textIn(grid.cell(J, 13), Qt::AlignCenter, QStringLiteral("Defendant"), head);
    page.textIn(grid.cells(L, 13, M, 13), Qt::AlignCenter, QStringLiteral("Combined"), head);

    const int signColumn[3] = {G, I, K};
    const int valueColumn[3] = {H, J, L};
    const int lastColumn[3] = {H, J, M};
    const QFont sign = sheetFont(AmountFontSize);
    const QFont boldSign = sheetFont(AmountFontSize, true);
    for (const TableRow& row : tableRows()) {
        page.textIn(grid.cell(A, row.row), Qt::AlignCenter, row.number, courtFont(12));
        drawItem(page, grid.cells(B, row.row, F, row.row), row);
        for (int c = 0; c < 3; ++c) {
            const QString& content = row.cells[c];
            if (content.isEmpty())
                continue;
            if (content == QLatin1String("#")) {
                page.shade(grid.cells(signColumn[c], row.row, lastColumn[c], row.row));
                continue;
            }
            const QRectF value = grid.cell(valueColumn[c], row.row).adjusted(1.5, 1.5, -1.5, -1.5);
            const double baseline = valueBaseline(value, AmountFontSize);
            const QString label = ColumnLabelPrefix[c] + row.number;
            if (content.size() > 1) { // a fixed text, at the right as the court prints numbers
                rightText(page, value.right() - 1, baseline, content, sign);
            } else if (content == QLatin1String("%")) {
                // The value takes the whole column, sign cell included, up to the printed "%".
                const double w = page.width(content, sign);
                rightText(page, value.right() - 1, baseline, content, sign);
                page.field(label,
                           QRectF(QPointF(grid.left(signColumn[c]) + 1.5, value.top()),
                                  QPointF(value.right() - w - 3, value.bottom())),
                           AmountFontSize);
            } else {
                const QFont& f = content == QStringLiteral("\u2013") ? boldSign : sign;
                rightText(page, grid.right(signColumn[c]) - 1.5, baseline, content, f);
                page.field(label, value, AmountFontSize);
            }
        }
    }
}

void drawSignatureBlock(PageDrawer& page, const SheetGrid& grid)
{
    const QFont f = courtFont(12);
    page.text(grid.left(A) + 2,
              bottomBaseline(page, grid.bottom(33), f),
              QStringLiteral("Comments, Calculations, or Rebuttals to Guidelines:"),
              f);
    page.field(QStringLiteral("lblComments"), grid.cells(B, 34, M, 34).adjusted(2, 1.5, -2, -1.5), 9);

    const QRectF signature = grid.cells(A, 35, M, 35);
    centredLine(page, signature, grid.left(A) + 2, QStringLiteral("Prepared By:"), f);
    const QFontMetricsF metrics = page.metrics(f);
    rightText(page,
              grid.right(J) - 2,
              signature.top() + (signature.height() - metrics.height()) / 2 + metrics.ascent(),
              QStringLiteral("Date:  "),
              f);
    page.field(QStringLiteral("lblPreparedBy"), grid.cells(C, 35, H, 35).adjusted(2, 1.5, -2, -2));
    page.field(QStringLiteral("lblDateSigned"), grid.cells(K, 35, L, 35).adjusted(2, 1.5, -2, -2));
}

void drawRules(PageDrawer& page, const SheetGrid& grid)
{
    const double left = grid.left(A);
    const double right = grid.right(M);
    // Rows 1 to 3: three boxes; the court line and the parties close with double rules.
    page.vline(grid.left(C), grid.top(1), grid.bottom(3), Medium);
    page.vline(grid.left(K), grid.top(1), grid.bottom(3), Medium);
    page.hline(left, right, grid.bottom(3), Medium);
    page.doubleRule(left, right, grid.bottom(5));
    page.doubleRule(left, right, grid.bottom(7));

    // The children, then the number of children between double rules.
    for (int row = 9; row <= 11; ++row)
        page.hline(left, right, grid.top(row));
    page.doubleRule(left, right, grid.bottom(11));
    page.doubleRule(left, right, grid.bottom(12));
    for (int column : {D, F, K})
        page.vline(grid.left(column), grid.top(8) + DoubleGap, grid.bottom(11) - DoubleGap);
    page.vline(grid.left(K), grid.top(12) + DoubleGap, grid.bottom(12) - DoubleGap);

    // The table, lines 1 to 14.
    for (int row = 14; row <= 33; ++row)
        page.hline(left, right, grid.top(row));
    for (int column : {B, G, I, K})
        page.vline(grid.left(column), grid.top(13) + DoubleGap, grid.bottom(32));

    // Comments, then the signature row.
    page.hline(left, right, grid.top(35));

    page.frame(QRectF(QPointF(left, grid.top(1)), QPointF(right, grid.bottom(35))), Medium);
}

} // namespace

QList<FormFieldSpec> cs42SFields()
{
    return worksheetFormFields(lineFields(),
                               QStringLiteral("Comments, Calculations, or Rebuttals to Guidelines"));
}

QList<FormFieldSpec> drawCs42SPage(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    const SheetGrid grid = worksheetGrid();
    PageDrawer page(painter, cs42SFields());
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
