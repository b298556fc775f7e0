#include "FileIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

// What stands under an existing name that is not a regular file, or empty when it is one.
QString notAFile(const QFileInfo& info) {
    if (info.isFile())
        return {};
    if (info.isDir())
        return QStringLiteral("a folder stands where the file should be");
    return QStringLiteral("not a regular file (a device, pipe or socket stands under that name); "
                          "it is neither read nor written");
}

// Writes `data` whole to the temporary file of `f` and pushes it to the disk, so that the
// commit later is no more than a rename.
QString writeTemporary(QSaveFile& f, const QByteArray& data) {
    // Unbuffered, so that a failing write comes back from the write itself: a buffered write
    // fails later in flush(), where Qt has lost the system's reason.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failureReason(f);
    if (const QString reason = writeAll(f, data); !reason.isEmpty())
        return reason;
#ifdef Q_OS_UNIX
    if (::fsync(f.handle()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
#endif
    return {};
}

// The file a path finally names: symbolic links followed, "." and ".." resolved. For a file
// that is not there yet, the resolved folder and the name.
QString resolvedPath(const QString& path) {
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return QDir::cleanPath((folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') +
                           info.fileName());
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
    if (const QString what = notAFile(QFileInfo(name)); !what.isEmpty()) {
        r.error = what;
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

QString failureReason(const QFileDevice& f) {
    // Qt says "Unknown error" when a call failed without an error code of the system.
    if (f.error() != QFileDevice::NoError && f.errorString() != QLatin1String("Unknown error"))
        return f.errorString();
    return QStringLiteral("the file could not be written completely");
}

QString writeAll(QFileDevice& f, const QByteArray& data) {
    // A short write is retried: the second attempt fails with the system's reason, where the
    // first only comes back short.
    qint64 done = 0;
    while (done < data.size()) {
        const qint64 n = f.write(data.constData() + done, data.size() - done);
        if (n <= 0)
            return failureReason(f);
        done += n;
    }
    if (!f.flush())
        return failureReason(f);
    return {};
}

WriteBatch::WriteBatch() = default;
WriteBatch::~WriteBatch() = default; // QSaveFile removes a temporary file never committed

QString WriteBatch::addDataFile(const QString& name, const QByteArray& data) {
    if (!isSafeFileName(name))
        return unsafeReason();
    const QFileInfo info(name);
    if (info.exists()) {
        if (const QString what = notAFile(info); !what.isEmpty())
            return what;
        // Replacing the file by a rename would get past a read-only file, so look at its bits.
        // Both must allow writing: the user bit says what we may do (and is always set for
        // root), the owner bit says whether someone marked the file read-only.
        const QFileDevice::Permissions bits = info.permissions();
        if (!(bits & QFileDevice::WriteOwner) || !(bits & QFileDevice::WriteUser))
            return QStringLiteral("the file is read-only");
    }
    return add(name, data);
}

QString WriteBatch::add(const QString& path, const QByteArray& data) {
    // QSaveFile follows a symbolic link and replaces the file it points at.
    auto f = std::make_unique<QSaveFile>(path);
    if (const QString reason = writeTemporary(*f, data); !reason.isEmpty())
        return reason;
    files.push_back(std::move(f));
    return {};
}

FileProblems WriteBatch::commit() {
    FileProblems failures;
    // After a failed rename the rest stay as they were: a copy kept aside that could not be
    // put in place must not be followed by the file it keeps.
    for (const auto& f : files) {
        if (!failures.empty())
            failures.push_back({f->fileName(), QStringLiteral("not written, as %1 could not be "
                                                              "replaced")
                                                   .arg(failures.front().file)});
        else if (!f->commit())
            failures.push_back({f->fileName(), failureReason(*f)});
    }
    files.clear();
    return failures;
}

QString writeWhole(const QString& name, const QByteArray& data) {
    WriteBatch batch;
    if (const QString reason = batch.addDataFile(name, data); !reason.isEmpty())
        return reason;
    const FileProblems failures = batch.commit();
    return failures.empty() ? QString() : failures.front().what;
}

bool sameFile(const QString& a, const QString& b) {
    if (resolvedPath(a) == resolvedPath(b))
        return true;
#ifdef Q_OS_UNIX
    struct stat sa {};
    struct stat sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
        ::stat(QFile::encodeName(b).constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
#endif
    return false;
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

bool trashAvailable() {
    // Qt's trash on Linux lives under the user's data folder; without that folder it would
    // set up "files" and "info" folders beside the diver's files, so then the file is removed.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return !data.isEmpty() && QFileInfo(data).isDir();
}

QString discardFile(const QString& name, bool* trashed) {
    if (trashed)
        *trashed = false;
    if (!isSafeFileName(name))
        return unsafeReason();
    if (!QFileInfo(name).isFile())
        return {};
    if (trashAvailable() && QFile::moveToTrash(name)) {
        if (trashed)
            *trashed = true;
        return {};
    }
    return removeFile(name);
}

} // namespace fileio
