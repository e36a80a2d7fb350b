// Every write of a case or a name leaves its rows in the history, in its own transaction, on a
// folder and on a server alike; the cases' and the names' rows never mix.
#include "StoreEngines.h"
#include "core/names/NameForms.h"
#include "core/names/NameStore.h"
#include "core/store/CaseStore.h"
#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"

#include <QSqlQuery>
#include <QSysInfo>

#include <gtest/gtest.h>

#include <functional>

using namespace cs42;

namespace {
class SaveHistoryTest : public test::StoreEngineTest
{
protected:
    CaseStore cases() const { return CaseStore(paths.casesDbPath()); }

    NameStore names() const { return NameStore(paths.namesDbPath()); }

    QList<CaseChange> caseRows() const { return cases().history(QString()); }

    QList<CaseChange> nameRows() const { return names().history(QString()).value_or(QList<CaseChange>{}); }

    const QDate today{2026, 12, 9};
};

CS42_STORE_ENGINES(SaveHistoryTest);

// What a step must add to the history, oldest first.
struct Row
{
    std::function<QString()> key;
    const char* column;
    QString oldValue;
    QString newValue;
    ChangeAction action = ChangeAction::Changed;
};

struct Step
{
    const char* what;
    std::function<void()> save;
    bool names; // the row goes into the names directory's history
    QList<Row> rows;
};

std::string shown(const CaseChange& c)
{
    return QStringLiteral("%1 %2 [%3] -> [%4] #%5")
        .arg(c.caseId, c.column, c.oldValue, c.newValue)
        .arg(int(c.action))
        .toStdString();
}
} // namespace

TEST_P(SaveHistoryTest, EachKindOfSaveLeavesItsRows)
{
    QString doe;
    QString sample;
    QString ann;
    const auto key = [](const QString& k) {
        return [&k] {
            return k;
        };
    };
    QHash<QString, QString> annBoxes; // the name's boxes as the directory shows them
    const QList<Step> steps = {
        {"a case added",
         [&] { doe = cases().addCase(QStringLiteral("Doe v. Roe"), today); },
         false,
         {{key(doe), "casedesc", "", "Doe v. Roe", ChangeAction::Added}}},
        {"the sample case added",
         [&] { sample = cases().addSampleCase(today); },
         false,
         {{key(sample), "casedesc", "", "Sample Case", ChangeAction::Added}}},
        {"columns saved: only those whose value changed",
         [&] {
             ASSERT_EQ(cases().saveCaseFields(doe,
                                              {{QStringLiteral("pinc"), QStringLiteral("3000")},
                                               {QStringLiteral("obligor"), QStringLiteral("D")},
                                               {QStringLiteral("courtfile"), QStringLiteral("")},
                                               {QStringLiteral("dinc"), QStringLiteral("5287")}}),
                       CaseStoreStatus::Ok);
         },
         false,
         {{key(doe), "pinc", "", "3000"}, {key(doe), "dinc", "", "5287"}}},
        {"a case renamed",
         [&] { ASSERT_EQ(cases().renameCase(doe, QStringLiteral("Doe v. Roe II")), CaseStoreStatus::Ok); },
         false,
         {{key(doe), "casedesc", "Doe v. Roe", "Doe v. Roe II"}}},
        {"an entry of the worksheet",
         [&] {
             ASSERT_EQ(cases().saveCaseChanges(
                           doe, {{QStringLiteral("dinc"), QStringLiteral("5287"), QStringLiteral("5400")}}),
                       CaseStoreStatus::Ok);
         },
         false,
         {{key(doe), "dinc", "5287", "5400"}}},
        {"a case deleted",
         [&] { ASSERT_EQ(cases().deleteCase(sample), CaseStoreStatus::Ok); },
         false,
         {{key(sample), "casedesc", "Sample Case", "", ChangeAction::Deleted}}},
        {"a name added",
         [&] {
             const NameParts parts{QStringLiteral("Ann"), {}, QStringLiteral("Lee"), {}, {}};
             ann = names().addName(*NameForms::compose(parts), parts);
             ASSERT_FALSE(ann.isEmpty());
             const auto record = names().load(ann);
             ASSERT_TRUE(record);
             for (const NameField& field : NameRecord::editedFields())
                 annBoxes.insert(field.column, record->value(field.column));
         },
         true,
         {{key(ann), "firmname", "", "Lee Ann", ChangeAction::Added}}},
        {"a name's fields saved: only those whose value changed",
         [&] {
             annBoxes.insert(QStringLiteral("city"), QStringLiteral("Mobile"));
             annBoxes.insert(QStringLiteral("namestate"), QStringLiteral("Alabama")); // kept as "Al"
             ASSERT_EQ(names().saveFields(ann, annBoxes), NameStoreStatus::Ok);
         },
         true,
         {{key(ann), "city", "", "Mobile"}, {key(ann), "namestate", "", "Al"}}},
        {"a name deleted",
         [&] { ASSERT_EQ(names().deleteName(QStringLiteral(" ") + ann), NameStoreStatus::Ok); },
         true,
         {{key(ann), "firmname", "Lee Ann", "", ChangeAction::Deleted}}},
    };

    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const qsizetype casesBefore = caseRows().size();
        const qsizetype namesBefore = nameRows().size();
        step.save();
        if (::testing::Test::HasFatalFailure())
            return;
        const QList<CaseChange> all = step.names ? nameRows() : caseRows();
        EXPECT_EQ(step.names ? caseRows().size() : nameRows().size(), step.names ? casesBefore : namesBefore)
            << "the other history is left alone";
        const qsizetype added = all.size() - (step.names ? namesBefore : casesBefore);
        ASSERT_EQ(added, step.rows.size());
        for (qsizetype i = 0; i < added; ++i) {
            const CaseChange& got = all[added - 1 - i]; // newest first
            const Row& want = step.rows[i];
            EXPECT_EQ(got.caseId, want.key()) << shown(got);
            EXPECT_EQ(got.column, QLatin1String(want.column)) << shown(got);
            EXPECT_EQ(got.oldValue, want.oldValue) << shown(got);
            EXPECT_EQ(got.newValue, want.newValue) << shown(got);
            EXPECT_EQ(got.action, want.action) << shown(got);
            EXPECT_FALSE(got.user.isEmpty());
            EXPECT_EQ(got.host, QSysInfo::machineHostName());
        }
    }
    // A case's own history is its rows only, and a deleted case's history still says who deleted it.
    EXPECT_EQ(cases().history(doe).size(), 5);
    const QList<CaseChange> gone = cases().history(sample);
    ASSERT_EQ(gone.size(), 2);
    EXPECT_EQ(gone[0].action, ChangeAction::Deleted);
    EXPECT_EQ(names().history(ann)->size(), 4);
    EXPECT_TRUE(names().history(doe)->isEmpty());
}

