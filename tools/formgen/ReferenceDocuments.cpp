#include "ReferenceDocuments.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextDocument>

#include <array>
#include <vector>

namespace cs42::formgen {

namespace {

QFont font(double points, bool bold = false)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

struct ScheduleRow
{
    int income = 0;
    std::array<int, 6> amounts{};
};

// Reads income,child1..child6 rows of whole dollars; false with the line at fault otherwise.
bool readSchedule(const QString& path, std::vector<ScheduleRow>* rows, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = file.errorString();
        return false;
    }
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        ++lineNumber;
        if (line.isEmpty() || (lineNumber == 1 && line.startsWith(QLatin1String("income"))))
            continue;
        const QStringList cells = line.split(QLatin1Char(','));
        ScheduleRow row;
        bool ok = cells.size() == 7;
        for (qsizetype i = 0; ok && i < cells.size(); ++i) {
            const double value = QLocale::c().toDouble(cells[i].trimmed(), &ok);
            const int whole = static_cast<int>(value);
            ok = ok && value == whole && whole >= 0;
            if (i == 0)
                row.income = whole;
            else
                row.amounts[static_cast<std::size_t>(i - 1)] = whole;
        }
        if (!ok) {
            *error =
                QStringLiteral("line %1 is not income,child1,...,child6 in whole dollars").arg(lineNumber);
            return false;
        }
        rows->push_back(row);
    }
    if (rows->empty()) {
        *error = QStringLiteral("no rows");
        return false;
    }
    return true;
}

// Whole dollars with thousands separators, in the United States convention whatever the locale.
QString dollars(int amount)
{
    QString digits = QString::number(amount);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return digits;
}

void setUpWriter(QPdfWriter& writer, const QString& title)
{
    writer.setResolution(72);
    writer.setPageLayout(QPageLayout(
        QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("cs42-formgen"));
}

bool finish(QSaveFile& file, QString* error)
{
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

QString editionLine(const QString& csvPath)
{
    const QRegularExpression dated(QStringLiteral("(\\d{4})-(\\d{2})-(\\d{2})"));
    const QRegularExpressionMatch match = dated.match(QFileInfo(csvPath).fileName());
    static const char* const Months[] = {"January",
                                         "February",
                                         "March",
                                         "April",
                                         "May",
                                         "June",
                                         "July",
                                         "August",
                                         "September",
                                         "October",
                                         "November",
                                         "December"};
    const int month = match.hasMatch() ? match.captured(2).toInt() : 0;
    if (month >= 1 && month <= 12) {
        return QStringLiteral("Schedule in force from %1 %2, %3, as installed with this program")
            .arg(QLatin1String(Months[month - 1]))
            .arg(match.captured(3).toInt())
            .arg(match.captured(1));
    }
    return QStringLiteral("Schedule installed with this program (%1)").arg(QFileInfo(csvPath).fileName());
}

bool writeNoSchedule(const QString& outputPath, QString* error)
{
    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        setUpWriter(writer, QStringLiteral("Schedule of Basic Child-Support Obligations"));
        QPainter painter(&writer);
        painter.setFont(font(15, true));
        painter.drawText(QRectF(54, 72, 504, 30),
                         Qt::AlignHCenter,
                         QStringLiteral("Schedule of Basic Child-Support Obligations"));
        painter.setFont(font(11));
        painter.drawText(
            QRectF(72, 130, 468, 300),
            Qt::TextWordWrap,
            QStringLiteral("No schedule was installed with this program, so this document has no "
                           "table to show.\n\n"
                           "The worksheet reads line 4 from the schedule installed in the program's "
                           "schedule database. To install the schedule in force, save it as a CSV "
                           "file with the columns income,child1,child2,child3,child4,child5,child6 "
                           "(one row for every $50 of combined monthly income) and run, in the "
                           "program's working directory:\n\n"
                           "    cs42-admin schedule import FILE.csv\n\n"
                           "The official schedule is the Appendix to Rule 32 of the Alabama Rules of "
                           "Judicial Administration."));
    }
    return finish(file, error);
}

} // namespace

