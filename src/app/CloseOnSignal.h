#pragma once

class QWidget;

namespace app {

// SIGTERM, SIGHUP and SIGINT close `window` the ordinary way, so the log is saved as on Exit.
// Dialogs open over it are closed first, innermost first, each as its own Close would (its
// "cmdClose" button is pressed where it has one), so whatever they hold (a list editor's
// pending change, a drawn profile, the options) is complete before the save. A second signal
// ends the program at once, whatever the first one is still waiting for. False when the
// handlers could not be installed.
bool closeOnSignal(QWidget& window);

} // namespace app
