#include "admin/AdminCommands.h"
#include "core/explain/EditionExplanation.h"
#include "core/store/CaseStore.h"
#include "core/worksheet/ProductionRefusal.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

namespace cs42::admin {

namespace {
QString number(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// The warnings the worksheet window shows over the form, in its order.
QStringList shownWarnings(const FormEdition& edition, const WorksheetResult& r)
{
    QStringList texts;
    if (r.overrideInForce)
        texts << OverrideWarningText;
    const Captions warnings = edition.warnings(r);
    for (const QString& text : warnings) {
        if (!text.isEmpty())
            texts << text;
    }
    return texts;
}

int usage()
{
    printError(QStringLiteral("Usage: cs42-admin worksheet [--case CASEID] [--edition 2009|2022|2023S] "
                              "[--today YYYY-MM-DD] [--json]\n"));
    return 2;
}
} // namespace

void printStoreFailure(const CaseStore& store, CaseStoreStatus status)
{
    QString text = store.messageFor(status).text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    printError(QStringLiteral("cs42-admin: ") + text + QLatin1Char('\n'));
}

bool readEditionOption(const QStringList& args, qsizetype* i, const FormEdition** edition)
{
    const QString id = *i + 1 < args.size() ? args[++*i] : QString();
    *edition = id.isEmpty() ? nullptr : FormEditions::find(id);
    if (*edition)
        return true;
    QStringList known;
    for (const FormEdition* e : FormEditions::all())
        known << e->id;
    printError(QStringLiteral("cs42-admin: --edition needs one of %1, not '%2'\n")
                   .arg(known.join(QStringLiteral(", ")), id));
    return false;
}

std::optional<Worksheet> loadWorksheet(
    const DataPaths& paths, QString& caseId, bool caseGiven, const FormEdition* edition, const QDate& today)
{
    CaseStoreStatus status = CaseStoreStatus::Ok;
    QString problem;
    const std::optional<Worksheet> sheet =
        recalculateWorksheet(paths, caseId, &status, &problem, edition, today);
    if (!sheet) {
        if (status != CaseStoreStatus::CaseRemoved)
            printStoreFailure(CaseStore(paths.casesDbPath(), problem), status);
        else if (caseGiven)
            printError(QStringLiteral("cs42-admin: there is no case with the id '%1' in %2\n")
                           .arg(caseId, paths.casesDbPath()));
        else
            printError(QStringLiteral("cs42-admin: there are no cases in %1\n").arg(paths.casesDbPath()));
        return std::nullopt;
    }
    return sheet;
}

int runWorksheetCommand(const QStringList& args, const DataPaths& paths)
{
    QString caseId;
    bool caseGiven = false;
    QDate today = QDate::currentDate();
    bool json = false;
    const FormEdition* forced = nullptr;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--json")) {
            json = true;
        } else if (arg == QLatin1String("--edition")) {
            if (!readEditionOption(args, &i, &forced))
                return 2;
        } else if (arg == QLatin1String("--case") && i + 1 < args.size()) {
            caseId = args[++i];
            caseGiven = true;
        } else if (arg == QLatin1String("--today") && i + 1 < args.size()) {
            today = QDate::fromString(args[++i], QStringLiteral("yyyy-MM-dd"));
            if (!today.isValid()) {
                printError(QStringLiteral("cs42-admin: --today needs a date as YYYY-MM-DD, not '%1'\n")
                               .arg(args[i]));
                return 2;
            }
        } else {
            return usage();
        }
    }
    if (caseGiven && caseId.isEmpty()) {
        printError(QStringLiteral("cs42-admin: --case needs a case id\n"));
        return 2;
    }

    const std::optional<Worksheet> sheet = loadWorksheet(paths, caseId, caseGiven, forced, today);
    if (!sheet)
        return 1;

