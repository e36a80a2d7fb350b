#include "ui/shell/ServerWait.h"

#include "core/store/ServerLimits.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace cs42::ServerWait {

void install()
{
    ServerLimits::setWaitHook([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
}

void uninstall()
{
    ServerLimits::setWaitHook({});
}

} // namespace cs42::ServerWait
