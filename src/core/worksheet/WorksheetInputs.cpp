#include "core/worksheet/WorksheetInputs.h"

#include "core/worksheet/AmountCheck.h"
#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/EntryRules.h"

#include <algorithm>

namespace cs42 {

namespace {
const QString InvalidCaption = QStringLiteral("INVALID");

// Sums and differences of amounts in cents land a hair beside their decimal figure; settled on
// 9 decimals they meet the halfway rule of line 4 and the zero tests as the figure does.
double settled(double value)
{
    return Format::roundHalfEven(value, 9);
}

QString sideWords(const QString& side)
{
    return side == QLatin1String("P") ? QStringLiteral("the plaintiff") : QStringLiteral("the defendant");
}

// The number typed into the "Number of Children" box, 1 to 6; 0 for anything else.
int enteredChildren(const QString& entered)
{
    bool isNumber = false;
    const int number = entered.toInt(&isNumber);
    return isNumber && number >= 1 && number <= 6 ? number : 0;
}

// "1 CHILD", "2 CHILDREN".
QString childWords(int n)
{
    return n == 1 ? QStringLiteral("1 CHILD") : QStringLiteral("%1 CHILDREN").arg(n);
}

QString who(bool plaintiff, bool defendant)
{
    return plaintiff && defendant ? QStringLiteral("BOTH PARENTS")
           : plaintiff            ? QStringLiteral("THE PLAINTIFF")
                                  : QStringLiteral("THE DEFENDANT");
}
} // namespace

int WorksheetInputs::numberOfChildren(const CaseRecord& record)
{
    if (const int entered = enteredChildren(record.value(QStringLiteral("numchildren")).trimmed());
        entered > 0)
        return entered;
    int named = 0;
    for (int i = 1; i <= 6; ++i) {
        if (!record.value(QStringLiteral("child%1name").arg(i)).trimmed().isEmpty())
            ++named;
    }
    return named;
}

QString WorksheetInputs::label(const char* side, const char* line)
{
    return QStringLiteral("lbl%1%2").arg(QLatin1String(side), QLatin1String(line));
}

double WorksheetInputs::showIncomes(Worksheet& sheet) const
{
    static const Input incomes[] = {{"1", "pinc", "dinc"}, {"1a", "ppre", "dpre"}, {"1b", "presp", "dresp"}};
    for (const Input& input : incomes) {
        const double p = showInput(sheet, label("P", input.line), input.plaintiffColumn);
        const double d = showInput(sheet, label("D", input.line), input.defendantColumn);
        setCell(sheet, label("C", input.line), p + d);
    }
    const QMap<QString, double>& cells = sheet.result.cells;
    for (const char* side : {"P", "D", "C"})
        setCell(sheet,
                label(side, "2"),
                cells.value(label(side, "1")) - cells.value(label(side, "1a")) -
                    cells.value(label(side, "1b")));
    return cells.value(QStringLiteral("lblC2"));
}

void WorksheetInputs::setShares(Worksheet& sheet, const char* roundedSide, double c2)
{
    WorksheetResult& r = sheet.result;
    r.sharesUndefined = c2 == 0.0;
    if (r.sharesUndefined)
        return;
    const char* otherSide = QLatin1String(roundedSide) == QLatin1String("P") ? "D" : "P";
    const double share = Format::roundHalfAway(r.cells.value(label(roundedSide, "2")) / c2, 2);
    setCell(sheet, label(roundedSide, "3"), share, Format::courtPercent(share));
    setCell(sheet, label(otherSide, "3"), 1 - share, Format::courtPercent(1 - share));
    setCell(sheet, QStringLiteral("lblC3"), 1, Format::courtPercent(1));
}

void WorksheetInputs::readLine4(Worksheet& sheet,
                                const ScheduleTable& schedule,
                                const ScheduleRules& rules,
                                double c2)
{
    lookUpSchedule(sheet, schedule, rules, c2);
    if (sheet.result.overrideInForce)
        setCell(sheet, QStringLiteral("lblC4"), sheet.result.overrideAmount);
}

void WorksheetInputs::blankUndefinedLines(Worksheet& sheet, const FormEdition& edition)
{
    for (const LineDef& def : edition.lines) {
        if (!sheet.captions.contains(def.label))
            sheet.captions.insert(def.label, QString(QLatin1String("")));
    }
}

QString WorksheetInputs::text(const QString& column) const
{
    const QString value = m_record.value(column);
    return value.isNull() ? QString(QLatin1String("")) : value;
}

void WorksheetInputs::fillCommon(Worksheet& sheet) const
{
    WorksheetResult& r = sheet.result;
    Captions& c = sheet.captions;

    r.custodyCode = text(QStringLiteral("whosecustody")) == QLatin1String("P") ? QStringLiteral("P")
                                                                               : QStringLiteral("D");
    c.insert(QStringLiteral("lblCustody"),
             r.custodyCode == QLatin1String("P") ? QStringLiteral("PLAINTIFF") : QStringLiteral("DEFENDANT"));

    r.overrideFlag = text(QStringLiteral("override"));
    r.overrideAmount = usableAmount(m_record.value(QStringLiteral("overamount")));
    r.overrideInForce = EntryRules::overrideInForce(r.overrideFlag, r.overrideAmount);
    if (r.overrideFlag == QLatin1String("Y") &&
        !amountProblem(m_record.value(QStringLiteral("overamount"))).isEmpty())
        r.unusableAmounts << QStringLiteral("line 4 (the override amount)");

    for (int i = 1; i <= 6; ++i) {
        const QString name = text(QStringLiteral("child%1name").arg(i)).trimmed();
        if (!name.isEmpty())
            ++r.childCount;
        c.insert(QStringLiteral("lblChild%1Name").arg(i), name);
        c.insert(QStringLiteral("lblChild%1DOB").arg(i),
                 name.isEmpty() ? QString(QLatin1String("")) : text(QStringLiteral("child%1dob").arg(i)));
    }
    const QString entered = text(QStringLiteral("numchildren")).trimmed();
    r.numberOfChildren = numberOfChildren(m_record);
    r.numberOfChildrenEntered = enteredChildren(entered) > 0;
    if (!entered.isEmpty() && !r.numberOfChildrenEntered)
        r.numberOfChildrenRefused = entered;
    c.insert(QStringLiteral("lblNumberOfChildren"),
             r.numberOfChildren > 0 ? QString::number(r.numberOfChildren) : QString(QLatin1String("")));

    for (const char* label : {"lblCourtFile",
                              "lblCounty",
                              "lblCourtType",
                              "lblName1Name",
                              "lblName2Name",
                              "lblComments",
                              "lblDateSigned",
                              "lblPreparedBy"})
        c.insert(QString::fromLatin1(label), QString());
    c.insert(QStringLiteral("lblCourtFile"), text(QStringLiteral("courtfile")));
    c.insert(QStringLiteral("lblCounty"), text(QStringLiteral("county")));
    c.insert(QStringLiteral("lblCourtType"), text(QStringLiteral("courttype")));
    c.insert(QStringLiteral("lblName1Name"), text(QStringLiteral("name1name")));
    c.insert(QStringLiteral("lblName2Name"), text(QStringLiteral("name2name")));
    c.insert(QStringLiteral("lblComments"), text(QStringLiteral("textblock1")));
    c.insert(QStringLiteral("lblDateSigned"), text(QStringLiteral("datesigned")));
    c.insert(QStringLiteral("lblPreparedBy"), text(QStringLiteral("preparedby")));
}

double WorksheetInputs::showInput(Worksheet& sheet, const QString& label, const char* column) const
{
    const QString stored = m_record.value(QString::fromLatin1(column));
    if (stored.trimmed().isEmpty()) {
        sheet.captions.insert(label, QString(QLatin1String("")));
        return 0;
    }
    if (!amountProblem(stored).isEmpty()) {
        const bool plaintiff = label.at(3) == QLatin1Char('P');
        sheet.result.unusableAmounts << QStringLiteral("line %1 of %2")
                                            .arg(label.mid(4),
                                                 sideWords(plaintiff ? QStringLiteral("P")
                                                                     : QStringLiteral("D")));
        sheet.captions.insert(label, InvalidCaption);
        return 0;
    }
    const double value = usableAmount(stored);
    setCell(sheet, label, value);
    return value;
}

void WorksheetInputs::setCell(Worksheet& sheet, const QString& label, double value, const QString& caption)
{
    const double exact = settled(value);
    sheet.result.cells.insert(label, exact);
    sheet.captions.insert(label, caption.isNull() ? Format::court(exact) : caption);
}

double WorksheetInputs::scheduleRow(double combinedIncome, const ScheduleRules& rules, bool* floor)
{
    // The court's workbook: MAX(250, (ROUND((C2 - 25) / 50 - 0.5, 0) + 1) * 50).
    const double width = rules.bracketWidth;
    const double nearest = (Format::roundHalfAway((combinedIncome - width / 2) / width - 0.5, 0) + 1) * width;
    if (floor)
        *floor = nearest < rules.minimumIncome;
    return std::max(rules.minimumIncome, nearest);
}

void WorksheetInputs::lookUpSchedule(Worksheet& sheet,
                                     const ScheduleTable& schedule,
                                     const ScheduleRules& rules,
                                     double c2)
{
    WorksheetResult& r = sheet.result;
    sheet.captions.insert(QStringLiteral("lblC4"), QString(QLatin1String("")));
    r.scheduleSource = schedule.source();
    if (const QString problem = schedule.rangeProblem(rules); !problem.isEmpty()) {
        r.scheduleAvailable = false;
        r.scheduleRead = !schedule.isEmpty();
        r.scheduleProblem = r.scheduleRead ? QStringLiteral("does not cover every income: ") + problem
                                           : QStringLiteral("cannot be used: ") + problem;
    }
    const double rowIncome = scheduleRow(c2, rules, &r.scheduleFloor);
    r.scheduleRowIncome = rowIncome;
    r.aboveSchedule = rowIncome > rules.searchUpTo;
    if (r.aboveSchedule || r.numberOfChildren < 1 || r.numberOfChildren > 6)
        return;
    const QList<ScheduleRow>& rows = schedule.rows();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows[i].income != rowIncome)
            continue;
        const double amount = ScheduleTable::amountFor(rows[i], r.numberOfChildren);
        r.lookup.bracketIncome = rowIncome;
        r.lookup.bracketAmount = amount;
        if (i + 1 < rows.size()) {
            r.lookup.nextIncome = rows[i + 1].income;
            r.lookup.nextAmount = ScheduleTable::amountFor(rows[i + 1], r.numberOfChildren);
        }
        r.line4 = amount;
        setCell(sheet, QStringLiteral("lblC4"), amount);
        return;
    }
    // A table that lacks the row has no amount to give; rangeProblem has said why.
}

