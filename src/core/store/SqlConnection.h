#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

namespace cs42 {

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

    const QString& errorText() const { return m_error; }

    // Runs one statement with bound values; false (and errorText) on failure.
    bool exec(const QString& sql, const QVariantList& values = {});

private:
    QString m_name;
    QSqlDatabase m_db;
    bool m_open = false;
    QString m_error;
};

} // namespace cs42
