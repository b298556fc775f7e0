#pragma once

#include "CommandLine.h"

#include <QString>
#include <QStringList>

namespace cli {

// The desktop program's command line (the arguments after the program name): --data-dir DIR
// or --data-dir=DIR, and --help. Anything else is an error.
struct DesktopArgs {
    QString dataDir;
    bool help = false;
    QString error;
};
DesktopArgs parseDesktopArgs(const QStringList& args);

// The options the desktop program takes, as its usage text lists them.
std::vector<OptionDef> desktopOptions();

// The usage text of the desktop program.
QString desktopUsage();

} // namespace cli
