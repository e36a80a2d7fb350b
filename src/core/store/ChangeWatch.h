#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace cs42 {

class SqlConnection;

// Notices that another workstation changed the cases, so that a window can show the case as
// stored without being reopened. On a server it listens for the notices every save sends
// (SqlDialect::changeNotice) on a connection of its own; in a folder it asks SQLite every
// CheckIntervalMs whether anything committed to the file since the last look (PRAGMA
// data_version on a kept connection that holds no lock between looks), and checkNow() looks at
// once (the window was activated). Either way it never waits on the database for longer than a
// moment: a file that is busy just now is looked at again next time, and a lost server connection
// is made again on a later check.
class ChangeWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr int CheckIntervalMs = 2000;

    explicit ChangeWatch(QString casesDbPath, QObject* parent = nullptr);
    ~ChangeWatch() override;

    // Looks for changes now rather than at the next tick.
    void checkNow();

    // Whether changes reach this watch now (the file is open, or the server connection listens).
    bool isWatching() const;

signals:
    // Something was committed to the cases since the last look: `caseId` names the case when the
    // server's notice said which, and is empty when any case (or the list) may have changed.
    void casesChanged(const QString& caseId);

private:
    void openFile();
    void checkFile();
    void listen();
    void checkServer();
    void closeConnection();

    QString m_path;
    bool m_onServer = false;
    QTimer m_timer;
    // A file's: the connection name, the last data_version and which file it was.
    QString m_fileConnection;
    qint64 m_dataVersion = -1;
    QString m_fileIdentity;
    // A server's listening connection.
    std::unique_ptr<SqlConnection> m_listener;
    qint64 m_lastConnectAttemptMs = 0;
    bool m_checking = false;
};

} // namespace cs42
