#include "core/startup/DataStore.h"
#include "core/startup/InstalledData.h"
#include "ui/common/Session.h"
#include "ui/shell/Background.h"
#include "ui/shell/QtInteraction.h"
#include "ui/shell/ServerPassword.h"
#include "ui/shell/ServerWait.h"
#include "ui/shell/StartUpQuestions.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(CS42_VERSION));
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral(
        "The CS-42 child-support worksheet. Works in the current directory's VTRForms folder."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption userData(
        QStringLiteral("user-data"),
        QStringLiteral("Work in the per-user data folder $XDG_DATA_HOME/cs42, created on first start."));
    options.addOption(userData);
    options.process(app);
    // The desktop entry has no working directory of its own to give: each user gets a data folder.
    if (options.isSet(userData)) {
        QString error;
        const QString folder = cs42::InstalledData::userWorkingDirectory(&error);
        if (folder.isEmpty() || !QDir::setCurrent(folder)) {
            std::fprintf(stderr, "cs42: %s\n", qPrintable(folder.isEmpty() ? error : folder));
            return 1;
        }
    }
    cs42::Background::applyProgramFont(app);
    cs42::QtInteraction interaction;
    cs42::Session session;
    session.interaction = &interaction;
    // A server that wants a password the user's password file lacks asks the user, from the
    // first connection of the start-up on.
    cs42::ServerPassword::install(interaction);
    // The window repaints while it waits for a server that does not answer.
    cs42::ServerWait::install();
    // Settings, databases and the files location; an unreadable settings file is the user's call.
    cs42::StartUpReport report;
    session.paths = cs42::DataStore::startUp(QDir::currentPath(), &report);
    if (!cs42::settleStartUp(session, report))
        return 1;

    // The main window carries ShortTitle; the splash shows inside it without waiting.
    cs42::Background background(session);
    background.showSplash();
    background.showAsPlaced();
    const int exitCode = app.exec();
    cs42::ServerWait::uninstall();
    cs42::ServerPassword::uninstall();
    return exitCode;
}
