#include "store/FolderLock.h"
#include "support/TestEnv.h"

#include <QFile>

#include <sys/wait.h>
#include <unistd.h>

namespace store {

namespace {
using FolderLockTest = TempFolderTest;
} // namespace

// A second program on the folder learns who holds it; a lock left by a process that has gone
// is taken over.
TEST_F(FolderLockTest, OneHolderAtATimeAndStaleLocksAreTakenOver) {
    {
        FolderLock first;
        ASSERT_EQ(FolderLock::Outcome::Locked, first.lock());
        FolderLock second;
        EXPECT_EQ(FolderLock::Outcome::HeldElsewhere, second.lock());
        EXPECT_EQ(QStringLiteral("the log is open in Reefbook, process %1; close it first")
                      .arg(::getpid()),
                  second.refusal());
        first.unlock();
        EXPECT_EQ(FolderLock::Outcome::Locked, second.lock());
    }
    // A process that took the lock and ended without letting it go, as a killed one does.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile lock(FolderLock::FileName);
        ::_exit(lock.tryLock(0) ? 0 : 1); // no destructor runs: the lock stays
    }
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    ASSERT_EQ(0, WEXITSTATUS(status));
    ASSERT_TRUE(QFile::exists(path(FolderLock::FileName)));
    FolderLock after;
    EXPECT_EQ(FolderLock::Outcome::Locked, after.lock());
}

} // namespace store
