#include "admin/AdminCommands.h"
#include "core/worksheet/ScheduleCsv.h"

namespace cs42::admin {

namespace {
int importSchedule(const QString& csvPath, const DataPaths& paths, const FormEdition& edition)
{
    QString error;
    const std::optional<QByteArray> content = ScheduleCsv::readFile(csvPath, &error);
    if (!content) {
        printError(QStringLiteral("cs42-admin: %1; the schedule was not changed\n").arg(error));
        return 1;
    }
    const auto rows = ScheduleCsv::parse(*content, &error, edition.rules);
    if (!rows) {
        printError(QStringLiteral("cs42-admin: %1: %2; the schedule was not changed\n").arg(csvPath, error));
        return 1;
    }
    if (!ScheduleCsv::replaceRows(paths.scheduleDbPath(), *rows, &error, edition.scheduleTable)) {
        printError(
            QStringLiteral("cs42-admin: cannot write the schedule %1: %2; the schedule was not changed\n")
                .arg(paths.scheduleDbPath(), error));
        return 1;
    }
    printOut(
        QStringLiteral("Installed %1 schedule rows (incomes %2 to %3) into table %4 of %5\n")
            .arg(rows->size())
            .arg(rows->first().income, rows->last().income, edition.scheduleTable, paths.scheduleDbPath()));
    return 0;
}

int exportSchedule(const DataPaths& paths, const FormEdition& edition)
{
    QString error;
    const auto rows = ScheduleCsv::readRows(paths.scheduleDbPath(), &error, edition.scheduleTable);
    if (!rows) {
        printError(QStringLiteral("cs42-admin: cannot read the schedule %1: %2\n")
                       .arg(paths.scheduleDbPath(), error));
        return 1;
    }
    printOut(ScheduleCsv::write(*rows));
    return 0;
}
} // namespace

int runScheduleCommand(const QStringList& args, const DataPaths& paths)
{
    // The 2009 edition's table unless --edition names another.
    QStringList rest;
    const FormEdition* edition = &FormEditions::cs42Rev0109();
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--edition")) {
            if (!readEditionOption(args, &i, &edition))
                return 2;
        } else {
            rest << args[i];
        }
    }
    if (rest.size() == 2 && rest[0] == QLatin1String("import"))
        return importSchedule(rest[1], paths, *edition);
    if (rest.size() == 1 && rest[0] == QLatin1String("export"))
        return exportSchedule(paths, *edition);
    printError(QStringLiteral("Usage: cs42-admin schedule import [--edition 2009|2022|2023S] FILE.csv\n"
                              "       cs42-admin schedule export [--edition 2009|2022|2023S]\n"));
    return 2;
}

} // namespace cs42::admin
