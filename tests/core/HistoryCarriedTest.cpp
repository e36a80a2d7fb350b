// The history goes wherever the cases and names go: into the quit-time backups and back with a
// restore, and with `migrate` between a folder and a server in either direction.
#include "StoreEngines.h"
#include "core/names/NameForms.h"
#include "core/names/NameStore.h"
#include "core/store/Backup.h"
#include "core/store/CaseStore.h"
#include "core/store/DataMove.h"
#include "core/store/Migration.h"
#include "core/store/SqlConnection.h"

#include <gtest/gtest.h>

using namespace cs42;

namespace {
// Every row of both histories at `location` (a folder, a server URI or a single file for both),
// as one line each, newest first.
QStringList historyAt(const QString& casesDb, const QString& namesDb)
{
    QStringList lines;
    const auto add = [&lines](const char* which, const QList<CaseChange>& rows) {
        for (const CaseChange& c : rows)
            lines << QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9")
                         .arg(QLatin1String(which),
                              c.caseId,
                              c.column,
                              c.oldValue,
                              c.newValue,
                              c.user,
                              c.host,
                              c.time)
                         .arg(int(c.action));
    };
    CaseStoreStatus status = CaseStoreStatus::Ok;
    add("cases", CaseStore(casesDb).history(QString(), &status));
    EXPECT_EQ(status, CaseStoreStatus::Ok) << casesDb.toStdString();
    const std::optional<QList<CaseChange>> names = NameStore(namesDb).history(QString());
    EXPECT_TRUE(names) << namesDb.toStdString();
    add("names", names.value_or(QList<CaseChange>{}));
    return lines;
}

QStringList historyAt(const DataPaths& paths)
{
    return historyAt(paths.casesDbPath(), paths.namesDbPath());
}

// Saves of every kind, on cases and names, so that the histories hold rows of each.
void makeHistory(const DataPaths& paths, const QString& tag)
{
    const CaseStore cases(paths.casesDbPath());
    const QString doe = cases.addCase(QStringLiteral("Doe ") + tag, QDate(2026, 12, 9));
    const QString gone = cases.addCase(QStringLiteral("Gone ") + tag, QDate(2026, 12, 9));
    ASSERT_EQ(cases.saveCaseFields(doe, {{QStringLiteral("pinc"), QStringLiteral("3000")}}),
              CaseStoreStatus::Ok);
    ASSERT_EQ(cases.saveCaseChanges(
                  doe, {{QStringLiteral("textblock1"), QString(), QStringLiteral("O'Neil\nMüller")}}),
              CaseStoreStatus::Ok);
    ASSERT_EQ(cases.deleteCase(gone), CaseStoreStatus::Ok);
    const NameStore names(paths.namesDbPath());
    const NameParts parts{QStringLiteral("Ann"), {}, QStringLiteral("Lee ") + tag, {}, {}};
    const QString ann = names.addName(*NameForms::compose(parts), parts);
    ASSERT_FALSE(ann.isEmpty());
    const std::optional<NameRecord> record = names.load(ann);
    ASSERT_TRUE(record);
    QHash<QString, QString> boxes;
    for (const NameField& field : NameRecord::editedFields())
        boxes.insert(field.column, record->value(field.column));
    boxes.insert(QStringLiteral("firmname"), QStringLiteral("Lee"));
    ASSERT_EQ(names.saveFields(ann, boxes), NameStoreStatus::Ok);
}

class HistoryBackupTest : public test::StoreEngineTest
{
};

// A folder of the office, and a fresh server database to move it to.
class HistoryMigrateTest : public test::StoreLocationTest
{
protected:
    void SetUp() override
    {
        useEngine(test::StoreEngine::File);
        server = test::PgTestServer::fromEnvironment();
        CS42_SKIP_WITHOUT_PG(server);
        server->exportPgpassFile();
        uri = server->freshDatabase(QStringLiteral("history migrate"));
        ASSERT_FALSE(uri.isEmpty()) << server->error().toStdString();
    }
};

CS42_STORE_ENGINES(HistoryBackupTest);
} // namespace

