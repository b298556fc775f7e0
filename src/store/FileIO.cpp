#include "FileIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace store {

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
    if (info.isSymLink() && !info.exists())
        return QStringLiteral("a symbolic link to \"%1\", which is not there")
            .arg(info.symLinkTarget());
    if (info.isDir())
        return QStringLiteral("a folder stands where the file should be");
    return QStringLiteral("not a regular file (a device, pipe or socket stands under that name); "
                          "it is neither read nor written");
}

// Writes `data` whole to the file `path` (made empty first) and pushes it to the disk, so that
// the commit later is no more than a rename.
QString writeTemporary(const QString& path, const QByteArray& data) {
    QFile f(path);
    // Unbuffered, so that a failing write comes back from the write itself: a buffered write
    // fails later in flush(), where Qt has lost the system's reason.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return failureReason(f);
    if (const QString reason = writeAll(f, data); !reason.isEmpty())
        return reason;
#ifdef Q_OS_UNIX
    if (::fsync(f.handle()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
#endif
    return {};
}

// The file a write to `path` replaces: symbolic links followed (also a dangling one, whose
// target is made), so the link itself stays.
QString finalTarget(const QString& path) {
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.filePath();
}

} // namespace

QString renameFile(const QString& from, const QString& to) {
#ifdef Q_OS_UNIX
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return {};
#else
    QFile::remove(to);
    QFile f(from);
    return f.rename(to) ? QString() : f.errorString();
#endif
}

namespace {

// A second name for the bytes of `file` until a commit is over: a hard link costs nothing and
// leaves the file itself untouched; a copy where the file system has no hard links.
QString keepOld(const QString& file, QString* kept) {
    QString name = file + QStringLiteral(".keep");
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = file + QStringLiteral(".keep") + QString::number(n);
#ifdef Q_OS_UNIX
    if (::link(QFile::encodeName(file).constData(), QFile::encodeName(name).constData()) == 0) {
        *kept = name;
        return {};
    }
#endif
    QFile source(file);
    if (!source.copy(name)) return source.errorString();
    *kept = name;
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

ReadResult readWhole(const QString& name, qint64 most) {
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
    const QFileInfo info(name);
    if (const QString what = notAFile(info); !what.isEmpty()) {
        r.error = what;
        return r;
    }
    if (most >= 0 && info.size() > most) {
        r.error = QStringLiteral("the file is %1 bytes, more than such a file can hold (%2 "
                                 "bytes); it is not read")
                      .arg(info.size())
                      .arg(most);
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

struct WriteBatch::Pending {
    QString target; // as the caller named it
    QString final;  // the file replaced: a symbolic link followed
    std::unique_ptr<QTemporaryFile> temp;
};

WriteBatch::WriteBatch() : rename(renameFile) {}
WriteBatch::~WriteBatch() = default; // QTemporaryFile removes a temporary file never committed

void WriteBatch::setRename(Rename r) {
    rename = std::move(r);
}

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
    auto p = std::make_unique<Pending>();
    p->target = path;
    p->final = finalTarget(path);
    const QFileInfo final(p->final);
    if (final.isDir()) return QStringLiteral("a folder stands where the file should be");
    p->temp = std::make_unique<QTemporaryFile>(p->final + QStringLiteral(".XXXXXX"));
    if (!p->temp->open()) return failureReason(*p->temp);
    const QString tempName = p->temp->fileName();
    p->temp->close();
    // The new file gets the old one's permissions, or those of any newly made file.
    if (final.exists()) {
        QFile::setPermissions(tempName, final.permissions());
    } else {
#ifdef Q_OS_UNIX
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(QFile::encodeName(tempName).constData(), 0666 & ~mask);
#endif
    }
    if (const QString reason = writeTemporary(tempName, data); !reason.isEmpty()) return reason;
    files.push_back(std::move(p));
    return {};
}

FileProblems WriteBatch::commit() {
    FileProblems failures;
    mixed = false;
    // Every file about to be replaced keeps a second name first; without it a failed rename
    // further on could not be undone, so then nothing is renamed at all.
    std::vector<QString> kept(files.size());
    for (size_t i = 0; i < files.size() && failures.empty(); ++i) {
        const QString& final = files[i]->final;
        if (!QFileInfo(final).isFile()) continue;
        if (const QString reason = keepOld(final, &kept[i]); !reason.isEmpty())
            failures.push_back(
                {files[i]->target, QStringLiteral("the file could not be kept while it is replaced "
                                                  "(%1)")
                                       .arg(reason)});
    }
    size_t done = 0;
    if (failures.empty()) {
        for (; done < files.size(); ++done) {
            Pending& p = *files[done];
            if (const QString reason = rename(p.temp->fileName(), p.final); !reason.isEmpty()) {
                failures.push_back({p.target, reason});
                break;
            }
            p.temp->setAutoRemove(false); // it is the file now
        }
    }
    if (!failures.empty()) {
        // Put back, last first, every file already replaced; a file that was not there before
        // goes again.
        QStringList putBack;
        for (size_t i = done; i-- > 0;) {
            const Pending& p = *files[i];
            const QString reason =
                kept[i].isEmpty() ? removeFile(p.final) : rename(kept[i], p.final);
            if (reason.isEmpty()) {
                kept[i].clear();
                continue;
            }
            mixed = true;
            failures.push_back(
                {p.target, kept[i].isEmpty()
                               ? QStringLiteral("was written but could not be removed again "
                                                "(%1)")
                                     .arg(reason)
                               : QStringLiteral("was replaced but could not be put back (%1); "
                                                "the previous file is kept as %2")
                                     .arg(reason, kept[i])});
            kept[i].clear(); // that copy is the only one left: it stays
        }
    }
    for (const QString& name : kept)
        if (!name.isEmpty()) QFile::remove(name);
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

} // namespace store
