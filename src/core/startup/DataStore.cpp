#include "core/startup/DataStore.h"

#include "core/startup/InstalledData.h"
#include "core/store/Backup.h"
#include "core/store/PrivateFiles.h"
#include "core/store/Schema.h"
#include "core/store/SqlConnection.h"
#include "core/worksheet/FormEdition.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace cs42 {

DataPaths
DataStore::startUp(const QString& workingDirectory, StartUpReport* report, const QString& filesLocation)
{
    DataPaths paths = DataPaths::forWorkingDirectory(workingDirectory);
    QDir().mkpath(paths.vtrFormsDir());
    ensureSettingsDatabase(paths);
    const QString settingsProblem = loadSettings(paths);
    if (!filesLocation.isEmpty())
        paths.filesLocation = filesLocation;
    bool casesBusy = false;
    QString serverProblem;
    // Without readable settings the cases may be anywhere: making empty databases in the default
    // folder would show "no cases" in place of the shared ones.
    if (settingsProblem.isEmpty()) {
        QString problem;
        const bool usable = setDataPaths(paths, &problem);
        if (paths.onServer())
            serverProblem = usable ? QString() : problem;
        else
            casesBusy = !usable;
        Backup::removeStaleTemporaries(paths.backupFolder());
    }
    ensureScheduleDatabase(paths);
    // Files an earlier version left readable by every account.
    const QStringList written = paths.dataFiles() << paths.producedFormPath();
    for (const QString& file : written)
        PrivateFiles::restrict(file);
    // The template, the reference documents and the default schedule, when missing.
    InstalledData::install(paths, InstalledData::folder());
    if (report) {
        report->settingsProblem = settingsProblem;
        report->casesBusy = casesBusy;
        report->serverProblem = serverProblem;
    }
    return paths;
}

void DataStore::ensureSettingsDatabase(const DataPaths& paths)
{
    Schema::ensureDatabase(paths.settingsDbPath(), Schema::mainTable());
}

QString DataStore::loadSettings(DataPaths& paths)
{
    SqlConnection connection(paths.settingsDbPath());
    if (!connection.isOpen())
        return connection.errorText();
    QSqlQuery query(connection.database());
    if (!query.exec(QStringLiteral("SELECT rowid, fileslocation FROM Main ORDER BY rowid LIMIT 1"))) {
        connection.noteError(query.lastError());
        return connection.errorText();
    }
    paths.filesLocation = paths.defaultFilesLocation();
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
        return {};
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
    return {};
}

bool DataStore::setDataPaths(const DataPaths& paths, QString* problem)
{
    const bool casesUsable = ensureCasesDatabase(paths, problem);
    if (!paths.onServer()) {
        ensureNamesDatabase(paths);
        return casesUsable;
    }
    // A server that cannot be reached is tried once, not once per table; its names table must be
    // usable as well as its cases table.
    return casesUsable &&
           Schema::ensureDatabase(paths.namesDbPath(), Schema::namesTable(), problem) == SqlFailure::None;
}

void DataStore::ensureNamesDatabase(const DataPaths& paths)
{
    Schema::ensureDatabase(paths.namesDbPath(), Schema::namesTable());
}

bool DataStore::ensureCasesDatabase(const DataPaths& paths, QString* problem)
{
    const SqlFailure failure = Schema::ensureDatabase(paths.casesDbPath(), Schema::casesTable(), problem);
    // A folder's database file that cannot be made is reported when it is first opened.
    return failure == SqlFailure::None || (!paths.onServer() && failure != SqlFailure::Busy);
}

void DataStore::ensureScheduleDatabase(const DataPaths& paths)
{
    // An installed schedule file is never touched; only a missing one is created (empty).
    if (QFileInfo::exists(paths.scheduleDbPath()))
        return;
    for (const QString& table : Schema::scheduleTableNames())
        Schema::ensureDatabase(paths.scheduleDbPath(), Schema::scheduleTable(table));
}

