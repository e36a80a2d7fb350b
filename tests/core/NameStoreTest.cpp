#include "core/names/NameStore.h"

#include "StoreEngines.h"
#include "core/startup/DataStore.h"
#include "core/store/SqlConnection.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace cs42 {
namespace {

class NameStoreTest : public test::StoreEngineTest
{
protected:
    NameStore store() const { return NameStore(m_paths.namesDbPath()); }

    // Reads a column of the row with `key` straight from the file; a null QString for Null.
    QString stored(const QString& key, const QString& column)
    {
        SqlConnection connection(m_paths.namesDbPath());
        QSqlQuery query(connection.database());
        query.prepare(QStringLiteral("SELECT %1 FROM NAMES WHERE keynumber = ?")
                          .arg(connection.dialect().identifier(column)));
        query.addBindValue(key);
        if (!query.exec() || !query.next())
            return QStringLiteral("<no row>");
        return query.value(0).isNull() ? QString() : query.value(0).toString();
    }

    QString add(const char* first, const char* last, const char* firm = "")
    {
        const NameParts parts{
            QString::fromLatin1(first), {}, QString::fromLatin1(last), {}, QString::fromLatin1(firm)};
        return store().addName(*NameForms::compose(parts), parts);
    }

    const DataPaths& m_paths = paths;
};

CS42_STORE_ENGINES(NameStoreTest);

TEST_P(NameStoreTest, AnEmptyDirectoryGetsTheSeedOnEveryOpening)
{
    ASSERT_EQ(store().count(), 0);
    ASSERT_EQ(store().openNames(), NameStoreStatus::Ok);
    ASSERT_EQ(store().openNames(), NameStoreStatus::Ok);
    EXPECT_EQ(store().count(), 1);
    const auto seed = store().load(QStringLiteral("A0000001"));
    ASSERT_TRUE(seed.has_value());
    EXPECT_EQ(seed->firmName(), QStringLiteral("Example Law Office"));
    EXPECT_EQ(seed->value(QStringLiteral("street2")), QStringLiteral("(mailing address)"));
    EXPECT_EQ(seed->value(QStringLiteral("notes")), QStringLiteral(""));
    EXPECT_FALSE(seed->isNull(QStringLiteral("photocaption")));

    ASSERT_EQ(store().deleteName(QStringLiteral("A0000001")), NameStoreStatus::Ok);
    ASSERT_EQ(store().count(), 0);
    const auto rows = store().listRows();
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 1);
    EXPECT_EQ(rows->first().keyNumber, QStringLiteral("A0000001"));
}

TEST_P(NameStoreTest, AddedNameHasEmptyAddressAndNullExtrasUntilRepaired)
{
    const QString key = add("John", "Smith");
    ASSERT_EQ(key.size(), 8);
    EXPECT_TRUE(key.startsWith(QLatin1Char('S')));
    EXPECT_EQ(stored(key, QStringLiteral("listname")), QStringLiteral("John Smith"));
    EXPECT_EQ(stored(key, QStringLiteral("firmname")), QStringLiteral("Smith John"));
    EXPECT_EQ(stored(key, QStringLiteral("lastfirstmiddle")), QStringLiteral("Smith John"));
    EXPECT_EQ(stored(key, QStringLiteral("street")), QStringLiteral(""));
    EXPECT_EQ(stored(key, QStringLiteral("wphone")), QStringLiteral(""));
    EXPECT_TRUE(stored(key, QStringLiteral("notes")).isNull());
    EXPECT_TRUE(stored(key, QStringLiteral("shortnote")).isNull());

    store().repairNulls();
    EXPECT_EQ(stored(key, QStringLiteral("notes")), QStringLiteral(" "));
    EXPECT_EQ(stored(key, QStringLiteral("shortnote")), QStringLiteral(""));
}

TEST_P(NameStoreTest, TheSameNameTwiceGetsTwoKeys)
{
    const QString first = add("Ann", "Lee");
    const QString second = add("Ann", "Lee");
    EXPECT_NE(first, second);
    EXPECT_EQ(store().count(), 3); // with the seed
}

