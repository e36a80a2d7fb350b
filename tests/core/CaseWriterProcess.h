#pragma once

// The case_writer helper (tests/tools) run as a separate process, as another workstation would.
#include <QProcess>
#include <QStringList>

#include <csignal>

namespace cs42::test {

inline const QString& caseWriterPath()
{
    static const QString path = QStringLiteral(TEST_TOOLS_DIR "/case_writer");
    return path;
}

// Lets `writer` report at least `saves` saves, then kills it with SIGKILL in the middle of its
// work. Returns the number of the last save that had returned (0 when none had).
inline int killAfterSaves(QProcess& writer, int saves)
{
    QByteArray output;
    while (output.count('\n') < saves && writer.state() == QProcess::Running) {
        writer.waitForReadyRead(5000);
        output += writer.readAllStandardOutput();
    }
    ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
    writer.waitForFinished(10000);
    output += writer.readAllStandardOutput();
    const QByteArray last = output.trimmed().split('\n').last();
    return last.startsWith("saved ") ? last.mid(6).toInt() : 0;
}

} // namespace cs42::test
