#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <thread>
#include <unistd.h>

// Releases whoever is blocked opening a named pipe for reading, after a while: a reader that
// should have refused the pipe then reads it as empty and fails the test instead of hanging it.
class PipeGuard {
public:
    explicit PipeGuard(const QString& pipe,
                       std::chrono::milliseconds after = std::chrono::seconds(3))
        : name(pipe.toLocal8Bit()), waiter([this, after] {
              if (stop.get_future().wait_for(after) == std::future_status::ready)
                  return;
              const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
              if (fd >= 0)
                  ::close(fd); // the reader now sees the end of the pipe
          }) {}
    ~PipeGuard() {
        stop.set_value();
        waiter.join();
    }

private:
    QByteArray name;
    std::promise<void> stop;
    std::thread waiter;
};
