// The cases database under load, on a database file and on a PostgreSQL server:
//
//  - StoreSave: how long one save of a case field takes while 1, 8 or 32 workstations save at
//    once, each a separate process (store_save_writer). Each writer saves its own case, or all of
//    them save one case, each its own column. Each row runs one way: "plain" is
//    CaseStore::saveCaseField (one UPDATE); "checked" is CaseStore::saveCaseChanges, as the
//    worksheet saves (a transaction: read the column, update it only if it still holds what the
//    writer stored last, add a history row), so plain and checked side by side give the cost of
//    the conflict check and the history. Counters: the median and 99th percentile of every save's latency
//    (p50_us, p99_us), the slowest (max_us), the saves made (saves), failed (failed) and saves_per_s over the
//    round; the time is that of the whole round.
//  - CaseLibraryOpen: what the case library does each time it builds its list (CaseStore::open,
//    repairNulls, listCases) with 10,000 cases in the database; open_ms, repair_ms and list_ms
//    split it.
//
// Both run on one cases database per engine holding 10,000 filled cases. Run on demand, see
// benchmarks/README.md:
//
//   build-release/benchmarks/store_save_benchmark
//   CS42_BENCH_PG_URI=postgresql://user@host:port/db PGPASSFILE=...
//   build-release/benchmarks/store_save_benchmark
//
// Without CS42_BENCH_PG_URI the server rows are left out. With it, the benchmark makes a scratch
// database of its own on that server (the role needs CREATEDB) and drops it at the end: the
// database the address names is not touched. CS42_BENCH_SAVES sets the saves per writer (200).

#include "BenchmarkData.h"
#include "ScratchDatabase.h"
#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"
#include "core/store/Schema.h"
#include "core/store/ServerLocation.h"
#include "core/store/SqlConnection.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {
using namespace cs42;
using Clock = std::chrono::steady_clock;

constexpr const char* ServerVariable = "CS42_BENCH_PG_URI";
constexpr const char* SavesVariable = "CS42_BENCH_SAVES";
constexpr int DefaultSavesPerWriter = 200;
const QString WriterProgram = QStringLiteral(STORE_SAVE_WRITER);
// A round that has not ended by then is stopped and reported as an error.
constexpr int RoundTimeoutMs = 15 * 60 * 1000;

enum class Engine
{
    File,
    Server
};

enum class Mode
{
    Plain,  // saveCaseField: one UPDATE
    Checked // saveCaseChanges: read, conditional UPDATE and a history row in one transaction
};

const char* modeName(Mode mode)
{
    return mode == Mode::Plain ? "plain" : "checked";
}

enum class Sharing
{
    OwnCase,   // each writer saves a case of its own, all in the same column
    SharedCase // every writer saves the same case, each a column of its own
};

const char* engineName(Engine engine)
{
    return engine == Engine::File ? "sqlite" : "postgresql";
}

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

int savesPerWriter()
{
    bool ok = false;
    const int saves = qEnvironmentVariableIntValue(SavesVariable, &ok);
    return ok && saves > 0 ? saves : DefaultSavesPerWriter;
}

// One engine's cases database with bench::CaseCount filled cases, as an office that has used the
// program for years has it; made on first use and kept for every benchmark of that engine. Its
// Nulls are repaired once, as the first opening of the case library does: each later opening
// finds none.
struct Office
{
    QTemporaryDir dir;
    std::unique_ptr<bench::ScratchDatabase> scratch;
    DataPaths paths;
    QStringList caseIds;

    QString casesDb() const { return paths.casesDbPath(); }
};

std::map<Engine, std::unique_ptr<Office>>& offices()
{
    static std::map<Engine, std::unique_ptr<Office>> instances;
    return instances;
}

Office& office(Engine engine)
{
    std::unique_ptr<Office>& slot = offices()[engine];
    if (slot)
        return *slot;
    auto made = std::make_unique<Office>();
    if (!made->dir.isValid())
        qFatal("cannot make a temporary folder: %s", qPrintable(made->dir.errorString()));
    made->paths = DataStore::startUp(made->dir.path());
    if (engine == Engine::Server) {
        made->scratch = std::make_unique<bench::ScratchDatabase>(qEnvironmentVariable(ServerVariable));
        made->paths.filesLocation = made->scratch->uri();
        QString problem;
        if (!DataStore::setDataPaths(made->paths, &problem))
            qFatal("cannot make the cases table on %s: %s", qPrintable(made->casesDb()), qPrintable(problem));
    }
    bench::fillWorkingDirectory(made->paths, QStringLiteral("LB"));
    const CaseStore store(made->casesDb());
    store.repairNulls();
    CaseStoreStatus status = CaseStoreStatus::Ok;
    const QList<CaseListItem> cases = store.listCases(&status);
    if (status != CaseStoreStatus::Ok || cases.size() != bench::CaseCount)
        qFatal("the %s cases database holds %d cases, not %d: %s",
               engineName(engine),
               int(cases.size()),
               bench::CaseCount,
               qPrintable(store.problem()));
    for (const CaseListItem& item : cases)
        made->caseIds << item.caseId;
    slot = std::move(made);
    return *slot;
}

