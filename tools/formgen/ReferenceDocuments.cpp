#include "ReferenceDocuments.h"

#include "core/worksheet/ScheduleCsv.h"
#include "core/worksheet/ScheduleSource.h"

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

// The printed rows' checksum, as the program identifies an installed table (ScheduleSource): the
// rows of whole dollars in their canonical CSV form.
QString checksumOf(const std::vector<ScheduleRow>& rows)
{
    QList<ScheduleTextRow> texts;
    for (const ScheduleRow& row : rows) {
        ScheduleTextRow text{QString::number(row.income), {}};
        for (std::size_t k = 0; k < row.amounts.size(); ++k)
            text.amounts[k] = QString::number(row.amounts[k]);
        texts << text;
    }
    return ScheduleSource::checksum(texts);
}

// Which schedule the document prints, by the checksum a worksheet's explanation gives.
QString identityLine(const QString& checksum)
{
    return checksum == ScheduleSource::official2022Checksum()
               ? QStringLiteral("The official table of May 1, 2022, SHA-256 %1").arg(checksum)
               : QStringLiteral("Not the official table of May 1, 2022: SHA-256 %1").arg(checksum);
}

// Said at the foot of every page: which forms read this schedule, and how a worksheet names it.
QString formsLine()
{
    return QStringLiteral(
        "Read by forms CS-42 (Rev. 5/2022) and CS-42-S (Effective 6/2023). Form CS-42 (Rev. "
        "1/09) reads the schedule in force before May 1, 2022, which an office imports. The "
        "written explanation of a worksheet names the schedule it read by its SHA-256.");
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
                           "schedule database: forms CS-42 (Rev. 5/2022) and CS-42-S (Effective 6/2023) "
                           "read the schedule in force since May 1, 2022, and form CS-42 (Rev. 1/09) the "
                           "one in force before that date. To install a schedule, save it as a CSV "
                           "file with the columns income,child1,child2,child3,child4,child5,child6 "
                           "(one row for every $50 of combined monthly income) and run, in the "
                           "program's working directory:\n\n"
                           "    cs42-admin schedule import --edition 2022 FILE.csv\n"
                           "    cs42-admin schedule import FILE.csv    (form CS-42 Rev. 1/09)\n\n"
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

    const QString identity = identityLine(checksumOf(rows));

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
        const double tableTop = 144;
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
            painter.drawText(QRectF(left, 72, right - left, 12), Qt::AlignHCenter, editionLine(csvPath));
            painter.setFont(font(7));
            painter.drawText(QRectF(left, 85, right - left, 10), Qt::AlignHCenter, identity);
            painter.setFont(font(8));
            painter.drawText(
                QRectF(left, 97, right - left, 12),
                Qt::AlignHCenter,
                QStringLiteral("Monthly amounts in dollars. Find the combined monthly adjusted gross "
                               "income of worksheet line 2 and read across to the number of children."));

            const double headTop = 112;
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
            painter.setFont(font(7));
            painter.drawText(
                QRectF(left, 764, right - left, 20), Qt::AlignHCenter | Qt::TextWordWrap, formsLine());
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
        writer.setTitle(QStringLiteral("How the Worksheet Computes Forms CS-42 and CS-42-S"));
        writer.setCreator(QStringLiteral("cs42-formgen"));
        // Laid out on the writer itself (72 units an inch), so the text fills the page's width.
        QTextDocument document;
        document.documentLayout()->setPaintDevice(&writer);
        document.setDefaultFont(font(10));
        document.setDocumentMargin(0);
        document.setHtml(QStringLiteral(R"(
    <h2 align="center">How the Worksheet Computes Forms CS-42 and CS-42-S</h2>
    <p align="center"><b>Child-Support Guidelines (Rule 32, Ala. R. Jud. Admin.): a reference for users of this program</b></p>
    <table border="1" cellpadding="6" cellspacing="0" width="100%"><tr><td>
    <b>This summary is not the rule.</b> It describes, in our own words, how this program fills each line of
    the three editions of the worksheet it prepares. Rule 32 was amended effective May 1, 2022 and again
    effective June 1, 2023; the official text of Rule 32 of the Alabama Rules of Judicial Administration and of
    its Appendix, the Schedule of Basic Child-Support Obligations, as adopted by the Supreme Court of Alabama,
    governs. Where this summary and the official text differ, the official text controls. Read the rule in
    force for the case, and its comments, before relying on a worksheet. The forms the program fills are its
    own drawings of the court's forms.
    </td></tr></table>

    <h3>The editions</h3>
    <table border="1" cellpadding="4" cellspacing="0" width="100%">
    <tr bgcolor="#e1e1e1"><th width="27%">Form</th><th width="33%">For actions</th><th>Schedule read for line 4</th></tr>
    <tr><td>CS-42 (Rev. 1/09)</td><td>filed before May 1, 2022</td><td>The schedule in force before May 1, 2022.
    It is not installed with the program: an office imports it.</td></tr>
    <tr><td>CS-42 (Rev. 5/2022)</td><td>filed on or after May 1, 2022</td><td>The schedule effective May 1, 2022,
    installed with the program.</td></tr>
    <tr><td>CS-42-S (Effective 6/2023)</td><td>with shared 50 % physical custody, filed on or after June 1,
    2023</td><td>The same schedule as form CS-42 (Rev. 5/2022).</td></tr>
    </table>
    <p>Each case is prepared on one edition, shown above the worksheet; the user may switch a case to another.</p>

    <h3>Form CS-42 (Rev. 1/09)</h3>
    <p>All amounts are monthly. The program computes with the amounts as entered and shows every line in whole
    dollars (halves rounded away from zero). A line whose amount is zero is left blank, except line 4. Only the
    percentages of line 3 are rounded during the computation (to two decimals); they are shown as whole
    percentages.</p>
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
    <tr><td align="center">4</td><td>Basic child-support obligation</td><td>Read from the schedule installed for this
    form at the combined line 2 for the number of children named on the worksheet. An income between two rows of the
    schedule takes the amount of the nearer row; exactly halfway, the higher row. A combined income under $800 gives
    $50. A combined income above $20,000, or above the schedule's last row when it reaches further, gives the amount
    of the schedule's last row. An override entered on the worksheet replaces the schedule amount, and the worksheet
    then shows a warning.</td></tr>
    <tr><td align="center">5</td><td>Work-related child-care costs</td><td>As entered.</td></tr>
    <tr><td align="center">6</td><td>Health-insurance costs</td><td>The cost of the children's health insurance, as
    entered.</td></tr>
    <tr><td align="center">7</td><td>Total child-support obligation</td><td>Lines 4, 5 and 6 added.</td></tr>
    <tr><td align="center">8</td><td>Each parent's child-support obligation</td><td>Line 7 multiplied by each
    parent's line-3 percentage (as rounded to two decimals).</td></tr>
    <tr><td align="center">9</td><td>Adjustment for payment of health insurance</td><td>The amount of line 6, in the
    column of the parent who pays the health insurance; the other column is blank.</td></tr>
    <tr><td align="center">10</td><td>Recommended child-support order</td><td>In the column of the parent who does not
    have custody: that parent's line 8 less his or her line 9, never below zero (when the insurance credit is larger
    the order is zero, and the worksheet says so). The custodial parent's column is left blank.</td></tr>
    </table>

    <h3>Form CS-42 (Rev. 5/2022)</h3>
    <p>The program follows the court's own workbook for the form: each amount is kept in dollars and cents as
    entered, and every rounding is to the nearest whole dollar or percent with halves rounded away from zero. The
    lines are shown in whole dollars with thousands separators, a negative amount in parentheses.</p>
    <table border="1" cellpadding="4" cellspacing="0" width="100%">
    <tr bgcolor="#e1e1e1"><th width="8%">Line</th><th width="30%">Printed caption</th><th>How the program fills it</th></tr>
    <tr><td align="center">1, 1a, 1b</td><td>Monthly gross income; preexisting child support; preexisting periodic
    alimony</td><td>Each parent's amounts, as entered; the combined column adds them.</td></tr>
    <tr><td align="center">2</td><td>Monthly adjusted gross income</td><td>Line 1 less lines 1a and 1b, for each
    parent and combined (it may be negative).</td></tr>
    <tr><td align="center">3</td><td>Percentage share of income</td><td>The plaintiff's line 2 divided by the
    combined line 2, rounded to a whole percent; the defendant has the rest. With a combined line 2 of zero there
    are no shares, and lines 3, 8 and 10 stay empty.</td></tr>
    <tr><td align="center">4</td><td>Basic child-support obligation</td><td>The schedule row nearest the combined
    line 2 (exactly halfway, the higher row; never below the $250 row), in the column of the form's "Number of
    Children" (or of the children named when it is empty). Above the $30,000 row the court sets the amount, which
    the user enters as an override.</td></tr>
    <tr><td align="center">5</td><td>Work-related child-care costs</td><td>Each parent's costs, as entered, and their
    sum.</td></tr>
    <tr><td align="center">6</td><td>Health-care-coverage costs</td><td>Each parent's costs for the children's
    coverage, as entered, and their sum.</td></tr>
    <tr><td align="center">7</td><td>Total child-support obligation</td><td>Lines 4, 5 and 6 added.</td></tr>
    <tr><td align="center">8</td><td>Each parent's child-support obligation</td><td>The plaintiff's line-3 share of
    line 7, rounded to whole dollars; the defendant has the rest.</td></tr>
    <tr><td align="center">9</td><td>Total costs paid by each parent</td><td>Each parent's lines 5 and 6.</td></tr>
    <tr><td align="center">10</td><td>Adjusted child-support obligation</td><td>Line 8 less line 9, never below
    zero.</td></tr>
    <tr><td align="center">11</td><td>Income available after the self-support reserve</td><td>Line 2 less the
    self-support reserve of $981, never below zero.</td></tr>
    <tr><td align="center">12</td><td>Income available for support</td><td>85 % of line 11, rounded to whole
    dollars, and never less than $50.</td></tr>
    <tr><td align="center">13</td><td>Recommended child-support order</td><td>The lesser of lines 10 and 12; zero for
    a parent without gross income. The order is line 13 of the parent who does not have custody.</td></tr>
    </table>

    <h3>Form CS-42-S (Effective 6/2023), shared 50 % physical custody</h3>
    <p>Amounts and rounding as on form CS-42 (Rev. 5/2022). The form has no self-support reserve and no custody
    box.</p>
    <table border="1" cellpadding="4" cellspacing="0" width="100%">
    <tr bgcolor="#e1e1e1"><th width="8%">Line</th><th width="30%">Printed caption</th><th>How the program fills it</th></tr>
    <tr><td align="center">1 to 2</td><td>Monthly gross and adjusted gross income</td><td>As on form CS-42
    (Rev. 5/2022).</td></tr>
    <tr><td align="center">3</td><td>Percentage share of income</td><td>The defendant's line 2 divided by the
    combined line 2, rounded to a whole percent; the plaintiff has the rest.</td></tr>
    <tr><td align="center">4</td><td>Basic child-support obligation</td><td>As on form CS-42 (Rev. 5/2022).</td></tr>
    <tr><td align="center">5</td><td>Shared child-support obligation</td><td>150 % of line 4, rounded to whole
    dollars.</td></tr>
    <tr><td align="center">6, 7</td><td>Work-related child-care costs; health-care-coverage costs</td><td>Each
    parent's costs, as entered.</td></tr>
    <tr><td align="center">8</td><td>Total costs</td><td>Each parent's lines 6 and 7, and both parents'
    together.</td></tr>
    <tr><td align="center">9</td><td>Total child-support obligation</td><td>Line 5 and the combined line 8
    added.</td></tr>
    <tr><td align="center">10</td><td>Each parent's child-support obligation</td><td>Each parent's line-3 share of
    line 9, each rounded to whole dollars on its own.</td></tr>
    <tr><td align="center">11</td><td>Total costs paid by each parent</td><td>Each parent's line 8, as a
    credit.</td></tr>
    <tr><td align="center">12</td><td>Credit for shared physical custody</td><td>For each parent, 50 % of line 5,
    rounded to whole dollars.</td></tr>
    <tr><td align="center">13</td><td>Adjusted obligation</td><td>Line 10 less lines 11 and 12 (it may be
    negative).</td></tr>
    <tr><td align="center">14</td><td>Recommended child-support order</td><td>The higher of the two lines 13, in the
    column of the parent who pays it to the other (on a tie, the defendant's column). No support is owed when it is
    not above zero.</td></tr>
    </table>

    <h3>The schedule</h3>
    <p>Line 4 comes from the schedule installed in the program's schedule database for the case's form. The
    schedule effective May 1, 2022 is installed with the program for forms CS-42 (Rev. 5/2022) and CS-42-S; the
    document "QUONSchedule.pdf" prints it. Form CS-42 (Rev. 1/09) reads only the schedule in force before May 1,
    2022, which an office installs with <tt>cs42-admin schedule import FILE.csv</tt>; until it does, a worksheet on
    that form warns that the schedule is not installed and the form is not produced unless line 4 is
    overridden. Another schedule for the later forms is installed with <tt>cs42-admin schedule import --edition
    2022 FILE.csv</tt>, which changes line 4 of both. The written explanation of every worksheet names the schedule
    it read, with its SHA-256 checksum, and the worksheet marks a schedule that is not the official one of May 1,
    2022. An import keeps the schedule it replaced; <tt>cs42-admin schedule import --undo</tt> puts it back. Check
    that the installed schedule is the one in force for the case.</p>

    <h3>The court form</h3>
    <p>"Produce Worksheet" fills the blank form of the case's edition with the lines exactly as the worksheet shows
    them, saves it as VTRPDF.PDF in the program's VTRForms folder and shows it for printing or saving. Changes made
    to that PDF are not read back: correct the worksheet and produce the form again.</p>
    )"));
        document.setPageSize(writer.pageLayout().paintRectPoints().size());
        document.print(&writer);
    }
    return finish(file, error);
}

} // namespace cs42::formgen
