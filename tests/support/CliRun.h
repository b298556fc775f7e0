#pragma once

#include "cli/Cli.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTextStream>

// reefbook-cli run in-process: its exit status, standard output and standard error.
struct CliOutcome {
    int status = -1;
    QByteArray out;
    QString err;
};

inline CliOutcome runCliCommand(const QStringList& args) {
    CliOutcome r;
    QBuffer out(&r.out);
    out.open(QIODevice::WriteOnly);
    QTextStream err(&r.err);
    r.status = cli::runCli(args, out, err);
    err.flush();
    return r;
}
