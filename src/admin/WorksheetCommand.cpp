#include "admin/AdminCommands.h"

namespace cs42::admin {

int runWorksheetCommand(const QStringList& args, const DataPaths& paths)
{
    Q_UNUSED(args);
    Q_UNUSED(paths);
    printError(QStringLiteral("cs42-admin: this command is not available yet\n"));
    return 1;
}

} // namespace cs42::admin
