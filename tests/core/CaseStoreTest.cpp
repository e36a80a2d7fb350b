#include "core/store/CaseStore.h"

#include "StoreEngines.h"
#include "core/startup/DataStore.h"
#include "core/store/CaseKey.h"
#include "core/store/NullRepair.h"
#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"
#include "support/DamagedFiles.h"

#include <QDateTime>
#include <QSet>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cs42;

namespace {
class CaseStoreTest : public test::StoreEngineTest
{
protected:
    CaseStore store() const { return CaseStore(paths.casesDbPath()); }

    const QDate today{2026, 12, 9};
};

CS42_STORE_ENGINES(CaseStoreTest);

// What only a database file can show: a damaged index, a folder that is not there.
class CaseStoreFileTest : public CaseStoreTest
{
};

INSTANTIATE_TEST_SUITE_P(Engines,
                         CaseStoreFileTest,
                         ::testing::Values(test::StoreEngine::File),
                         test::engineName);
} // namespace

TEST_P(CaseStoreTest, AddedCaseHasItsDefaultsAndIsFoundByKey)
{
    const QString key = store().addCase(QStringLiteral("doe v. roe"), today);
    ASSERT_EQ(key.size(), 8);
    EXPECT_TRUE(key.startsWith(QStringLiteral("DO")));

    QString current = key;
    const auto record = store().findCurrentCase(current);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->caseDesc(), QStringLiteral("doe v. roe"));
    EXPECT_EQ(record->value(QStringLiteral("casefile")), key);
    EXPECT_EQ(record->value(QStringLiteral("caseopen")), QStringLiteral("12/9/2026"));
    EXPECT_EQ(record->value(QStringLiteral("obligor")), QStringLiteral("D"));
    EXPECT_EQ(record->value(QStringLiteral("payshealth")), QStringLiteral("P"));
    EXPECT_EQ(record->value(QStringLiteral("whosecustody")), QStringLiteral("P"));
    EXPECT_TRUE(record->isNull(QStringLiteral("courtfile"))) << "a column never written reads as Null";
}

TEST_P(CaseStoreTest, EmptyCurrentCaseFindsTheFirstRowAndTakesItsKey)
{
    const QString first = store().addCase(QStringLiteral("Zed"), today);
    store().addCase(QStringLiteral("Alpha"), today);
    QString current;
    const auto record = store().findCurrentCase(current);
    ASSERT_TRUE(record);
    EXPECT_EQ(current, first);
}

TEST(CaseKeyTest, KeysAreDrawnAgainWhileTheyExist)
{
    EXPECT_EQ(CaseKey::make(QStringLiteral("x"), 0.0), QStringLiteral("X000000"));
    EXPECT_EQ(CaseKey::make(QStringLiteral("doe v. roe"), 0.5), QStringLiteral("DO499999"));
    EXPECT_EQ(CaseKey::digitsFor(0.00000005), QStringLiteral("400000"));
    int draws = 0;
    const QString key =
        CaseKey::makeUnique(QStringLiteral("Mo"), [&draws](const QString&) { return ++draws < 3; });
    EXPECT_EQ(draws, 3);
    EXPECT_TRUE(key.startsWith(QStringLiteral("MO")));
}

TEST_P(CaseStoreTest, SavedValuesComeBackUnchanged)
{
    const QString key = store().addCase(QStringLiteral("Müller"), today);
    const QString awkward = QStringLiteral("O'Brien; \"Doe\"; Müller'); DROP TABLE Cases; --");
    ASSERT_EQ(store().saveCaseFields(
                  key, {{QStringLiteral("name1name"), awkward}, {QStringLiteral("PINC"), "2501"}}),
              CaseStoreStatus::Ok);
    QString current = key;
    const auto record = store().findCurrentCase(current);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->value(QStringLiteral("name1name")), awkward);
    EXPECT_EQ(record->value(QStringLiteral("pinc")), QStringLiteral("2501"));
    EXPECT_EQ(store().caseCount(), 1);
}

