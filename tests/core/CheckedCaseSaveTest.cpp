// The checked save of a case on both engines: what it writes, what it leaves alone, and what it
// reports when another workstation changed a column first. On a server the save is one statement;
// these cases pin the transaction's behaviour it must keep.
#include "StoreEngines.h"
#include "core/store/CaseStore.h"
#include "core/store/SqlConnection.h"

#include <QDeadlineTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <gtest/gtest.h>

#include <future>
#include <optional>

using namespace cs42;

namespace {
class CheckedCaseSaveTest : public test::StoreEngineTest
{
protected:
    CaseStore store() const { return CaseStore(paths.casesDbPath()); }

    QString addCase() { return store().addCase(QStringLiteral("Doe v. Roe"), QDate(2026, 12, 9)); }

    // The stored text of a column, nullopt for Null (a new case's income columns are Null).
    std::optional<QString> stored(const QString& key, const QString& column)
    {
        SqlConnection connection(paths.casesDbPath());
        QSqlQuery query(connection.database());
        query.prepare(QStringLiteral("SELECT %1 FROM Cases WHERE caseid = ?").arg(column));
        query.addBindValue(key);
        if (!query.exec() || !query.next()) {
            ADD_FAILURE() << query.lastError().text().toStdString();
            return std::nullopt;
        }
        return query.value(0).isNull() ? std::nullopt : std::optional<QString>(query.value(0).toString());
    }
};

CS42_STORE_ENGINES(CheckedCaseSaveTest);

// What only a server can show: two workstations' statements at once on one row.
class CheckedCaseSaveServerTest : public CheckedCaseSaveTest
{
};

INSTANTIATE_TEST_SUITE_P(Engines,
                         CheckedCaseSaveServerTest,
                         ::testing::Values(test::StoreEngine::Server),
                         test::engineName);

// One column saved over a stored value (nullopt: Null): the status, what the column holds after,
// and how many history rows the save added.
struct CheckedCase
{
    const char* what;
    std::optional<QString> before;
    QString expected;
    QString value;
    CaseStoreStatus status;
    std::optional<QString> after;
    qsizetype historyRows;
};

TEST_P(CheckedCaseSaveTest, EachColumnIsWrittenOnlyOverWhatWasRead)
{
    const QList<CheckedCase> cases{
        {"written over the value read", "100", "100", "200", CaseStoreStatus::Ok, "200", 1},
        {"Null reads as the empty text", std::nullopt, "", "5", CaseStoreStatus::Ok, "5", 1},
        {"already holding the value: a Null stays Null",
         std::nullopt,
         "7",
         "",
         CaseStoreStatus::Ok,
         std::nullopt,
         0},
        {"already holding the value, whatever was read", "9", "1", "9", CaseStoreStatus::Ok, "9", 0},
        {"changed meanwhile", "150", "100", "200", CaseStoreStatus::Conflict, "150", 0},
    };
    for (const CheckedCase& c : cases) {
        SCOPED_TRACE(c.what);
        const QString key = addCase();
        if (c.before) {
            ASSERT_EQ(store().saveCaseField(key, QStringLiteral("pinc"), *c.before), CaseStoreStatus::Ok);
        }
        const qsizetype rows = store().history(key).size();
        QList<ColumnConflict> conflicts;
        EXPECT_EQ(store().saveCaseChanges(key, {{QStringLiteral("pinc"), c.expected, c.value}}, &conflicts),
                  c.status);
        EXPECT_EQ(stored(key, QStringLiteral("pinc")), c.after);
        const QList<CaseChange> history = store().history(key);
        ASSERT_EQ(history.size(), rows + c.historyRows);
        if (c.historyRows > 0) {
            EXPECT_EQ(history[0].oldValue, c.before.value_or(QString()));
            EXPECT_EQ(history[0].newValue, c.value);
        }
        EXPECT_EQ(conflicts.size(), c.status == CaseStoreStatus::Conflict ? 1 : 0);
    }
}

// The caller that asks for no list of conflicts still gets none of the save written: a column
// changed meanwhile keeps every other column of the entry from being stored.
TEST_P(CheckedCaseSaveTest, AConflictWritesNothingEvenWhenNoListIsAskedFor)
{
    const QString key = addCase();
    ASSERT_EQ(store().saveCaseFields(key, {{QStringLiteral("pinc"), QStringLiteral("3000")}}),
              CaseStoreStatus::Ok);
    const qsizetype rows = store().history(key).size();
    EXPECT_EQ(
        store().saveCaseChanges(key,
                                {{QStringLiteral("dinc"), QString(), QStringLiteral("5287")},
                                 {QStringLiteral("pinc"), QStringLiteral("2000"), QStringLiteral("2100")}}),
        CaseStoreStatus::Conflict);
    EXPECT_EQ(stored(key, QStringLiteral("dinc")), std::nullopt);
    EXPECT_EQ(stored(key, QStringLiteral("pinc")), QStringLiteral("3000"));
    EXPECT_EQ(store().history(key).size(), rows);
}

// Another workstation changed the column and holds the row until it commits: the save waits for
// it and then names the value it committed, not the one stored when the save began.
TEST_P(CheckedCaseSaveServerTest, ASaveWaitingForAnotherWorkstationNamesWhatItCommitted)
{
    const QString key = addCase();
    ASSERT_EQ(store().saveCaseField(key, QStringLiteral("dinc"), QStringLiteral("5287")),
              CaseStoreStatus::Ok);

    SqlConnection other(uri, SqlConnection::Mode::MustExist, SqlConnection::Sharing::Own);
    ASSERT_TRUE(other.database().transaction());
    ASSERT_TRUE(other.exec(QStringLiteral("UPDATE Cases SET dinc = ? WHERE caseid = ?"),
                           {QStringLiteral("5400"), key}))
        << other.errorText().toStdString();

    // The save runs on a thread of its own (and so on a connection of its own) while this one
    // holds the row.
    const QString path = paths.casesDbPath();
    auto saving = std::async(std::launch::async, [path, key] {
        QList<ColumnConflict> conflicts;
        const CaseStoreStatus status = CaseStore(path).saveCaseChanges(
            key, {{QStringLiteral("dinc"), QStringLiteral("5287"), QStringLiteral("5300")}}, &conflicts);
        return std::make_pair(status, conflicts);
    });
    // Commit only once the save waits for the row.
    QDeadlineTimer deadline(4000);
    bool waiting = false;
    while (!waiting && !deadline.hasExpired()) {
        // Asked on a connection outside the open transaction, whose view of the activity stays
        // as it first read it.
        SqlConnection watch(uri);
        QSqlQuery query(watch.database());
        waiting = query.exec(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE datname = "
                                            "current_database() AND wait_event_type = 'Lock'")) &&
                  query.next() && query.value(0).toInt() > 0;
        if (!waiting)
            QThread::msleep(10);
    }
    EXPECT_TRUE(waiting) << "the save never waited for the row";
    ASSERT_TRUE(other.database().commit());

    const auto [status, conflicts] = saving.get();
    EXPECT_EQ(status, CaseStoreStatus::Conflict);
    ASSERT_EQ(conflicts.size(), 1);
    EXPECT_EQ(conflicts[0].stored, QStringLiteral("5400"));
    EXPECT_EQ(conflicts[0].value, QStringLiteral("5300"));
    EXPECT_EQ(stored(key, QStringLiteral("dinc")), QStringLiteral("5400"));
}
} // namespace
