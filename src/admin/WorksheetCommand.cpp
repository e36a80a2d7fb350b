#include "admin/AdminCommands.h"
#include "core/explain/Explanation.h"
#include "core/store/CaseStore.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

namespace cs42::admin {

namespace {
QString number(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

int usage()
{
    printError(QStringLiteral("Usage: cs42-admin worksheet [--case CASEID] [--today YYYY-MM-DD] [--json]\n"));
    return 2;
}
} // namespace

void printStoreFailure(const CaseStore& store, CaseStoreStatus status)
{
    QString text = store.messageFor(status).text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    printError(QStringLiteral("cs42-admin: ") + text + QLatin1Char('\n'));
}

std::optional<Worksheet> loadWorksheet(const DataPaths& paths, QString& caseId, bool caseGiven)
{
    CaseStoreStatus status = CaseStoreStatus::Ok;
    QString problem;
    const std::optional<Worksheet> sheet = recalculateWorksheet(paths, caseId, &status, &problem);
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
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--json")) {
            json = true;
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

    const std::optional<Worksheet> sheet = loadWorksheet(paths, caseId, caseGiven);
    if (!sheet)
        return 1;

    const WorksheetResult& r = sheet->result;
    const QString explanation =
        generateExplanation(sheet->captions, r.childCount, r.lookup, today, r.insuranceCreditExceedsShare);
    // The lines are printed whatever they are; without a schedule behind line 4 the run fails, so
    // that a script never takes them for a finished worksheet. The other warnings are only said.
    const bool noSchedule = !r.scheduleAvailable && !r.overrideInForce;
    if (!r.scheduleAvailable)
        printError(QStringLiteral("cs42-admin: %1the schedule %2 %3; line 4 is not taken from the schedule\n")
                       .arg(noSchedule ? QString() : QStringLiteral("warning: "),
                            paths.scheduleDbPath(),
                            r.scheduleProblem));
    const Captions warnings = worksheetWarnings(r);
    for (auto it = warnings.cbegin(); it != warnings.cend(); ++it) {
        if (!it.value().isEmpty() && it.key() != QLatin1String("lblScheduleWarning"))
            printError(QStringLiteral("cs42-admin: warning: %1\n").arg(it.value()));
    }
    const int exitCode = noSchedule ? 1 : 0;
    const QStringList labels = worksheetCaptionLabels();
    if (json) {
        QJsonObject captions;
        for (const QString& label : labels)
            captions.insert(label, sheet->captions.value(label));
        const QJsonObject lookup{{QStringLiteral("bracketIncome"), r.lookup.bracketIncome},
                                 {QStringLiteral("bracketAmount"), r.lookup.bracketAmount},
                                 {QStringLiteral("nextIncome"), r.lookup.nextIncome},
                                 {QStringLiteral("nextAmount"), r.lookup.nextAmount}};
        const QJsonObject root{{QStringLiteral("caseid"), caseId},
                               {QStringLiteral("captions"), captions},
                               {QStringLiteral("childCount"), r.childCount},
                               {QStringLiteral("scheduleLookup"), lookup},
                               {QStringLiteral("explanation"), explanation}};
        printOut(QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented)));
        return exitCode;
    }
    QString out = QStringLiteral("caseid: %1\n").arg(caseId);
    for (const QString& label : labels)
        out += QStringLiteral("%1: %2\n").arg(label, sheet->captions.value(label));
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
