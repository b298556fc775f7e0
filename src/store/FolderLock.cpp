#include "FolderLock.h"

#include <QDir>
#include <QSysInfo>

namespace store {

FolderLock::FolderLock() : file(QDir::current().absoluteFilePath(FileName)) {
    // A lock is stale only when its process is gone, never by age: a program may stay open
    // for days.
    file.setStaleLockTime(0);
}

FolderLock::Outcome FolderLock::lock() {
    if (file.isLocked()) return Outcome::Locked;
    if (file.tryLock(0)) return Outcome::Locked;
    if (file.error() != QLockFile::LockFailedError) return Outcome::Unavailable;
    qint64 pid = 0;
    QString host, app;
    if (!file.getLockInfo(&pid, &host, &app)) {
        holderText = QStringLiteral("another process");
        return Outcome::HeldElsewhere;
    }
    holderText = QStringLiteral("process %1").arg(pid);
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        holderText += QStringLiteral(" on %1").arg(host);
    return Outcome::HeldElsewhere;
}

void FolderLock::unlock() {
    file.unlock();
}

QString FolderLock::refusal() const {
    return QStringLiteral("the log is open in Reefbook, %1; close it first").arg(holderText);
}

QString FolderLock::secondProgram() const {
    return QStringLiteral("The log in this folder is already open in Reefbook, %1. Close that "
                          "window first: two windows on one log would each save over the other's "
                          "dives, so this one opens nothing.")
        .arg(holderText);
}

} // namespace store
