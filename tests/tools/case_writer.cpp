// Saves a run of values into a cases database (a file or a server URI), one SaveCaseField-style
// update per save, so that tests can run several writers as separate processes or kill one in the
// middle. COLUMN may list several columns (pinc,dinc,poc): each save then writes all of them.
//
//   case_writer CASES_DB COLUMN COUNT CASEID        writes COLUMN of CASEID = 1..COUNT
//   case_writer CASES_DB COLUMN COUNT --each PREFIX writes COLUMN of case PREFIX<i> = i, i = 1..COUNT
//   either followed by --checked
//
// With --checked last, each save goes through saveCaseChanges as the worksheet saves (conflict
// check and history row), expecting the value the writer stored before in that case (the empty
// text first).
// After each save that returned, prints "saved <i>" and flushes. Exit code: number of failed saves.
#include "core/store/CaseStore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5 || (args[4] == QLatin1String("--each") && args.size() < 6)) {
        std::fputs("usage: case_writer CASES_DB COLUMN COUNT (CASEID | --each PREFIX) [--checked]\n", stderr);
        return 100;
    }
    const bool checked = args.last() == QLatin1String("--checked");
    const cs42::CaseStore store(args[1]);
    const QStringList columns = args[2].split(QLatin1Char(','));
    const int count = args[3].toInt();
    const bool each = args[4] == QLatin1String("--each");
    int failures = 0;
    for (int i = 1; i <= count; ++i) {
        const QString caseId = each ? args[5] + QString::number(i) : args[4];
        cs42::ColumnValues values;
        QList<cs42::ColumnChange> changes;
        for (const QString& column : columns) {
            values.append({column, QString::number(i)});
            changes.append({column, !each && i > 1 ? QString::number(i - 1) : QString(), QString::number(i)});
        }
        const cs42::CaseStoreStatus status =
            checked ? store.saveCaseChanges(caseId, changes) : store.saveCaseFields(caseId, values);
        if (status == cs42::CaseStoreStatus::Ok) {
            std::printf("saved %d\n", i);
            std::fflush(stdout);
        } else {
            std::fprintf(stderr, "save %d failed: %s\n", i, qPrintable(store.problem()));
            ++failures;
        }
    }
    return failures;
}
