#pragma once

// Drawing a court form that the court prints from a spreadsheet: the sheet's grid of columns and
// rows laid on a US-Letter page, and a painter that draws its texts and rules and collects the
// text fields it leaves in its cells.

#include "FormFieldSpec.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <QRectF>

class QPainter;

namespace cs42::formgen {

constexpr double Thin = 0.5;
constexpr double Medium = 1.2;
constexpr double DoubleGap = 0.9;         // each line of a double rule lies this far off the cell edge
inline const QColor Shade(166, 166, 166); // the court's grey (white darkened by 35 %)

constexpr double ValueFontSize = 10;

// The court's sheets are set in Calibri; Liberation Sans, which runs wider, stands in for it.
QFont sheetFont(double points, bool bold = false, bool italic = false);

// A spreadsheet's grid as the court prints it: the columns share the width from `tableLeft` to
// `tableRight` in proportion to their widths (in any one unit), the rows keep their heights in
// points scaled by `printScale`, and the whole sits centred top to bottom on the page. Columns are
// numbered from 0 (column A), rows from 1 as the sheet numbers them.
class SheetGrid
{
public:
    SheetGrid(const QList<double>& columnWidths,
              const QList<double>& rowPoints,
              double printScale,
              double tableLeft = 36,
              double tableRight = 576,
              double pageHeight = 792);

    double left(int column) const { return m_columnLeft.at(column); }

    double right(int column) const { return m_columnLeft.at(column + 1); }

    double top(int row) const { return m_rowTop.at(row - 1); }

    double bottom(int row) const { return m_rowTop.at(row); }

    // The cells from (firstColumn, firstRow) to (lastColumn, lastRow), merged.
    QRectF cells(int firstColumn, int firstRow, int lastColumn, int lastRow) const
    {
        return QRectF(QPointF(left(firstColumn), top(firstRow)), QPointF(right(lastColumn), bottom(lastRow)));
    }

    QRectF cell(int column, int row) const { return cells(column, row, column, row); }

private:
    QList<double> m_columnLeft; // column c spans m_columnLeft[c] to m_columnLeft[c + 1]
    QList<double> m_rowTop;     // row r spans m_rowTop[r - 1] to m_rowTop[r]
};

class PageDrawer
{
public:
    // `fieldTable` gives each field's name, tooltip and alignment by its worksheet label.
    PageDrawer(QPainter& painter, const QList<FormFieldSpec>& fieldTable);

    void text(double x, double baseline, const QString& content, const QFont& f);
    void textIn(const QRectF& box, int flags, const QString& content, const QFont& f);

    // Metrics at the page's resolution: a font's metrics on its own are the screen's.
    QFontMetricsF metrics(const QFont& f) const;
    double width(const QString& content, const QFont& f) const;

    void hline(double x1, double x2, double y, double penWidth = Thin);
    void vline(double x, double y1, double y2, double penWidth = Thin);
    void doubleRule(double x1, double x2, double y);
    void frame(const QRectF& box, double penWidth);
    void shade(const QRectF& box);

    // The field of `label` in `box`; its name, tooltip and alignment come from the field table.
    void field(const QString& label, const QRectF& box, double fontSize = ValueFontSize);

    // A field over a blank that is an underline: the box sits just above the line.
    void
    fieldOnLine(const QString& label, double x1, double x2, double lineY, double fontSize = ValueFontSize);

    QList<FormFieldSpec> fields;

private:
    QPainter& m_painter;
    QHash<QString, FormFieldSpec> m_table;
};

// One line of a worksheet and the names of its plaintiff, defendant and combined fields (empty
// where the line has no value in that column).
struct LineFields
{
    QString number;
    QString what; // tooltip stem
    QString names[3];
};

// The worksheet label of a line's amount starts with the column's prefix: "lblP" + "1a".
inline const QString ColumnLabelPrefix[3] = {
    QStringLiteral("lblP"), QStringLiteral("lblD"), QStringLiteral("lblC")};

// The text fields of a form printed from the worksheet, in the court's field order: the case
// number, the court, the county, the parties and the number of children; the children's names,
// then their dates of birth; the amounts of `lines` line by line, each plaintiff, defendant,
// combined and right-aligned; who prepared the form, the date, and the comments (multiline).
QList<FormFieldSpec> worksheetFormFields(const QList<LineFields>& lines, const QString& commentsName);

// The baseline on which a viewer draws a one-line value of `fontSize` centred in `box`, so that
// the printed signs sit on the same line as the values typed beside them.
double valueBaseline(const QRectF& box, double fontSize = ValueFontSize);

// Text vertically centred in a cell, left at `x`.
void centredLine(PageDrawer& page, const QRectF& cell, double x, const QString& content, const QFont& f);

} // namespace cs42::formgen
