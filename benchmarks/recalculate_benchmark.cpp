// One full recomputation of the worksheet as the window does it on every click: open the cases
// file holding 10,000 cases, find the case, read it, open and read the schedule, compute every
// caption, close. Run: build-*/benchmarks/recalculate_benchmark (the median is reported).
#include "core/store/DataStore.h"
#include "core/store/SqlConnection.h"
#include "core/worksheet/ScheduleCsv.h"
#include "core/worksheet/WorksheetCalculation.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int CaseCount = 10000;

QList<cs42::ScheduleTextRow> scheduleRows()
{
    QFile file(QStringLiteral(TEST_DATA_DIR "/../../../shared/data/alabama-schedule-2022-05-01.csv"));
    if (file.open(QIODevice::ReadOnly)) {
        if (auto rows = cs42::ScheduleCsv::parse(file.readAll(), nullptr))
            return *rows;
    }
    // Without the installed schedule, a table of the same size ($250 .. $30,000).
    QList<cs42::ScheduleTextRow> rows;
    for (int income = 250; income <= 30000; income += 50) {
        cs42::ScheduleTextRow row;
        row.income = QString::number(income);
        for (int k = 0; k < 6; ++k)
            row.amounts[static_cast<std::size_t>(k)] = QString::number(income * (k + 2) / 40);
        rows.append(row);
    }
    return rows;
}

// Fills a working directory with the schedule and 10,000 cases; returns the id of the last one,
// the farthest from the start of the table.
QString prepare(const cs42::DataPaths& paths)
{
    cs42::ScheduleCsv::replaceRows(paths.scheduleDbPath(), scheduleRows(), nullptr);
    cs42::SqlConnection connection(paths.casesDbPath());
    connection.database().transaction();
    QString lastId;
    {
        QSqlQuery insert(connection.database());
        insert.prepare(QStringLiteral("INSERT INTO Cases (casedesc, caseid, pinc, dinc, ppre, presp, "
                                      "child1name, child2name, child1dob, "
                                      "child2dob, childcare, healthins, payshealth, whosecustody, name1name, "
                                      "name2name, courtfile, county) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < CaseCount; ++i) {
            lastId = QStringLiteral("BE%1").arg(i, 6, 10, QLatin1Char('0'));
            const QVariantList values{QStringLiteral("Case %1").arg(i),
                                      lastId,
                                      QString::number(2000 + i % 4000),
                                      QString::number(1500 + i % 3000),
                                      QStringLiteral("100"),
                                      QString(),
                                      QStringLiteral("Ann"),
                                      QStringLiteral("Bob"),
                                      QStringLiteral("03/07/2012"),
                                      QStringLiteral("12/31/2015"),
                                      QStringLiteral("200"),
                                      QStringLiteral("100"),
                                      QStringLiteral("D"),
                                      QStringLiteral("P"),
                                      QStringLiteral("John Smith"),
                                      QStringLiteral("Jane Smith"),
                                      QStringLiteral("DR-2024-%1").arg(i),
                                      QStringLiteral("Jefferson")};
            for (const QVariant& v : values)
                insert.addBindValue(v);
            insert.exec();
        }
    }
    connection.database().commit();
    return lastId;
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
    cs42::ScheduleCsv::replaceRows(paths.scheduleDbPath(), scheduleRows(), nullptr);
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
