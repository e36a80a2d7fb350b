// How long the names windows take to build and show the list of a directory of 10,000 names.
// Run on demand: QT_QPA_PLATFORM=offscreen build/benchmarks/names_list_benchmark

#include "core/names/NameKey.h"
#include "core/names/NameList.h"
#include "core/names/NameStore.h"
#include "core/startup/DataStore.h"
#include "core/store/SqlConnection.h"
#include "support/RecordingHost.h"
#include "ui/common/Session.h"
#include "ui/names/Names.h"
#include "ui/names/NamesAdmin.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
using namespace cs42;

constexpr int DirectorySize = 10000;

// A data folder whose names directory holds DirectorySize people, made once for all runs.
struct Directory
{
    QTemporaryDir dir;
    Session session;
    QString middleKey;

    Directory()
    {
        session.paths = DataStore::startUp(dir.path());
        NameStore(session.paths.namesDbPath()).openNames(); // the seed
        SqlConnection connection(session.paths.namesDbPath());
        connection.database().transaction();
        const QStringList last = {QStringLiteral("Smith"),
                                  QStringLiteral("Johnson"),
                                  QStringLiteral("Williams"),
                                  QStringLiteral("Brown"),
                                  QStringLiteral("Jones"),
                                  QStringLiteral("Garcia"),
                                  QStringLiteral("Miller"),
                                  QStringLiteral("Davis"),
                                  QStringLiteral("Rodriguez")};
        for (int i = 0; i < DirectorySize; ++i) {
            const QString first = QStringLiteral("Person%1").arg(i);
            const QString sortForm = last.at(i % last.size()) + QLatin1Char(' ') + first;
            const QString key = NameKey::make(sortForm, static_cast<quint32>(i) * 9973u % NameKey::Range);
            if (i == DirectorySize / 2)
                middleKey = key;
            connection.exec(
                QStringLiteral("INSERT INTO NAMES (listname, firmname, keynumber, lastfirstmiddle, "
                               "firstname, lastname, street, city, namestate, zipcode) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {first + QLatin1Char(' ') + last.at(i % last.size()),
                 sortForm,
                 key,
                 sortForm,
                 first,
                 last.at(i % last.size()),
                 QStringLiteral("%1 Main Street").arg(i),
                 QStringLiteral("Anytown"),
                 QStringLiteral("AL"),
                 QStringLiteral("35000")});
        }
        connection.database().commit();
        NameStore(session.paths.namesDbPath()).repairNulls();
    }
};

Directory& directory()
{
    static Directory instance;
    return instance;
}

// The core half: read the rows and make the sorted entries.
void BM_NameListEntries(benchmark::State& state)
{
    const NameStore store(directory().session.paths.namesDbPath());
    for (auto _ : state) {
        const auto rows = store.listRows();
        benchmark::DoNotOptimize(NameList::entries(*rows, NameList::Style::Selection));
    }
}

// The party selection window opened on a name in the middle of the list: OpenNames, RepairNulls,
// the list built and selected, the fields loaded, the window shown and painted.
void BM_NamesWindowOpenAndShow(benchmark::State& state)
{
    Session& session = directory().session;
    for (auto _ : state) {
        Names window(session, {}, directory().middleKey);
        window.show();
        benchmark::DoNotOptimize(window.grab());
        QApplication::processEvents();
    }
}

void BM_NamesAdminOpenAndShow(benchmark::State& state)
{
    Session& session = directory().session;
    cs42::test::RecordingHost host;
    for (auto _ : state) {
        NamesAdmin window(session, host);
        window.show();
        benchmark::DoNotOptimize(window.grab());
        QApplication::processEvents();
    }
}

BENCHMARK(BM_NameListEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NamesWindowOpenAndShow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NamesAdminOpenAndShow)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
