#pragma once

namespace cs42 {

// The windows while the program waits for an office server: each wait is bounded by the
// server limits (ServerLimits), and meanwhile the windows repaint and timers run. What the user
// types or clicks waits until the server has answered or the wait has ended, so that no second
// action starts in the middle of the first.
namespace ServerWait {

void install();
void uninstall();

} // namespace ServerWait

} // namespace cs42