// The worksheet's amounts and choices from `pinc` on: a column of its own for each writer of a
// shared case.
const QStringList& worksheetColumns()
{
    static const QStringList columns = [] {
        QStringList names;
        for (const ColumnDef& column : Schema::casesTable().additions) {
            if (!names.isEmpty() || column.name == QLatin1String("pinc"))
                names << column.name;
        }
        return names;
    }();
    return columns;
}

struct Job
{
    QString caseId;
    QString column;
};

std::vector<Job> jobsFor(const Office& office, Sharing sharing, int writers)
{
    std::vector<Job> jobs;
    const qsizetype cases = office.caseIds.size();
    for (int w = 0; w < writers; ++w) {
        if (sharing == Sharing::OwnCase) // spread over the table
            jobs.push_back({office.caseIds[(2 * w + 1) * cases / (2 * writers)], QStringLiteral("pinc")});
        else
            jobs.push_back({office.caseIds[cases / 2], worksheetColumns()[w]});
    }
    return jobs;
}

struct Round
{
    std::vector<double> latenciesUs;
    int failed = 0;
    double seconds = 0;
    QString problem; // not empty when the round could not be run
};

// Starts one writer per job, waits until every one is ready, starts them together and collects
// the latency of every save.
Round runWriters(const QString& casesDb, const std::vector<Job>& jobs, int saves, Mode mode)
{
    Round round;
    std::vector<std::unique_ptr<QProcess>> writers;
    auto stopAll = [&writers] {
        for (auto& writer : writers) {
            writer->kill();
            writer->waitForFinished(10000);
        }
    };
    auto failure = [&](QProcess& writer, const QString& what) {
        round.problem = QStringLiteral("%1: %2").arg(
            what, QString::fromLocal8Bit(writer.readAllStandardError()).trimmed());
        stopAll();
        return round;
    };
    for (const Job& job : jobs) {
        writers.push_back(std::make_unique<QProcess>());
        writers.back()->start(
            WriterProgram,
            {casesDb, job.caseId, job.column, QString::number(saves), QString::fromLatin1(modeName(mode))});
    }
    for (auto& writer : writers) {
        if (!writer->waitForStarted(30000))
            return failure(*writer, QStringLiteral("cannot start %1").arg(WriterProgram));
        while (!writer->canReadLine()) {
            if (!writer->waitForReadyRead(60000))
                return failure(*writer, QStringLiteral("a writer did not get ready"));
        }
        if (writer->readLine() != "ready\n")
            return failure(*writer, QStringLiteral("a writer did not get ready"));
    }

    const auto start = Clock::now();
    for (auto& writer : writers) {
        writer->write("go\n");
        writer->waitForBytesWritten(10000);
    }
    // Every writer's pipes are served in turn, so that none blocks on a full one.
    const QDeadlineTimer deadline(RoundTimeoutMs);
    for (bool running = true; running;) {
        running = false;
        for (auto& writer : writers) {
            if (writer->state() != QProcess::NotRunning) {
                running = true;
                writer->waitForFinished(5);
            }
        }
        if (running && deadline.hasExpired()) {
            round.problem = QStringLiteral("the writers did not finish in %1 s").arg(RoundTimeoutMs / 1000);
            stopAll();
            return round;
        }
    }
    round.seconds = seconds(Clock::now() - start);

    for (auto& writer : writers) {
        const QByteArray errors = writer->readAllStandardError();
        if (writer->exitStatus() != QProcess::NormalExit || writer->exitCode() > 100) {
            round.problem = QStringLiteral("a writer ended abnormally (%1): %2")
                                .arg(writer->exitCode())
                                .arg(QString::fromLocal8Bit(errors).trimmed());
            return round;
        }
        round.failed += writer->exitCode();
        if (writer->exitCode() > 0)
            std::fputs(errors.constData(), stderr);
        for (const QByteArray& line : writer->readAllStandardOutput().split('\n')) {
            if (!line.isEmpty())
                round.latenciesUs.push_back(line.toDouble());
        }
    }
    return round;
}

