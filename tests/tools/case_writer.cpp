// Saves a run of values into a cases database (a file or a server URI), one SaveCaseField-style
// update per save, so that tests can run several writers as separate processes or kill one in the
// middle. COLUMN may list several columns (pinc,dinc,poc): each save then writes all of them.
//
//   case_writer CASES_DB COLUMN COUNT CASEID        writes COLUMN of CASEID = 1..COUNT
//   case_writer CASES_DB COLUMN COUNT --each PREFIX writes COLUMN of case PREFIX<i> = i, i = 1..COUNT
//
// After each save that returned, prints "saved <i>" and flushes. Exit code: number of failed saves.
#include "core/store/CaseStore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5 || (args[4] == QLatin1String("--each") && args.size() < 6)) {
        std::fputs("usage: case_writer CASES_DB COLUMN COUNT (CASEID | --each PREFIX)\n", stderr);
        return 100;
    }
    const cs42::CaseStore store(args[1]);
    const QStringList columns = args[2].split(QLatin1Char(','));
    const int count = args[3].toInt();
    const bool each = args[4] == QLatin1String("--each");
    int failures = 0;
    for (int i = 1; i <= count; ++i) {
        const QString caseId = each ? args[5] + QString::number(i) : args[4];
        cs42::ColumnValues values;
        for (const QString& column : columns)
            values.append({column, QString::number(i)});
        if (store.saveCaseFields(caseId, values) == cs42::CaseStoreStatus::Ok) {
            std::printf("saved %d\n", i);
            std::fflush(stdout);
        } else {
            ++failures;
        }
    }
    return failures;
}
