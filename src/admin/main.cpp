#include "admin/AdminCommands.h"
#include "core/startup/DataStore.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {
const char* const Usage = "Usage: cs42-admin [--location FOLDER|URI] COMMAND [OPTIONS]\n"
                          "Run in the working directory of the program (its VTRForms folder).\n"
                          "--location works on the cases and names in FOLDER or on the server URI\n"
                          "(postgresql://user@host:5432/database) in place of the stored files location.\n"
                          "\n"
                          "Commands:\n"
                          "  worksheet [--case CASEID] [--today YYYY-MM-DD] [--json]\n"
                          "      Print every line of a case's worksheet and its written explanation.\n"
                          "  schedule import [--edition 2009|2022|2023S] FILE.csv\n"
                          "      Replace a form's schedule with a CSV file (income,child1,...,child6),\n"
                          "      keeping the one it replaces.\n"
                          "  schedule import --undo [--edition 2009|2022|2023S]\n"
                          "      Put back the schedule the last import replaced.\n"
                          "  schedule export [--edition 2009|2022|2023S]\n"
                          "      Print the installed schedule as such a CSV file.\n"
                          "  schedule status\n"
                          "      Say where each installed schedule comes from.\n"
                          "  produce [--case CASEID] [--out PATH]\n"
                          "      Produce the filled court form of a case and print its path.\n"
                          "  history [--case CASEID | --name KEY | --names] [--json]\n"
                          "      Print every change saved to the cases (or to one), or to the names\n"
                          "      directory (or to one name), newest first, with the user, the workstation\n"
                          "      and the time; cases and names added or deleted are listed too.\n"
                          "  location [FOLDER|URI]\n"
                          "      Print the files location of the cases and names, or change it.\n"
                          "  migrate --from FOLDER|URI --to FOLDER|URI [--replace]\n"
                          "      Copy every case and name from one data folder or server to another.\n";
} // namespace

namespace cs42::admin {

void printOut(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stdout);
}

void printError(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stderr);
}

} // namespace cs42::admin

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        std::fputs(Usage, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    QString location;
    if (const qsizetype at = args.indexOf(QStringLiteral("--location")); at >= 0 && at + 1 < args.size()) {
        location = args[at + 1];
        args.remove(at, 2);
    }
    if (args.isEmpty()) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("migrate"))
        return cs42::admin::runMigrateCommand(args);
    cs42::StartUpReport report;
    const cs42::DataPaths paths = cs42::DataStore::startUp(QDir::currentPath(), &report, location);
    if (!report.settingsProblem.isEmpty()) {
        // Without the files location the cases may be anywhere; the program (cs42) asks the user
        // what to do, this tool does nothing.
        cs42::admin::printError(
            QStringLiteral("cs42-admin: the settings file %1 cannot be read (%2). It holds the folder of the "
                           "cases and names, so nothing was done. Start cs42 to replace it, or restore it.\n")
                .arg(QDir::toNativeSeparators(paths.settingsDbPath()), report.settingsProblem));
        return 1;
    }
    // A workstation whose server is gone for good is pointed elsewhere here.
    if (command == QLatin1String("location"))
        return cs42::admin::runLocationCommand(args, paths);
    const bool needsCases = command == QLatin1String("worksheet") || command == QLatin1String("produce") ||
                            command == QLatin1String("history");
    if (needsCases && !report.serverProblem.isEmpty()) {
        cs42::admin::printError(QStringLiteral("cs42-admin: the cases on %1 cannot be used: %2\n")
                                    .arg(paths.casesDbPath(), report.serverProblem));
        return 1;
    }
    if (needsCases && report.casesBusy) {
        cs42::admin::printStoreFailure(cs42::CaseStore(paths.casesDbPath()), cs42::CaseStoreStatus::Busy);
        return 1;
    }
    if (command == QLatin1String("worksheet"))
        return cs42::admin::runWorksheetCommand(args, paths);
    if (command == QLatin1String("schedule"))
        return cs42::admin::runScheduleCommand(args, paths);
    if (command == QLatin1String("produce"))
        return cs42::admin::runProduceCommand(args, paths);
    if (command == QLatin1String("history"))
        return cs42::admin::runHistoryCommand(args, paths);
    cs42::admin::printError(QStringLiteral("cs42-admin: unknown command '%1'\n\n").arg(command));
    std::fputs(Usage, stderr);
    return 2;
}
