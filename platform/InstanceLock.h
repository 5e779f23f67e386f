// What one running program per user rests on: a lock that the system lets go
// of when its holder ends in any way (also when it is killed or lingers as a
// zombie), and a test whether anyone listens on a local socket.
#pragma once

#include <string>

namespace platform {

class FileLock {
 public:
  FileLock() = default;
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  enum class Result { Taken, HeldElsewhere, Unavailable };
  // Takes the lock on the file at `path` (made when missing) without
  // waiting. Unavailable: the file cannot be made or locked at all.
  Result TryLock(const std::string& path);
  bool IsHeld() const { return fd_ >= 0; }
  void Release();

  // Whether another process holds the lock on `path` now.
  static bool HeldElsewhere(const std::string& path);

 private:
  int fd_ = -1;
};

// Whether a process accepts connections on the local socket at `path`; a
// socket file left by a program that has ended has no listener.
bool HasListener(const std::string& path);

}  // namespace platform
