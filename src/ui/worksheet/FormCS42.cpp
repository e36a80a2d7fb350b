#include "ui/worksheet/FormCS42.h"

#include "ui/app/Session.h"
#include "ui/app/WindowHost.h"

#include <QLabel>
#include <QVBoxLayout>

namespace cs42 {

FormCS42::FormCS42(Session& session, WindowHost& host, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_host(host)
{
    setObjectName(QStringLiteral("FormCS42"));
    setWindowTitle(QStringLiteral("Worksheet A, Child Support Obligation, Sole Custody"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Worksheet of %1").arg(m_session.currentCaseName), this));
    m_session.currentWindowName = QStringLiteral("FormCS42");
    m_host.setMenuState(MenuState::AllMenus);
}

void FormCS42::ChangeFieldColors() {}

void FormCS42::RecalculateWorksheet() {}

void FormCS42::ProduceForm() {}

} // namespace cs42
