#include "SheetPage.h"

#include <QPainter>
#include <QPen>

#include <numeric>

namespace cs42::formgen {

QFont sheetFont(double points, bool bold, bool italic)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

SheetGrid::SheetGrid(const QList<double>& columnWidths,
                     const QList<double>& rowPoints,
                     double printScale,
                     double tableLeft,
                     double tableRight,
                     double pageHeight)
{
    const double total = std::accumulate(columnWidths.begin(), columnWidths.end(), 0.0);
    m_columnLeft.append(tableLeft);
    for (double w : columnWidths)
        m_columnLeft.append(m_columnLeft.last() + w * (tableRight - tableLeft) / total);
    double height = 0;
    for (double h : rowPoints)
        height += h * printScale;
    m_rowTop.append((pageHeight - height) / 2);
    for (double h : rowPoints)
        m_rowTop.append(m_rowTop.last() + h * printScale);
}

PageDrawer::PageDrawer(QPainter& painter, const QList<FormFieldSpec>& fieldTable)
    : m_painter(painter)
{
    for (const FormFieldSpec& spec : fieldTable)
        m_table.insert(spec.label, spec);
}

void PageDrawer::text(double x, double baseline, const QString& content, const QFont& f)
{
    m_painter.setFont(f);
    m_painter.drawText(QPointF(x, baseline), content);
}

void PageDrawer::textIn(const QRectF& box, int flags, const QString& content, const QFont& f)
{
    m_painter.setFont(f);
    m_painter.drawText(box, flags, content);
}

QFontMetricsF PageDrawer::metrics(const QFont& f) const
{
    return QFontMetricsF(f, m_painter.device());
}

double PageDrawer::width(const QString& content, const QFont& f) const
{
    return metrics(f).horizontalAdvance(content);
}

void PageDrawer::hline(double x1, double x2, double y, double penWidth)
{
    m_painter.setPen(QPen(Qt::black, penWidth, Qt::SolidLine, Qt::FlatCap));
    m_painter.drawLine(QPointF(x1, y), QPointF(x2, y));
}

void PageDrawer::vline(double x, double y1, double y2, double penWidth)
{
    m_painter.setPen(QPen(Qt::black, penWidth, Qt::SolidLine, Qt::FlatCap));
    m_painter.drawLine(QPointF(x, y1), QPointF(x, y2));
}

void PageDrawer::doubleRule(double x1, double x2, double y)
{
    hline(x1, x2, y - DoubleGap);
    hline(x1, x2, y + DoubleGap);
}

void PageDrawer::frame(const QRectF& box, double penWidth)
{
    m_painter.setPen(QPen(Qt::black, penWidth));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(box);
}

void PageDrawer::shade(const QRectF& box)
{
    m_painter.fillRect(box, Shade);
}

void PageDrawer::field(const QString& label, const QRectF& box, double fontSize)
{
    FormFieldSpec spec = m_table.value(label);
    spec.label = label; // a label the table lacks is reported by the template writer
    spec.box = box;
    spec.fontSize = fontSize;
    fields.append(spec);
}

void PageDrawer::fieldOnLine(const QString& label, double x1, double x2, double lineY, double fontSize)
{
    field(label, QRectF(x1 + 1, lineY - 15, x2 - x1 - 2, 14), fontSize);
}

QList<FormFieldSpec> worksheetFormFields(const QList<LineFields>& lines, const QString& commentsName)
{
    static const QString Who[3] = {
        QStringLiteral("plaintiff"), QStringLiteral("defendant"), QStringLiteral("combined")};
    QList<FormFieldSpec> fields;
    auto add = [&fields](const QString& label, const QString& name, const QString& tooltip) {
        FormFieldSpec spec;
        spec.label = label;
        spec.name = name;
        spec.tooltip = tooltip;
        fields.append(spec);
    };
    add(QStringLiteral("lblCourtFile"), QStringLiteral("Case Number"), QStringLiteral("Case number"));
    add(QStringLiteral("lblCourtType"),
        QStringLiteral("Circuit or District"),
        QStringLiteral("Court (Circuit or District)"));
    add(QStringLiteral("lblCounty"),
        QStringLiteral("Name of County"),
        QStringLiteral("County (name of county)"));
    add(QStringLiteral("lblName1Name"), QStringLiteral("Plaintiff"), QStringLiteral("Plaintiff's name"));
    add(QStringLiteral("lblName2Name"), QStringLiteral("Defendant"), QStringLiteral("Defendant's name"));
    add(QStringLiteral("lblNumberOfChildren"),
        QStringLiteral("Number of Children"),
        QStringLiteral("Number of children"));
    for (int child = 1; child <= 6; ++child)
        add(QStringLiteral("lblChild%1Name").arg(child),
            QStringLiteral("Child %1").arg(child),
            QStringLiteral("Child %1: name").arg(child));
    for (int child = 1; child <= 6; ++child)
        add(QStringLiteral("lblChild%1DOB").arg(child),
            QStringLiteral("Date of Birth Child %1").arg(child),
            QStringLiteral("Child %1: date of birth").arg(child));
    for (const LineFields& line : lines) {
        for (int c = 0; c < 3; ++c) {
            if (line.names[c].isEmpty())
                continue;
            add(ColumnLabelPrefix[c] + line.number,
                line.names[c],
                QStringLiteral("Line %1, %2, %3").arg(line.number, line.what, Who[c]));
            fields.last().rightAligned = true;
        }
    }
    add(QStringLiteral("lblPreparedBy"), QStringLiteral("Prepared By"), QStringLiteral("Prepared by"));
    add(QStringLiteral("lblDateSigned"), QStringLiteral("Date"), QStringLiteral("Date"));
    add(QStringLiteral("lblComments"),
        commentsName,
        QStringLiteral("Comments, calculations, or rebuttals to guidelines"));
    fields.last().multiline = true;
    return fields;
}

double valueBaseline(const QRectF& box, double fontSize)
{
    return box.bottom() - ((box.height() - 0.925 * fontSize) / 2 + 0.207 * fontSize);
}

void centredLine(PageDrawer& page, const QRectF& cell, double x, const QString& content, const QFont& f)
{
    const QFontMetricsF metrics = page.metrics(f);
    page.text(x, cell.top() + (cell.height() - metrics.height()) / 2 + metrics.ascent(), content, f);
}

} // namespace cs42::formgen
