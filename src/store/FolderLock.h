#pragma once

#include <QLockFile>
#include <QString>

namespace store {

// One program at a time writes a data folder. Divers in one folder may share list files, so the
// whole folder is locked, not one diver's log. The lock is a file in the folder; a lock left by a
// process that is no longer running (killed, or the power went) is taken over.
class FolderLock {
  public:
    static inline const QString FileName = QStringLiteral("reefbook.lock");

    // The lock of the current folder.
    FolderLock();

    enum class Outcome {
        Locked,        // this process holds the folder now
        HeldElsewhere, // another running program holds it; see holder()
        Unavailable    // no lock could be made (a read-only folder); writing will fail anyway
    };
    Outcome lock();
    void unlock();
    bool isLocked() const { return file.isLocked(); }

    // After HeldElsewhere: "process 1234" (and "on host" when the folder is shared over a
    // network), for the messages below.
    QString holder() const { return holderText; }

    // What a command that would write says when another program holds the folder.
    QString refusal() const;
    // What a second desktop program says before it ends, opening nothing.
    QString secondProgram() const;

  private:
    QLockFile file;
    QString holderText;
};

} // namespace store
