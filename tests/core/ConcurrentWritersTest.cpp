// Several workstations share one cases file: writers run as separate processes, as they would on
// separate machines, and one of them may die in the middle of its work.
#include "CaseWriterProcess.h"
#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"
#include "core/store/SqlConnection.h"

#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

using namespace cs42;

namespace {
const QString& CaseWriter = test::caseWriterPath();

QString integrityOf(const QString& path)
{
    SqlConnection connection(path);
    QSqlQuery query(connection.database());
    if (!query.exec(QStringLiteral("PRAGMA integrity_check")) || !query.next())
        return QStringLiteral("cannot check");
    return query.value(0).toString();
}

void insertCases(const QString& path, const QString& prefix, int count)
{
    SqlConnection connection(path);
    connection.database().transaction();
    for (int i = 1; i <= count; ++i)
        connection.exec(QStringLiteral("INSERT INTO Cases (casedesc, caseid) VALUES (?, ?)"),
                        {QStringLiteral("Case %1").arg(i), prefix + QString::number(i)});
    connection.database().commit();
}
} // namespace

TEST(ConcurrentWriters, TwoProcessesSavingDifferentCasesLoseNoWrite)
{
    QTemporaryDir work;
    const DataPaths paths = DataStore::startUp(work.path());
    const CaseStore store(paths.casesDbPath());
    const QString first = store.addCase(QStringLiteral("First"), QDate(2026, 1, 1));
    const QString second = store.addCase(QStringLiteral("Second"), QDate(2026, 1, 1));
    constexpr int Saves = 300;

    QProcess a;
    QProcess b;
    a.start(CaseWriter, {paths.casesDbPath(), QStringLiteral("pinc"), QString::number(Saves), first});
    b.start(CaseWriter, {paths.casesDbPath(), QStringLiteral("dinc"), QString::number(Saves), second});
    ASSERT_TRUE(a.waitForFinished(60000) && b.waitForFinished(60000));
    EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
    EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();
    EXPECT_EQ(a.readAllStandardOutput().count('\n'), Saves);
    EXPECT_EQ(b.readAllStandardOutput().count('\n'), Saves);

    QString id = first;
    EXPECT_EQ(store.findCurrentCase(id)->value(QStringLiteral("pinc")), QString::number(Saves));
    id = second;
    EXPECT_EQ(store.findCurrentCase(id)->value(QStringLiteral("dinc")), QString::number(Saves));
    // Neither writer touched the other's column.
    id = first;
    EXPECT_TRUE(store.findCurrentCase(id)->isNull(QStringLiteral("dinc")));
    EXPECT_EQ(integrityOf(paths.casesDbPath()), QStringLiteral("ok"));
}

// The worksheet's saves read, check and write in one transaction: on a shared file two of them
// reading at once must wait for each other, not fail as "in use by another workstation".
TEST(ConcurrentWriters, CheckedSavesOfSeveralProcessesWaitForEachOtherAndKeepEveryHistoryRow)
{
    QTemporaryDir work;
    const DataPaths paths = DataStore::startUp(work.path());
    const CaseStore store(paths.casesDbPath());
    const QString key = store.addCase(QStringLiteral("Shared"), QDate(2026, 1, 1));
    const QStringList columns = {
        QStringLiteral("pinc"), QStringLiteral("dinc"), QStringLiteral("ppre"), QStringLiteral("dpre")};
    constexpr int Saves = 100;

    std::vector<std::unique_ptr<QProcess>> writers;
    for (const QString& column : columns) {
        writers.push_back(std::make_unique<QProcess>());
        writers.back()->start(
            CaseWriter,
            {paths.casesDbPath(), column, QString::number(Saves), key, QStringLiteral("--checked")});
    }
    for (auto& writer : writers) {
        ASSERT_TRUE(writer->waitForFinished(60000));
        EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().toStdString();
    }

    QString id = key;
    const std::optional<CaseRecord> saved = store.findCurrentCase(id);
    ASSERT_TRUE(saved.has_value());
    for (const QString& column : columns)
        EXPECT_EQ(saved->value(column), QString::number(Saves)) << column.toStdString();
    const QList<CaseChange> history = store.history(key);
    const auto saves = std::count_if(history.cbegin(), history.cend(), [&](const CaseChange& change) {
        return columns.contains(change.column);
    });
    EXPECT_EQ(saves, columns.size() * Saves); // besides the row of the case's adding
    EXPECT_EQ(integrityOf(paths.casesDbPath()), QStringLiteral("ok"));
}

TEST(ConcurrentWriters, KilledWriterLeavesASoundFileWithEverySaveThatReturned)
{
    QTemporaryDir work;
    const DataPaths paths = DataStore::startUp(work.path());
    constexpr int Cases = 2000;
    insertCases(paths.casesDbPath(), QStringLiteral("KL"), Cases);

    QProcess writer;
    writer.start(CaseWriter,
                 {paths.casesDbPath(),
                  QStringLiteral("pinc"),
                  QString::number(Cases),
                  QStringLiteral("--each"),
                  QStringLiteral("KL")});
    ASSERT_TRUE(writer.waitForStarted());
    const int lastReturned = test::killAfterSaves(writer, 50);
    ASSERT_GE(lastReturned, 50);
    ASSERT_LT(lastReturned, Cases) << "the writer finished before it was killed";

    EXPECT_EQ(integrityOf(paths.casesDbPath()), QStringLiteral("ok"));
    SqlConnection connection(paths.casesDbPath());
    QSqlQuery query(connection.database());
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT caseid, pinc FROM Cases ORDER BY rowid")));
    int checked = 0;
    while (query.next()) {
        const int n = query.value(0).toString().mid(2).toInt();
        if (n <= lastReturned) {
            EXPECT_EQ(query.value(1).toString(), QString::number(n)) << "save " << n << " had returned";
            ++checked;
        }
    }
    EXPECT_EQ(checked, lastReturned);
}