QString DataStore::defaultEdition(const DataPaths& paths, QString* problem)
{
    SqlConnection connection(paths.settingsDbPath());
    QString stored;
    if (connection.isOpen()) {
        QSqlQuery query(connection.database());
        if (query.exec(QStringLiteral("SELECT defaultedition FROM Main ORDER BY rowid LIMIT 1")) &&
            query.next())
            stored = query.value(0).toString().trimmed();
    }
    if (problem)
        problem->clear();
    if (stored.isEmpty())
        return FormEditions::DefaultId;
    // "" would be the 2009 form to FormEditions::find; here it was handled above.
    if (const FormEdition* edition = FormEditions::find(stored))
        return edition->id;
    if (problem)
        *problem = QStringLiteral("The settings name the form edition '%1' for new cases, which this program "
                                  "does not know (it knows %2). New cases take %3 meanwhile; choose the "
                                  "default form with the menu \"Default Form\".")
                       .arg(stored,
                            FormEditions::knownIds(),
                            QStringLiteral("form %1 (%2)")
                                .arg(FormEditions::defaultEdition().shortName,
                                     FormEditions::defaultEdition().revision));
    return FormEditions::DefaultId;
}

bool DataStore::saveDefaultEdition(const DataPaths& paths, const QString& edition)
{
    SqlConnection connection(paths.settingsDbPath());
    return connection.isOpen() &&
           connection.exec(
               QStringLiteral(
                   "UPDATE Main SET defaultedition = ? WHERE rowid = (SELECT min(rowid) FROM Main)"),
               {edition});
}

std::optional<WindowPlacement> DataStore::windowPlacement(const DataPaths& paths)
{
    SqlConnection connection(paths.settingsDbPath());
    if (!connection.isOpen())
        return std::nullopt;
    QSqlQuery query(connection.database());
    if (!query.exec(QStringLiteral("SELECT windowplacement FROM Main ORDER BY rowid LIMIT 1")) ||
        !query.next())
        return std::nullopt;
    return WindowPlacement::fromText(query.value(0).toString());
}

bool DataStore::saveWindowPlacement(const DataPaths& paths, const WindowPlacement& placement)
{
    SqlConnection connection(paths.settingsDbPath());
    return connection.isOpen() &&
           connection.exec(
               QStringLiteral(
                   "UPDATE Main SET windowplacement = ? WHERE rowid = (SELECT min(rowid) FROM Main)"),
               {placement.toText()});
}

QString DataStore::lastSaveFolder(const DataPaths& paths)
{
    SqlConnection connection(paths.settingsDbPath());
    if (!connection.isOpen())
        return {};
    QSqlQuery query(connection.database());
    if (query.exec(QStringLiteral("SELECT savefolder FROM Main ORDER BY rowid LIMIT 1")) && query.next())
        return query.value(0).toString();
    return {};
}

bool DataStore::saveLastSaveFolder(const DataPaths& paths, const QString& folder)
{
    SqlConnection connection(paths.settingsDbPath());
    return connection.isOpen() &&
           connection.exec(
               QStringLiteral("UPDATE Main SET savefolder = ? WHERE rowid = (SELECT min(rowid) FROM Main)"),
               {folder});
}

QString DataStore::damagedSettingsPath(const DataPaths& paths)
{
    return joinPath(paths.vtrFormsDir(), QStringLiteral("Quon2017_Damaged.MDB"));
}

bool DataStore::replaceDamagedSettings(DataPaths& paths, QString* error)
{
    const QString damaged = damagedSettingsPath(paths);
    if (QFileInfo::exists(paths.settingsDbPath())) {
        QFile::remove(damaged);
        QFile file(paths.settingsDbPath());
        if (!file.rename(damaged)) {
            if (error)
                *error = file.errorString();
            return false;
        }
    }
    ensureSettingsDatabase(paths);
    const QString problem = loadSettings(paths);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    setDataPaths(paths);
    Backup::removeStaleTemporaries(paths.backupFolder());
    return true;
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
