// Files that are no regular files, for tests of what opens them: a bound
// socket, and a guard for tests that open a named pipe.
#pragma once

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

namespace testsupport {

// A unix socket bound at `path`; the caller closes the descriptor (-1 on failure).
inline int BindSocket(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
  if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Once its time is up it opens the pipe for writing and closes it again,
// which lets a reader that waits for a writer go on (it then reads an empty
// pipe). A test that would otherwise hang ends, and fails on Fired().
class FifoWatchdog {
 public:
  FifoWatchdog(std::string fifo, std::chrono::milliseconds patience)
      : fifo_(std::move(fifo)), thread_([this, patience] { Watch(patience); }) {}
  ~FifoWatchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  FifoWatchdog(const FifoWatchdog&) = delete;
  FifoWatchdog& operator=(const FifoWatchdog&) = delete;

  // Whether a reader had to be let go.
  bool Fired() {
    std::lock_guard<std::mutex> lock(mutex_);
    return fired_;
  }

 private:
  void Watch(std::chrono::milliseconds patience) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (wake_.wait_for(lock, patience, [this] { return done_; })) return;
    // Without a reader waiting the open fails (ENXIO): try until one is there.
    while (!done_) {
      const int fd = ::open(fifo_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (fd >= 0) {
        fired_ = true;
        ::close(fd);
      }
      wake_.wait_for(lock, std::chrono::milliseconds(20), [this] { return done_; });
    }
  }

  std::string fifo_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  bool fired_ = false;
  std::thread thread_;  // last: starts once the members above exist
};

}  // namespace testsupport