bool writeScheduleDocument(const QString& csvPath, const QString& outputPath, QString* error)
{
    if (csvPath.isEmpty() || !QFileInfo(csvPath).isFile())
        return writeNoSchedule(outputPath, error);
    std::vector<ScheduleRow> rows;
    if (!readSchedule(csvPath, &rows, error))
        return false;

    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        setUpWriter(writer, QStringLiteral("Schedule of Basic Child-Support Obligations"));
        QPainter painter(&writer);

        const double left = 54;
        const double right = 558;
        const double rowHeight = 11.6;
        const double tableTop = 142;
        const double bottom = 738;
        const auto rowsPerPage = static_cast<std::size_t>((bottom - tableTop) / rowHeight);
        const std::size_t pageCount = (rows.size() + rowsPerPage - 1) / rowsPerPage;
        const double incomeWidth = 114;
        const double amountWidth = (right - left - incomeWidth) / 6;
        const QString heads[7] = {QStringLiteral("Combined Monthly\nAdjusted Gross Income"),
                                  QStringLiteral("One\nChild"),
                                  QStringLiteral("Two\nChildren"),
                                  QStringLiteral("Three\nChildren"),
                                  QStringLiteral("Four\nChildren"),
                                  QStringLiteral("Five\nChildren"),
                                  QStringLiteral("Six\nChildren")};
        auto columnLeft = [&](int c) {
            return c == 0 ? left : left + incomeWidth + (c - 1) * amountWidth;
        };
        auto columnWidth = [&](int c) {
            return c == 0 ? incomeWidth : amountWidth;
        };

        for (std::size_t page = 0; page < pageCount; ++page) {
            if (page > 0)
                writer.newPage();
            painter.setPen(Qt::black);
            painter.setFont(font(13, true));
            painter.drawText(QRectF(left, 40, right - left, 18),
                             Qt::AlignHCenter,
                             QStringLiteral("Schedule of Basic Child-Support Obligations"));
            painter.setFont(font(9));
            painter.drawText(QRectF(left, 60, right - left, 12),
                             Qt::AlignHCenter,
                             QStringLiteral("Appendix to Rule 32, Alabama Rules of Judicial Administration"));
            painter.drawText(QRectF(left, 73, right - left, 12), Qt::AlignHCenter, editionLine(csvPath));
            painter.setFont(font(8));
            painter.drawText(
                QRectF(left, 88, right - left, 12),
                Qt::AlignHCenter,
                QStringLiteral("Monthly amounts in dollars. Find the combined monthly adjusted gross "
                               "income of worksheet line 2 and read across to the number of children."));

            const double headTop = 108;
            painter.fillRect(QRectF(left, headTop, right - left, tableTop - headTop), QColor(225, 225, 225));
            painter.setFont(font(8, true));
            for (int c = 0; c < 7; ++c) {
                painter.drawText(QRectF(columnLeft(c), headTop, columnWidth(c), tableTop - headTop),
                                 Qt::AlignCenter,
                                 heads[c]);
            }
            painter.setFont(font(8.5));
            const std::size_t first = page * rowsPerPage;
            const std::size_t last = std::min(rows.size(), first + rowsPerPage);
            for (std::size_t i = first; i < last; ++i) {
                const double y = tableTop + static_cast<double>(i - first) * rowHeight;
                if ((i / 5) % 2 == 1)
                    painter.fillRect(QRectF(left, y, right - left, rowHeight), QColor(242, 242, 242));
                painter.drawText(QRectF(left, y, incomeWidth - 24, rowHeight),
                                 Qt::AlignRight | Qt::AlignVCenter,
                                 QStringLiteral("$") + dollars(rows[i].income));
                for (int c = 1; c < 7; ++c) {
                    painter.drawText(QRectF(columnLeft(c), y, columnWidth(c) - 18, rowHeight),
                                     Qt::AlignRight | Qt::AlignVCenter,
                                     dollars(rows[i].amounts[static_cast<std::size_t>(c - 1)]));
                }
            }
            const double tableBottom = tableTop + static_cast<double>(last - first) * rowHeight;
            painter.setPen(QPen(Qt::black, 0.6));
            painter.drawRect(QRectF(left, headTop, right - left, tableBottom - headTop));
            painter.drawLine(QPointF(left, tableTop), QPointF(right, tableTop));
            for (int c = 1; c < 7; ++c)
                painter.drawLine(QPointF(columnLeft(c), headTop), QPointF(columnLeft(c), tableBottom));

            painter.setFont(font(8));
            painter.drawText(QRectF(left, 752, right - left, 12),
                             Qt::AlignLeft,
                             QStringLiteral("Incomes $%1 to $%2")
                                 .arg(dollars(rows[first].income), dollars(rows[last - 1].income)));
            painter.drawText(QRectF(left, 752, right - left, 12),
                             Qt::AlignRight,
                             QStringLiteral("Page %1 of %2").arg(page + 1).arg(pageCount));
        }
    }
    return finish(file, error);
}

