#pragma once

namespace app {

// The start-up screen: the program's picture, name and version, shown for the given time while
// the event loop keeps running, then closed.
void showStartupScreen(int milliseconds);

} // namespace app