QStringList WorksheetInputs::warningLabels()
{
    Worksheet sheet;
    fillWarnings(sheet);
    return sheet.result.warnings.keys() << QStringLiteral("lblEditionWarning");
}

void WorksheetInputs::fillWarnings(Worksheet& sheet, const QString& undefinedLines)
{
    WorksheetResult& r = sheet.result;
    Captions& w = r.warnings;

    QString schedule;
    if (!r.scheduleAvailable && !r.overrideInForce)
        schedule =
            r.scheduleRead
                ? QStringLiteral("THE SCHEDULE DOES NOT COVER EVERY INCOME: LINE 4 MAY NOT BE FROM IT!")
                : QStringLiteral("NO SCHEDULE COULD BE READ: LINE 4 IS NOT FROM THE SCHEDULE!");
    else if (!r.overrideInForce && r.scheduleSource.differsFromOfficial())
        schedule =
            QStringLiteral("LINE 4 IS READ FROM A SCHEDULE THAT IS NOT THE OFFICIAL ONE OF MAY 1, 2022!");
    w.insert(QStringLiteral("lblScheduleWarning"), schedule);

    QString amounts;
    if (!r.unusableAmounts.isEmpty()) {
        const bool one = r.unusableAmounts.size() == 1;
        amounts = (one ? QStringLiteral("THE AMOUNT ON ") : QStringLiteral("THE AMOUNTS ON ")) +
                  r.unusableAmounts.join(QStringLiteral(", ")).toUpper() +
                  (one ? QStringLiteral(" CANNOT BE USED AND COUNTS AS 0: ENTER IT AGAIN!")
                       : QStringLiteral(" CANNOT BE USED AND COUNT AS 0: ENTER THEM AGAIN!"));
    }
    w.insert(QStringLiteral("lblAmountWarning"), amounts);

    const bool pNegative = r.cells.value(QStringLiteral("lblP2")) < 0;
    const bool dNegative = r.cells.value(QStringLiteral("lblD2")) < 0;
    w.insert(QStringLiteral("lblLineTwoWarning"),
             pNegative || dNegative
                 ? QStringLiteral("LINE 2 OF ") + who(pNegative, dNegative) + QStringLiteral(" IS BELOW 0!")
                 : QString());

    w.insert(QStringLiteral("lblSharesWarning"),
             r.sharesUndefined
                 ? QStringLiteral("THE COMBINED ADJUSTED INCOME (LINE 2) IS 0: LINES %1 CANNOT BE COMPUTED!")
                       .arg(undefinedLines)
                 : QString());

    w.insert(QStringLiteral("lblAboveScheduleWarning"),
             r.aboveSchedule && !r.overrideInForce
                 ? QStringLiteral("ABOVE THE SCHEDULE: THE COURT SETS LINE 4. ENTER IT AS AN OVERRIDE!")
                 : QString());

    QString children;
    if (!r.numberOfChildrenRefused.isEmpty())
        children =
            QStringLiteral("THE NUMBER OF CHILDREN (%1) MUST BE 1 TO 6: ").arg(r.numberOfChildrenRefused) +
            (r.numberOfChildren > 0
                 ? QStringLiteral("LINE 4 USES THE %1 NAMED!").arg(childWords(r.numberOfChildren))
                 : QStringLiteral("NO CHILD IS NAMED EITHER!"));
    else if (r.numberOfChildren == 0)
        children = QStringLiteral("ENTER THE NUMBER OF CHILDREN: LINE 4 DEPENDS ON IT!");
    else if (r.numberOfChildrenEntered && r.childCount > 0 && r.childCount != r.numberOfChildren)
        children = QStringLiteral("THE NUMBER OF CHILDREN (%1) IS NOT THE NUMBER OF CHILDREN NAMED (%2)!")
                       .arg(r.numberOfChildren)
                       .arg(r.childCount);
    w.insert(QStringLiteral("lblChildrenWarning"), children);
}

} // namespace cs42
