#include "AdminProcess.h"
#include "core/names/NameForms.h"
#include "core/names/NameStore.h"
#include "core/startup/DataStore.h"
#include "core/store/CaseStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// `cs42-admin history` lists every change saved to a case, newest first, with who saved it where.
TEST(AdminHistoryTest, EverySaveIsListedWithItsUserHostAndTime)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const cs42::DataPaths paths = cs42::DataStore::startUp(dir.path());
    const cs42::CaseStore store(paths.casesDbPath());
    const QString doe = store.addCase(QStringLiteral("Doe v. Roe"), QDate(2026, 12, 1));
    const QString other = store.addCase(QStringLiteral("Other"), QDate(2026, 12, 1));
    const QByteArray user = qgetenv("USER");
    const auto saveAs =
        [&](const char* who, const QString& key, const char* column, const char* was, const char* now) {
            qputenv("USER", who);
            ASSERT_EQ(
                store.saveCaseChanges(key, {{QLatin1String(column), QLatin1String(was), QLatin1String(now)}}),
                cs42::CaseStoreStatus::Ok);
        };
    saveAs("alice", doe, "dinc", "", "5287");
    saveAs("bob", doe, "dinc", "5287", "5400");
    saveAs("bob", other, "pinc", "", "100");
    qputenv("USER", user);

    const cs42::test::AdminRun json = cs42::test::runAdmin(dir.path(), {"history", "--case", doe, "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 3) << json.out.toStdString();
    const QJsonObject newest = rows[0].toObject();
    EXPECT_EQ(newest.value(QStringLiteral("user")).toString(), QStringLiteral("bob"));
    EXPECT_EQ(newest.value(QStringLiteral("old")).toString(), QStringLiteral("5287"));
    EXPECT_EQ(newest.value(QStringLiteral("new")).toString(), QStringLiteral("5400"));
    EXPECT_EQ(newest.value(QStringLiteral("column")).toString(), QStringLiteral("dinc"));
    EXPECT_EQ(newest.value(QStringLiteral("host")).toString(), QSysInfo::machineHostName());
    EXPECT_EQ(rows[1].toObject().value(QStringLiteral("user")).toString(), QStringLiteral("alice"));
    EXPECT_EQ(rows[2].toObject().value(QStringLiteral("action")).toString(), QStringLiteral("added"));
    EXPECT_EQ(rows[2].toObject().value(QStringLiteral("new")).toString(), QStringLiteral("Doe v. Roe"));

    const cs42::test::AdminRun all = cs42::test::runAdmin(dir.path(), {"history"});
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    const QStringList lines = all.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << "two cases added, three saves";
    EXPECT_TRUE(lines[0].contains(QStringLiteral("\tpinc\t -> 100"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[4].contains(QStringLiteral("\tadded\t -> Doe v. Roe"))) << lines[4].toStdString();
    EXPECT_EQ(cs42::test::runAdmin(dir.path(), {"history", "--case"}).exitCode, 2);
}

// `--name KEY` lists one name's history, `--names` the whole directory's, deletions included,
// and never a case's row.
TEST(AdminHistoryTest, TheNamesHistoryIsListedByKeyAndAsAWhole)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const cs42::DataPaths paths = cs42::DataStore::startUp(dir.path());
    cs42::CaseStore(paths.casesDbPath()).addCase(QStringLiteral("Doe v. Roe"), QDate(2026, 12, 1));
    const cs42::NameStore names(paths.namesDbPath());
    const cs42::NameParts parts{QStringLiteral("Ann"), {}, QStringLiteral("Lee"), {}, {}};
    const QString ann = names.addName(*cs42::NameForms::compose(parts), parts);
    const cs42::NameParts firm{{}, {}, {}, {}, QStringLiteral("Bob's Bakery")};
    const QString bob = names.addName(*cs42::NameForms::compose(firm), firm);
    ASSERT_FALSE(ann.isEmpty());
    ASSERT_EQ(names.deleteName(bob), cs42::NameStoreStatus::Ok);

    const cs42::test::AdminRun json = cs42::test::runAdmin(dir.path(), {"history", "--name", ann, "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 1) << json.out.toStdString();
    const QJsonObject added = rows[0].toObject();
    EXPECT_EQ(added.value(QStringLiteral("keynumber")).toString(), ann);
    EXPECT_EQ(added.value(QStringLiteral("action")).toString(), QStringLiteral("added"));
    EXPECT_EQ(added.value(QStringLiteral("column")).toString(), QStringLiteral("firmname"));
    EXPECT_EQ(added.value(QStringLiteral("new")).toString(), QStringLiteral("Lee Ann"));
    EXPECT_EQ(added.value(QStringLiteral("host")).toString(), QSysInfo::machineHostName());

    const cs42::test::AdminRun all = cs42::test::runAdmin(dir.path(), {"history", "--names"});
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    const QStringList lines = all.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << all.out.toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("\t%1\tdeleted\tBob's Bakery -> ").arg(bob)))
        << lines[0].toStdString();
    EXPECT_EQ(cs42::test::runAdmin(dir.path(), {"history", "--name", ann, "--case", ann}).exitCode, 2);
}

} // namespace
