#include "CloseOnSignal.h"
#include "FormLog.h"

#include "store/AppState.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Reefbook"));
    QApplication::setApplicationVersion(QStringLiteral(REEFBOOK_VERSION_STRING));

    AppState state;
    FormLog::StartOptions options;
    options.deferStartUp = true;
    FormLog window(state, options);
    // Armed before the start-up, which may wait on the rename or diver dialogs; a signal
    // then ends the program without writing, since no log has been read yet.
    closeOnSignal(window);
    if (!window.startUp()) return 0;

    // For the tests that drive the real program: menu commands, by name, run once it is up.
    const QStringList commands =
        qEnvironmentVariable("REEFBOOK_TEST_COMMANDS").split(QLatin1Char(','), Qt::SkipEmptyParts);
    QTimer::singleShot(0, &window, [&window, commands] {
        for (const QString& name : commands)
            if (auto* action = window.findChild<QAction*>(name)) action->trigger();
    });

    window.show();
    return app.exec();
}
