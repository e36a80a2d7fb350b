#include "Cs42Page.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

namespace cs42::formgen {

namespace {

constexpr double PageLeft = 36;
constexpr double PageRight = 576;
constexpr double Thin = 0.5;
constexpr double Rule = 0.8;
constexpr double Heavy = 1.4;
const QColor Shade(225, 225, 225);

QFont font(double points, bool bold = false, bool italic = false)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

class PageDrawer
{
public:
    explicit PageDrawer(QPainter& painter)
        : m_painter(painter)
    {}

    void text(double x, double baseline, const QString& content, const QFont& f)
    {
        m_painter.setFont(f);
        m_painter.drawText(QPointF(x, baseline), content);
    }

    void textIn(const QRectF& box, int flags, const QString& content, const QFont& f)
    {
        m_painter.setFont(f);
        m_painter.drawText(box, flags, content);
    }

    double width(const QString& content, const QFont& f) const
    {
        return QFontMetricsF(f).horizontalAdvance(content);
    }

    void line(double x1, double y1, double x2, double y2, double penWidth = Thin)
    {
        m_painter.setPen(QPen(Qt::black, penWidth));
        m_painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }

    void frame(const QRectF& box, double penWidth = Thin)
    {
        m_painter.setPen(QPen(Qt::black, penWidth));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(box);
    }

    void shade(const QRectF& box) { m_painter.fillRect(box, Shade); }

    // A field over a blank that is an underline: the box sits just above the line.
    void fieldOnLine(const QString& label,
                     const QString& name,
                     const QString& tooltip,
                     double x1,
                     double x2,
                     double lineY,
                     double fontSize = 10)
    {
        fields.append(
            {label, name, tooltip, QRectF(x1 + 1, lineY - 15, x2 - x1 - 2, 14), fontSize, false, false});
    }

    void fieldInCell(const QString& label,
                     const QString& name,
                     const QString& tooltip,
                     const QRectF& cell,
                     bool rightAligned,
                     double fontSize = 10)
    {
        fields.append(
            {label, name, tooltip, cell.adjusted(1.5, 1.5, -1.5, -1.5), fontSize, rightAligned, false});
    }

