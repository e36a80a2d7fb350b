#include "admin/AdminCommands.h"
#include "core/startup/DataStore.h"
#include "core/store/ServerLocation.h"

#include <QDir>
#include <QFileInfo>

namespace cs42::admin {

int runLocationCommand(const QStringList& args, DataPaths paths)
{
    if (args.isEmpty()) {
        printOut(paths.filesLocation + QLatin1Char('\n'));
        return 0;
    }
    if (args.size() != 1) {
        printError(QStringLiteral("Usage: cs42-admin location [FOLDER|URI]\n"));
        return 2;
    }
    const QString place = args.first();
    if (ServerLocation::isServerUri(place)) {
        const std::optional<ServerLocation> server = ServerLocation::fromUri(place);
        if (!server) {
            printError(QStringLiteral("cs42-admin: '%1' is not a server address "
                                      "(postgresql://user@host:port/database)\n")
                           .arg(place));
            return 1;
        }
        paths.filesLocation = server->toUri();
    } else {
        if (!QFileInfo(place).isDir()) {
            printError(QStringLiteral("cs42-admin: the folder %1 does not exist\n").arg(place));
            return 1;
        }
        paths.filesLocation = QDir::toNativeSeparators(QFileInfo(place).absoluteFilePath());
    }
    // The workstation is pointed at the new place only once its databases are there.
    QString problem;
    if (!DataStore::setDataPaths(paths, &problem) && paths.onServer()) {
        printError(QStringLiteral("cs42-admin: %1 cannot be used, so the location was not changed: %2\n")
                       .arg(paths.filesLocation, problem));
        return 1;
    }
    if (!DataStore::saveFilesLocation(paths)) {
        printError(QStringLiteral("cs42-admin: the settings file %1 could not be written\n")
                       .arg(QDir::toNativeSeparators(paths.settingsDbPath())));
        return 1;
    }
    printOut(QStringLiteral("The cases and names are now taken from %1.\n").arg(paths.filesLocation));
    return 0;
}

} // namespace cs42::admin
