#include "core/store/DataStore.h"

#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

namespace cs42 {

DataPaths DataStore::startUp(const QString& workingDirectory)
{
    DataPaths paths = DataPaths::forWorkingDirectory(workingDirectory);
    QDir().mkpath(paths.vtrFormsDir());
    ensureSettingsDatabase(paths);
    loadSettings(paths);
    setDataPaths(paths);
    ensureScheduleDatabase(paths);
    return paths;
}

void DataStore::ensureSettingsDatabase(const DataPaths& paths)
{
    Schema::ensureDatabase(paths.settingsDbPath(), Schema::mainTable());
}

void DataStore::loadSettings(DataPaths& paths)
{
    paths.filesLocation = paths.defaultFilesLocation();
    SqlConnection connection(paths.settingsDbPath());
    if (!connection.isOpen())
        return;
    QSqlQuery query(connection.database());
    if (!query.exec(QStringLiteral("SELECT rowid, fileslocation FROM Main ORDER BY rowid LIMIT 1")))
        return;
    if (!query.next()) {
        query.finish();
        QVariantList values{paths.filesLocation};
        QString sql = QStringLiteral("INSERT INTO Main (fileslocation");
        for (int i = 1; i <= 9; ++i) {
            sql += QStringLiteral(", optfield%1").arg(i);
            values << QString(QLatin1String(""));
        }
        sql += QStringLiteral(") VALUES (?") + QStringLiteral(", ?").repeated(9) + QStringLiteral(")");
        connection.exec(sql, values);
        return;
    }
    const qint64 rowid = query.value(0).toLongLong();
    const QString stored = query.value(1).toString();
    query.finish();
    // An empty location would put the data at the root of the drive; keep the default then.
    if (!stored.trimmed().isEmpty())
        paths.filesLocation = stored;
    for (int i = 1; i <= 9; ++i) {
        connection.exec(
            QStringLiteral("UPDATE Main SET optfield%1 = '' WHERE rowid = ? AND optfield%1 IS NULL").arg(i),
            {rowid});
    }
}

void DataStore::setDataPaths(const DataPaths& paths)
{
    ensureNamesDatabase(paths);
    ensureCasesDatabase(paths);
}

void DataStore::ensureNamesDatabase(const DataPaths& paths)
{
    Schema::ensureDatabase(paths.namesDbPath(), Schema::namesTable());
}

void DataStore::ensureCasesDatabase(const DataPaths& paths)
{
    Schema::ensureDatabase(paths.casesDbPath(), Schema::casesTable());
    // Finding the current case by its key is done on every recomputation of the worksheet; with
    // thousands of cases a scan of the table is too slow. The index only speeds up the search:
    // every query that depends on the stored order still orders by rowid.
    SqlConnection connection(paths.casesDbPath());
    connection.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS CasesCaseId ON Cases (caseid)"));
}

void DataStore::ensureScheduleDatabase(const DataPaths& paths)
{
    // An installed schedule file is never touched; only a missing one is created (empty).
    if (QFileInfo::exists(paths.scheduleDbPath()))
        return;
    Schema::ensureDatabase(paths.scheduleDbPath(), Schema::scheduleTable());
}

bool DataStore::saveFilesLocation(const DataPaths& paths)
{
    SqlConnection connection(paths.settingsDbPath());
    if (!connection.isOpen())
        return false;
    return connection.exec(
        QStringLiteral("UPDATE Main SET fileslocation = ? WHERE rowid = (SELECT min(rowid) FROM Main)"),
        {paths.filesLocation});
}

} // namespace cs42
