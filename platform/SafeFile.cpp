// Safe file access on POSIX systems. Reading opens only regular files, and
// without waiting; replacing writes a new file beside the target, flushes,
// syncs and closes it, then renames it over the target.
#include "platform/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <utility>

namespace platform {
namespace {

// Symbolic links followed before a save gives up with ELOOP.
constexpr int kMaxLinks = 40;
// Bytes per write call.
constexpr std::size_t kWriteChunk = std::size_t(1) << 20;

SaveFailurePoint& InstalledFailurePoint() {
  static SaveFailurePoint point;
  return point;
}

// The error the test seam asks `step` to fail with; 0 normally.
int InjectedError(SaveStep step) {
  const SaveFailurePoint& point = InstalledFailurePoint();
  return point ? point(step) : 0;
}

SaveResult Failure(SaveStep step, int error) {
  SaveResult result;
  result.ok = false;
  result.step = step;
  result.error = error;
  result.reason = std::strerror(error);
  return result;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Reads the text of the symbolic link at `path`; false with errno set on failure.
bool ReadLink(const std::string& path, std::string& link) {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink(path.c_str(), &buffer[0], buffer.size());
    if (n < 0) return false;
    if (static_cast<std::size_t>(n) < buffer.size()) {
      link.assign(buffer, 0, static_cast<std::size_t>(n));
      return true;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// Creates a new empty file in the folder of `target` under an unused hidden
// name; returns its descriptor (or -1 with `error` set) and its path.
int CreateNewFileBeside(const std::string& target, mode_t mode, std::string& newPath, int& error) {
  static std::mt19937_64 random{std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())};
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  // The name is cut so that the new file's name stays within the system's
  // limit even when the target's name nearly reaches it.
  const std::string stem = FolderOf(target) + "/." + NameOf(target).substr(0, 200) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = stem;
    for (int i = 0; i < 8; ++i) name += kLetters[random() % (sizeof(kLetters) - 1)];
    name += ".tmp";
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0) {
      newPath = std::move(name);
      return fd;
    }
    if (errno != EEXIST) break;
  }
  error = errno;
  return -1;
}

// What a read of something that is not a regular file fails with.
int NotRegularError(mode_t mode) { return S_ISDIR(mode) ? EISDIR : ENODEV; }

}  // namespace

const char* SaveStepText(SaveStep step) {
  switch (step) {
    case SaveStep::Open:
      return "opening the file for writing";
    case SaveStep::Write:
      return "writing";
    case SaveStep::Flush:
      return "flushing";
    case SaveStep::Sync:
      return "syncing to disk";
    case SaveStep::Close:
      return "closing";
    case SaveStep::Rename:
      return "replacing the old file";
  }
  return "saving";
}

bool ResolveSaveTarget(const std::string& path, std::string& target, int& error) {
  std::string current = path;
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    struct stat st;
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      target = current;
      return true;
    }
    std::string link;
    if (!ReadLink(current, link)) {
      error = errno;
      return false;
    }
    current = (!link.empty() && link[0] == '/') ? link : FolderOf(current) + "/" + link;
  }
  error = ELOOP;
  return false;
}