TEST_P(NameStoreTest, OverlongNamePartsAreCutToTheirColumns)
{
    const QString longLast(70, QLatin1Char('L'));
    const NameParts parts{QStringLiteral("Ann"), {}, longLast, {}, {}};
    const QString key = store().addName(*NameForms::compose(parts), parts);
    EXPECT_EQ(stored(key, QStringLiteral("lastname")).size(), 50);
    EXPECT_EQ(stored(key, QStringLiteral("listname")), QStringLiteral("Ann ") + longLast);
}

TEST_P(NameStoreTest, SaveStoresTheLeadingPartOfEachBox)
{
    const QString key = add("Ann", "Lee");
    QHash<QString, QString> boxes;
    boxes.insert(QStringLiteral("namestate"), QStringLiteral("Alabama"));
    boxes.insert(QStringLiteral("birthdate"), QStringLiteral("March 3, 1960"));
    boxes.insert(QStringLiteral("notes"), QString(300, QLatin1Char('n')));
    boxes.insert(QStringLiteral("street"), QStringLiteral("1 O'Neil \"Way\""));
    boxes.insert(QStringLiteral("listname"), QStringLiteral("Ann B. Lee"));
    ASSERT_EQ(store().saveFields(key, boxes), NameStoreStatus::Ok);

    const auto record = store().load(key);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->value(QStringLiteral("namestate")), QStringLiteral("Al"));
    EXPECT_EQ(record->value(QStringLiteral("birthdate")), QStringLiteral("March 3, 1"));
    EXPECT_EQ(record->value(QStringLiteral("notes")), QString(250, QLatin1Char('n')));
    EXPECT_EQ(record->value(QStringLiteral("street")), QStringLiteral("1 O'Neil \"Way\""));
    EXPECT_EQ(record->listName(), QStringLiteral("Ann B. Lee"));
    EXPECT_EQ(record->value(QStringLiteral("city")), QStringLiteral("")); // a box not given is stored empty
    // The columns no window edits are left alone.
    EXPECT_EQ(record->value(QStringLiteral("lastfirstmiddle")), QStringLiteral("Lee Ann"));
    EXPECT_EQ(record->keyNumber(), key);

    EXPECT_EQ(store().saveFields(QStringLiteral("Z9999999"), boxes), NameStoreStatus::NotFound);
}

TEST_P(NameStoreTest, LoadOfAMissingKeyIsNotFound)
{
    NameStoreStatus status = NameStoreStatus::Ok;
    EXPECT_FALSE(store().load(QStringLiteral("Q1234567"), &status).has_value());
    EXPECT_EQ(status, NameStoreStatus::NotFound);
}

TEST_P(NameStoreTest, DeleteRemovesOneRowMatchingTheTrimmedKey)
{
    SqlConnection connection(m_paths.namesDbPath());
    ASSERT_TRUE(
        connection.exec(QStringLiteral("INSERT INTO NAMES (firmname, keynumber) VALUES ('One', 'D1000000 '), "
                                       "('Two', ' D1000000'), ('Other', 'E1000000')")));
    EXPECT_EQ(store().deleteName(QStringLiteral(" D1000000")), NameStoreStatus::Ok);
    const auto rows = store().listRows();
    ASSERT_TRUE(rows.has_value());
    QStringList firms;
    for (const NameListRow& row : *rows)
        firms << row.firmName;
    EXPECT_EQ(firms, (QStringList{QStringLiteral("Two"), QStringLiteral("Other")}));
    EXPECT_EQ(store().deleteName(QStringLiteral("X0000000")), NameStoreStatus::NotFound);
}

TEST_P(NameStoreTest, AMissingDatabaseFailsWithAReason)
{
    NameStore missing(work.filePath(QStringLiteral("nowhere/Names.mdb")));
    QString error;
    EXPECT_EQ(missing.openNames(&error), NameStoreStatus::Failed);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(missing.listRows().has_value());
    EXPECT_TRUE(missing.addName(*NameForms::compose({{}, {}, QStringLiteral("Lee"), {}, {}}), {}).isEmpty());
    EXPECT_EQ(missing.saveFields(QStringLiteral("A0000001"), {}), NameStoreStatus::Failed);
}

} // namespace
} // namespace cs42
