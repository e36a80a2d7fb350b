#include "admin/AdminCommands.h"
#include "core/produce/FormFiller.h"
#include "core/store/CaseStore.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QFileInfo>

namespace cs42::admin {

namespace {
int usage()
{
    printError(QStringLiteral("Usage: cs42-admin produce [--case CASEID] [--out PATH]\n"));
    return 2;
}
} // namespace

// Produces the filled court form of a case as "Produce Worksheet" does, without the notice and
// without opening a viewer, and prints the path of the produced file.
int runProduceCommand(const QStringList& args, const DataPaths& paths)
{
    QString caseId;
    bool caseGiven = false;
    QString outputPath = paths.producedFormPath();
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--case") && i + 1 < args.size()) {
            caseId = args[++i];
            caseGiven = true;
        } else if (arg == QLatin1String("--out") && i + 1 < args.size()) {
            outputPath = args[++i];
        } else {
            return usage();
        }
    }
    if (caseGiven && caseId.isEmpty()) {
        printError(QStringLiteral("cs42-admin: --case needs a case id\n"));
        return 2;
    }
    if (outputPath.isEmpty()) {
        printError(QStringLiteral("cs42-admin: --out needs a path\n"));
        return 2;
    }

    CaseStoreStatus status = CaseStoreStatus::Ok;
    const std::optional<Worksheet> sheet = recalculateWorksheet(paths, caseId, &status);
    if (!sheet) {
        if (status == CaseStoreStatus::OpenFailed)
            printError(CaseStore::openErrorText() + QLatin1Char('\n'));
        else if (caseGiven)
            printError(QStringLiteral("cs42-admin: there is no case with the id '%1' in %2\n")
                           .arg(caseId, paths.casesDbPath()));
        else
            printError(QStringLiteral("cs42-admin: there are no cases in %1\n").arg(paths.casesDbPath()));
        return 1;
    }
    if (!sheet->result.scheduleAvailable)
        printError(
            QStringLiteral("cs42-admin: warning: the schedule %1 cannot be read; line 4 is not taken from "
                           "a schedule\n")
                .arg(paths.scheduleDbPath()));

    const ProduceResult result = fillForm(paths.templatePath(), outputPath, sheet->captions);
    if (result.status != ProduceStatus::Produced) {
        QString message = result.text;
        message.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        printError(
            QStringLiteral("cs42-admin: %1%2\n")
                .arg(result.title.isEmpty() ? QString() : result.title + QStringLiteral(": "), message));
        return 1;
    }
    printOut(QFileInfo(outputPath).absoluteFilePath() + QLatin1Char('\n'));
    return 0;
}

} // namespace cs42::admin
