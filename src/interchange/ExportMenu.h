#pragma once

#include "ExchangeExport.h"

class QAction;
class QMenu;
class QWidget;

// The File menu's "Export as UDDF..." and "Export as CSV...".
namespace interchange {

// Puts both commands, after a separator, in front of `before` in `menu`. They export every
// dive of `state` as it is when chosen.
void addExportActions(QMenu* menu, QAction* before, QWidget* window, const store::AppState& state);

// Asks where to save (the filter chosen says the log's units) and writes the file; a file
// that cannot be written is reported and the previous one is left as it was.
void exportFromMenu(QWidget* window, const store::AppState& state, Format format);

} // namespace interchange
