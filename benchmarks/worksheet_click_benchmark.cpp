// One click on the worksheet window to recomputed captions, measured in the window itself: a click
// on the custody toggle reads the case, stores the new custody, recomputes the whole worksheet
// (cases file of 10,000 cases, full schedule) and sets every caption. A second run also repaints
// the window, as the screen would.
// Run on demand: QT_QPA_PLATFORM=offscreen build-*/benchmarks/worksheet_click_benchmark
#include "BenchmarkData.h"
#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"
#include "support/RecordingHost.h"
#include "ui/common/Interaction.h"
#include "ui/common/Session.h"
#include "ui/worksheet/FormCS42.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

// Answers nothing: the custody toggle asks no questions.
class SilentInteraction : public cs42::Interaction
{
public:
    void inform(QWidget*, const QString&, const QString& text, Icon) override
    {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(text));
    }

    Answer ask(QWidget*, const QString&, const QString&, Icon) override { return Answer::No; }

    std::optional<QString> inputText(QWidget*, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }

    std::optional<int> chooseItem(QWidget*, const QString&, const QString&, const QStringList&, int) override
    {
        return std::nullopt;
    }

    bool openDocument(const QString&) override { return false; }

    bool showDocument(QWidget*, const QString&, const cs42::PreviewOptions&) override { return false; }

    std::optional<QString>
    saveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }

    std::unique_ptr<QPrinter> choosePrinter(QWidget*, int) override { return nullptr; }

    bool copyText(const QString&) override { return false; }

    void endProgram(int) override {}
};

// The schedule, the form template when the build made one, and 10,000 filled cases; returns the id
// of the last case, the farthest from the start of the table.
QString prepare(const cs42::DataPaths& paths)
{
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/../forms/QUON42.PDF"),
                paths.templatePath());
    return cs42::bench::fillWorkingDirectory(paths, QStringLiteral("WS"));
}

struct Bench
{
    QTemporaryDir dir;
    SilentInteraction interaction;
    cs42::test::RecordingHost host;
    cs42::Session session;
    std::unique_ptr<cs42::FormCS42> form;
    QLabel* custody = nullptr;

    Bench()
    {
        session.interaction = &interaction;
        session.paths = cs42::DataStore::startUp(dir.path());
        session.currentCaseId = prepare(session.paths);
        session.currentCaseName = QStringLiteral("Case");
        form = std::make_unique<cs42::FormCS42>(session, host);
        form->show();
        custody = form->findChild<QLabel*>(QStringLiteral("lblCustody"));
    }

    void click()
    {
        const QPointF at(custody->width() / 2.0, custody->height() / 2.0);
        QMouseEvent press(
            QEvent::MouseButtonPress, at, custody->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, at, custody->mapToGlobal(at), Qt::LeftButton, {}, {});
        QCoreApplication::sendEvent(custody, &press);
        QCoreApplication::sendEvent(custody, &release);
    }
};

Bench& bench()
{
    static Bench instance;
    return instance;
}

void BM_CustodyClickToCaptions(benchmark::State& state)
{
    Bench& b = bench();
    QString last;
    for (auto _ : state) {
        b.click();
        last = b.custody->text();
        benchmark::DoNotOptimize(last);
    }
    if (last != QStringLiteral("PLAINTIFF") && last != QStringLiteral("DEFENDANT"))
        state.SkipWithError("the custody caption was not recomputed");
}

void BM_CustodyClickToRepaintedWindow(benchmark::State& state)
{
    Bench& b = bench();
    for (auto _ : state) {
        b.click();
        b.form->repaint();
    }
}

} // namespace

BENCHMARK(BM_CustodyClickToCaptions)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_CustodyClickToRepaintedWindow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The parts of one click, to see where its time goes: the custody column stored alone (one SQLite
// commit, whose wait for the disk dominates on a busy machine), the case read alone, and the
// recomputation with its captions alone.
namespace {
void BM_StoreOneColumn(benchmark::State& state)
{
    Bench& b = bench();
    const cs42::CaseStore store(b.session.paths.casesDbPath());
    bool plaintiff = false;
    for (auto _ : state) {
        plaintiff = !plaintiff;
        store.saveCaseField(b.session.currentCaseId,
                            QStringLiteral("whosecustody"),
                            plaintiff ? QStringLiteral("P") : QStringLiteral("D"));
    }
}

void BM_ReadCurrentCase(benchmark::State& state)
{
    Bench& b = bench();
    const cs42::CaseStore store(b.session.paths.casesDbPath());
    for (auto _ : state)
        benchmark::DoNotOptimize(store.findCurrentCase(b.session.currentCaseId));
}

void BM_RecalculateWorksheetInWindow(benchmark::State& state)
{
    Bench& b = bench();
    for (auto _ : state)
        b.form->RecalculateWorksheet();
}
} // namespace

BENCHMARK(BM_StoreOneColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCurrentCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalculateWorksheetInWindow)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
