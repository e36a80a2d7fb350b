#include "core/store/DataStore.h"
#include "ui/app/Background.h"
#include "ui/app/QtInteraction.h"
#include "ui/app/Session.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    cs42::QtInteraction interaction;
    cs42::Session session;
    session.interaction = &interaction;
    session.paths = cs42::DataStore::startUp(QDir::currentPath());

    cs42::Background background(session);
    background.show();
    return app.exec();
}