// The value below which a fraction `q` of the sorted values lies (nearest rank).
double percentile(const std::vector<double>& sorted, double q)
{
    const auto rank = static_cast<size_t>(std::ceil(q * double(sorted.size())));
    return sorted[std::max<size_t>(rank, 1) - 1];
}

void BM_StoreSave(benchmark::State& state, Engine engine, Sharing sharing, int writers, Mode mode)
{
    const Office& data = office(engine);
    const std::vector<Job> jobs = jobsFor(data, sharing, writers);
    const int saves = savesPerWriter();
    std::vector<double> latencies;
    int failed = 0;
    double totalSeconds = 0;
    for (auto _ : state) {
        const Round round = runWriters(data.casesDb(), jobs, saves, mode);
        if (!round.problem.isEmpty()) {
            state.SkipWithError(qPrintable(round.problem));
            break;
        }
        state.SetIterationTime(round.seconds);
        latencies.insert(latencies.end(), round.latenciesUs.begin(), round.latenciesUs.end());
        failed += round.failed;
        totalSeconds += round.seconds;
    }
    if (latencies.empty())
        return;
    std::sort(latencies.begin(), latencies.end());
    state.counters["p50_us"] = percentile(latencies, 0.50);
    state.counters["p99_us"] = percentile(latencies, 0.99);
    state.counters["max_us"] = latencies.back();
    state.counters["saves"] = double(latencies.size());
    state.counters["failed"] = failed;
    state.counters["saves_per_s"] = double(latencies.size()) / totalSeconds;
}

void BM_CaseLibraryOpen(benchmark::State& state, Engine engine)
{
    const CaseStore store(office(engine).casesDb());
    double openSeconds = 0;
    double repairSeconds = 0;
    double listSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const CaseStoreStatus status = store.open();
        const auto opened = Clock::now();
        store.repairNulls();
        const auto repaired = Clock::now();
        const QList<CaseListItem> cases = store.listCases();
        const auto listed = Clock::now();
        benchmark::DoNotOptimize(cases.constData());
        if (status != CaseStoreStatus::Ok || cases.size() != bench::CaseCount) {
            state.SkipWithError(qPrintable(QStringLiteral("the library listed %1 cases, not %2: %3")
                                               .arg(cases.size())
                                               .arg(bench::CaseCount)
                                               .arg(store.problem())));
            break;
        }
        openSeconds += seconds(opened - start);
        repairSeconds += seconds(repaired - opened);
        listSeconds += seconds(listed - repaired);
    }
    using benchmark::Counter;
    state.counters["open_ms"] = Counter(openSeconds * 1000, Counter::kAvgIterations);
    state.counters["repair_ms"] = Counter(repairSeconds * 1000, Counter::kAvgIterations);
    state.counters["list_ms"] = Counter(listSeconds * 1000, Counter::kAvgIterations);
}

void registerBenchmarks()
{
    std::vector<Engine> engines{Engine::File};
    if (qEnvironmentVariableIsEmpty(ServerVariable))
        std::fprintf(stderr,
                     "%s is not set: the postgresql rows are skipped. Set it to a server address "
                     "(postgresql://user@host:port/database, password in PGPASSFILE) to measure them.\n",
                     ServerVariable);
    else
        engines.push_back(Engine::Server);
    if (worksheetColumns().size() < 32)
        qFatal("the cases table has %d worksheet columns, fewer than the 32 writers of a shared case",
               int(worksheetColumns().size()));

    for (const Engine engine : engines) {
        const QString prefix = QString::fromLatin1(engineName(engine));
        benchmark::RegisterBenchmark(
            qPrintable(QStringLiteral("CaseLibraryOpen/%1").arg(prefix)), BM_CaseLibraryOpen, engine)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        for (const Sharing sharing : {Sharing::OwnCase, Sharing::SharedCase}) {
            for (const int writers : {1, 8, 32}) {
                if (sharing == Sharing::SharedCase && writers == 1)
                    continue; // one writer: the same as a case of its own
                // Plain and checked one after the other, so that both see the same machine.
                for (const Mode mode : {Mode::Plain, Mode::Checked}) {
                    const QString name = QStringLiteral("StoreSave/%1/%2/%3/writers:%4")
                                             .arg(prefix,
                                                  sharing == Sharing::OwnCase ? QStringLiteral("own_case")
                                                                              : QStringLiteral("shared_case"),
                                                  QString::fromLatin1(modeName(mode)))
                                             .arg(writers);
                    benchmark::RegisterBenchmark(
                        qPrintable(name), BM_StoreSave, engine, sharing, writers, mode)
                        ->Iterations(1)
                        ->UseManualTime()
                        ->Unit(benchmark::kMillisecond);
                }
            }
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    registerBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    offices().clear(); // drops the server's scratch database
    return 0;
}
