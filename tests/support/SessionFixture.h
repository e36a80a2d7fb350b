#pragma once

// What every window test starts from: a fresh data folder made by the program's own start-up, a
// scripted Interaction, and a session on a fixed day, so that dates on screen do not depend on
// when the tests run.

#include "core/startup/DataStore.h"
#include "support/ScriptedInteraction.h"
#include "ui/common/Session.h"

#include <QDate>
#include <QTemporaryDir>

namespace cs42::test {

struct SessionFixture
{
    static QDate today() { return QDate(2024, 3, 15); }

    QTemporaryDir dir;
    ScriptedInteraction interaction;
    Session session;

    SessionFixture()
    {
        session.interaction = &interaction;
        session.paths = DataStore::startUp(dir.path());
        session.today = &SessionFixture::today;
    }

    SessionFixture(const SessionFixture&) = delete;
    SessionFixture& operator=(const SessionFixture&) = delete;
};

} // namespace cs42::test
