#pragma once

#include <QString>

namespace cs42 {

// Who saves, and where: what the history of a case records and what the notice of another
// workstation's change names.
namespace Workstation {

// The workstation's name: CS42_WORKSTATION when the office set one (two seats on one terminal
// server share a host name), otherwise the computer's host name.
QString name();

// The operating-system user running the program.
QString user();

} // namespace Workstation

} // namespace cs42
