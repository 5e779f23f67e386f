// File locks (flock: released with the last descriptor, so at the holder's
// end however it ends) and the listener test of a local socket.
#include "platform/InstanceLock.h"

#if defined(_WIN32)
namespace platform {
FileLock::~FileLock() = default;
FileLock::Result FileLock::TryLock(const std::string&) { return Result::Unavailable; }
void FileLock::Release() {}
bool FileLock::HeldElsewhere(const std::string&) { return false; }
bool HasListener(const std::string&) { return false; }
}  // namespace platform
#else
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

FileLock::~FileLock() { Release(); }

FileLock::Result FileLock::TryLock(const std::string& path) {
  Release();
  // Close-on-exec: a program we start must not keep the lock alive.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return Result::Unavailable;
  int rc;
  while ((rc = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (rc != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held ? Result::HeldElsewhere : Result::Unavailable;
  }
  fd_ = fd;
  return Result::Taken;
}

void FileLock::Release() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

bool FileLock::HeldElsewhere(const std::string& path) {
  FileLock probe;
  return probe.TryLock(path) == Result::HeldElsewhere;
}

bool HasListener(const std::string& path) {
  sockaddr_un address{};
  if (path.size() >= sizeof(address.sun_path)) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  int rc;
  while ((rc = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address))) != 0 && errno == EINTR) {
  }
  // A full backlog (EAGAIN) still means someone listens.
  const bool listening = rc == 0 || errno == EAGAIN;
  ::close(fd);
  return listening;
}

}  // namespace platform
#endif
