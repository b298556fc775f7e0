#include "ExportFile.h"

#include "settings/Settings.h"
#include "divers/DiverList.h"
#include "store/DvlFormat.h"
#include "store/FolderLock.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace output {

namespace {

// The file is replaced by a rename, which would get past a read-only file, so look at its
// bits first. The user's own access is not enough on its own: for the superuser it is always
// granted, and an export must still not replace a file that nobody may write.
bool isReadOnly(const QFileInfo& info) {
    const QFile::Permissions p = info.permissions();
    return !(p & QFileDevice::WriteUser) ||
           !(p & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

// A device or a pipe is written to as it stands: a new file renamed over it would replace the
// device node itself (as root even /dev/null).
QString writeStraight(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return store::fileio::failureReason(f);
    return store::fileio::writeAll(f, bytes);
}

// "the profile" alone would read as one dive's profile.
QString role(size_t i) {
    return QLatin1String(store::FileSet::Roles[i]) +
           (i + 1 == store::FileSet::Roles.size() ? QStringLiteral(" file") : QString());
}

} // namespace

QString writeOutputFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) return QStringLiteral("no file name");
    const QFileInfo info(path); // follows a symbolic link
    if (info.isDir()) return QStringLiteral("a folder of that name is in the way");
    if (info.exists() && !info.isFile()) return writeStraight(path, bytes);
    if (info.exists() && isReadOnly(info)) return QStringLiteral("the file is read-only");
    // Through a symbolic link the file it points at is replaced; the link stays.
    store::fileio::WriteBatch batch;
    if (const QString reason = batch.add(path, bytes); !reason.isEmpty()) return reason;
    const store::FileProblems failures = batch.commit();
    return failures.empty() ? QString() : failures.front().what;
}

QString dataFileInTheWay(const store::AppState& state, const QString& path) {
    const auto refuse = [&path](const QString& what) {
        return QStringLiteral("%1 is %2; an export never writes over a data file, choose another "
                              "name")
            .arg(path, what);
    };
    const auto own = state.Files.names();
    for (size_t i = 0; i < own.size(); ++i)
        if (store::fileio::sameFile(path, own[i]))
            return refuse(QStringLiteral("the %1 of the open diver").arg(role(i)));
    if (store::fileio::sameFile(path, divers::ListFileName))
        return refuse(QStringLiteral("the list of divers"));
    if (store::fileio::sameFile(path, settings::settingsFile()))
        return refuse(QStringLiteral("the settings file"));
    // The files the program keeps beside the data: a damaged file's copy, the recovery
    // journal and the ones set aside, the copies of a commit, the folder's lock. By name in
    // the data folder (also before they exist), and any file there under another name.
    static const QRegularExpression kept(
        QStringLiteral("(\\.damaged\\d*|\\.recovery(-old\\d*)?|\\.keep\\d*)$"));
    const auto keptKind = [](const QString& name) -> QString {
        if (name == store::FolderLock::FileName)
            return QStringLiteral("the lock of the data folder");
        if (!kept.match(name).hasMatch()) return {};
        return name.contains(QLatin1String(".recovery"))
                   ? QStringLiteral("a recovery file Reefbook keeps")
                   : QStringLiteral("a copy Reefbook keeps of a data file");
    };
    const QFileInfo target(path);
    const QString folder = QDir::current().canonicalPath();
    if (QFileInfo(target.absolutePath()).canonicalFilePath() == folder)
        if (const QString kind = keptKind(target.fileName()); !kind.isEmpty()) return refuse(kind);
    for (const QString& name : QDir::current().entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (const QString kind = keptKind(name);
            !kind.isEmpty() && store::fileio::sameFile(path, name))
            return refuse(kind);
    for (const store::DiverEntry& d : divers::readDiverFile().divers) {
        const auto names = d.Files.names();
        for (size_t i = 0; i < names.size(); ++i)
            if (store::fileio::isSafeFileName(names[i]) && store::fileio::sameFile(path, names[i]))
                return refuse(QStringLiteral("the %1 of diver %2").arg(role(i), d.Name));
    }
    return {};
}

} // namespace output
