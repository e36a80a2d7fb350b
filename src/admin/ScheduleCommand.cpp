#include "admin/AdminCommands.h"
#include "core/worksheet/ScheduleCsv.h"

namespace cs42::admin {

namespace {
int importSchedule(const QString& csvPath, const DataPaths& paths)
{
    QString error;
    const std::optional<QByteArray> content = ScheduleCsv::readFile(csvPath, &error);
    if (!content) {
        printError(QStringLiteral("cs42-admin: %1; the schedule was not changed\n").arg(error));
        return 1;
    }
    const auto rows = ScheduleCsv::parse(*content, &error);
    if (!rows) {
        printError(QStringLiteral("cs42-admin: %1: %2; the schedule was not changed\n").arg(csvPath, error));
        return 1;
    }
    if (!ScheduleCsv::replaceRows(paths.scheduleDbPath(), *rows, &error)) {
        printError(
            QStringLiteral("cs42-admin: cannot write the schedule %1: %2; the schedule was not changed\n")
                .arg(paths.scheduleDbPath(), error));
        return 1;
    }
    printOut(QStringLiteral("Installed %1 schedule rows (incomes %2 to %3) into %4\n")
                 .arg(rows->size())
                 .arg(rows->first().income, rows->last().income, paths.scheduleDbPath()));
    return 0;
}

int exportSchedule(const DataPaths& paths)
{
    QString error;
    const auto rows = ScheduleCsv::readRows(paths.scheduleDbPath(), &error);
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
    if (args.size() == 2 && args[0] == QLatin1String("import"))
        return importSchedule(args[1], paths);
    if (args.size() == 1 && args[0] == QLatin1String("export"))
        return exportSchedule(paths);
    printError(QStringLiteral("Usage: cs42-admin schedule import FILE.csv\n"
                              "       cs42-admin schedule export\n"));
    return 2;
}

} // namespace cs42::admin
