#include "AdminProcess.h"
#include "core/store/CaseStore.h"
#include "core/store/DataStore.h"

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
    ASSERT_EQ(rows.size(), 2) << json.out.toStdString();
    const QJsonObject newest = rows[0].toObject();
    EXPECT_EQ(newest.value(QStringLiteral("user")).toString(), QStringLiteral("bob"));
    EXPECT_EQ(newest.value(QStringLiteral("old")).toString(), QStringLiteral("5287"));
    EXPECT_EQ(newest.value(QStringLiteral("new")).toString(), QStringLiteral("5400"));
    EXPECT_EQ(newest.value(QStringLiteral("column")).toString(), QStringLiteral("dinc"));
    EXPECT_EQ(newest.value(QStringLiteral("host")).toString(), QSysInfo::machineHostName());
    EXPECT_EQ(rows[1].toObject().value(QStringLiteral("user")).toString(), QStringLiteral("alice"));

    const cs42::test::AdminRun all = cs42::test::runAdmin(dir.path(), {"history"});
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    const QStringList lines = all.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("\tpinc\t -> 100"))) << lines[0].toStdString();
    EXPECT_EQ(cs42::test::runAdmin(dir.path(), {"history", "--case"}).exitCode, 2);
}

} // namespace
