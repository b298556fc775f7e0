#include "Cli.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

// Only the printed pages need fonts, and with them a GUI application. It runs on the
// offscreen platform: the command works without a display and never opens a window.
bool wantsPrintedPages(int argc, char** argv) {
    for (int k = 1; k + 1 < argc; ++k)
        if (qstrcmp(argv[k], "export") == 0 && qstrcmp(argv[k + 1], "pdf") == 0) return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    // Past a file-size limit a write fails with "File too large" and is reported like a full
    // disk, instead of the signal ending the program halfway through a save.
    std::signal(SIGXFSZ, SIG_IGN);
    std::unique_ptr<QCoreApplication> app;
    if (wantsPrintedPages(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QFile out;
    // Unbuffered on the descriptor itself, so that a failing write (a full disk, a closed pipe)
    // fails at once with the system's reason instead of vanishing in a buffer flushed at exit.
    if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return cli::ExitError;
    QTextStream err(stderr);
    int status = cli::runCli(app->arguments().mid(1), out, err);
    if (out.error() != QFileDevice::NoError && status != cli::ExitError) { // not yet said
        err << "reefbook-cli: cannot write to standard output: " << out.errorString() << Qt::endl;
        status = cli::ExitError;
    }
    err.flush();
    return status;
}
