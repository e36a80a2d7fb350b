#include "ui/shell/ServerPassword.h"

#include "core/store/SqlConnection.h"
#include "ui/common/Interaction.h"

#include <QApplication>
#include <QThread>

namespace cs42::ServerPassword {

QString title()
{
    return QStringLiteral("Server Password");
}

QString prompt(const ServerLocation& server, const QString& reason)
{
    QString text;
    if (!reason.isEmpty())
        text = reason + QStringLiteral("\n\n");
    return text + QStringLiteral("Please type the password for %1.\n\n"
                                 "It is kept only until the program ends.")
                      .arg(server.displayText());
}

void install(Interaction& interaction)
{
    SqlConnection::setPasswordProvider(
        [&interaction](const ServerLocation& server, const QString& reason) -> std::optional<QString> {
            // A box can only be shown from the thread of the windows.
            if (!QCoreApplication::instance() ||
                QThread::currentThread() != QCoreApplication::instance()->thread())
                return std::nullopt;
            QWidget* parent = QApplication::activeModalWidget();
            if (!parent)
                parent = QApplication::activeWindow();
            return interaction.inputPassword(parent, title(), prompt(server, reason));
        });
}

void uninstall()
{
    SqlConnection::setPasswordProvider({});
}

} // namespace cs42::ServerPassword
