#pragma once

// The store tests run once on a database file in a folder and once on the PostgreSQL test server
// (a database of its own for each test). The server case is skipped only when no test server is
// named (CS42_TEST_PG_DIR); CTest always names one.
#include "core/startup/DataStore.h"
#include "support/PgTestServer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace cs42::test {

enum class StoreEngine
{
    File,
    Server,
};

inline std::string engineName(const ::testing::TestParamInfo<StoreEngine>& info)
{
    return info.param == StoreEngine::File ? "File" : "Server";
}

// A working directory whose files location is a folder or a fresh server database, for fixtures
// whose parameter names the engine.
class StoreLocationTest : public ::testing::Test
{
protected:
    // Called from SetUp. Without a test server the test is skipped; a server that cannot give a
    // database fails it.
    void useEngine(StoreEngine engine)
    {
        ASSERT_TRUE(work.isValid());
        paths = DataStore::startUp(work.path());
        if (engine != StoreEngine::Server)
            return;
        server = PgTestServer::fromEnvironment();
        CS42_SKIP_WITHOUT_PG(server);
        server->exportPgpassFile();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        uri = server->freshDatabase(QString::fromLatin1(info->name()));
        ASSERT_FALSE(uri.isEmpty()) << server->error().toStdString();
        paths.filesLocation = uri;
        ASSERT_TRUE(DataStore::saveFilesLocation(paths));
        QString problem;
        ASSERT_TRUE(DataStore::setDataPaths(paths, &problem)) << problem.toStdString();
    }

    void TearDown() override
    {
        if (server && !uri.isEmpty())
            server->dropDatabase(uri);
    }

    QTemporaryDir work;
    DataPaths paths;
    std::optional<PgTestServer> server;
    QString uri;
};

class StoreEngineTest : public StoreLocationTest, public ::testing::WithParamInterface<StoreEngine>
{
protected:
    void SetUp() override { useEngine(GetParam()); }
};

#define CS42_STORE_ENGINES(suite)                                                                            \
    INSTANTIATE_TEST_SUITE_P(                                                                                \
        Engines,                                                                                             \
        suite,                                                                                               \
        ::testing::Values(::cs42::test::StoreEngine::File, ::cs42::test::StoreEngine::Server),               \
        ::cs42::test::engineName)

} // namespace cs42::test
