// Another workstation of the office, as a process of its own: it starts up in its own working
// directory on the shared files location (a folder or a server URI) and saves one entry of a case
// as the worksheet does (the case read, the changed column stored only while it still holds what
// was read, a history row), or deletes the case as the case library does. CS42_WORKSTATION names
// the workstation in the history.
//
//   workstation WORKDIR FILES_LOCATION CASEID set COLUMN VALUE
//   workstation WORKDIR FILES_LOCATION CASEID delete
//
// Prints "saved", "deleted" or what failed. Exit code 0 when it did what it was asked.
#include "core/session/WorksheetSession.h"
#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool set = args.size() == 7 && args[4] == QLatin1String("set");
    const bool remove = args.size() == 5 && args[4] == QLatin1String("delete");
    if (!set && !remove) {
        std::fputs("usage: workstation WORKDIR FILES_LOCATION CASEID (set COLUMN VALUE | delete)\n", stderr);
        return 100;
    }
    const cs42::DataPaths paths = cs42::DataStore::startUp(args[1], nullptr, args[2]);
    QString caseId = args[3];
    if (remove) {
        const cs42::CaseStoreStatus status = cs42::CaseStore(paths.casesDbPath()).deleteCase(caseId);
        std::puts(status == cs42::CaseStoreStatus::Ok ? "deleted" : "not deleted");
        return status == cs42::CaseStoreStatus::Ok ? 0 : 1;
    }
    cs42::WorksheetSession sheet(paths, caseId, cs42::FormEditions::defaultEdition());
    cs42::CaseStoreStatus status = sheet.recalculate();
    if (status == cs42::CaseStoreStatus::Ok)
        status = sheet.apply({{args[5], args[6]}});
    if (status != cs42::CaseStoreStatus::Ok) {
        std::printf("not saved: %s\n", qPrintable(sheet.store().messageFor(status).text));
        return 1;
    }
    std::puts("saved");
    return 0;
}
