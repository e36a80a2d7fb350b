#include "admin/AdminCommands.h"
#include "core/store/Migration.h"

namespace cs42::admin {

namespace {
int usage()
{
    printError(QStringLiteral("Usage: cs42-admin migrate --from FOLDER|URI --to FOLDER|URI [--replace]\n"));
    return 2;
}
} // namespace

int runMigrateCommand(const QStringList& args)
{
    QString from;
    QString to;
    bool replace = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if ((arg == QLatin1String("--from") || arg == QLatin1String("--to")) && i + 1 < args.size())
            (arg == QLatin1String("--from") ? from : to) = args[++i];
        else if (arg == QLatin1String("--replace"))
            replace = true;
        else
            return usage();
    }
    if (from.isEmpty() || to.isEmpty())
        return usage();
    const Migration::Outcome outcome = Migration::migrate(from, to, replace);
    if (!outcome.copied) {
        printError(QStringLiteral("cs42-admin: migrate: %1\n").arg(outcome.error));
        return 1;
    }
    printOut(QStringLiteral("Copied %1 cases and %2 names from %3 to %4.\n")
                 .arg(outcome.cases)
                 .arg(outcome.names)
                 .arg(from, to));
    if (outcome.changes > 0)
        printOut(QStringLiteral("Their history came along: %1 changes.\n").arg(outcome.changes));
    for (const QString& note : outcome.notes)
        printError(QStringLiteral("cs42-admin: migrate: %1\n").arg(note));
    return 0;
}

} // namespace cs42::admin
