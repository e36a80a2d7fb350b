#pragma once

#include "core/startup/DataStore.h"

class QWidget;

namespace cs42 {

struct Session;

// Settles with the user what the data-store start-up could not decide alone. A settings file that
// cannot be read hides where the cases and names are kept: the program goes on with new settings
// and the default folder only when the user agrees. Returns false when the program should end.
bool settleStartUp(Session& session, const StartUpReport& report, QWidget* parent = nullptr);

// The question asked about an unreadable settings file.
QString unreadableSettingsQuestion(const DataPaths& paths, const QString& problem);

} // namespace cs42
