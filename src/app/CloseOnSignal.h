#pragma once

class QWidget;

// SIGTERM, SIGHUP and SIGINT close `window` the ordinary way, so the log is saved as on Exit.
// Dialogs open over it are closed first, innermost first, each as its own Close would, so
// whatever they hold (a list editor's pending change) is complete before the save. False
// when the handlers could not be installed.
bool closeOnSignal(QWidget& window);
