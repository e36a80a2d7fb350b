#pragma once

#include <QString>

namespace cs42 {

// The server connections kept open between actions. A new connection to a server costs a login
// (several milliseconds, more over a network) where a save costs a fraction of one, so the
// program's own thread keeps one connection per server and user open and lends it to each
// action in turn. Before each loan the connection ends whatever transaction a failed action may
// have left and proves that it still answers; one that does not is closed, and the action
// connects afresh, so a server that was restarted is simply reached again. Other threads, and an
// action that needs a second connection while the first is lent, connect as before.
namespace ServerConnections {

// The name of the kept connection for `key`, now lent; empty when there is none, it is lent
// already, or it no longer answers.
QString borrow(const QString& key);
// Keeps the open connection `name` for `key`, lent, when none is kept for it; false otherwise (the
// caller then closes it itself).
bool keep(const QString& key, const QString& name);
// The action is done with the kept connection `name`: lent no more while `healthy`, otherwise
// closed and forgotten.
void giveBack(const QString& name, bool healthy);

} // namespace ServerConnections

} // namespace cs42
