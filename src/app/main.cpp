#include "FormLog.h"

#include "store/AppState.h"
#include "store/DataFolder.h"
#include "ui/Platform.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A signal handler may do almost nothing; it writes one byte into a socket pair, and the
// event loop, on reading it, closes the main window the ordinary way, which saves the log.
int signalPipe[2] = {-1, -1};

void onTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

bool catchTerminate() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return false;
    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : {SIGTERM, SIGHUP, SIGINT})
        if (::sigaction(sig, &action, nullptr) != 0) return false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Reefbook"));
    QApplication::setApplicationVersion(QStringLiteral(REEFBOOK_VERSION_STRING));

    // The folder the files live in (--data-dir, or ~/Reefbook when started from a launcher) is
    // settled before the window reads any of them.
    const datafolder::Start start = datafolder::startDesktop(QApplication::arguments().mid(1));
    std::fputs(qUtf8Printable(start.out), stdout);
    std::fputs(qUtf8Printable(start.err), stderr);
    if (start.exitCode > 0) ui::showError(nullptr, QStringLiteral("Error"), start.err.trimmed());
    if (start.exitCode >= 0) return start.exitCode;

    AppState state;
    FormLog window(state);

    QSocketNotifier* notifier = nullptr;
    if (catchTerminate()) {
        notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
            char byte = 0;
            [[maybe_unused]] const ssize_t got = ::read(signalPipe[1], &byte, 1);
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
            window.close();
        });
    }

    window.show();
    return app.exec();
}
