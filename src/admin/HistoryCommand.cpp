#include "admin/AdminCommands.h"
#include "core/names/NameStore.h"
#include "core/store/ChangeHistory.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cs42::admin {

namespace {
int usage()
{
    printError(QStringLiteral("Usage: cs42-admin history [--case CASEID | --name KEY | --names] [--json]\n"));
    return 2;
}
} // namespace

int runHistoryCommand(const QStringList& args, const DataPaths& paths)
{
    QString key;
    bool names = false;
    bool keyGiven = false;
    bool json = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--json")) {
            json = true;
        } else if ((arg == QLatin1String("--case") || arg == QLatin1String("--name")) && !keyGiven &&
                   !names && i + 1 < args.size() && !args[i + 1].isEmpty()) {
            names = arg == QLatin1String("--name");
            keyGiven = true;
            key = args[++i];
        } else if (arg == QLatin1String("--names") && !keyGiven && !names) {
            names = true;
        } else {
            return usage();
        }
    }
    QList<CaseChange> changes;
    if (names) {
        QString error;
        const std::optional<QList<CaseChange>> rows = NameStore(paths.namesDbPath()).history(key, &error);
        if (!rows) {
            printError(QStringLiteral("cs42-admin: the names database %1 cannot be read: %2\n")
                           .arg(shownLocation(paths.namesDbPath()), error));
            return 1;
        }
        changes = *rows;
    } else {
        const CaseStore store(paths.casesDbPath());
        CaseStoreStatus status = CaseStoreStatus::Ok;
        changes = store.history(key, &status);
        if (status != CaseStoreStatus::Ok) {
            printStoreFailure(store, status);
            return 1;
        }
    }
    const QString keyName = names ? QStringLiteral("keynumber") : QStringLiteral("caseid");
    if (json) {
        QJsonArray rows;
        for (const CaseChange& change : changes)
            rows.append(QJsonObject{{keyName, change.caseId},
                                    {QStringLiteral("action"), ChangeHistory::actionText(change.action)},
                                    {QStringLiteral("column"), change.column},
                                    {QStringLiteral("old"), change.oldValue},
                                    {QStringLiteral("new"), change.newValue},
                                    {QStringLiteral("user"), change.user},
                                    {QStringLiteral("host"), change.host},
                                    {QStringLiteral("time"), change.time}});
        printOut(QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Indented)));
        return 0;
    }
    // Newest first, one change a line, tab-separated so that a script can cut it; a case or name
    // added or deleted gives the word in place of the column.
    for (const CaseChange& change : changes)
        printOut(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6 -> %7\n")
                     .arg(change.time,
                          change.user,
                          change.host,
                          change.caseId,
                          change.action == ChangeAction::Changed ? change.column
                                                                 : ChangeHistory::actionText(change.action),
                          change.oldValue,
                          change.newValue));
    return 0;
}

} // namespace cs42::admin
