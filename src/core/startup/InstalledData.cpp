#include "core/startup/InstalledData.h"

#include "core/store/PrivateFiles.h"
#include "core/store/Schema.h"
#include "core/worksheet/FormEdition.h"
#include "core/worksheet/ScheduleCsv.h"
#include "core/worksheet/ScheduleHistory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>

namespace cs42::InstalledData {

namespace {
Q_LOGGING_CATEGORY(lcInstall, "cs42.install")

QString copyMissing(const QString& source, const QString& target, QStringList* copied)
{
    if (QFileInfo::exists(target) || !QFileInfo::exists(source))
        return {};
    // Copy under a temporary name first: an interrupted copy must not look like a template.
    const QString partial = target + QStringLiteral(".partial");
    QFile::remove(partial);
    QFile file(source);
    if (!file.copy(partial))
        return QStringLiteral("cannot copy %1 to %2: %3").arg(source, partial, file.errorString());
    // Installed files are read-only; the office's copy is its own to replace.
    QFile::setPermissions(partial, QFile::permissions(partial) | QFile::WriteOwner);
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        return QStringLiteral("cannot rename %1 to %2").arg(partial, target);
    }
    copied->append(QFileInfo(target).fileName());
    return {};
}

// Fills an empty schedule; returns the number of rows put in, or -1 with the reason.
int fillEmptySchedule(const DataPaths& paths,
                      const QString& csvPath,
                      const QString& table,
                      const QDate& today,
                      QString* problem)
{
    if (!QFileInfo::exists(csvPath))
        return 0;
    // A file made before the table existed gains it, empty, and is filled like a new one.
    Schema::ensureDatabase(paths.scheduleDbPath(), Schema::scheduleTable(table));
    const auto installed = ScheduleCsv::readRows(paths.scheduleDbPath(), problem, table);
    // A schedule that cannot be read is left for the user to see, never written over.
    if (!installed)
        return -1;
    if (!installed->isEmpty())
        return 0;
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly)) {
        *problem = QStringLiteral("cannot read %1: %2").arg(csvPath, csv.errorString());
        return -1;
    }
    const auto rows = ScheduleCsv::parse(csv.readAll(), problem, FormEditions::cs42Rev0522().rules);
    if (!rows || !ScheduleHistory::installRows(paths.scheduleDbPath(), table, *rows, today, problem))
        return -1;
    return static_cast<int>(rows->size());
}
} // namespace

QString scheduleFileName()
{
    return QStringLiteral("alabama-schedule-2022-05-01.csv");
}

QString folder()
{
    if (qEnvironmentVariableIsSet(FolderVariable))
        return qEnvironmentVariable(FolderVariable);
    // Only a program in a bin folder has an installation prefix: test and benchmark programs,
    // which live elsewhere in the build tree, start without installed data.
    const QDir programDir(QCoreApplication::applicationDirPath());
    if (programDir.dirName() != QLatin1String("bin"))
        return {};
    const QString data = QDir::cleanPath(programDir.filePath(QStringLiteral("../share/cs42")));
    return QFileInfo(data).isDir() ? data : QString();
}

InstallReport install(const DataPaths& paths, const QString& dataFolder, const QDate& today)
{
    InstallReport report;
    if (dataFolder.isEmpty())
        return report;
    const QDir data(dataFolder);
    // The blank form of every edition, then the reference documents.
    QList<QPair<QString, QString>> documents;
    for (const FormEdition* edition : FormEditions::all())
        documents.append({edition->templateFile, paths.formTemplatePath(edition->templateFile)});
    documents.append({QStringLiteral("QUONSchedule.pdf"), paths.schedulePdfPath()});
    documents.append({QStringLiteral("QUONRule32.pdf"), paths.rule32Path()});
    for (const auto& [name, target] : documents) {
        const QString problem = copyMissing(data.filePath(name), target, &report.copiedFiles);
        if (!problem.isEmpty())
            report.problems << problem;
    }
    // The shipped schedule is the one in force since May 1, 2022: it fills the table of the forms
    // for actions filed since then, never the 2009 form's (a court never combined the two).
    QString problem;
    const int rows = fillEmptySchedule(
        paths, data.filePath(scheduleFileName()), FormEditions::cs42Rev0522().scheduleTable, today, &problem);
    if (rows < 0)
        report.problems << problem;
    else
        report.schedule2022Rows = rows;
    for (const QString& p : report.problems)
        qCWarning(lcInstall).noquote() << p;
    return report;
}

QString userWorkingDirectory(QString* error)
{
    // GenericDataLocation is $XDG_DATA_HOME, or ~/.local/share when it is not set.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) {
        *error = QStringLiteral("no home folder for the per-user data folder");
        return {};
    }
    const QString folder = QDir(base).filePath(QStringLiteral("cs42"));
    // The folder holds the cases and names of one account: no other account may look in.
    if (!PrivateFiles::makePrivateFolder(folder) ||
        !QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        *error = QStringLiteral("cannot create the folder %1").arg(folder);
        return {};
    }
    return folder;
}

} // namespace cs42::InstalledData