TEST_P(CaseStoreTest, SaveIntoRemovedCaseChangesNoRow)
{
    const QString kept = store().addCase(QStringLiteral("Kept"), today);
    const QString gone = store().addCase(QStringLiteral("Gone"), today);
    ASSERT_EQ(store().deleteCase(gone), CaseStoreStatus::Ok);

    EXPECT_EQ(store().saveCaseField(gone, QStringLiteral("pinc"), QStringLiteral("999")),
              CaseStoreStatus::CaseRemoved);
    EXPECT_EQ(store().renameCase(gone, QStringLiteral("New")), CaseStoreStatus::CaseRemoved);
    EXPECT_EQ(store().deleteCase(gone), CaseStoreStatus::CaseRemoved);
    QString current = kept;
    EXPECT_TRUE(store().findCurrentCase(current)->isNull(QStringLiteral("pinc")));
    EXPECT_EQ(store().caseCount(), 1);
}

// A damaged index hides rows that are there: every operation that expects the row says that the
// file is damaged rather than that the case was removed.
TEST_P(CaseStoreFileTest, DamagedIndexIsToldApartFromARemovedCase)
{
    const QString key = store().addCase(QStringLiteral("Doe v. Roe"), today);
    ASSERT_TRUE(test::damageCaseIdIndex(paths.casesDbPath()));
    const CaseStore damaged = store();
    QString current = key;
    CaseStoreStatus status = CaseStoreStatus::Ok;
    EXPECT_FALSE(damaged.findCurrentCase(current, &status));
    EXPECT_EQ(status, CaseStoreStatus::Damaged);
    EXPECT_EQ(damaged.saveCaseField(key, QStringLiteral("pinc"), QStringLiteral("1")),
              CaseStoreStatus::Damaged);
    EXPECT_EQ(damaged.deleteCase(key), CaseStoreStatus::Damaged);
    const CaseStoreMessage message = damaged.messageFor(CaseStoreStatus::Damaged);
    EXPECT_FALSE(message.endsProgram);
    EXPECT_TRUE(message.text.contains(QStringLiteral("missing from index"))) << message.text.toStdString();
    EXPECT_EQ(store().caseCount(), 1) << "the row is still there";
}

TEST_P(CaseStoreTest, UnknownColumnIsRefusedAndNothingIsWritten)
{
    const QString key = store().addCase(QStringLiteral("Case"), today);
    // A programming error: it stops a debug build at once, and a release build stores nothing.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEBUG_DEATH(
        EXPECT_EQ(store().saveCaseFields(
                      key, {{QStringLiteral("pinc"), "1"}, {QStringLiteral("pinc = 0 --"), "2"}}),
                  CaseStoreStatus::SaveFailed),
        "unknown column");
    QString current = key;
    EXPECT_TRUE(store().findCurrentCase(current)->isNull(QStringLiteral("pinc")));
}

TEST_P(CaseStoreFileTest, MissingFolderFailsToOpen)
{
    const CaseStore missing(work.filePath(QStringLiteral("no-such-folder/QUONDATA.MDB")));
    EXPECT_EQ(missing.open(), CaseStoreStatus::OpenFailed);
    QString current;
    CaseStoreStatus status = CaseStoreStatus::Ok;
    EXPECT_FALSE(missing.findCurrentCase(current, &status));
    EXPECT_EQ(status, CaseStoreStatus::OpenFailed);
    EXPECT_EQ(missing.saveCaseField(QStringLiteral("X"), QStringLiteral("pinc"), QStringLiteral("1")),
              CaseStoreStatus::OpenFailed);
    EXPECT_EQ(
        CaseStore::openErrorText(),
        QStringLiteral("There was an error attempting to open the CASES database, and this program will now "
                       "end.  Please contact Tessaly to report this problem."));
}

TEST_P(CaseStoreTest, RepairTurnsNullsIntoEmptyTextsButLeavesTheFirstColumn)
{
    {
        SqlConnection cases(paths.casesDbPath());
        ASSERT_TRUE(cases.exec(QStringLiteral("INSERT INTO Cases (caseid) VALUES ('NU000001')")));
    }
    store().repairNulls();
    QString current = QStringLiteral("NU000001");
    const auto record = store().findCurrentCase(current);
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->isNull(QStringLiteral("casedesc")));
    for (const char* column : {"courtfile", "textblock1", "notaryname", "pinc"}) {
        EXPECT_FALSE(record->isNull(QString::fromLatin1(column))) << column;
        EXPECT_EQ(record->value(QString::fromLatin1(column)), QString()) << column;
    }
}

