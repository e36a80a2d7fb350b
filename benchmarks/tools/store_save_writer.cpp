// One workstation saving a field again and again, for store_save_benchmark, which starts several
// of these at once and reads how long each save took.
//
//   store_save_writer CASES_DB CASEID COLUMN COUNT [plain|checked]
//
// CASES_DB is a cases database file or a server URI. The writer first makes one save that is not
// timed (the database driver is loaded then, as it is long before a user's first save), prints
// "ready" and waits for a line on standard input: the start signal, so that all writers begin
// together. It then makes COUNT saves of COLUMN of case CASEID and afterwards prints the latency
// of each save that succeeded, in microseconds, one a line. Each save is
//   plain (the default): CaseStore::saveCaseField, one UPDATE;
//   checked: CaseStore::saveCaseChanges, as the worksheet saves: a transaction that reads the
//     column, writes it only if it still holds the value this writer stored last, and adds a row
//     to the case's history.
// Every save stores a value other than the one before, so that each checked save writes its
// history row. A save that fails (a conflict included) is told on standard error. Exit code: the
// number of failed saves (at most 100), or 101..103 when the writer could not run at all.
#include "core/store/CaseStore.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

const char* statusName(cs42::CaseStoreStatus status)
{
    switch (status) {
    case cs42::CaseStoreStatus::Ok:
        return "Ok";
    case cs42::CaseStoreStatus::OpenFailed:
        return "OpenFailed";
    case cs42::CaseStoreStatus::CaseRemoved:
        return "CaseRemoved";
    case cs42::CaseStoreStatus::Busy:
        return "Busy";
    case cs42::CaseStoreStatus::Damaged:
        return "Damaged";
    case cs42::CaseStoreStatus::SaveFailed:
        return "SaveFailed";
    case cs42::CaseStoreStatus::Unreachable:
        return "Unreachable";
    case cs42::CaseStoreStatus::Conflict:
        return "Conflict";
    }
    return "?";
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool countOk = false;
    const int count = args.size() == 5 || args.size() == 6 ? args[4].toInt(&countOk) : 0;
    const QString mode = args.size() == 6 ? args[5] : QStringLiteral("plain");
    const bool checked = mode == QLatin1String("checked");
    if (!countOk || count < 1 || (!checked && mode != QLatin1String("plain"))) {
        std::fputs("usage: store_save_writer CASES_DB CASEID COLUMN COUNT [plain|checked]\n", stderr);
        return 101;
    }
    const cs42::CaseStore store(args[1]);
    const QString& caseId = args[2];
    const QString& column = args[3];

    // What the column holds once this save is made: a checked save expects it.
    QString stored = QStringLiteral("0.00");
    if (const auto status = store.saveCaseField(caseId, column, stored);
        status != cs42::CaseStoreStatus::Ok) {
        std::fprintf(stderr,
                     "the first save of %s of case %s failed: %s %s\n",
                     qPrintable(column),
                     qPrintable(caseId),
                     statusName(status),
                     qPrintable(store.problem()));
        return 102;
    }
    std::puts("ready");
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin)) {
        std::fputs("no start signal on standard input\n", stderr);
        return 103;
    }

    std::vector<long long> latencies;
    latencies.reserve(size_t(count));
    int failures = 0;
    for (int i = 1; i <= count; ++i) {
        const QString value = QStringLiteral("%1.%2").arg(1000 + i).arg(i % 100, 2, 10, QLatin1Char('0'));
        const auto start = std::chrono::steady_clock::now();
        const cs42::CaseStoreStatus status = checked
                                                 ? store.saveCaseChanges(caseId, {{column, stored, value}})
                                                 : store.saveCaseField(caseId, column, value);
        const auto end = std::chrono::steady_clock::now();
        if (status == cs42::CaseStoreStatus::Ok) {
            latencies.push_back(std::chrono::duration_cast<std::chrono::microseconds>(end - start).count());
            stored = value;
        } else {
            ++failures;
            std::fprintf(stderr,
                         "save %d of %s of case %s failed: %s %s\n",
                         i,
                         qPrintable(column),
                         qPrintable(caseId),
                         statusName(status),
                         qPrintable(store.problem()));
        }
    }
    for (const long long us : latencies)
        std::printf("%lld\n", us);
    std::fflush(stdout);
    return failures < 100 ? failures : 100;
}