TEST_P(HistoryBackupTest, ARestorePutsBackTheHistoryOfTheBackupAndKeepsTheLaterOne)
{
    makeHistory(paths, QStringLiteral("1"));
    if (HasFatalFailure())
        return;
    const QStringList backedUp = historyAt(paths);
    for (const auto& [set, outcome] : Backup::writeBackups(paths))
        ASSERT_EQ(outcome.status, Backup::BackupStatus::Written) << outcome.detail.toStdString();
    EXPECT_EQ(historyAt(paths.casesBackupPath(), paths.namesBackupPath()), backedUp)
        << "each backup file holds its own table's history";

    makeHistory(paths, QStringLiteral("2"));
    if (HasFatalFailure())
        return;
    const QStringList later = historyAt(paths);
    ASSERT_GT(later.size(), backedUp.size());

    for (const Backup::BackupSet& set : {Backup::BackupSet::cases(paths), Backup::BackupSet::names(paths)}) {
        const Backup::RestoreOutcome restored = Backup::restore(set);
        ASSERT_EQ(restored.result, Backup::RestoreResult::Restored) << restored.error.toStdString();
    }
    EXPECT_EQ(historyAt(paths), backedUp);
    EXPECT_EQ(historyAt(paths.casesBeforeRestorePath(), paths.namesBeforeRestorePath()), later)
        << "the replaced history is kept with the replaced rows";
}

// folder -> server -> folder, and a folder copied to another folder: the history arrives row for
// row, with its users, hosts and times.
TEST_F(HistoryMigrateTest, MigrateCarriesTheHistoryThereAndBack)
{
    const QString serverUri = uri;
    makeHistory(paths, QStringLiteral("1"));
    if (HasFatalFailure())
        return;
    // A NUL byte another program left in a history value: a server cannot keep it, and the
    // history cannot be retyped, so it is left out and said.
    {
        SqlConnection file(paths.casesDbPath());
        ASSERT_TRUE(file.exec(QStringLiteral("UPDATE Changes SET oldvalue = ? WHERE columnname = 'pinc'"),
                              {QStringLiteral("30") + QChar(0) + QStringLiteral("00")}));
    }
    const QStringList before = historyAt(paths);
    ASSERT_EQ(before.size(), 7);

    const Migration::Outcome up = Migration::migrate(paths.filesLocation, serverUri, false);
    ASSERT_TRUE(up.copied) << up.error.toStdString();
    EXPECT_EQ(up.changes, 7);
    ASSERT_EQ(up.notes.size(), 1);
    EXPECT_TRUE(up.notes[0].contains(QStringLiteral("pinc"))) << up.notes[0].toStdString();
    QStringList expected = before;
    expected.replaceInStrings(QChar(0), QString());
    EXPECT_EQ(historyAt(serverUri, serverUri), expected);

    QTemporaryDir back;
    ASSERT_TRUE(back.isValid());
    const Migration::Outcome down = Migration::migrate(serverUri, back.path(), false);
    ASSERT_TRUE(down.copied) << down.error.toStdString();
    DataPaths there = paths;
    there.filesLocation = back.path();
    EXPECT_EQ(historyAt(there), expected);

    QTemporaryDir copy;
    ASSERT_TRUE(copy.isValid());
    QString error;
    ASSERT_TRUE(DataMove::copyDatabases(there, copy.path(), &error)) << error.toStdString();
    there.filesLocation = copy.path();
    EXPECT_EQ(historyAt(there), expected);

    // A replacing copy brings the source's history in place of the target's.
    makeHistory(there, QStringLiteral("2"));
    if (HasFatalFailure())
        return;
    const Migration::Outcome again = Migration::migrate(copy.path(), serverUri, true);
    ASSERT_TRUE(again.copied) << again.error.toStdString();
    EXPECT_EQ(historyAt(serverUri, serverUri), historyAt(there));
}
