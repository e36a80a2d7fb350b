// How long a change takes to reach another workstation's screen: workstation B saves the
// defendant's income of a case (CaseStore::saveCaseChanges, as B's worksheet does, on a connection
// of its own), and the benchmark measures the time until workstation A's open worksheet window
// (FormCS42, with its change watch) shows B's figure, on a database file and on a server.
//
// On a file A looks every ChangeWatch::CheckIntervalMs; each save is made at a random moment of
// that cycle, so the figures spread over it as an office's saves do. On a server A hears the save's
// notice.
//
// Run on demand:
//   QT_QPA_PLATFORM=offscreen build-release/benchmarks/refresh_benchmark --benchmark_counters_tabular=true
//   CS42_BENCH_PG_URI=postgresql://user@host:port/db PGPASSFILE=... (the server rows too)
#include "BenchmarkData.h"
#include "ScratchDatabase.h"
#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"
#include "core/store/ChangeWatch.h"
#include "support/EventWait.h"
#include "support/RecordingHost.h"
#include "ui/common/Session.h"
#include "ui/shell/QtInteraction.h"
#include "ui/worksheet/FormCS42.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace {
using namespace cs42;

constexpr int Saves = 25;
constexpr int GiveUpMs = 30000;

struct Workstations
{
    QTemporaryDir dir;
    std::unique_ptr<bench::ScratchDatabase> scratch;
    QtInteraction interaction;
    test::RecordingHost host;
    Session session;
    std::unique_ptr<FormCS42> form;
    QLabel* defendantIncome = nullptr;

    explicit Workstations(bool onServer)
    {
        session.interaction = &interaction;
        session.paths = DataStore::startUp(dir.path());
        if (onServer) {
            scratch = std::make_unique<bench::ScratchDatabase>(qEnvironmentVariable("CS42_BENCH_PG_URI"));
            session.paths.filesLocation = scratch->uri();
            QString problem;
            if (!DataStore::setDataPaths(session.paths, &problem))
                qFatal("cannot make the tables on the server: %s", qPrintable(problem));
        }
        session.currentCaseId = bench::fillWorkingDirectory2022(session.paths, QStringLiteral("RF"));
        session.currentCaseName = QStringLiteral("Case");
        form = std::make_unique<FormCS42>(session, host);
        form->show();
        defendantIncome = form->findChild<QLabel*>(QStringLiteral("lblD1"));
    }
};

void refresh(benchmark::State& state, bool onServer)
{
    if (onServer && qEnvironmentVariableIsEmpty("CS42_BENCH_PG_URI")) {
        state.SkipWithError("CS42_BENCH_PG_URI names no server");
        return;
    }
    Workstations office(onServer);
    const CaseStore b(office.session.paths.casesDbPath());
    std::vector<double> latenciesMs;
    QString caseId = office.session.currentCaseId;
    const std::optional<CaseRecord> record = b.findCurrentCase(caseId);
    QString stored = record ? record->value(QStringLiteral("dinc")) : QString();
    int income = 4000;
    for (auto _ : state) {
        // The save falls anywhere in A's cycle of looks.
        QElapsedTimer idle;
        idle.start();
        const qint64 pause = QRandomGenerator::global()->bounded(ChangeWatch::CheckIntervalMs);
        cs42::test::runEventsUntil([&] { return idle.elapsed() >= pause; }, ChangeWatch::CheckIntervalMs);
        const QString before = office.defendantIncome->text();
        const QString value = QString::number(++income);
        QList<ColumnConflict> conflicts;
        if (b.saveCaseChanges(office.session.currentCaseId,
                              {{QStringLiteral("dinc"), stored, value}},
                              &conflicts) != CaseStoreStatus::Ok) {
            state.SkipWithError("B's save failed");
            return;
        }
        stored = value;
        QElapsedTimer arrival;
        arrival.start();
        const bool shown =
            cs42::test::runEventsUntil([&] { return office.defendantIncome->text() != before; }, GiveUpMs);
        const double ms = static_cast<double>(arrival.nsecsElapsed()) / 1e6;
        if (!shown) {
            state.SkipWithError("A's worksheet did not show B's save");
            return;
        }
        state.SetIterationTime(ms / 1000.0);
        latenciesMs.push_back(ms);
    }
    std::sort(latenciesMs.begin(), latenciesMs.end());
    const auto rank = [&](double q) {
        const auto i = static_cast<std::size_t>(std::ceil(q * static_cast<double>(latenciesMs.size()))) - 1;
        return latenciesMs[std::min(i, latenciesMs.size() - 1)];
    };
    state.counters["p50_ms"] = rank(0.50);
    state.counters["p99_ms"] = rank(0.99);
    state.counters["max_ms"] = latenciesMs.back();
}

void BM_RefreshAfterSave_File(benchmark::State& state)
{
    refresh(state, false);
}

void BM_RefreshAfterSave_Server(benchmark::State& state)
{
    refresh(state, true);
}

} // namespace

BENCHMARK(BM_RefreshAfterSave_File)->Iterations(Saves)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshAfterSave_Server)->Iterations(Saves)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
