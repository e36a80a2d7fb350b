#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace cs42::test {

// What one run of cs42-admin printed and how it ended (-1: it did not end normally).
struct AdminRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs cs42-admin in `workingDir`, as an office runs it in the program's working directory.
// cs42-admin installs the build tree's template and schedule on start; a test gets them only when
// it names `installedData`, else an empty data folder, so that an empty schedule or a missing
// template stays as the test made it.
inline AdminRun
runAdmin(const QString& workingDir, const QStringList& args, const QString& installedData = {})
{
    static const QTemporaryDir noData;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CS42_DATA_DIR"),
                       installedData.isEmpty() ? noData.path() : installedData);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingDir);
    process.start(QStringLiteral(CS42_ADMIN_PATH), args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace cs42::test