TEST_P(CaseStoreTest, NamesRepairGivesLongTextOneBlank)
{
    {
        SqlConnection names(paths.namesDbPath());
        ASSERT_TRUE(names.exec(QStringLiteral("INSERT INTO Names (keynumber) VALUES ('B0000001')")));
    }
    NullRepair::repairTable(paths.namesDbPath(), Schema::namesTable());
    SqlConnection names(paths.namesDbPath());
    QSqlQuery query(names.database());
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT notes, street, listname FROM Names")) && query.next());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral(" "));
    EXPECT_EQ(query.value(1).toString(), QString());
    EXPECT_FALSE(query.value(1).isNull());
    EXPECT_TRUE(query.value(2).isNull());
}

// A save stores a column only over the value its entry read: another workstation's change meanwhile
// is reported with both values and nothing of the save is written; every column written leaves a
// row in the case's history, in the same transaction.
TEST_P(CaseStoreTest, ASaveWritesOnlyOverTheValueReadAndKeepsItsHistory)
{
    const QString key = store().addCase(QStringLiteral("Doe v. Roe"), today);
    ASSERT_EQ(store().saveCaseFields(key, {{QStringLiteral("dinc"), QStringLiteral("5287")}}),
              CaseStoreStatus::Ok);

    // Null (never written) reads as the empty text; a column already holding the value is left alone.
    ASSERT_EQ(
        store().saveCaseChanges(key,
                                {{QStringLiteral("pinc"), QString(), QStringLiteral("3000")},
                                 {QStringLiteral("dinc"), QStringLiteral("5287"), QStringLiteral("5300")},
                                 {QStringLiteral("whosecustody"), QStringLiteral("P"), QStringLiteral("P")}}),
        CaseStoreStatus::Ok);
    // Before these two: the case added and the save of 5,287.
    QList<CaseChange> history = store().history(key);
    ASSERT_EQ(history.size(), 4);
    EXPECT_EQ(history[0].caseId, key);
    EXPECT_EQ(QSet<QString>({history[0].column, history[1].column}),
              QSet<QString>({QStringLiteral("pinc"), QStringLiteral("dinc")}));
    for (const CaseChange& change : history.mid(0, 2)) {
        EXPECT_FALSE(change.user.isEmpty());
        EXPECT_EQ(change.host, QSysInfo::machineHostName());
        EXPECT_TRUE(QDateTime::fromString(change.time, Qt::ISODateWithMs).isValid())
            << change.time.toStdString();
        if (change.column == QLatin1String("dinc")) {
            EXPECT_EQ(change.oldValue, QStringLiteral("5287"));
            EXPECT_EQ(change.newValue, QStringLiteral("5300"));
        }
    }

    // Another workstation stored 5,400 meanwhile: this entry, made against 5,300, writes nothing.
    ASSERT_EQ(store().saveCaseFields(key, {{QStringLiteral("dinc"), QStringLiteral("5400")}}),
              CaseStoreStatus::Ok);
    QList<ColumnConflict> conflicts;
    EXPECT_EQ(
        store().saveCaseChanges(key,
                                {{QStringLiteral("dinc"), QStringLiteral("5300"), QStringLiteral("5350")},
                                 {QStringLiteral("pinc"), QStringLiteral("3000"), QStringLiteral("3100")}},
                                &conflicts),
        CaseStoreStatus::Conflict);
    ASSERT_EQ(conflicts.size(), 1);
    EXPECT_EQ(conflicts[0].column, QStringLiteral("dinc"));
    EXPECT_EQ(conflicts[0].stored, QStringLiteral("5400"));
    EXPECT_EQ(conflicts[0].value, QStringLiteral("5350"));
    QString current = key;
    const auto record = store().findCurrentCase(current);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->value(QStringLiteral("dinc")), QStringLiteral("5400"));
    EXPECT_EQ(record->value(QStringLiteral("pinc")), QStringLiteral("3000"))
        << "nothing of the save was written";
    EXPECT_EQ(store().history(key).size(), 5) << "the other workstation's 5,400, and nothing of this save";

    // Chosen over the other workstation's value (expected: what is stored now), it goes in.
    EXPECT_EQ(store().saveCaseChanges(
                  key, {{QStringLiteral("dinc"), QStringLiteral("5400"), QStringLiteral("5350")}}),
              CaseStoreStatus::Ok);
    history = store().history(key);
    ASSERT_EQ(history.size(), 6);
    EXPECT_EQ(history[0].oldValue, QStringLiteral("5400")) << "newest first";
    EXPECT_EQ(history[0].newValue, QStringLiteral("5350"));
    EXPECT_EQ(store().history(QString()).size(), 6);
}
