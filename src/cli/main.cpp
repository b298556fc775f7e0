#include "Cli.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QFile out;
    // Unbuffered on the descriptor itself, so that a failing write (a full disk, a closed pipe)
    // fails at once with the system's reason instead of vanishing in a buffer flushed at exit.
    if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return cli::ExitError;
    QTextStream err(stderr);
    int status = cli::runCli(app.arguments().mid(1), out, err);
    if (out.error() != QFileDevice::NoError && status != cli::ExitError) { // not yet said
        err << "reefbook-cli: cannot write to standard output: " << out.errorString() << Qt::endl;
        status = cli::ExitError;
    }
    err.flush();
    return status;
}
