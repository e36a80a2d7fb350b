// One click on the worksheet window to recomputed captions, measured in the window itself: a click
// on the custody toggle reads the case, stores the new custody, recomputes the whole worksheet
// (cases file of 10,000 cases, full schedule) and sets every caption. A second run also repaints
// the window, as the screen would.
// Run on demand: QT_QPA_PLATFORM=offscreen build-*/benchmarks/worksheet_click_benchmark
#include "core/store/CaseStore.h"
#include "core/store/DataStore.h"
#include "core/store/SqlConnection.h"
#include "core/worksheet/ScheduleCsv.h"
#include "ui/app/Interaction.h"
#include "ui/app/Session.h"
#include "ui/app/WindowHost.h"
#include "ui/worksheet/FormCS42.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int CaseCount = 10000;

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

    bool openDocument(const QString&) override { return false; }

    bool copyText(const QString&) override { return false; }

    void endProgram(int) override {}
};

class StillHost : public cs42::WindowHost
{
public:
    void showSplash() override {}

    void showCaseLibrary() override {}

    void showWorksheet() override {}

    void showNamesAdmin() override {}

    void showLocation() override {}

    void closeWindows() override {}

    void setMenuState(cs42::MenuState) override {}

    void setBackgroundColorIndex(int) override {}
};

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

// The schedule, the form template when the build made one, and 10,000 filled cases; returns the id
// of the last case, the farthest from the start of the table.
QString prepare(const cs42::DataPaths& paths)
{
    cs42::ScheduleCsv::replaceRows(paths.scheduleDbPath(), scheduleRows(), nullptr);
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/../forms/QUON42.PDF"),
                paths.templatePath());
    cs42::SqlConnection connection(paths.casesDbPath());
    connection.database().transaction();
    QString lastId;
    {
        QSqlQuery insert(connection.database());
        insert.prepare(QStringLiteral("INSERT INTO Cases (casedesc, caseid, pinc, dinc, ppre, child1name, "
                                      "child2name, child1dob, child2dob, childcare, healthins, payshealth, "
                                      "whosecustody, name1name, name2name, courtfile, county) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < CaseCount; ++i) {
            lastId = QStringLiteral("WS%1").arg(i, 6, 10, QLatin1Char('0'));
            const QVariantList values{QStringLiteral("Case %1").arg(i),
                                      lastId,
                                      QString::number(2000 + i % 4000),
                                      QString::number(1500 + i % 3000),
                                      QStringLiteral("100"),
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

struct Bench
{
    QTemporaryDir dir;
    SilentInteraction interaction;
    StillHost host;
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
