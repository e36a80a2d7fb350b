#include "core/store/DataPaths.h"

#include "core/store/ProgramSettings.h"
#include "core/store/ServerLocation.h"

#include <QDir>
#include <QRegularExpression>

namespace cs42 {

QString dataDriveFor(const QString& workingDirectory)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(workingDirectory).left(2);
#else
    return QDir::toNativeSeparators(QDir::cleanPath(workingDirectory));
#endif
}

QString shownLocation(const QString& pathOrUri)
{
    return ServerLocation::isServerUri(pathOrUri) ? pathOrUri : QDir::toNativeSeparators(pathOrUri);
}

QString joinPath(const QString& folder, const QString& fileName)
{
    QString base = folder;
    while (base.size() > 1 && (base.endsWith(QLatin1Char('/')) || base.endsWith(QDir::separator())))
        base.chop(1);
    return QDir::toNativeSeparators(base + QLatin1Char('/') + fileName);
}

DataPaths DataPaths::forWorkingDirectory(const QString& workingDirectory)
{
    DataPaths paths;
    paths.dataDrive = dataDriveFor(workingDirectory);
    paths.filesLocation = paths.defaultFilesLocation();
    return paths;
}

QString DataPaths::vtrFormsDir() const
{
    return joinPath(dataDrive, QStringLiteral("VTRForms"));
}

bool DataPaths::onServer() const
{
    return ServerLocation::isServerUri(filesLocation);
}

QString DataPaths::backupFolder() const
{
    if (!onServer())
        return filesLocation;
    // One folder per server database, so that the backups of one office's server never rotate
    // away those of another (or of the folder the workstation used before).
    const std::optional<ServerLocation> server = ServerLocation::fromUri(filesLocation.trimmed());
    QString tag =
        server
            ? QStringLiteral("%1_%2_%3").arg(server->host.toLower()).arg(server->port).arg(server->database)
            : QStringLiteral("server");
    tag.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    return joinPath(joinPath(vtrFormsDir(), QStringLiteral("ServerBackups")), tag);
}

QString DataPaths::settingsDbPath() const
{
    return joinPath(vtrFormsDir(), QStringLiteral("Quon2017.MDB"));
}

QString DataPaths::scheduleDbPath() const
{
    return joinPath(vtrFormsDir(), QStringLiteral("VTRchedule.MDB"));
}

QString DataPaths::namesDbPath() const
{
    return onServer() ? filesLocation.trimmed() : joinPath(filesLocation, QStringLiteral("Names.mdb"));
}

QString DataPaths::casesDbPath() const
{
    return onServer() ? filesLocation.trimmed() : joinPath(filesLocation, ProgramSettings::CasesDbName);
}

QString DataPaths::namesBackupPath() const
{
    return joinPath(backupFolder(), QStringLiteral("Names_Backup.MDB"));
}

QString DataPaths::casesBackupPath() const
{
    const QString& name = ProgramSettings::CasesDbName;
    return joinPath(backupFolder(), name.left(name.size() - 4) + QStringLiteral("_Backup.MDB"));
}

QString DataPaths::namesPreviousBackupPath() const
{
    return joinPath(backupFolder(), QStringLiteral("Names_Backup_Previous.MDB"));
}

QString DataPaths::casesPreviousBackupPath() const
{
    const QString& name = ProgramSettings::CasesDbName;
    return joinPath(backupFolder(), name.left(name.size() - 4) + QStringLiteral("_Backup_Previous.MDB"));
}

QString DataPaths::namesBeforeRestorePath() const
{
    return joinPath(backupFolder(), QStringLiteral("Names_BeforeRestore.MDB"));
}

QString DataPaths::casesBeforeRestorePath() const
{
    const QString& name = ProgramSettings::CasesDbName;
    return joinPath(backupFolder(), name.left(name.size() - 4) + QStringLiteral("_BeforeRestore.MDB"));
}

QStringList DataPaths::dataFiles() const
{
    QStringList files = {settingsDbPath(), scheduleDbPath()};
    if (!onServer())
        files << namesDbPath() << casesDbPath();
    files << namesBackupPath() << casesBackupPath() << namesPreviousBackupPath() << casesPreviousBackupPath();
    // Each restore keeps the file it replaced: the newest, then the generations _2 and _3.
    for (const QString& kept : {namesBeforeRestorePath(), casesBeforeRestorePath()}) {
        files << kept;
        for (int generation = 2; generation <= 3; ++generation)
            files << kept.left(kept.size() - 4) + QStringLiteral("_%1.MDB").arg(generation);
    }
    return files;
}

QString DataPaths::templatePath() const
{
    return joinPath(vtrFormsDir(), QStringLiteral("QUON42.PDF"));
}

QString DataPaths::formTemplatePath(const QString& templateFile) const
{
    return joinPath(vtrFormsDir(), templateFile);
}

QString DataPaths::producedFormPath() const
{
    return joinPath(vtrFormsDir(), QStringLiteral("VTRPDF.PDF"));
}

QString DataPaths::rule32Path() const
{
    return joinPath(vtrFormsDir(), QStringLiteral("QUONRule32.pdf"));
}

QString DataPaths::schedulePdfPath() const
{
    return joinPath(vtrFormsDir(), QStringLiteral("QUONSchedule.pdf"));
}

} // namespace cs42
