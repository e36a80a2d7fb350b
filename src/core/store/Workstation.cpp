#include "core/store/Workstation.h"

#include <QSysInfo>

namespace cs42::Workstation {

QString name()
{
    const QString named = qEnvironmentVariable("CS42_WORKSTATION").trimmed();
    if (!named.isEmpty())
        return named;
    const QString host = QSysInfo::machineHostName();
    return host.isEmpty() ? QStringLiteral("unknown") : host;
}

QString user()
{
    for (const char* variable : {"USER", "USERNAME", "LOGNAME"}) {
        const QString user = qEnvironmentVariable(variable);
        if (!user.isEmpty())
            return user;
    }
    return QStringLiteral("unknown");
}

} // namespace cs42::Workstation
