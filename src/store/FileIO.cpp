#include "FileIO.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString describeProblems(const FileProblems& problems) {
    QStringList lines;
    for (const FileProblem& p : problems)
        lines << QStringLiteral("%1: %2").arg(p.file, p.what);
    return lines.join(QLatin1Char('\n'));
}

namespace fileio {

namespace {
QString unsafeReason() {
    return QStringLiteral("unsafe file name (a data file must be a bare name in the log folder)");
}
} // namespace

bool isSafeFileName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String("."))
        return false;
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QLatin1String("..")) && !name.contains(QChar(u'\0'));
}

ReadResult readWhole(const QString& name) {
    ReadResult r;
    if (!isSafeFileName(name)) {
        r.status = ReadStatus::Unsafe;
        r.error = unsafeReason();
        return r;
    }
    QFile f(name);
    if (!f.exists()) {
        r.status = ReadStatus::Missing;
        return r;
    }
    // QFile refuses a folder with "Unknown error"; say what is in the way instead.
    if (QFileInfo(name).isDir()) {
        r.error = QStringLiteral("a folder stands where the file should be");
        return r;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        r.error = f.errorString();
        return r;
    }
    r.data = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        r.error = f.errorString();
        r.data.clear();
        return r;
    }
    r.status = ReadStatus::Ok;
    return r;
}

QString writeWhole(const QString& name, const QByteArray& data) {
    if (!isSafeFileName(name))
        return unsafeReason();
    // Replacing the file by a rename would get past a read-only file, so look at its bits.
    // Both must allow writing: the user bit says what we may do (and is always set for root),
    // the owner bit says whether someone marked the file read-only.
    const QFileInfo info(name);
    const QFileDevice::Permissions bits = info.permissions();
    if (info.isFile() && (!(bits & QFileDevice::WriteOwner) || !(bits & QFileDevice::WriteUser)))
        return QStringLiteral("the file is read-only");
    QSaveFile f(name);
    if (!f.open(QIODevice::WriteOnly))
        return f.errorString();
    if (f.write(data) != data.size()) {
        const QString reason = f.errorString();
        f.cancelWriting();
        return reason;
    }
    if (!f.commit())
        return f.errorString();
    return {};
}

bool FileExists(const QString& name) {
    return isSafeFileName(name) && QFileInfo(name).isFile();
}

QString removeFile(const QString& name) {
    if (!isSafeFileName(name))
        return unsafeReason();
    QFile f(name);
    if (!f.exists())
        return {};
    if (!f.remove())
        return f.errorString();
    return {};
}

QString discardFile(const QString& name, bool* trashed) {
    if (trashed)
        *trashed = false;
    if (!isSafeFileName(name))
        return unsafeReason();
    if (!QFileInfo(name).isFile())
        return {};
    // Qt's trash on Linux lives under the user's data folder; without that folder it would
    // set up "files" and "info" folders beside the diver's files, so then the file is removed.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty() && QFileInfo(data).isDir() && QFile::moveToTrash(name)) {
        if (trashed)
            *trashed = true;
        return {};
    }
    return removeFile(name);
}

} // namespace fileio
