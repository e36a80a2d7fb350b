#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

class QSqlError;

namespace cs42 {

// Why a database could not be used. `Busy` is the one the user can wait out: another workstation
// holds the file.
enum class SqlFailure
{
    None,
    Missing,      // the file (or its folder) is not there
    NotADatabase, // a folder, an empty name, or a file that is not a sound database
    Busy,         // locked by another workstation for longer than the busy timeout
    Other,        // anything else (disk full, read-only, I/O error); errorText says what
};

// One open database file, opened for one piece of work and closed again: no connection is held
// between user actions, so several workstations can share the files. Every connection has its
// own name; queries on it must be destroyed before the connection is.
class SqlConnection
{
public:
    enum class Mode
    {
        OpenOrCreate, // creates the file when it is missing (database set-up)
        MustExist     // fails when the file is missing or is not a database
    };

    explicit SqlConnection(const QString& path, Mode mode = Mode::MustExist);
    ~SqlConnection();

    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    bool isOpen() const { return m_open; }

    QSqlDatabase& database() { return m_db; }

    // The reason of the last failure, in words the user can act on.
    const QString& errorText() const { return m_error; }

    SqlFailure failure() const { return m_failure; }

    // Runs one statement with bound values; false (and errorText, failure) on failure.
    bool exec(const QString& sql, const QVariantList& values = {});

    // Records a failed statement of this connection run outside exec().
    void noteError(const QSqlError& error);

    // PRAGMA integrity_check: empty when the file is sound, else the first problem it names.
    // (quick_check does not compare indexes with their tables.)
    QString integrityProblem();

    // How long a statement waits for another workstation's lock before it fails as Busy.
    static int busyTimeoutMs();
    static void setBusyTimeoutMs(int milliseconds);

private:
    QString m_path;
    QString m_name;
    QSqlDatabase m_db;
    bool m_open = false;
    QString m_error;
    SqlFailure m_failure = SqlFailure::None;
};

// Classifies a database error: SQLite's busy and locked results are Busy, a damaged or foreign
// file is NotADatabase, anything else Other.
SqlFailure classifySqlError(const QSqlError& error);

} // namespace cs42
