#include "core/store/SqlConnection.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace cs42 {

namespace {
QString nextConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("cs42-%1").arg(counter.fetchAndAddRelaxed(1));
}
} // namespace

SqlConnection::SqlConnection(const QString& path, Mode mode)
    : m_name(nextConnectionName())
{
    if (mode == Mode::MustExist && !QFileInfo(path).isFile()) {
        m_error = QStringLiteral("The file %1 does not exist.").arg(path);
        return;
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(path);
    // Other workstations may hold the file for a moment; wait for them rather than fail.
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
    if (!m_db.open()) {
        m_error = m_db.lastError().text();
        return;
    }
    // SQLite opens lazily: read the schema once so that a file that is not a database fails here.
    QSqlQuery probe(m_db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        m_error = probe.lastError().text();
        return;
    }
    m_open = true;
}

SqlConnection::~SqlConnection()
{
    if (m_db.isValid())
        m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

bool SqlConnection::exec(const QString& sql, const QVariantList& values)
{
    if (!m_open)
        return false;
    QSqlQuery query(m_db);
    if (!query.prepare(sql)) {
        m_error = query.lastError().text();
        return false;
    }
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return false;
    }
    return true;
}

} // namespace cs42
