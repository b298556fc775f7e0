#include "ExportFile.h"

#include <QFileInfo>
#include <QSaveFile>

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

} // namespace

QString writeOutputFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) return QStringLiteral("no file name");
    const QFileInfo info(path);
    if (info.isDir()) return QStringLiteral("a folder of that name is in the way");
    if (info.exists() && isReadOnly(info)) return QStringLiteral("the file is read-only");
    if (fileio::isSafeFileName(path)) return fileio::writeWhole(path, bytes);

    // A path the user gave: written the same way, in the folder it names.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return f.errorString();
    if (f.write(bytes) != bytes.size()) {
        const QString reason = f.errorString();
        f.cancelWriting();
        return reason;
    }
    if (!f.commit()) return f.errorString();
    return {};
}

} // namespace output
