// The change watch hears what another workstation (a process of its own) commits, on a database
// file and on a server, keeps hearing it check after check, and says nothing of its own reads.

#include "core/store/ChangeWatch.h"

#include "CaseWriterProcess.h"
#include "StoreEngines.h"
#include "core/store/CaseStore.h"
#include "support/EventWait.h"

#include <QProcess>

using namespace cs42;
using namespace cs42::test;

namespace {
// Generous: the time a change takes to arrive is the refresh benchmark's to measure.
constexpr int ArrivalMs = 15000;

class ChangeWatchTest : public StoreEngineTest
{
};
} // namespace

TEST_P(ChangeWatchTest, AnotherWorkstationsSaveIsHeardCheckAfterCheck)
{
    const CaseStore store(paths.casesDbPath());
    const QString key = store.addCase(QStringLiteral("Doe v. Roe"), QDate(2024, 3, 1));
    ChangeWatch watch(paths.casesDbPath());
    ASSERT_TRUE(watch.isWatching());
    QStringList heard;
    QObject::connect(&watch, &ChangeWatch::casesChanged, [&](const QString& caseId) { heard << caseId; });

    // Reading tells nothing, and a quiet database is quiet through several checks.
    (void)store.listCases();
    runEventsUntil([] { return false; }, 2 * ChangeWatch::CheckIntervalMs + 500);
    EXPECT_TRUE(heard.isEmpty()) << heard.join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(watch.isWatching());

    // Each of two saves of another process is heard, the second after more checks went by.
    for (int round = 1; round <= 2; ++round) {
        heard.clear();
        QProcess writer;
        // Saves 1 .. round: the last save stores a value the column did not hold.
        writer.start(caseWriterPath(),
                     {paths.casesDbPath(), QStringLiteral("pinc"), QString::number(round), key});
        ASSERT_TRUE(writer.waitForFinished(30000));
        ASSERT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
        ASSERT_TRUE(runEventsUntil([&] { return !heard.isEmpty(); }, ArrivalMs)) << "round " << round;
        // A server names the case; a file only says that something changed.
        EXPECT_TRUE(heard.first() == key || (GetParam() == StoreEngine::File && heard.first().isEmpty()))
            << heard.first().toStdString();
        EXPECT_TRUE(watch.isWatching());
    }
}

CS42_STORE_ENGINES(ChangeWatchTest);

TEST(ChangeWatchFileTest, AFileReplacedUnderTheWatchIsWatchedAnew)
{
    QTemporaryDir work;
    const DataPaths paths = DataStore::startUp(work.path());
    const CaseStore store(paths.casesDbPath());
    store.addCase(QStringLiteral("Doe v. Roe"), QDate(2024, 3, 1));
    ChangeWatch watch(paths.casesDbPath());
    int heard = 0;
    QObject::connect(&watch, &ChangeWatch::casesChanged, [&] { ++heard; });

    // A restore puts another file in its place: that is a change, and the new file's changes are
    // heard too.
    const QString copy = work.filePath(QStringLiteral("copy.mdb"));
    ASSERT_TRUE(QFile::copy(paths.casesDbPath(), copy));
    ASSERT_TRUE(QFile::remove(paths.casesDbPath()));
    ASSERT_TRUE(QFile::rename(copy, paths.casesDbPath()));
    ASSERT_TRUE(runEventsUntil([&] { return heard > 0; }, ArrivalMs));
    heard = 0;
    store.addCase(QStringLiteral("Smith v. Jones"), QDate(2024, 3, 2));
    ASSERT_TRUE(runEventsUntil([&] { return heard > 0; }, ArrivalMs));
}
