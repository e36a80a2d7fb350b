// Start-up to the case library, and the case library's list rebuild, with 10,000 cases in the
// cases file. Run on demand:  build/benchmarks/startup_benchmark  (targets: start-up under 1 s,
// rebuild under 300 ms).

#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"
#include "core/store/SqlConnection.h"
#include "ui/cases/CaseLibrary.h"
#include "ui/cases/CaseListModel.h"
#include "ui/common/Interaction.h"
#include "ui/common/Session.h"
#include "ui/shell/Background.h"

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int CaseCount = 10000;

// Nothing may ask the user anything here: a prompt means the measurement is wrong.
class SilentInteraction : public cs42::Interaction
{
public:
    void inform(QWidget*, const QString& title, const QString& text, Icon) override { fail(title, text); }

    Answer ask(QWidget*, const QString& title, const QString& text, Icon) override
    {
        fail(title, text);
        return Answer::No;
    }

    std::optional<QString>
    inputText(QWidget*, const QString& title, const QString& prompt, const QString&) override
    {
        fail(title, prompt);
        return std::nullopt;
    }

    std::optional<int>
    chooseItem(QWidget*, const QString& title, const QString& prompt, const QStringList&, int) override
    {
        fail(title, prompt);
        return std::nullopt;
    }

    bool openDocument(const QString&) override { return false; }

    bool showDocument(QWidget*, const QString&, const cs42::PreviewOptions&) override { return false; }

    std::optional<QString> saveFileName(
        QWidget*, const QString& title, const QString&, const QString& suggestedName, const QString&) override
    {
        fail(title, suggestedName);
        return std::nullopt;
    }

    std::unique_ptr<QPrinter> choosePrinter(QWidget*, int) override
    {
        fail(QStringLiteral("Print"), QString());
        return nullptr;
    }

    bool copyText(const QString&) override { return false; }

    void endProgram(int exitCode) override { std::exit(exitCode); }

private:
    static void fail(const QString& title, const QString& text)
    {
        std::fprintf(stderr, "unexpected prompt [%s] %s\n", qPrintable(title), qPrintable(text));
        std::abort();
    }
};

// A working folder whose cases file holds CaseCount cases, written as the library adds them.
QString workingFolder()
{
    static QTemporaryDir dir;
    static const bool filled = [] {
        const cs42::DataPaths paths = cs42::DataStore::startUp(dir.path());
        cs42::SqlConnection connection(paths.casesDbPath());
        connection.database().transaction();
        for (int i = 0; i < CaseCount; ++i) {
            const QString name = QStringLiteral("Case %1 v. Party %2").arg((i * 7919) % CaseCount).arg(i);
            const QString key = name.left(2).toUpper() + QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'));
            connection.exec(
                QStringLiteral("INSERT INTO Cases (caseid, casedesc, caseopen, casefile, obligor, "
                               "payshealth, whosecustody) VALUES (?, ?, '1/2/2024', ?, 'D', 'P', 'P')"),
                {key, name, key});
        }
        connection.database().commit();
        return true;
    }();
    (void)filled;
    return dir.path();
}

void BM_StartUpToCaseLibrary(benchmark::State& state)
{
    const QString folder = workingFolder();
    SilentInteraction interaction;
    for (auto _ : state) {
        cs42::Session session;
        session.interaction = &interaction;
        session.paths = cs42::DataStore::startUp(folder);
        cs42::Background background(session);
        background.showSplash();
        background.show();
        background.showCaseLibrary(); // the click on the splash picture
        QCoreApplication::processEvents();
        auto* library = qobject_cast<cs42::CaseLibrary*>(background.hostedWindow());
        if (!library || library->model().rowCount() != CaseCount)
            state.SkipWithError("the library does not list every case");
        benchmark::DoNotOptimize(library);
        background.closeWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

BENCHMARK(BM_StartUpToCaseLibrary)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_CaseLibraryRebuild(benchmark::State& state)
{
    const QString folder = workingFolder();
    SilentInteraction interaction;
    cs42::Session session;
    session.interaction = &interaction;
    session.paths = cs42::DataStore::startUp(folder);
    cs42::Background background(session);
    background.show();
    background.showCaseLibrary();
    auto* library = qobject_cast<cs42::CaseLibrary*>(background.hostedWindow());
    for (auto _ : state) {
        library->rebuildList();
        benchmark::DoNotOptimize(library->model().rowCount());
    }
}

BENCHMARK(BM_CaseLibraryRebuild)->Unit(benchmark::kMillisecond)->Iterations(20);

// The parts of a rebuild, to see where its time goes.
void BM_RebuildPart(benchmark::State& state)
{
    cs42::DataPaths paths = cs42::DataStore::startUp(workingFolder());
    const cs42::CaseStore store(paths.casesDbPath());
    const QList<cs42::CaseListItem> cases = store.listCases();
    cs42::CaseListModel model;
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0:
            cs42::DataStore::setDataPaths(paths);
            break;
        case 1:
            store.repairNulls();
            break;
        case 2:
            benchmark::DoNotOptimize(store.listCases());
            break;
        case 3:
            model.setCases(cases);
            break;
        }
    }
}

BENCHMARK(BM_RebuildPart)
    ->ArgName("0_ensure_1_repair_2_list_3_sort")
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
