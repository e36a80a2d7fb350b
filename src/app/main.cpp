#include "core/store/DataStore.h"
#include "ui/common/QtInteraction.h"
#include "ui/common/Session.h"
#include "ui/shell/Background.h"
#include "ui/shell/StartUpQuestions.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    cs42::Background::applyProgramFont(app);
    cs42::QtInteraction interaction;
    cs42::Session session;
    session.interaction = &interaction;
    // Settings, databases and the files location; an unreadable settings file is the user's call.
    cs42::StartUpReport report;
    session.paths = cs42::DataStore::startUp(QDir::currentPath(), &report);
    if (!cs42::settleStartUp(session, report))
        return 1;

    // The main window carries ShortTitle; the splash shows inside it without waiting.
    cs42::Background background(session);
    background.showSplash();
    background.show();
    return app.exec();
}
