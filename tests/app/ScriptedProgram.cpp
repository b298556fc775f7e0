// The real desktop program, driven by a test: REEFBOOK_TEST_COMMANDS names menu commands
// (object names, comma-separated) that are triggered once the window is up. The recovery
// journal follows a change at once, so a test need not wait out its usual two seconds.
#include "app/DesktopMain.h"
#include "app/FormLog.h"
#include "session/Session.h"

#include <QAction>
#include <QStringList>

int main(int argc, char** argv) {
    const QStringList commands =
        qEnvironmentVariable("REEFBOOK_TEST_COMMANDS").split(QLatin1Char(','), Qt::SkipEmptyParts);
    return app::runDesktop(argc, argv, [commands](app::FormLog& window) {
        window.logSession().setJournalDelay(0);
        for (const QString& name : commands)
            if (auto* action = window.findChild<QAction*>(name)) action->trigger();
    });
}
