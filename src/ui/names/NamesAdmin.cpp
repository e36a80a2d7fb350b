#include "ui/names/NamesAdmin.h"

#include "ui/app/Session.h"
#include "ui/app/WindowHost.h"

namespace cs42 {

NamesAdmin::NamesAdmin(Session& session, WindowHost& host, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_host(host)
{
    setObjectName(QStringLiteral("NamesAdmin"));
    m_session.currentWindowName = QStringLiteral("NamesAdmin");
}

} // namespace cs42
