#pragma once

// A fresh data folder holding the seed record and two people (Bob Baker, then Ann Adams), with a
// scripted Interaction and a session, for the tests of the names windows.

#include "core/names/NameStore.h"
#include "core/store/DataStore.h"
#include "support/ScriptedInteraction.h"
#include "ui/app/Session.h"

#include <QTemporaryDir>
#include <QWidget>

namespace cs42::test {

struct NamesFixture
{
    QTemporaryDir dir;
    ScriptedInteraction interaction;
    Session session;
    QString baker;
    QString adams;

    NamesFixture()
    {
        session.interaction = &interaction;
        session.paths = DataStore::startUp(dir.path());
        baker = add(QStringLiteral("Bob"), QStringLiteral("Baker"));
        adams = add(QStringLiteral("Ann"), QStringLiteral("Adams"));
    }

    // Adds a name as the add-name dialog would; returns its key.
    QString add(const QString& first, const QString& last, const QString& firm = {}) const
    {
        const NameParts parts{first, {}, last, {}, firm};
        return NameStore(session.paths.namesDbPath()).addName(*NameForms::compose(parts), parts);
    }
};

template <typename T = QWidget> T* child(QWidget* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}

} // namespace cs42::test
