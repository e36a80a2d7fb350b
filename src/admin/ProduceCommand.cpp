#include "admin/AdminCommands.h"
#include "core/produce/FormFiller.h"
#include "core/produce/OutputPath.h"
#include "core/worksheet/ProductionRefusal.h"

#include <QFileInfo>

namespace cs42::admin {

namespace {
int usage()
{
    printError(QStringLiteral(
        "Usage: cs42-admin produce [--case CASEID] [--edition 2009|2022|2023S] [--out PATH]\n"));
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
    const FormEdition* forced = nullptr;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--case") && i + 1 < args.size()) {
            caseId = args[++i];
            caseGiven = true;
        } else if (arg == QLatin1String("--edition")) {
            if (!readEditionOption(args, &i, &forced))
                return 2;
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

    // Checked before anything is computed: a mistyped --out must not cost a data file.
    const QString outputProblem = outputPathProblem(outputPath, producedFormProtectedFiles(paths));
    if (!outputProblem.isEmpty()) {
        printError(QStringLiteral("cs42-admin: %1\n").arg(outputProblem));
        return 1;
    }

    const std::optional<Worksheet> sheet = loadWorksheet(paths, caseId, caseGiven, forced);
    if (!sheet)
        return 1;
    if (QString refusal = productionRefusal(*sheet, paths); !refusal.isEmpty()) {
        printError(QStringLiteral("cs42-admin: ") +
                   refusal.replace(QLatin1String("\r\n"), QLatin1String("\n")) + QLatin1Char('\n'));
        return 1;
    }

    const FormEdition& edition = *FormEditions::find(sheet->result.editionId);
    const ProduceResult result =
        fillForm(paths.formTemplatePath(edition.templateFile), outputPath, sheet->captions, edition);
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
