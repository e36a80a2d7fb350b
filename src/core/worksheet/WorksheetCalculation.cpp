#include "core/worksheet/WorksheetCalculation.h"

#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/LeadingNumber.h"

namespace cs42 {

namespace {
QString text(const CaseRecord& record, const QString& column)
{
    const QString value = record.value(column);
    return value.isNull() ? QString(QLatin1String("")) : value;
}

double number(const CaseRecord& record, const QString& column)
{
    return LeadingNumber(record.value(column));
}

// Lines 1, 1a, 1b, 5 and 6 show the stored input: blank when it reads as 0, else the amount the
// computation uses, in whole dollars. (A stored text that is not a plain number, such as
// "1,234", shows the figure the computation reads from it, so the line agrees with line 2.)
QString inputCaption(const CaseRecord& record, const QString& column)
{
    const double value = number(record, column);
    return value == 0.0 ? QString(QLatin1String("")) : Format::whole(value);
}

// The children of the case: every non-blank name counts, wherever its slot.
int childCount(const CaseRecord& record)
{
    int count = 0;
    for (int i = 1; i <= 6; ++i) {
        if (!text(record, QStringLiteral("child%1name").arg(i)).trimmed().isEmpty())
            ++count;
    }
    return count;
}

// Most amounts in dollars and cents have no exact binary double, so a sum, difference or share of
// them can land a hair beside the decimal figure it stands for: 1136.32 - 487.41 - 261.29 + 1559.81 -
// 271.52 - 0.91 comes out as 1674.9999999999998, not 1675; 1000.07 - 10.01 - 990.06 as 1.1e-13, not
// 0; 1250 x 28 % - 350 as 5.7e-14. Such a hair would turn a $1,675 combined income into the lower
// row's amount (halfway rule of line 4), an income of nothing into a 100 % share (line 3), and a
// line that is nothing into a "0" where the form shows a blank. Every computed amount is therefore
// settled on its decimal figure: written with 15 significant digits (the precision of a double) and
// cut to 9 decimals, far below a cent, which removes the representation error and nothing entered.
double settled(double value)
{
    return Format::roundHalfEven(value, 9);
}

QString sideName(const QString& code)
{
    return code == QLatin1String("P") ? QStringLiteral("PLAINTIFF") : QStringLiteral("DEFENDANT");
}
} // namespace

QStringList worksheetCaptionLabels()
{
    QStringList labels = {QStringLiteral("lblCourtFile"),
                          QStringLiteral("lblCounty"),
                          QStringLiteral("lblCourtType"),
                          QStringLiteral("lblName1Name"),
                          QStringLiteral("lblName2Name")};
    for (int i = 1; i <= 6; ++i)
        labels << QStringLiteral("lblChild%1Name").arg(i) << QStringLiteral("lblChild%1DOB").arg(i);
    labels << QStringLiteral("lblP1") << QStringLiteral("lblD1") << QStringLiteral("lblP1a")
           << QStringLiteral("lblD1a") << QStringLiteral("lblP1b") << QStringLiteral("lblD1b")
           << QStringLiteral("lblP2") << QStringLiteral("lblD2") << QStringLiteral("lblC2")
           << QStringLiteral("lblP3") << QStringLiteral("lblD3") << QStringLiteral("lblC4")
           << QStringLiteral("lblC5") << QStringLiteral("lblC6") << QStringLiteral("lblC7")
           << QStringLiteral("lblP8") << QStringLiteral("lblD8") << QStringLiteral("lblP9")
           << QStringLiteral("lblD9") << QStringLiteral("lblP10") << QStringLiteral("lblD10")
           << QStringLiteral("lblCustody") << QStringLiteral("lblHealthInsurance")
           << QStringLiteral("lblComments") << QStringLiteral("lblDateSigned")
           << QStringLiteral("lblPreparedBy");
    return labels;
}

Worksheet
computeWorksheet(const CaseRecord& record, const ScheduleTable& schedule, const ScheduleRules& rules)
{
    Worksheet sheet;
    WorksheetResult& r = sheet.result;
    Captions& c = sheet.captions;

    // 1. Who pays the health insurance.
    const double healthIns = number(record, QStringLiteral("healthins"));
    if (healthIns == 0.0) {
        r.insurancePayer = QStringLiteral("N");
        c.insert(QStringLiteral("lblHealthInsurance"), QStringLiteral("N/A"));
    } else {
        r.insurancePayer = text(record, QStringLiteral("payshealth")) == QLatin1String("P")
                               ? QStringLiteral("P")
                               : QStringLiteral("D");
        c.insert(QStringLiteral("lblHealthInsurance"), sideName(r.insurancePayer));
    }

    // 2. Custody: anything but "P" (blank included) is the defendant.
    r.custodyCode = text(record, QStringLiteral("whosecustody")) == QLatin1String("P") ? QStringLiteral("P")
                                                                                       : QStringLiteral("D");
    c.insert(QStringLiteral("lblCustody"), sideName(r.custodyCode));

    // 3. Override inputs as stored.
    r.overrideFlag = text(record, QStringLiteral("override"));
    r.overrideAmount = number(record, QStringLiteral("overamount"));

    // 4. Children.
    r.childCount = childCount(record);
    for (int i = 1; i <= 6; ++i) {
        const QString name = text(record, QStringLiteral("child%1name").arg(i));
        c.insert(QStringLiteral("lblChild%1Name").arg(i), name.trimmed());
        c.insert(QStringLiteral("lblChild%1DOB").arg(i),
                 name.isEmpty() ? QString(QLatin1String(""))
                                : text(record, QStringLiteral("child%1dob").arg(i)));
    }

    // 5. Line 2: nothing is clamped.
    r.p2 = settled((number(record, QStringLiteral("pinc")) - number(record, QStringLiteral("ppre"))) -
                   number(record, QStringLiteral("presp")));
    r.d2 = settled((number(record, QStringLiteral("dinc")) - number(record, QStringLiteral("dpre"))) -
                   number(record, QStringLiteral("dresp")));
    r.c2 = settled(r.d2 + r.p2);

    // 6. Line 3: each share rounded on its own; they need not add up to 100.
    if (r.c2 > 0) {
        r.p3 = Format::roundHalfEven(r.p2 / r.c2 * 100.0, 2);
        r.d3 = Format::roundHalfEven(r.d2 / r.c2 * 100.0, 2);
    }

    // 7. Line 4 from the schedule.
    r.line4 = basicObligation(schedule, r.c2, static_cast<double>(r.childCount), &r.lookup, rules);

    // 8. The override replaces every schedule rule, the minimum amount included.
    r.overrideInForce = r.overrideFlag == QLatin1String("Y") && r.overrideAmount > 0;
    if (r.overrideInForce)
        r.line4 = r.overrideAmount;

    // 9. - 12.
    r.line5 = number(record, QStringLiteral("childcare"));
    r.line6 = healthIns;
    r.line7 = settled((r.line4 + r.line5) + r.line6);
    r.p8 = settled(r.line7 * (r.p3 / 100.0));
    r.d8 = settled(r.line7 * (r.d3 / 100.0));
    if (r.insurancePayer == QLatin1String("P")) {
        r.p9 = r.line6;
    } else {
        r.d9 = r.line6;
    }
    // The parent without custody pays.
    if (r.custodyCode == QLatin1String("P")) {
        r.d10 = settled(r.d8 - r.d9);
    } else {
        r.p10 = settled(r.p8 - r.p9);
    }
    r.poc = text(record, QStringLiteral("poc"));
    r.doc = text(record, QStringLiteral("doc"));

    // 13. Captions.
    c.insert(QStringLiteral("lblP1"), inputCaption(record, QStringLiteral("pinc")));
    c.insert(QStringLiteral("lblD1"), inputCaption(record, QStringLiteral("dinc")));
    c.insert(QStringLiteral("lblP1a"), inputCaption(record, QStringLiteral("ppre")));
    c.insert(QStringLiteral("lblD1a"), inputCaption(record, QStringLiteral("dpre")));
    c.insert(QStringLiteral("lblP1b"), inputCaption(record, QStringLiteral("presp")));
    c.insert(QStringLiteral("lblD1b"), inputCaption(record, QStringLiteral("dresp")));
    c.insert(QStringLiteral("lblP2"), Format::blankWhenZero(r.p2));
    c.insert(QStringLiteral("lblD2"), Format::blankWhenZero(r.d2));
    c.insert(QStringLiteral("lblC2"), Format::blankWhenZero(r.c2));
    c.insert(QStringLiteral("lblP3"), Format::wholeOrBlank(r.p3));
    c.insert(QStringLiteral("lblD3"), Format::wholeOrBlank(r.d3));
    c.insert(QStringLiteral("lblC4"), Format::whole(r.line4));
    c.insert(QStringLiteral("lblC5"), inputCaption(record, QStringLiteral("childcare")));
    c.insert(QStringLiteral("lblC6"), inputCaption(record, QStringLiteral("healthins")));
    c.insert(QStringLiteral("lblC7"), Format::blankWhenZero(r.line7));
    c.insert(QStringLiteral("lblP8"), Format::blankWhenZero(r.p8));
    c.insert(QStringLiteral("lblD8"), Format::blankWhenZero(r.d8));
    c.insert(QStringLiteral("lblP9"), Format::blankWhenZero(r.p9));
    c.insert(QStringLiteral("lblD9"), Format::blankWhenZero(r.d9));
    c.insert(QStringLiteral("lblP10"), Format::blankWhenZero(r.p10));
    c.insert(QStringLiteral("lblD10"), Format::blankWhenZero(r.d10));
    c.insert(QStringLiteral("lblCourtFile"), text(record, QStringLiteral("courtfile")));
    c.insert(QStringLiteral("lblCounty"), text(record, QStringLiteral("county")));
    c.insert(QStringLiteral("lblCourtType"), text(record, QStringLiteral("courttype")));
    c.insert(QStringLiteral("lblName1Name"), text(record, QStringLiteral("name1name")));
    c.insert(QStringLiteral("lblName2Name"), text(record, QStringLiteral("name2name")));
    c.insert(QStringLiteral("lblComments"), text(record, QStringLiteral("textblock1")));
    c.insert(QStringLiteral("lblDateSigned"), text(record, QStringLiteral("datesigned")));
    c.insert(QStringLiteral("lblPreparedBy"), text(record, QStringLiteral("preparedby")));
    return sheet;
}

std::optional<Worksheet> recalculateWorksheet(const DataPaths& paths,
                                              QString& currentCaseId,
                                              CaseStoreStatus* status,
                                              QString* storeProblem)
{
    const CaseStore store(paths.casesDbPath());
    const std::optional<CaseRecord> record = store.findCurrentCase(currentCaseId, status);
    if (!record) {
        if (storeProblem)
            *storeProblem = store.problem();
        return std::nullopt;
    }
    const std::optional<ScheduleTable> schedule =
        ScheduleTable::loadFor(paths.scheduleDbPath(), static_cast<double>(childCount(*record)));
    Worksheet sheet = computeWorksheet(*record, schedule.value_or(ScheduleTable()));
    sheet.result.scheduleAvailable = schedule && !schedule->isEmpty();
    return sheet;
}

} // namespace cs42
