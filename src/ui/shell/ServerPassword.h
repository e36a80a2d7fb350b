#pragma once

#include "core/store/ServerLocation.h"

#include <QString>

namespace cs42 {

class Interaction;

// Asking the user for a server's password: whenever a connection meets a server that wants a
// password the user's password file does not hold, or that refused the one typed earlier in this
// run, the user is asked through the interaction, over the window that is active then.
namespace ServerPassword {

QString title();
// Names the server and the user, and says why the user is asked again when `reason` is given.
QString prompt(const ServerLocation& server, const QString& reason);

// Makes every connection ask through `interaction` from now on (it must outlive them);
// uninstall() stops the asking.
void install(Interaction& interaction);
void uninstall();

} // namespace ServerPassword

} // namespace cs42