// A write whose history cannot be written is not made: the two are one transaction.
TEST_P(SaveHistoryTest, AWriteWithoutItsHistoryIsNotMade)
{
    const QString doe = cases().addCase(QStringLiteral("Doe v. Roe"), today);
    const NameParts parts{QStringLiteral("Ann"), {}, QStringLiteral("Lee"), {}, {}};
    const QString ann = names().addName(*NameForms::compose(parts), parts);
    ASSERT_FALSE(ann.isEmpty());
    for (const QString& path : {paths.casesDbPath(), paths.namesDbPath()}) {
        SqlConnection connection(path);
        ASSERT_TRUE(connection.exec(QStringLiteral("DROP TABLE IF EXISTS %1")
                                        .arg(connection.dialect().identifier(Schema::changesTable().name))))
            << connection.errorText().toStdString();
    }

    EXPECT_NE(cases().saveCaseFields(doe, {{QStringLiteral("pinc"), QStringLiteral("1")}}),
              CaseStoreStatus::Ok);
    EXPECT_NE(cases().renameCase(doe, QStringLiteral("Renamed")), CaseStoreStatus::Ok);
    EXPECT_NE(cases().deleteCase(doe), CaseStoreStatus::Ok);
    EXPECT_TRUE(cases().addCase(QStringLiteral("Another"), today).isEmpty());
    QString current = doe;
    const auto record = cases().findCurrentCase(current);
    ASSERT_TRUE(record) << "the case was not deleted";
    EXPECT_EQ(record->caseDesc(), QStringLiteral("Doe v. Roe"));
    EXPECT_TRUE(record->isNull(QStringLiteral("pinc")));
    EXPECT_EQ(cases().caseCount(), 1);

    QHash<QString, QString> boxes{{QStringLiteral("city"), QStringLiteral("Mobile")}};
    EXPECT_EQ(names().saveFields(ann, boxes), NameStoreStatus::Failed);
    EXPECT_EQ(names().deleteName(ann), NameStoreStatus::Failed);
    EXPECT_TRUE(names().addName(*NameForms::compose(parts), parts).isEmpty());
    EXPECT_EQ(names().load(ann)->value(QStringLiteral("city")), QStringLiteral(""));
    EXPECT_EQ(names().count(), 2) << "the seed record and Ann";
}

// A cases file from before the names had a history: start-up adds the new columns, and its rows
// stay the cases' changes.
TEST(SaveHistoryUpgradeTest, AStoredFileKeepsItsRowsAsTheCasesHistory)
{
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    DataPaths paths = DataStore::startUp(work.path());
    {
        SqlConnection file(paths.casesDbPath());
        ASSERT_TRUE(file.exec(QStringLiteral("DROP TABLE Changes")));
        ASSERT_TRUE(file.exec(
            QStringLiteral("CREATE TABLE Changes (caseid TEXT, columnname TEXT, oldvalue "
                           "LONGTEXT, newvalue LONGTEXT, osuser TEXT, host TEXT, changedat TEXT)")));
        ASSERT_TRUE(file.exec(
            QStringLiteral("INSERT INTO Changes VALUES ('DO1', 'pinc', '1', '2', 'ann', 'a', 't')")));
        SqlConnection namesFile(paths.namesDbPath());
        ASSERT_TRUE(namesFile.exec(QStringLiteral("DROP TABLE Changes")));
    }
    paths = DataStore::startUp(work.path());

    const QList<CaseChange> rows = CaseStore(paths.casesDbPath()).history(QStringLiteral("DO1"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].newValue, QStringLiteral("2"));
    EXPECT_EQ(rows[0].action, ChangeAction::Changed);
    const NameStore names(paths.namesDbPath());
    const NameParts parts{QStringLiteral("Ann"), {}, QStringLiteral("Lee"), {}, {}};
    ASSERT_FALSE(names.addName(*NameForms::compose(parts), parts).isEmpty())
        << "the names file has its table";
    EXPECT_EQ(names.history(QString())->size(), 1);
}
