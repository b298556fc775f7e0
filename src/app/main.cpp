#include "FormLog.h"

#include "store/AppState.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
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
