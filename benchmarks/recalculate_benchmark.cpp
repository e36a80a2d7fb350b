// One full recomputation of the worksheet as the window does it on every click: open the cases
// file holding 10,000 cases, find the case, read it, open and read the schedule, compute every
// caption, close; for a case on the 2009 form and for one on the 2022 form.
// Run: build-*/benchmarks/recalculate_benchmark (the median is reported).
#include "BenchmarkData.h"
#include "core/startup/DataStore.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Fills a working directory with the schedule and 10,000 cases; returns the id of the last one.
QString prepare(const cs42::DataPaths& paths)
{
    return cs42::bench::fillWorkingDirectory(paths, QStringLiteral("BE"));
}

void BM_RecalculateWorksheet(benchmark::State& state)
{
    QTemporaryDir dir;
    const cs42::DataPaths paths = cs42::DataStore::startUp(dir.path());
    const QString caseId = prepare(paths);
    for (auto _ : state) {
        QString current = caseId;
        auto sheet = cs42::recalculateWorksheet(paths, current);
        if (!sheet || sheet->captions.value(QStringLiteral("lblC4")).isEmpty())
            state.SkipWithError("the worksheet was not computed");
        benchmark::DoNotOptimize(sheet);
    }
}

BENCHMARK(BM_RecalculateWorksheet)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The same on form CS-42 (Rev. 5/2022): the case names its edition, which reads the Schedule2022
// table and computes every cell in cents.
void BM_RecalculateWorksheet2022(benchmark::State& state)
{
    QTemporaryDir dir;
    const cs42::DataPaths paths = cs42::DataStore::startUp(dir.path());
    const QString caseId = cs42::bench::fillWorkingDirectory2022(paths, QStringLiteral("BE"));
    for (auto _ : state) {
        QString current = caseId;
        auto sheet = cs42::recalculateWorksheet(paths, current);
        if (!sheet || sheet->result.editionId != QLatin1String("2022") ||
            sheet->captions.value(QStringLiteral("lblD13")).isEmpty())
            state.SkipWithError("the 2022 worksheet was not computed");
        benchmark::DoNotOptimize(sheet);
    }
}

BENCHMARK(BM_RecalculateWorksheet2022)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The two halves of a recomputation that touch a database, measured apart.
void BM_FindCase(benchmark::State& state)
{
    QTemporaryDir dir;
    const cs42::DataPaths paths = cs42::DataStore::startUp(dir.path());
    const QString caseId = prepare(paths);
    const cs42::CaseStore store(paths.casesDbPath());
    for (auto _ : state) {
        QString current = caseId;
        benchmark::DoNotOptimize(store.findCurrentCase(current));
    }
}

BENCHMARK(BM_FindCase)->Unit(benchmark::kMicrosecond);

void BM_LoadSchedule(benchmark::State& state)
{
    QTemporaryDir dir;
    const cs42::DataPaths paths = cs42::DataStore::startUp(dir.path());
    cs42::ScheduleCsv::replaceRows(paths.scheduleDbPath(), cs42::bench::scheduleRows(), nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(cs42::ScheduleTable::loadFor(paths.scheduleDbPath(), 2));
}

BENCHMARK(BM_LoadSchedule)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv); // Qt Sql needs it before the driver loads
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