    const WorksheetResult& r = sheet->result;
    // Figures of another form than the case's would be taken for the case's own by a script.
    if (!r.unknownEdition.isEmpty()) {
        printError(QStringLiteral("cs42-admin: %1 No figures are printed; --edition computes the case on "
                                  "one of those editions.\n")
                       .arg(unknownEditionText(r.unknownEdition)));
        return 1;
    }
    const FormEdition& edition = *FormEditions::find(r.editionId);
    const QString explanation = explainWorksheet(edition, sheet->captions, r, today);
    // The lines are printed whatever they are; without a schedule behind line 4 the run fails, so
    // that a script never takes them for a finished worksheet. The other warnings are only said.
    const bool noSchedule = !r.scheduleAvailable && !r.overrideInForce;
    if (!r.scheduleAvailable)
        printError(QStringLiteral("cs42-admin: %1the schedule %2 %3; line 4 is not taken from the schedule\n")
                       .arg(noSchedule ? QString() : QStringLiteral("warning: "),
                            paths.scheduleDbPath(),
                            r.scheduleProblem));
    if (r.scheduleSource.missesPre2022Schedule())
        printError(
            QStringLiteral("cs42-admin: the schedule in force before May 1, 2022 is not installed: "
                           "install it with 'cs42-admin schedule import FILE.csv', or override line 4\n"));
    const QStringList warnings = shownWarnings(edition, r);
    const Captions warningLabels = edition.warnings(r);
    for (auto it = warningLabels.cbegin(); it != warningLabels.cend(); ++it) {
        if (!it.value().isEmpty() && it.key() != QLatin1String("lblScheduleWarning"))
            printError(QStringLiteral("cs42-admin: warning: %1\n").arg(it.value()));
    }
    const int exitCode = noSchedule ? 1 : 0;
    const QStringList labels = edition.captionLabels();
    const RecommendedOrder order = recommendedOrder(r);
    if (json) {
        QJsonObject captions;
        for (const QString& label : labels)
            captions.insert(label, sheet->captions.value(label));
        QJsonArray warningTexts;
        for (const QString& warning : warnings)
            warningTexts.append(warning);
        const QJsonObject recommended{
            {QStringLiteral("payer"), order.payer},
            {QStringLiteral("amount"),
             order.amount ? QJsonValue(*order.amount) : QJsonValue(QJsonValue::Null)}};
        const QJsonObject lookup{{QStringLiteral("bracketIncome"), r.lookup.bracketIncome},
                                 {QStringLiteral("bracketAmount"), r.lookup.bracketAmount},
                                 {QStringLiteral("nextIncome"), r.lookup.nextIncome},
                                 {QStringLiteral("nextAmount"), r.lookup.nextAmount}};
        const QJsonObject root{{QStringLiteral("caseid"), caseId},
                               {QStringLiteral("edition"), edition.id},
                               {QStringLiteral("warnings"), warningTexts},
                               {QStringLiteral("recommendedOrder"), recommended},
                               {QStringLiteral("captions"), captions},
                               {QStringLiteral("childCount"), r.childCount},
                               {QStringLiteral("scheduleLookup"), lookup},
                               {QStringLiteral("explanation"), explanation}};
        printOut(QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented)));
        return exitCode;
    }
    QString out = QStringLiteral("caseid: %1\nedition: %2\n").arg(caseId, edition.id);
    for (const QString& label : labels)
        out += QStringLiteral("%1: %2\n").arg(label, sheet->captions.value(label));
    for (const QString& warning : warnings)
        out += QStringLiteral("warning: %1\n").arg(warning);
    out += QStringLiteral("recommendedOrder.payer: %1\n").arg(order.payer);
    out +=
        QStringLiteral("recommendedOrder.amount: %1\n").arg(order.amount ? number(*order.amount) : QString());
    out += QStringLiteral("childCount: %1\n").arg(r.childCount);
    out += QStringLiteral("scheduleLookup.bracketIncome: %1\n").arg(number(r.lookup.bracketIncome));
    out += QStringLiteral("scheduleLookup.bracketAmount: %1\n").arg(number(r.lookup.bracketAmount));
    out += QStringLiteral("scheduleLookup.nextIncome: %1\n").arg(number(r.lookup.nextIncome));
    out += QStringLiteral("scheduleLookup.nextAmount: %1\n").arg(number(r.lookup.nextAmount));
    out += QStringLiteral("explanation:\n") + explanation + QLatin1Char('\n');
    printOut(out);
    return exitCode;
}

} // namespace cs42::admin