bool writeRule32Document(const QString& outputPath, QString* error)
{
    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(72);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter),
                                         QPageLayout::Portrait,
                                         QMarginsF(54, 54, 54, 54),
                                         QPageLayout::Point));
        writer.setTitle(QStringLiteral("How the Worksheet Computes Form CS-42"));
        writer.setCreator(QStringLiteral("cs42-formgen"));
        // Laid out on the writer itself (72 units an inch), so the text fills the page's width.
        QTextDocument document;
        document.documentLayout()->setPaintDevice(&writer);
        document.setDefaultFont(font(10));
        document.setDocumentMargin(0);
        document.setHtml(QStringLiteral(R"(
    <h2 align="center">How the Worksheet Computes Form CS-42</h2>
    <p align="center"><b>Child-Support Guidelines (Rule 32, Ala. R. Jud. Admin.): a reference for users of this program</b></p>
    <table border="1" cellpadding="6" cellspacing="0" width="100%"><tr><td>
    <b>This summary is not the rule.</b> It describes, in our own words, how this program fills each line of
    form CS-42. The official text of Rule 32 of the Alabama Rules of Judicial Administration and of its
    Appendix, the Schedule of Basic Child-Support Obligations, as adopted by the Supreme Court of Alabama,
    governs. Where this summary and the official text differ, the official text controls. Read the rule in
    force, and its comments, before relying on a worksheet.
    </td></tr></table>

    <h3>Amounts and rounding</h3>
    <p>All amounts are monthly. The program computes with the amounts as entered and shows every line in
    whole dollars (halves rounded away from zero). A line whose amount is zero is left blank, except line 4.
    Only the percentages of line 3 are rounded during the computation (to two decimals); they are shown as
    whole percentages.</p>

    <h3>The lines</h3>
    <table border="1" cellpadding="4" cellspacing="0" width="100%">
    <tr bgcolor="#e1e1e1"><th width="8%">Line</th><th width="30%">Printed caption</th><th>How the program fills it</th></tr>
    <tr><td align="center">1</td><td>Monthly gross income</td><td>Each parent's monthly gross income, as entered.</td></tr>
    <tr><td align="center">1a</td><td>Preexisting child-support payment</td><td>Child support the parent pays for
    other children: the amount of an existing order, or an amount imputed from the schedule for the parent's other
    children, as entered.</td></tr>
    <tr><td align="center">1b</td><td>Preexisting periodic alimony payment</td><td>Periodic alimony the parent pays
    under an earlier order, as entered.</td></tr>
    <tr><td align="center">2</td><td>Monthly adjusted gross income</td><td>For each parent, line 1 less lines 1a and
    1b (it may be negative; nothing is limited at zero). Combined: the sum of both parents' line 2.</td></tr>
    <tr><td align="center">3</td><td>Percentage share of income</td><td>Each parent's line 2 divided by the combined
    line 2, as a percentage rounded to two decimals. When the combined income is zero or less, both shares are zero.
    The two shares are not forced to add up to 100.</td></tr>
    <tr><td align="center">4</td><td>Basic child-support obligation</td><td>Read from the installed schedule at the
    combined line 2 for the number of children named on the worksheet. An income between two rows of the schedule
    takes the amount of the nearer row; exactly halfway, the higher row. A combined income under $800 gives $50.
    A combined income above the highest income of the schedule gives the amount of the schedule's last row. An override entered on the
    worksheet replaces the schedule amount, and the worksheet then shows a warning.</td></tr>
    <tr><td align="center">5</td><td>Work-related child-care costs</td><td>As entered.</td></tr>
    <tr><td align="center">6</td><td>Health-insurance costs</td><td>The cost of the children's health insurance, as
    entered.</td></tr>
    <tr><td align="center">7</td><td>Total child-support obligation</td><td>Lines 4, 5 and 6 added.</td></tr>
    <tr><td align="center">8</td><td>Each parent's child-support obligation</td><td>Line 7 multiplied by each
    parent's line-3 percentage (as rounded to two decimals).</td></tr>
    <tr><td align="center">9</td><td>Adjustment for payment of health insurance</td><td>The amount of line 6, in the
    column of the parent who pays the health insurance; the other column is blank.</td></tr>
    <tr><td align="center">10</td><td>Recommended child-support order</td><td>In the column of the parent who does not
    have custody: that parent's line 8 less his or her line 9 (it may be negative when the insurance credit is larger).
    The custodial parent's column is left blank.</td></tr>
    </table>

    <h3>The schedule</h3>
    <p>Line 4 comes from the schedule installed in the program's schedule database; the document
    "QUONSchedule.pdf" prints it. An office that must use another edition of the schedule installs it with
    <tt>cs42-admin schedule import FILE.csv</tt>. Check that the installed edition is the one in force for the
    case.</p>

    <h3>The court form</h3>
    <p>"Produce Worksheet" fills the court's form CS-42 with the lines exactly as the worksheet shows them, saves it
    as VTRPDF.PDF in the program's VTRForms folder and opens it for printing. Changes made to that PDF are not read
    back: correct the worksheet and produce the form again.</p>
    )"));
        document.setPageSize(writer.pageLayout().paintRectPoints().size());
        document.print(&writer);
    }
    return finish(file, error);
}

} // namespace cs42::formgen
