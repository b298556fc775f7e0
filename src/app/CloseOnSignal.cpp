#include "CloseOnSignal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <set>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace app {

namespace {

// A signal handler may do almost nothing; it writes one byte into a socket pair, and the
// event loop, on reading it, closes the windows.
int signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t signalsSeen = 0;

void onTerminate(int sig) {
    // The first signal asks for an orderly end; should that hang (a message waiting for an
    // answer nobody gives), the second one ends the program as if it had no handler.
    if (signalsSeen != 0) {
        std::signal(sig, SIG_DFL);
        std::raise(sig);
        return;
    }
    signalsSeen = 1;
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
    signalsSeen = 0; // a new window (a test makes many) starts counting again
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(signalPipe[1], &byte, 1);
        // A dialog that refuses to close stays, and so does the window beneath it.
        std::set<QWidget*> pressed;
        while (QWidget* modal = QApplication::activeModalWidget()) {
            if (modal == &window) break;
            auto* close = modal->findChild<QAbstractButton*>(QStringLiteral("cmdClose"));
            if (close && close->isEnabled() && pressed.insert(modal).second) {
                close->click();
                continue;
            }
            if (!modal->close()) break;
        }
        window.close();
    });
    return true;
}

} // namespace app
