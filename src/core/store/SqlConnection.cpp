#include "core/store/SqlConnection.h"

#include <QAtomicInteger>
#include <QDir>
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

// Other workstations may hold the file for a moment; wait for them rather than fail.
QAtomicInt busyTimeout = 15000;

// SQLite's primary result codes, as the driver reports them in nativeErrorCode().
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteNotADatabase = 26;

QString busyText()
{
    return QStringLiteral("The file is in use by another workstation.");
}
} // namespace

SqlFailure classifySqlError(const QSqlError& error)
{
    if (!error.isValid())
        return SqlFailure::None;
    bool ok = false;
    // Extended result codes carry the primary one in their low byte.
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    if (ok && (code == SqliteBusy || code == SqliteLocked))
        return SqlFailure::Busy;
    if (ok && (code == SqliteCorrupt || code == SqliteNotADatabase))
        return SqlFailure::NotADatabase;
    const QString text = error.text();
    if (text.contains(QLatin1String("database is locked")) || text.contains(QLatin1String("is busy")))
        return SqlFailure::Busy;
    if (text.contains(QLatin1String("not a database")) || text.contains(QLatin1String("malformed")))
        return SqlFailure::NotADatabase;
    return SqlFailure::Other;
}

SqlConnection::SqlConnection(const QString& path, Mode mode)
    : m_path(path)
    , m_name(nextConnectionName())
{
    const QFileInfo info(path);
    if (info.isDir()) {
        m_failure = SqlFailure::NotADatabase;
        m_error = QStringLiteral("%1 is a folder, not a database file.").arg(QDir::toNativeSeparators(path));
        return;
    }
    if (!info.isFile()) {
        const bool folderThere = info.absoluteDir().exists();
        if (mode == Mode::MustExist || !folderThere) {
            m_failure = SqlFailure::Missing;
            m_error = folderThere
                          ? QStringLiteral("The file %1 does not exist.").arg(QDir::toNativeSeparators(path))
                          : QStringLiteral("The folder %1 cannot be reached.")
                                .arg(QDir::toNativeSeparators(info.absolutePath()));
            return;
        }
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout.loadRelaxed()));
    if (!m_db.open()) {
        noteError(m_db.lastError());
        return;
    }
    // SQLite opens lazily: read the schema once so that a file that is not a database fails here.
    QSqlQuery probe(m_db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        noteError(probe.lastError());
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

void SqlConnection::noteError(const QSqlError& error)
{
    m_failure = classifySqlError(error);
    switch (m_failure) {
    case SqlFailure::Busy:
        m_error = busyText();
        break;
    case SqlFailure::NotADatabase:
        m_error = QStringLiteral("The file is damaged or is not a database");
        if (!error.databaseText().isEmpty() &&
            !error.databaseText().contains(QLatin1String("not a database")))
            m_error += QStringLiteral(" (%1)").arg(error.databaseText());
        m_error += QLatin1Char('.');
        break;
    default:
        m_error = error.text();
        break;
    }
}

bool SqlConnection::exec(const QString& sql, const QVariantList& values)
{
    if (!m_open)
        return false;
    QSqlQuery query(m_db);
    if (!query.prepare(sql)) {
        noteError(query.lastError());
        return false;
    }
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        noteError(query.lastError());
        return false;
    }
    return true;
}

QString SqlConnection::integrityProblem()
{
    if (!m_open)
        return m_error.isEmpty() ? QStringLiteral("The file cannot be opened.") : m_error;
    QSqlQuery check(m_db);
    if (!check.exec(QStringLiteral("PRAGMA integrity_check"))) {
        noteError(check.lastError());
        return m_error;
    }
    if (!check.next())
        return QStringLiteral("The integrity check gave no answer.");
    const QString first = check.value(0).toString();
    return first == QLatin1String("ok") ? QString() : first;
}

int SqlConnection::busyTimeoutMs()
{
    return busyTimeout.loadRelaxed();
}

void SqlConnection::setBusyTimeoutMs(int milliseconds)
{
    busyTimeout.storeRelaxed(milliseconds);
}

} // namespace cs42
