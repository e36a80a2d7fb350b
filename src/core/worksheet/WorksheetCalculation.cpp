#include "core/worksheet/WorksheetCalculation.h"

#include "core/worksheet/AmountCheck.h"
#include "core/worksheet/ChildAges.h"
#include "core/worksheet/DisplayFormat.h"
#include "core/worksheet/EntryRules.h"
#include "core/worksheet/FormEdition.h"
#include "core/worksheet/WorksheetInputs.h"

namespace cs42 {

namespace {
QString text(const CaseRecord& record, const QString& column)
{
    const QString value = record.value(column);
    return value.isNull() ? QString(QLatin1String("")) : value;
}

// Every stored amount is read through usableAmount: one that cannot be used counts as 0.
double number(const CaseRecord& record, const QString& column)
{
    return usableAmount(record.value(column));
}

// What an input line shows for a stored amount that cannot be used. It is not the stored digits
// (up to hundreds of them, beside lines that do not count them) and not a blank (which would look
// like nothing entered); the warning over the form names the line.
const QString InvalidCaption = QStringLiteral("INVALID");

// Lines 1, 1a, 1b, 5 and 6 show the stored input: blank when it reads as 0, else the amount the
// computation uses, in whole dollars. A stored text that is not a plain number ("1,234") cannot be
// used and shows "INVALID".
QString inputCaption(const CaseRecord& record, const QString& column)
{
    if (!amountProblem(record.value(column)).isEmpty())
        return InvalidCaption;
    const double value = number(record, column);
    return value == 0.0 ? QString(QLatin1String("")) : Format::whole(value);
}

// The stored amounts in form order, with the words that name their line.
struct AmountColumn
{
    const char* column;
    const char* line;
};

constexpr AmountColumn AmountColumns[] = {
    {"pinc", "line 1 of the plaintiff"},
    {"dinc", "line 1 of the defendant"},
    {"ppre", "line 1a of the plaintiff"},
    {"dpre", "line 1a of the defendant"},
    {"presp", "line 1b of the plaintiff"},
    {"dresp", "line 1b of the defendant"},
    {"overamount", "line 4 (the override amount)"},
    {"childcare", "line 5"},
    {"healthins", "line 6"},
};

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

QString bothWarnings(const QString& first, const QString& second)
{
    if (first.isEmpty() || second.isEmpty())
        return first + second;
    return first + QLatin1Char(' ') + second;
}

QStringList worksheetCaptionLabels()
{
    return FormEditions::cs42Rev0109().captionLabels();
}

RecommendedOrder recommendedOrder(const WorksheetResult& r)
{
    if (!r.editionId.isEmpty() && r.editionId != FormEditions::cs42Rev0109().id) {
        // CS-42-S names no payer, with an amount of 0, when no support is owed.
        if (!r.orderAmount)
            return {};
        return {r.payer, Format::roundHalfAway(*r.orderAmount, 0)};
    }
    const bool plaintiffPays = r.custodyCode == QLatin1String("D");
    return {plaintiffPays ? QStringLiteral("P") : QStringLiteral("D"),
            Format::roundHalfAway(plaintiffPays ? r.p10 : r.d10, 0)};
}

Captions worksheetWarnings(const WorksheetResult& r)
{
    Captions warnings;
    QString schedule;
    if (!r.scheduleAvailable) {
        schedule =
            r.scheduleSource.missesPre2022Schedule() ? ScheduleNotInstalledWarning
            : r.scheduleRead
                ? QStringLiteral("THE SCHEDULE DOES NOT COVER EVERY INCOME: LINE 4 MAY NOT BE FROM IT!")
                : QStringLiteral("NO SCHEDULE COULD BE READ: LINE 4 IS NOT FROM THE SCHEDULE!");
    }
    warnings.insert(QStringLiteral("lblScheduleWarning"), schedule);

    QString amounts;
    if (!r.unusableAmounts.isEmpty()) {
        const bool one = r.unusableAmounts.size() == 1;
        amounts = (one ? QStringLiteral("THE AMOUNT ON ") : QStringLiteral("THE AMOUNTS ON ")) +
                  r.unusableAmounts.join(QStringLiteral(", ")).toUpper() +
                  (one ? QStringLiteral(" CANNOT BE USED AND COUNTS AS 0: ENTER IT AGAIN!")
                       : QStringLiteral(" CANNOT BE USED AND COUNT AS 0: ENTER THEM AGAIN!"));
    }
    warnings.insert(QStringLiteral("lblAmountWarning"), amounts);

    QString lineTwo;
    if (r.p2 < 0 || r.d2 < 0) {
        const QString who = r.p2 < 0 && r.d2 < 0 ? QStringLiteral("BOTH PARENTS")
                            : r.p2 < 0           ? QStringLiteral("THE PLAINTIFF")
                                                 : QStringLiteral("THE DEFENDANT");
        lineTwo = QStringLiteral("LINE 2 OF ") + who + QStringLiteral(" IS BELOW 0!");
    }
    warnings.insert(QStringLiteral("lblLineTwoWarning"), lineTwo);

    warnings.insert(QStringLiteral("lblCreditWarning"),
                    r.insuranceCreditExceedsShare
                        ? QStringLiteral("HEALTH-INSURANCE CREDIT (LINE 9) EXCEEDS THE SHARE (LINE 8)!")
                        : QString());
    warnings.insert(QStringLiteral("lblChildrenWarning"),
                    r.childCount == 0 ? QStringLiteral("NO CHILD IS NAMED: ENTER THE CHILDREN OF THIS CASE!")
                                      : r.birthDateWarning);
    return warnings;
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

    // Amounts that cannot be used. The override amount counts only while the switch is on.
    for (const AmountColumn& amount : AmountColumns) {
        const QString column = QString::fromLatin1(amount.column);
        if (column == QLatin1String("overamount") && r.overrideFlag != QLatin1String("Y"))
            continue;
        if (!amountProblem(record.value(column)).isEmpty())
            r.unusableAmounts << QString::fromLatin1(amount.line);
    }

    // 4. Children.
    r.childCount = childCount(record);
    for (int i = 1; i <= 6; ++i) {
        const QString name = text(record, QStringLiteral("child%1name").arg(i));
        c.insert(QStringLiteral("lblChild%1Name").arg(i), name.trimmed());
        // A slot whose name is blank is no child: its date stays off the worksheet and the form.
        c.insert(QStringLiteral("lblChild%1DOB").arg(i),
                 name.trimmed().isEmpty() ? QString(QLatin1String(""))
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

    // 7. Line 4 from the schedule, which must be the one installed for this form and reach over
    // every income the rules search.
    r.scheduleSource = schedule.source();
    if (!r.scheduleSource.isUsable()) {
        r.scheduleAvailable = false;
        r.scheduleRead = false;
        r.scheduleProblem = r.scheduleSource.problem();
    } else if (const QString problem = schedule.rangeProblem(rules); !problem.isEmpty()) {
        r.scheduleAvailable = false;
        r.scheduleRead = !schedule.isEmpty();
        r.scheduleProblem = r.scheduleRead ? QStringLiteral("does not cover every income: ") + problem
                                           : QStringLiteral("cannot be used: ") + problem;
    }
    r.line4 = basicObligation(r.scheduleSource.isUsable() ? schedule : ScheduleTable(),
                              r.c2,
                              static_cast<double>(r.childCount),
                              &r.lookup,
                              rules);

    // 8. The override replaces every schedule rule, the minimum amount included.
    r.overrideInForce = EntryRules::overrideInForce(r.overrideFlag, r.overrideAmount);
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
    // The parent without custody pays. No order is below 0: a health-insurance credit larger than
    // the share leaves nothing to pay, and the worksheet says so.
    // A share below 0 (an adjusted gross income below 0) is no credit that exceeds a share: line 2's
    // own warning says what is wrong.
    const auto order = [&r](double share, double credit) {
        const double owed = settled(share - credit);
        if (owed < 0 && share >= 0)
            r.insuranceCreditExceedsShare = true;
        return owed < 0 ? 0.0 : owed;
    };
    if (r.custodyCode == QLatin1String("P")) {
        r.d10 = order(r.d8, r.d9);
    } else {
        r.p10 = order(r.p8, r.p9);
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
                                              QString* storeProblem,
                                              const FormEdition* edition,
                                              const QDate& today,
                                              CaseRecord* readRecord)
{
    const CaseStore store(paths.casesDbPath());
    const std::optional<CaseRecord> record = store.findCurrentCase(currentCaseId, status);
    if (!record) {
        if (storeProblem)
            *storeProblem = store.problem();
        return std::nullopt;
    }
    if (readRecord)
        *readRecord = *record;
    // A case of an edition this program does not know is shown on the default one, which says so;
    // the shared-custody form would put a sole-custody case's figures in the wrong columns.
    const FormEdition* stored = FormEditions::forCase(*record);
    const FormEdition& form = edition ? *edition : stored ? *stored : FormEditions::defaultEdition();
    QString error;
    // The 2009 form reads the schedule for the named children, the later forms for their "Number
    // of Children" box: one column either way.
    const int children = form.id == FormEditions::cs42Rev0109().id
                             ? childCount(*record)
                             : WorksheetInputs::numberOfChildren(*record);
    const std::optional<ScheduleTable> schedule = ScheduleTable::loadIdentified(
        paths.scheduleDbPath(), static_cast<double>(children), &error, form.scheduleTable);
    Worksheet sheet = form.compute(*record, schedule.value_or(ScheduleTable()), form.rules);
    sheet.result.editionId = form.id;
    sheet.result.birthDateWarning = birthDateWarning(*record, today);
    // The later forms' warnings are part of their computation; the 2009 form's are drawn from the
    // result (worksheetWarnings).
    if (sheet.result.warnings.contains(QStringLiteral("lblChildrenWarning")))
        sheet.result.warnings.insert(
            QStringLiteral("lblChildrenWarning"),
            bothWarnings(sheet.result.warnings.value(QStringLiteral("lblChildrenWarning")),
                         sheet.result.birthDateWarning));
    if (!edition && !stored) {
        sheet.result.unknownEdition = record->value(QStringLiteral("formedition")).trimmed();
        sheet.result.warnings.insert(
            QStringLiteral("lblEditionWarning"),
            QStringLiteral("UNKNOWN FORM EDITION (%1): SHOWN ON %2, IT CANNOT BE PRODUCED!")
                .arg(sheet.result.unknownEdition, form.title.toUpper()));
    }
    if (error.endsWith(QLatin1Char('.')))
        error.chop(1);
    if (!schedule) {
        sheet.result.scheduleAvailable = false;
        sheet.result.scheduleRead = false;
        sheet.result.scheduleProblem =
            QStringLiteral("cannot be read (") +
            (error.trimmed().isEmpty() ? QStringLiteral("no reason given") : error.trimmed()) +
            QLatin1Char(')');
    }
    return sheet;
}

} // namespace cs42
