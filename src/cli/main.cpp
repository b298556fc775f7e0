#include "Cli.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return cli::ExitError;
    QTextStream err(stderr);
    const int status = cli::runCli(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}
