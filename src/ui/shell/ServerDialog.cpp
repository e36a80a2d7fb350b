#include "ui/shell/ServerDialog.h"

#include "core/startup/DataStore.h"
#include "core/store/SqlConnection.h"
#include "ui/common/Interaction.h"
#include "ui/common/Session.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cs42 {

namespace {
constexpr int HighestPort = 65535;
} // namespace

ServerDialog::ServerDialog(Session& session, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("ServerDialog"));
    setWindowTitle(title());
    setModal(true);

    auto* intro = new QLabel(
        QStringLiteral("The cases and names are kept in one database on the office's PostgreSQL server, "
                       "shared by every workstation that names the same server here.  The password comes "
                       "from your password file (~/.pgpass); when it is not there, you are asked for it."),
        this);
    intro->setObjectName(QStringLiteral("lblIntro"));
    intro->setWordWrap(true);

    auto makeBox = [this](const char* name, const QString& text, const QString& placeholder) {
        auto* box = new QLineEdit(text, this);
        box->setObjectName(QLatin1String(name));
        box->setPlaceholderText(placeholder);
        return box;
    };
    const std::optional<ServerLocation> current = ServerLocation::fromUri(m_session.paths.filesLocation);
    const ServerLocation shown = current.value_or(ServerLocation{});
    m_host = makeBox("txtHost", shown.host, QStringLiteral("name or address, e.g. db.office.example"));
    m_port = makeBox("txtPort", QString::number(shown.port), QString::number(ServerLocation::DefaultPort));
    m_port->setValidator(new QIntValidator(1, HighestPort, m_port));
    m_port->setMaxLength(5);
    m_port->setMaximumWidth(m_port->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);
    m_database = makeBox("txtDatabase", shown.database, QString());
    m_user = makeBox("txtUser", shown.user, QString());

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(QStringLiteral("&Host:"), m_host);
    form->addRow(QStringLiteral("&Port:"), m_port);
    form->addRow(QStringLiteral("&Database:"), m_database);
    form->addRow(QStringLiteral("&User:"), m_user);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(12);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(480);

    connect(ok, &QPushButton::clicked, this, &ServerDialog::tryServer);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString ServerDialog::title()
{
    return QStringLiteral("PostgreSQL Server");
}

ServerLocation ServerDialog::server() const
{
    ServerLocation server;
    server.host = m_host->text().trimmed();
    const QString port = m_port->text().trimmed();
    server.port = port.isEmpty() ? ServerLocation::DefaultPort : port.toInt();
    server.database = m_database->text().trimmed();
    server.user = m_user->text().trimmed();
    return server;
}

QString ServerDialog::missingEntry(QLineEdit** box) const
{
    const ServerLocation typed = server();
    if (typed.host.isEmpty()) {
        *box = m_host;
        return QStringLiteral("Please type the name or the address of the server.");
    }
    if (typed.port < 1 || typed.port > HighestPort) {
        *box = m_port;
        return QStringLiteral("The port is a number from 1 to %1; most servers use %2.")
            .arg(HighestPort)
            .arg(ServerLocation::DefaultPort);
    }
    if (typed.database.isEmpty() || typed.database.contains(QLatin1Char('/'))) {
        *box = m_database;
        return QStringLiteral("Please type the name of the database on the server.");
    }
    if (typed.user.isEmpty()) {
        *box = m_user;
        return QStringLiteral("Please type the user name you have on the server.");
    }
    return {};
}

void ServerDialog::warn(const QString& text)
{
    m_session.interaction->inform(this, title(), text, Interaction::Icon::Warning);
}

void ServerDialog::tryServer()
{
    QLineEdit* box = nullptr;
    if (const QString missing = missingEntry(&box); !missing.isEmpty()) {
        warn(missing);
        box->setFocus();
        box->selectAll();
        return;
    }
    const QString uri = server().toUri();
    {
        // May ask for the password; the one typed is kept for this run.
        const SqlConnection connection(uri);
        if (!connection.isOpen()) {
            warn(connection.errorText());
            return;
        }
    }
    DataPaths there = m_session.paths;
    there.filesLocation = uri;
    QString problem;
    if (!DataStore::setDataPaths(there, &problem)) {
        warn(QStringLiteral("The server was reached, but the tables of the cases and names could not be "
                            "made there, so it cannot hold them.\r\n\r\n") +
             problem);
        return;
    }
    accept();
}

std::optional<ServerLocation> ServerDialog::choose(Session& session, QWidget* parent)
{
    ServerDialog dialog(session, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.server();
}

} // namespace cs42
