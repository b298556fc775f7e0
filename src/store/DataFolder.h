#pragma once

#include <QString>
#include <QStringList>

namespace store {

// Which folder the diver's files live in. Both programs work in the current folder, as they
// always have; two things change that: `--data-dir DIR`, and a start from a desktop launcher,
// which runs the program in the home folder (or the root folder), where six loose .dvl files
// would be lost among everything else. Then the program works in ~/Reefbook instead.
namespace datafolder {

// The folder made in the home folder for a program started from a launcher.
inline const QString LauncherFolderName = QStringLiteral("Reefbook");

struct Choice {
    QString folder;    // the folder to work in; empty to stay in the current one
    bool make = false; // the folder may be made if missing
};

// `dataDir`: the --data-dir value, empty when none was given. `current` and `home`: the
// current and home folders. `makeLauncherFolder`: the desktop program makes ~/Reefbook when
// it is missing; a tool that only reads and writes files stays in the current folder then.
Choice choose(const QString& dataDir, const QString& current, const QString& home,
              bool makeLauncherFolder);

// True when `folder` holds a Reefbook data file (any *.dvl).
bool hasDataFile(const QString& folder);

// Makes `folder` (when `make` is set and it is missing) and makes it the current folder.
// Empty on success, otherwise why not, as a sentence naming the folder.
QString enter(const QString& folder, bool make);

// Settles the desktop program's folder from its --data-dir value (empty when none was given),
// the current and the home folder, and makes it the current folder. `exitCode` 0 or more:
// stop with that status (a folder that cannot be used). `err` is for standard error.
struct Start {
    int exitCode = -1;
    QString err;
};
Start startDesktop(const QString& dataDir);

} // namespace datafolder

} // namespace store
