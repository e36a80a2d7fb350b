#include "core/store/ServerLocation.h"

#include <QHash>
#include <QMutex>
#include <QUrl>

namespace cs42 {

namespace {
const QString Scheme = QStringLiteral("postgresql");
const QString ShortScheme = QStringLiteral("postgres");
} // namespace

bool ServerLocation::isServerUri(const QString& location)
{
    const QString trimmed = location.trimmed();
    return trimmed.startsWith(Scheme + QStringLiteral("://"), Qt::CaseInsensitive) ||
           trimmed.startsWith(ShortScheme + QStringLiteral("://"), Qt::CaseInsensitive);
}

std::optional<ServerLocation> ServerLocation::fromUri(const QString& uri)
{
    if (!isServerUri(uri))
        return std::nullopt;
    const QUrl url(uri.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    ServerLocation location;
    location.host = url.host();
    location.port = url.port(DefaultPort);
    location.database = url.path().mid(1);
    location.user = url.userName();
    if (location.database.isEmpty() || location.database.contains(QLatin1Char('/')) || location.port <= 0)
        return std::nullopt;
    return location;
}

QString ServerLocation::toUri() const
{
    QUrl url;
    url.setScheme(Scheme);
    url.setHost(host);
    url.setPort(port);
    url.setUserName(user);
    url.setPath(QLatin1Char('/') + database);
    return url.toString(QUrl::FullyEncoded);
}

QString ServerLocation::displayText() const
{
    QString text = QStringLiteral("the database %1 on the server %2, port %3").arg(database, host).arg(port);
    if (!user.isEmpty())
        text += QStringLiteral(" (user %1)").arg(user);
    return text;
}

namespace ServerPasswords {
namespace {
QMutex mutex;

QHash<QString, QString>& passwords()
{
    static QHash<QString, QString> typed;
    return typed;
}
} // namespace

QString forUri(const QString& uri)
{
    const QMutexLocker lock(&mutex);
    return passwords().value(uri);
}

void remember(const QString& uri, const QString& password)
{
    const QMutexLocker lock(&mutex);
    passwords().insert(uri, password);
}

void forget(const QString& uri)
{
    const QMutexLocker lock(&mutex);
    passwords().remove(uri);
}
} // namespace ServerPasswords

} // namespace cs42