SaveResult WriteFileSafely(const std::string& path, const std::string& bytes) {
  if (const int e = InjectedError(SaveStep::Open)) return Failure(SaveStep::Open, e);

  std::string target;
  int error = 0;
  if (!ResolveSaveTarget(path, target, error)) return Failure(SaveStep::Open, error);

  // What is there now decides the new file's permissions, and whether we may
  // replace it at all: a file we could not write in place stays as it is.
  struct stat old;
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return Failure(SaveStep::Open, errno);
  if (exists && S_ISDIR(old.st_mode)) return Failure(SaveStep::Open, EISDIR);
  // Asked with the effective ids, as an open for writing would be.
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return Failure(SaveStep::Open, errno);

  std::string newPath;
  const mode_t createMode = exists ? (old.st_mode & 0777) : 0666;  // a new file: 0666 less umask
  const int fd = CreateNewFileBeside(target, createMode, newPath, error);
  if (fd < 0) return Failure(SaveStep::Open, error);
  if (exists) {
    // Owner and group first (changing them may clear set-id bits), then the
    // bits the umask took away. Neither is worth failing the save over.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) (void)!::fchown(fd, old.st_uid, old.st_gid);
    (void)::fchmod(fd, old.st_mode & 07777);
  }

  std::FILE* file = ::fdopen(fd, "wb");
  if (!file) {
    const int e = errno;
    ::close(fd);
    ::unlink(newPath.c_str());
    return Failure(SaveStep::Open, e);
  }
  // Gives up: closes and removes the new file; the original was never touched.
  auto abandon = [&](SaveStep step, int e) {
    if (file) std::fclose(file);
    ::unlink(newPath.c_str());
    return Failure(step, e);
  };

  for (std::size_t done = 0; done < bytes.size();) {
    const std::size_t n = std::min(kWriteChunk, bytes.size() - done);
    if (const int e = InjectedError(SaveStep::Write)) return abandon(SaveStep::Write, e);
    errno = 0;
    if (std::fwrite(bytes.data() + done, 1, n, file) != n) return abandon(SaveStep::Write, errno ? errno : EIO);
    done += n;
  }

  if (const int e = InjectedError(SaveStep::Flush)) return abandon(SaveStep::Flush, e);
  if (std::fflush(file) != 0) return abandon(SaveStep::Flush, errno);

  if (const int e = InjectedError(SaveStep::Sync)) return abandon(SaveStep::Sync, e);
  if (::fsync(::fileno(file)) != 0) return abandon(SaveStep::Sync, errno);

  if (const int e = InjectedError(SaveStep::Close)) return abandon(SaveStep::Close, e);
  const int closed = std::fclose(file);
  file = nullptr;
  if (closed != 0) return abandon(SaveStep::Close, errno);

  if (const int e = InjectedError(SaveStep::Rename)) return abandon(SaveStep::Rename, e);
  if (::rename(newPath.c_str(), target.c_str()) != 0) return abandon(SaveStep::Rename, errno);
  return SaveResult();
}

bool ReadRegularFile(const std::string& path, std::string& bytes, int& error) {
  bytes.clear();
  // A look before opening: opening a device can have effects of its own.
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    error = errno;
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    error = NotRegularError(st.st_mode);
    return false;
  }

  // The name may have been given to a pipe meanwhile: without O_NONBLOCK its
  // open would wait for a writer. What was opened is checked again.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = errno;
    return false;
  }
  const auto fail = [&](int e) {
    ::close(fd);
    bytes.clear();
    error = e;
    return false;
  };
  if (::fstat(fd, &st) != 0) return fail(errno);
  if (!S_ISREG(st.st_mode)) return fail(NotRegularError(st.st_mode));
  // A regular file never waits; plain blocking reads from here on.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return fail(errno);

  // Room for the size the system reports, then read until the end (the file
  // may have grown meanwhile).
  if (st.st_size > 0 && static_cast<std::uintmax_t>(st.st_size) < bytes.max_size())
    bytes.reserve(static_cast<std::size_t>(st.st_size) + 1);
  for (;;) {
    const std::size_t had = bytes.size();
    const std::size_t room = std::max<std::size_t>(bytes.capacity() - had, 65536);
    bytes.resize(had + room);
    const ssize_t got = ::read(fd, &bytes[had], room);
    if (got < 0) {
      const int e = errno;
      bytes.resize(had);
      if (e == EINTR) continue;
      return fail(e);
    }
    bytes.resize(had + static_cast<std::size_t>(got));
    if (got == 0) break;
  }
  ::close(fd);
  error = 0;
  return true;
}

bool IsWritableRegularFile(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;  // read-only, whoever asks
  return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

ScopedSaveFailurePoint::ScopedSaveFailurePoint(SaveFailurePoint point)
    : previous_(std::exchange(InstalledFailurePoint(), std::move(point))) {}

ScopedSaveFailurePoint::~ScopedSaveFailurePoint() { InstalledFailurePoint() = std::move(previous_); }

}  // namespace platform
