#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace cs42::test {

// What one run of cs42-admin printed and how it ended (-1: it did not end normally).
struct AdminRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs cs42-admin in `workingDir`, as an office runs it in the program's working directory.
inline AdminRun runAdmin(const QString& workingDir, const QStringList& args)
{
    QProcess process;
    process.setWorkingDirectory(workingDir);
    process.start(QStringLiteral(CS42_ADMIN_PATH), args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace cs42::test
