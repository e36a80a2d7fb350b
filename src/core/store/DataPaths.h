#pragma once

#include <QString>
#include <QStringList>

namespace cs42 {

// Where every file of the program lives. `dataDrive` is the working drive: on Windows the first
// two characters of the working directory, elsewhere the working directory itself. The settings
// and schedule databases, the form template and the reference documents stay in
// <dataDrive>/VTRForms; the names and cases databases follow `filesLocation`: a folder, or the
// URI of an office's PostgreSQL server (ServerLocation), whose one database holds both tables.
struct DataPaths
{
    QString dataDrive;
    QString filesLocation;

    static DataPaths forWorkingDirectory(const QString& workingDirectory);

    QString vtrFormsDir() const;

    QString defaultFilesLocation() const { return vtrFormsDir(); }

    // True when the cases and names live on a server rather than in a folder.
    bool onServer() const;
    // Where the backups of the cases and names are written: the files location, or for a server
    // a folder of that server database's own under VTRForms/ServerBackups on this workstation
    // (VTRForms/ServerBackups/<host>_<port>_<database>).
    QString backupFolder() const;

    QString settingsDbPath() const;
    QString scheduleDbPath() const;
    // The database files in the files location, or the server URI for both.
    QString namesDbPath() const;
    QString casesDbPath() const;
    QString namesBackupPath() const;
    QString casesBackupPath() const;
    // The generation before the last backup: one bad quit never leaves no good backup.
    QString namesPreviousBackupPath() const;
    QString casesPreviousBackupPath() const;
    // Where a restore keeps the live file it replaced.
    QString namesBeforeRestorePath() const;
    QString casesBeforeRestorePath() const;
    // Every database file of the program and its backups: files nothing else may write over.
    QStringList dataFiles() const;
    QString templatePath() const;
    // The blank form of an edition (FormEdition::templateFile) in VTRForms.
    QString formTemplatePath(const QString& templateFile) const;
    QString producedFormPath() const;
    QString rule32Path() const;
    QString schedulePdfPath() const;
};

// The working drive for a working directory (see DataPaths).
QString dataDriveFor(const QString& workingDirectory);

// A database file or folder with the platform's separators, or a server URI as it stands: the
// location as messages show it.
QString shownLocation(const QString& pathOrUri);

// Joins a folder and a file name with the platform's separator.
QString joinPath(const QString& folder, const QString& fileName);

} // namespace cs42
