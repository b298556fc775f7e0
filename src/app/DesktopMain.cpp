#include "DesktopMain.h"

#include "CloseOnSignal.h"
#include "FormLog.h"

#include "cli/DesktopArgs.h"
#include "store/AppState.h"
#include "store/DataFolder.h"
#include "store/FolderLock.h"
#include "ui/Platform.h"

#include <QApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace app {

int runDesktop(int& argc, char** argv, const std::function<void(FormLog&)>& whenUp) {
    // Past a file-size limit a write (the journal, a save) fails with "File too large" and is
    // reported like a full disk, instead of the signal ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Reefbook"));
    QApplication::setApplicationVersion(QStringLiteral(REEFBOOK_VERSION_STRING));

    // The folder the files live in (--data-dir, or ~/Reefbook when started from a launcher) is
    // settled before the window reads any of them.
    const cli::DesktopArgs args = cli::parseDesktopArgs(QApplication::arguments().mid(1));
    if (!args.error.isEmpty()) {
        const QString text = QStringLiteral("reefbook: ") + args.error;
        std::fprintf(stderr, "%s\n", qUtf8Printable(text));
        ui::showError(nullptr, QStringLiteral("Error"), text);
        return 2;
    }
    if (args.help) {
        std::fputs(qUtf8Printable(cli::desktopUsage()), stdout);
        return 0;
    }
    const store::datafolder::Start start = store::datafolder::startDesktop(args.dataDir);
    std::fputs(qUtf8Printable(start.err), stderr);
    if (start.exitCode > 0) ui::showError(nullptr, QStringLiteral("Error"), start.err.trimmed());
    if (start.exitCode >= 0) return start.exitCode;

    // Two programs on one folder would each write their own state over the other's at Exit.
    store::FolderLock lock;
    if (lock.lock() == store::FolderLock::Outcome::HeldElsewhere) {
        const QString text = lock.secondProgram();
        std::fprintf(stderr, "reefbook: %s\n", qUtf8Printable(text));
        ui::showError(nullptr, QStringLiteral("Error"), text);
        return 1;
    }

    store::AppState state;
    FormLog::StartOptions options;
    options.deferStartUp = true;
    FormLog window(state, options);
    // Armed before the start-up, which may wait on the rename or diver dialogs; a signal
    // then ends the program without writing, since no log has been read yet.
    closeOnSignal(window);
    if (!window.startUp()) return 0;

    if (whenUp) QTimer::singleShot(0, &window, [&window, whenUp] { whenUp(window); });

    window.show();
    return app.exec();
}

} // namespace app
