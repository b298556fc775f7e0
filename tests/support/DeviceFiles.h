#pragma once

#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <future>
#include <thread>
#include <unistd.h>

// After a few seconds, releases whoever is blocked opening a named pipe for reading: a reader
// that should have refused the pipe then reads it as empty and fails the test instead of
// hanging it.
class PipeGuard {
public:
    explicit PipeGuard(const QString& pipe)
        : waiter([name = pipe.toLocal8Bit(), done = stop.get_future()] {
              if (done.wait_for(std::chrono::seconds(3)) == std::future_status::timeout)
                  ::close(::open(name.constData(), O_WRONLY | O_NONBLOCK));
          }) {}
    ~PipeGuard() {
        stop.set_value();
        waiter.join();
    }

private:
    std::promise<void> stop;
    std::thread waiter;
};

// A character device (1, minor) made at `where` when we may (as root), so that a writer that
// wrongly renames a file over it replaces only this copy and never the system's own; otherwise
// the system's `fallback`, which an ordinary user cannot replace.
inline QString deviceCopy(const QString& where, unsigned minor, const char* fallback) {
    if (::mknod(where.toLocal8Bit().constData(), S_IFCHR | 0666, makedev(1, minor)) == 0)
        return where;
    return QString::fromLatin1(fallback);
}