    QList<FormFieldSpec> fields;

private:
    QPainter& m_painter;
};

// One row of the worksheet grid.
struct GridRow
{
    QString number;
    QString title;
    QString note;
    bool titleBold;
    // Per money column (plaintiff, defendant, combined): the label filled there, or empty when the
    // line leaves the cell unused.
    QString labels[3];
    QString sign; // printed before the amount
    QString what; // tooltip stem
};

void drawHeader(PageDrawer& page)
{
    page.text(PageLeft, 44, QStringLiteral("State of Alabama"), font(8.5));
    page.text(PageLeft, 54.5, QStringLiteral("Unified Judicial System"), font(8.5));
    page.text(PageLeft, 69, QStringLiteral("Form CS-42   Rev. 1/09"), font(8.5, true));

    page.textIn(QRectF(160, 40, 292, 24),
                Qt::AlignHCenter | Qt::AlignVCenter,
                QStringLiteral("CHILD-SUPPORT GUIDELINES"),
                font(15, true));

    const QRectF caseBox(452, 46, PageRight - 452, 24);
    page.text(caseBox.left(), 42, QStringLiteral("Case Number"), font(8.5));
    page.frame(caseBox, Rule);
    page.fields.append({QStringLiteral("lblCourtFile"),
                        QStringLiteral("CourtFile"),
                        QStringLiteral("Case number (court file number)"),
                        caseBox.adjusted(2, 2, -2, -2),
                        11,
                        false,
                        false});
    page.line(PageLeft, 80, PageRight, 80, Heavy);
}

void drawCaption(PageDrawer& page)
{
    // IN THE ____ COURT OF ____ COUNTY, ALABAMA
    const QFont f = font(10.5, true);
    const QFont under = font(7.5, false, true);
    const double baseline = 106;
    double x = PageLeft;
    page.text(x, baseline, QStringLiteral("IN THE"), f);
    x += page.width(QStringLiteral("IN THE "), f);
    const double courtStart = x;
    const double courtEnd = courtStart + 150;
    page.line(courtStart, baseline + 2, courtEnd, baseline + 2);
    page.fieldOnLine(QStringLiteral("lblCourtType"),
                     QStringLiteral("CourtType"),
                     QStringLiteral("Court (Circuit or District)"),
                     courtStart,
                     courtEnd,
                     baseline + 2);
    page.textIn(QRectF(courtStart, baseline + 3, courtEnd - courtStart, 10),
                Qt::AlignHCenter | Qt::AlignTop,
                QStringLiteral("(Circuit or District)"),
                under);
    x = courtEnd + 4;
    page.text(x, baseline, QStringLiteral("COURT OF"), f);
    x += page.width(QStringLiteral("COURT OF "), f);
    const double countyStart = x;
    const double countyEnd = countyStart + 150;
    page.line(countyStart, baseline + 2, countyEnd, baseline + 2);
    page.fieldOnLine(QStringLiteral("lblCounty"),
                     QStringLiteral("County"),
                     QStringLiteral("County (name of county)"),
                     countyStart,
                     countyEnd,
                     baseline + 2);
    page.textIn(QRectF(countyStart, baseline + 3, countyEnd - countyStart, 10),
                Qt::AlignHCenter | Qt::AlignTop,
                QStringLiteral("(Name of County)"),
                under);
    page.text(countyEnd + 4, baseline, QStringLiteral("COUNTY, ALABAMA"), f);

    // ____ v. ____
    const double partyLine = 150;
    const double middle = (PageLeft + PageRight) / 2;
    page.line(PageLeft, partyLine, middle - 18, partyLine);
    page.line(middle + 18, partyLine, PageRight, partyLine);
    page.textIn(
        QRectF(middle - 18, partyLine - 14, 36, 14), Qt::AlignCenter, QStringLiteral("v."), font(11, true));
    page.fieldOnLine(QStringLiteral("lblName1Name"),
                     QStringLiteral("PlaintiffName"),
                     QStringLiteral("Plaintiff's name"),
                     PageLeft,
                     middle - 18,
                     partyLine,
                     11);
    page.fieldOnLine(QStringLiteral("lblName2Name"),
                     QStringLiteral("DefendantName"),
                     QStringLiteral("Defendant's name"),
                     middle + 18,
                     PageRight,
                     partyLine,
                     11);
    page.textIn(QRectF(PageLeft, partyLine + 1, middle - 18 - PageLeft, 11),
                Qt::AlignHCenter | Qt::AlignTop,
                QStringLiteral("Plaintiff"),
                font(8.5));
    page.textIn(QRectF(middle + 18, partyLine + 1, PageRight - middle - 18, 11),
                Qt::AlignHCenter | Qt::AlignTop,
                QStringLiteral("Defendant"),
                font(8.5));
}

void drawChildren(PageDrawer& page)
{
    const double top = 172;
    const double headerHeight = 15;
    const double rowHeight = 19;
    const double middle = (PageLeft + PageRight) / 2;
    const double nameWidth = 170;
    const double columns[5] = {PageLeft, PageLeft + nameWidth, middle, middle + nameWidth, PageRight};
    const double bottom = top + headerHeight + 3 * rowHeight;

    for (int pair = 0; pair < 2; ++pair) {
        const double left = columns[2 * pair];
        page.shade(QRectF(left, top, columns[2 * pair + 2] - left, headerHeight));
        page.textIn(QRectF(left, top, nameWidth, headerHeight),
                    Qt::AlignCenter,
                    QStringLiteral("Children"),
                    font(8.5, true));
        page.textIn(
            QRectF(columns[2 * pair + 1], top, columns[2 * pair + 2] - columns[2 * pair + 1], headerHeight),
            Qt::AlignCenter,
            QStringLiteral("Date of Birth"),
            font(8.5, true));
    }
    page.frame(QRectF(PageLeft, top, PageRight - PageLeft, bottom - top), Rule);
    for (int c = 1; c < 4; ++c)
        page.line(columns[c], top, columns[c], bottom, c == 2 ? Rule : Thin);
    for (int r = 0; r < 3; ++r)
        page.line(
            PageLeft, top + headerHeight + r * rowHeight, PageRight, top + headerHeight + r * rowHeight);

    // Fields 6 to 17 run row by row across both column pairs: children 1 to 3 on the left,
    // 4 to 6 on the right.
    for (int r = 0; r < 3; ++r) {
        const double y = top + headerHeight + r * rowHeight;
        for (int pair = 0; pair < 2; ++pair) {
            const int child = r + 1 + 3 * pair;
            const QString n = QString::number(child);
            const double left = columns[2 * pair];
            const double dobLeft = columns[2 * pair + 1];
            const double right = columns[2 * pair + 2];
            page.fieldInCell(QStringLiteral("lblChild%1Name").arg(n),
                             QStringLiteral("Child%1Name").arg(n),
                             QStringLiteral("Child %1: name").arg(n),
                             QRectF(left, y, dobLeft - left, rowHeight),
                             false);
            page.fieldInCell(QStringLiteral("lblChild%1DOB").arg(n),
                             QStringLiteral("Child%1DOB").arg(n),
                             QStringLiteral("Child %1: date of birth").arg(n),
                             QRectF(dobLeft, y, right - dobLeft, rowHeight),
                             false);
        }
    }
}

QList<GridRow> gridRows()
{
    const QString P = QStringLiteral("lblP%1");
    const QString D = QStringLiteral("lblD%1");
    const QString C = QStringLiteral("lblC%1");
    auto row = [&](const QString& number,
                   const QString& title,
                   const QString& note,
                   bool bold,
                   bool p,
                   bool d,
                   bool c,
                   const QString& sign,
                   const QString& what) {
        GridRow r{number, title, note, bold, {}, sign, what};
        if (p)
            r.labels[0] = P.arg(number);
        if (d)
            r.labels[1] = D.arg(number);
        if (c)
            r.labels[2] = C.arg(number);
        return r;
    };
    const QString minus = QStringLiteral("\u2212");
    return {
        row(QStringLiteral("1"),
            QStringLiteral("MONTHLY GROSS INCOME"),
            {},
            true,
            true,
            true,
            false,
            QStringLiteral("$"),
            QStringLiteral("Line 1, monthly gross income")),
        row(QStringLiteral("1a"),
            QStringLiteral("Minus Preexisting Child-Support Payment"),
            {},
            false,
            true,
            true,
            false,
            minus,
            QStringLiteral("Line 1a, preexisting child-support payment")),
        row(QStringLiteral("1b"),
            QStringLiteral("Minus Preexisting Periodic Alimony Payment"),
            {},
            false,
            true,
            true,
            false,
            minus,
            QStringLiteral("Line 1b, preexisting periodic alimony payment")),
        row(QStringLiteral("2"),
            QStringLiteral("MONTHLY ADJUSTED GROSS INCOME"),
            {},
            true,
            true,
            true,
            true,
            QStringLiteral("$"),
            QStringLiteral("Line 2, monthly adjusted gross income")),
        row(QStringLiteral("3"),
            QStringLiteral("PERCENTAGE SHARE OF INCOME"),
            QStringLiteral("(Each parent's income on Line 2 divided by the Combined Income)"),
            true,
            true,
            true,
            false,
            QStringLiteral("%"),
            QStringLiteral("Line 3, percentage share of income")),
        row(QStringLiteral("4"),
            QStringLiteral("BASIC CHILD-SUPPORT OBLIGATION"),
            QStringLiteral("(Apply Line 2 Combined to \"Schedule of Basic Child-Support Obligations\" "
                           "(Appendix to Rule 32))"),
            true,
            false,
            false,
            true,
            QStringLiteral("$"),
            QStringLiteral("Line 4, basic child-support obligation")),
        row(QStringLiteral("5"),
            QStringLiteral("WORK-RELATED CHILD-CARE COSTS"),
            {},
            true,
            false,
            false,
            true,
            QStringLiteral("+"),
            QStringLiteral("Line 5, work-related child-care costs")),
        row(QStringLiteral("6"),
            QStringLiteral("HEALTH-INSURANCE COSTS"),
            {},
            true,
            false,
            false,
            true,
            QStringLiteral("+"),
            QStringLiteral("Line 6, health-insurance costs")),
        row(QStringLiteral("7"),
            QStringLiteral("TOTAL CHILD-SUPPORT OBLIGATION"),
            QStringLiteral("(Add lines 4, 5, and 6)"),
            true,
            false,
            false,
            true,
            QStringLiteral("$"),
            QStringLiteral("Line 7, total child-support obligation")),
        row(QStringLiteral("8"),
            QStringLiteral("EACH PARENT'S CHILD-SUPPORT OBLIGATION"),
            QStringLiteral("(Multiply Line 7 by Line 3)"),
            true,
            true,
            true,
            false,
            QStringLiteral("$"),
            QStringLiteral("Line 8, each parent's child-support obligation")),
        row(QStringLiteral("9"),
            QStringLiteral("ADJUSTMENT FOR PAYMENT OF HEALTH-INSURANCE"),
            QStringLiteral("(If obligor pays health insurance, enter amount in Line 6 in obligor's column)"),
            true,
            true,
            true,
            false,
            minus,
            QStringLiteral("Line 9, adjustment for payment of health insurance")),
        row(QStringLiteral("10"),
            QStringLiteral("RECOMMENDED CHILD-SUPPORT ORDER"),
            QStringLiteral(
                "(Subtract Line 9 from the amount on Line 8. Leave custodial parent's column blank.)"),
            true,
            true,
            true,
            false,
            QStringLiteral("$"),
            QStringLiteral("Line 10, recommended child-support order")),
    };
}

double drawGrid(PageDrawer& page)
{
    const double top = 248;
    const double headerHeight = 17;
    const double numberRight = PageLeft + 24;
    const double captionRight = 336;
    const double cellWidth = (PageRight - captionRight) / 3;
    const double cellLeft[3] = {captionRight, captionRight + cellWidth, captionRight + 2 * cellWidth};
    const QString heads[3] = {
        QStringLiteral("Plaintiff"), QStringLiteral("Defendant"), QStringLiteral("Combined")};
    const QString who[3] = {
        QStringLiteral("plaintiff"), QStringLiteral("defendant"), QStringLiteral("combined")};
    const QFont titleBold = font(8.5, true);
    const QFont titlePlain = font(8.5);
    const QFont noteFont = font(7.5);
    const QFont signFont = font(9);
    const double textLeft = numberRight + 4;
    const double textWidth = captionRight - textLeft - 4;

    for (int c = 0; c < 3; ++c) {
        page.shade(QRectF(cellLeft[c], top, cellWidth, headerHeight));
        page.textIn(
            QRectF(cellLeft[c], top, cellWidth, headerHeight), Qt::AlignCenter, heads[c], font(9, true));
    }

    double y = top + headerHeight;
    for (const GridRow& row : gridRows()) {
        const QRectF noteBounds = row.note.isEmpty()
                                      ? QRectF()
                                      : QFontMetricsF(noteFont).boundingRect(
                                            QRectF(0, 0, textWidth, 100), Qt::TextWordWrap, row.note);
        const double height = std::max(22.0, 6 + 10.5 + noteBounds.height());
        page.textIn(
            QRectF(PageLeft, y, numberRight - PageLeft, height), Qt::AlignCenter, row.number, font(9, true));
        const double titleTop = y + (height - 10.5 - noteBounds.height()) / 2;
        page.textIn(QRectF(textLeft, titleTop, textWidth, 10.5),
                    Qt::AlignLeft | Qt::AlignVCenter,
                    row.title,
                    row.titleBold ? titleBold : titlePlain);
        if (!row.note.isEmpty()) {
            page.textIn(QRectF(textLeft, titleTop + 10.5, textWidth, noteBounds.height()),
                        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                        row.note,
                        noteFont);
        }
        for (int c = 0; c < 3; ++c) {
            const QRectF cell(cellLeft[c], y, cellWidth, height);
            if (row.labels[c].isEmpty()) {
                page.shade(cell);
                continue;
            }
            const bool percent = row.sign == QLatin1String("%");
            const double signWidth = 11;
            // Amounts sit on the cell's lower part, like a ruled line; the sign is printed at the
            // left of the cell ("%" at its right).
            const QRectF amount(cell.left() + (percent ? 4 : signWidth),
                                cell.bottom() - 20,
                                cell.width() - signWidth - (percent ? 4 : 3),
                                18);
            const QRectF box = amount.adjusted(0, 1, 0, -1);
            // On the baseline a viewer gives a 10-point value centred in the field's box.
            const double baseline = box.bottom() - ((box.height() - 0.925 * 10) / 2 + 0.207 * 10);
            page.text(percent ? cell.right() - signWidth + 1 : cell.left() + 2, baseline, row.sign, signFont);
            page.fields.append({row.labels[c],
                                row.labels[c].mid(3),
                                row.what + QStringLiteral(", ") + who[c],
                                box,
                                10,
                                true,
                                false});
        }
        page.line(PageLeft, y, PageRight, y);
        y += height;
    }
    page.line(PageLeft, y, PageRight, y);
    page.frame(QRectF(PageLeft, top + headerHeight, PageRight - PageLeft, y - top - headerHeight), Rule);
    page.frame(QRectF(captionRight, top, PageRight - captionRight, headerHeight), Rule);
    page.line(numberRight, top + headerHeight, numberRight, y);
    for (double x : cellLeft)
        page.line(x, top, x, y, Rule);
    return y;
}

void drawSignatureBlock(PageDrawer& page, double gridBottom)
{
    const double labelBaseline = gridBottom + 18;
    page.text(PageLeft,
              labelBaseline,
              QStringLiteral("Comments, Calculations, or Rebuttals to Guidelines:"),
              font(9, true));
    const QRectF comments(PageLeft, labelBaseline + 5, PageRight - PageLeft, 62);
    page.frame(comments, Rule);
    page.fields.append({QStringLiteral("lblComments"),
                        QStringLiteral("Comments"),
                        QStringLiteral("Comments, calculations, or rebuttals to guidelines"),
                        comments.adjusted(2, 2, -2, -2),
                        10,
                        false,
                        true});

    const double signLine = comments.bottom() + 30;
    const QFont f = font(9.5, true);
    page.text(PageLeft, signLine - 3, QStringLiteral("PREPARED BY:"), f);
    const double preparedStart = PageLeft + page.width(QStringLiteral("PREPARED BY: "), f);
    const double preparedEnd = 384;
    page.line(preparedStart, signLine, preparedEnd, signLine);
    page.fieldOnLine(QStringLiteral("lblPreparedBy"),
                     QStringLiteral("PreparedBy"),
                     QStringLiteral("Prepared by"),
                     preparedStart,
                     preparedEnd,
                     signLine);
    const double dateLabel = 404;
    page.text(dateLabel, signLine - 3, QStringLiteral("DATE:"), f);
    const double dateStart = dateLabel + page.width(QStringLiteral("DATE: "), f);
    page.line(dateStart, signLine, PageRight, signLine);
    page.fieldOnLine(QStringLiteral("lblDateSigned"),
                     QStringLiteral("DateSigned"),
                     QStringLiteral("Date"),
                     dateStart,
                     PageRight,
                     signLine);
}

} // namespace

QList<FormFieldSpec> drawCs42Page(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    PageDrawer page(painter);
    drawHeader(page);
    drawCaption(page);
    drawChildren(page);
    const double gridBottom = drawGrid(page);
    drawSignatureBlock(page, gridBottom);
    return page.fields;
}

} // namespace cs42::formgen
