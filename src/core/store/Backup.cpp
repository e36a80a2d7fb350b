#include "core/store/Backup.h"

#include "core/store/SqlConnection.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

#include <filesystem>
#include <system_error>

namespace cs42::Backup {

namespace {
QString temporaryBeside(const QString& path)
{
    return path + QStringLiteral(".tmp-%1").arg(QCoreApplication::applicationPid());
}

// Replaces `target` with `source` in one step (rename over an existing file).
bool replaceFile(const QString& source, const QString& target, QString* error)
{
    std::error_code code;
    std::filesystem::rename(
        std::filesystem::path(source.toStdU16String()), std::filesystem::path(target.toStdU16String()), code);
    if (code && error)
        *error = QString::fromStdString(code.message());
    return !code;
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}
} // namespace

bool writeBackup(const QString& livePath, const QString& backupPath, QString* error)
{
    const QString temporary = temporaryBeside(backupPath);
    QFile::remove(temporary);
    {
        SqlConnection live(livePath);
        if (!live.isOpen()) {
            setError(error, live.errorText());
            return false;
        }
        if (!live.exec(QStringLiteral("VACUUM INTO ?"), {temporary})) {
            setError(error, live.errorText());
            QFile::remove(temporary);
            return false;
        }
    }
    if (!replaceFile(temporary, backupPath, error)) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

RestoreResult restore(const QString& backupPath, const QString& livePath, QString* error)
{
    if (!QFileInfo(backupPath).isFile())
        return RestoreResult::NoBackup;
    const QString temporary = temporaryBeside(livePath);
    QFile::remove(temporary);
    if (!QFile::copy(backupPath, temporary)) {
        setError(error, QStringLiteral("The backup could not be copied beside %1.").arg(livePath));
        return RestoreResult::Failed;
    }
    bool sound = false;
    {
        SqlConnection copy(temporary);
        QSqlQuery check(copy.database());
        sound = copy.isOpen() && check.exec(QStringLiteral("PRAGMA quick_check")) && check.next() &&
                check.value(0).toString() == QLatin1String("ok");
        if (!sound)
            setError(error, QStringLiteral("The backup file is not a sound database."));
    }
    if (!sound || !replaceFile(temporary, livePath, error)) {
        QFile::remove(temporary);
        return RestoreResult::Failed;
    }
    return RestoreResult::Restored;
}

RestoreTexts casesRestoreTexts()
{
    return {
        QStringLiteral("Restore CASES Database File"),
        QStringLiteral("Are you sure you want to RESTORE the Cases Database File using the Backup Database "
                       "File (Y/N)?")};
}

RestoreTexts namesRestoreTexts()
{
    return {
        QStringLiteral("Restore Names Database File"),
        QStringLiteral("Are you sure you want to RESTORE the Names Database File using the Backup Database "
                       "File (Y/N)?")};
}

QString noBackupText()
{
    return QStringLiteral("No Backup Database File can be Found!");
}

} // namespace cs42::Backup
