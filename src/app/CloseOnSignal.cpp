#include "CloseOnSignal.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A signal handler may do almost nothing; it writes one byte into a socket pair, and the
// event loop, on reading it, closes the windows.
int signalPipe[2] = {-1, -1};

void onTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

bool installHandlers() {
    if (signalPipe[0] >= 0) return true;
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

bool closeOnSignal(QWidget& window) {
    if (!installHandlers()) return false;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(signalPipe[1], &byte, 1);
        // A dialog that refuses to close stays, and so does the window beneath it.
        while (QWidget* modal = QApplication::activeModalWidget()) {
            if (modal == &window || !modal->close()) break;
        }
        window.close();
    });
    return true;
}
