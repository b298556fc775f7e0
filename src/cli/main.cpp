#include "Cli.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

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
    std::unique_ptr<QCoreApplication> app;
    if (wantsPrintedPages(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) return cli::ExitError;
    QTextStream err(stderr);
    const int status = cli::runCli(app->arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}
