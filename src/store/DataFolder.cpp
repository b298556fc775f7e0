#include "DataFolder.h"

#include <QDir>
#include <QFileInfo>

namespace store {

namespace datafolder {

namespace {

// Compares folders as the file system sees them, so "/home/ann/" and a symbolic link to it
// count as the home folder too.
QString canonical(const QString& folder) {
    const QString c = QFileInfo(folder).canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(folder) : c;
}

} // namespace

bool hasDataFile(const QString& folder) {
    const QDir dir(folder);
    return !dir.entryList({QStringLiteral("*.dvl")}, QDir::Files | QDir::Hidden, QDir::NoSort)
                .isEmpty();
}

Choice choose(const QString& dataDir, const QString& current, const QString& home,
              bool makeLauncherFolder) {
    if (!dataDir.isEmpty()) return {QDir(current).absoluteFilePath(dataDir), true};
    // A launcher starts programs in the home folder; some start them in the root folder, where
    // nothing can be saved. A diver who keeps his files in the home folder keeps using them.
    const QString here = canonical(current);
    const bool launched = here == canonical(home) || here == QDir::rootPath();
    if (!launched || hasDataFile(current)) return {};
    const QString folder = QDir(home).filePath(LauncherFolderName);
    if (!makeLauncherFolder && !QFileInfo(folder).isDir()) return {};
    return {folder, makeLauncherFolder};
}

QString enter(const QString& folder, bool make) {
    const QFileInfo info(folder);
    const QString shown = QDir::toNativeSeparators(folder);
    if (info.exists() && !info.isDir()) return QStringLiteral("%1 is not a folder").arg(shown);
    if (!info.exists()) {
        if (!make) return QStringLiteral("the folder %1 does not exist").arg(shown);
        if (!QDir().mkpath(folder)) return QStringLiteral("cannot make the folder %1").arg(shown);
    }
    if (!QDir::setCurrent(folder)) return QStringLiteral("cannot open the folder %1").arg(shown);
    return {};
}

Start startDesktop(const QString& dataDir) {
    const Choice choice = choose(dataDir, QDir::currentPath(), QDir::homePath(), true);
    if (choice.folder.isEmpty()) return {};
    const QString problem = enter(choice.folder, choice.make);
    if (problem.isEmpty()) return {};
    // Without a folder of its own the program still works where it was started.
    if (dataDir.isEmpty())
        return {-1, QStringLiteral("reefbook: warning: %1; using the current folder\n").arg(problem)};
    return {2, QStringLiteral("reefbook: %1\n").arg(problem)};
}

} // namespace datafolder

} // namespace store
