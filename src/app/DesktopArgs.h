#pragma once

#include <QString>
#include <QStringList>

// The desktop program's command line (the arguments after the program name): --data-dir DIR
// or --data-dir=DIR, and --help. Anything else is an error.
struct DesktopArgs {
    QString dataDir;
    bool help = false;
    QString error;
};
DesktopArgs parseDesktopArgs(const QStringList& args);

// The usage text of the desktop program.
QString desktopUsage();
