#include "admin/AdminCommands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cs42::admin {

int runHistoryCommand(const QStringList& args, const DataPaths& paths)
{
    QString caseId;
    bool json = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--json")) {
            json = true;
        } else if (args[i] == QLatin1String("--case") && i + 1 < args.size() && !args[i + 1].isEmpty()) {
            caseId = args[++i];
        } else {
            printError(QStringLiteral("Usage: cs42-admin history [--case CASEID] [--json]\n"));
            return 2;
        }
    }
    const CaseStore store(paths.casesDbPath());
    CaseStoreStatus status = CaseStoreStatus::Ok;
    const QList<CaseChange> changes = store.history(caseId, &status);
    if (status != CaseStoreStatus::Ok) {
        printStoreFailure(store, status);
        return 1;
    }
    if (json) {
        QJsonArray rows;
        for (const CaseChange& change : changes)
            rows.append(QJsonObject{{QStringLiteral("caseid"), change.caseId},
                                    {QStringLiteral("column"), change.column},
                                    {QStringLiteral("old"), change.oldValue},
                                    {QStringLiteral("new"), change.newValue},
                                    {QStringLiteral("user"), change.user},
                                    {QStringLiteral("host"), change.host},
                                    {QStringLiteral("time"), change.time}});
        printOut(QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Indented)));
        return 0;
    }
    // Newest first, one change a line, tab-separated so that a script can cut it.
    for (const CaseChange& change : changes)
        printOut(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6 -> %7\n")
                     .arg(change.time,
                          change.user,
                          change.host,
                          change.caseId,
                          change.column,
                          change.oldValue,
                          change.newValue));
    return 0;
}

} // namespace cs42::admin
