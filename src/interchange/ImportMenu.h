#pragma once

#include "ImportReport.h"
#include "store/AppState.h"

#include <QString>

#include <functional>

class QAction;
class QMenu;
class QWidget;

// The File menu's "Import...": dives from a UDDF file or another logbook's CSV.
namespace interchange {

struct ImportHooks {
    std::function<void()> before; // the window stores what is being typed
    // The import worked on a copy of the log: `imported` is that copy with the dives added
    // (from report.firstIndex on). The window makes it the log.
    std::function<void(const store::AppState& imported, const ImportReport& report)> commit;
};

// Puts the command in front of `before` in `menu`.
void addImportAction(QMenu* menu, QAction* before, QWidget* window, const store::AppState& state,
                     const ImportHooks& hooks);

// Asks for the file and imports it in the diver's units, then tells what was added, skipped
// and left out. The log is unchanged when the file cannot be read.
void importFromMenu(QWidget* window, const store::AppState& state, const ImportHooks& hooks);

// Whether bytes read from `fileName` are UDDF (XML) rather than a table.
bool looksLikeUddf(const QString& fileName, const QByteArray& bytes);

// The text the window shows after an import.
QString importSummary(const ImportReport& report, int diveOffset, const QString& units);

} // namespace interchange
