// Starting an external tool hidden and waiting for it (POSIX: fork and exec,
// with a close-on-exec pipe that carries a failed start's errno back).
#include "platform/ProcessRunner.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#if defined(_WIN32)
// A Windows build needs its own start (CreateProcess) here; not built yet.
namespace platform {
int RunHidden(const ProcessSpec&, const std::function<void()>&) { return ENOSYS; }
}  // namespace platform
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace platform {

namespace {

std::string& CommandProcessorOverride() {
  static std::string path;
  return path;
}

// `name` inside `folder`; a relative folder is taken from `base`.
std::string Join(const std::string& base, const std::string& folder, const std::string& name) {
  std::string dir = folder;
  if (dir.empty()) {
    dir = base;
  } else if (dir[0] != '/' && !base.empty()) {
    dir = base + "/" + dir;
  }
  if (dir.empty()) return name;
  if (dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

bool IsExecutableFile(const std::string& path) {
#if defined(_WIN32)
  (void)path;
  return false;
#else
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
#endif
}

std::string SearchPathOfProcess() {
  const char* path = std::getenv("PATH");
  return path ? std::string(path) : std::string("/usr/local/bin:/usr/bin:/bin");
}

#if !defined(_WIN32)
// In a forked child before its exec: nothing of ours (the instance lock, the
// socket of later starts, the display connection, pipes) reaches the tool.
// The descriptors close at the exec, so the pipe of a failed start still works.
void CloseOnExecAbove2() {
  if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0) return;
  rlimit limit{};
  const long last = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
                        ? static_cast<long>(limit.rlim_cur)
                        : 65536;
  for (long fd = 3; fd < last; ++fd) ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
}
#endif

}  // namespace

std::string CommandProcessor() {
  const std::string& path = CommandProcessorOverride();
  return path.empty() ? std::string("/bin/sh") : path;
}

const char* CommandSwitch() { return "-c"; }

void SetCommandProcessorForTesting(const std::string& path) { CommandProcessorOverride() = path; }

std::string QuoteForCommandProcessor(const std::string& bytes) {
  // Inside single quotes the shell takes every byte literally; a single quote
  // itself ends the quoted part, is given escaped, and the quoting resumes.
  std::string quoted = "'";
  for (char c : bytes) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  quoted += '\'';
  return quoted;
}

std::string FindProgram(const std::string& name, const std::string& searchPath,
                        const std::string& workFolder) {
  if (name.empty()) return std::string();
  std::size_t start = 0;
  while (start <= searchPath.size()) {
    std::size_t end = searchPath.find(':', start);
    if (end == std::string::npos) end = searchPath.size();
    const std::string candidate = Join(workFolder, searchPath.substr(start, end - start), name);
    if (IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  const std::string inWorkFolder = Join(workFolder, std::string(), name);
  if (IsExecutableFile(inWorkFolder)) return inWorkFolder;
  return std::string();
}

#if !defined(_WIN32)

int RunHidden(const ProcessSpec& process, const std::function<void()>& whileWaiting) {
  if (process.args.empty()) return EINVAL;

  // Everything the child needs is built before the fork: after it the child
  // may only make async-signal-safe calls.
  std::string file = process.program;
  if (file.find('/') == std::string::npos) {
    file = FindProgram(process.program, SearchPathOfProcess(), process.workFolder);
    if (file.empty()) return ENOENT;
  }

  std::vector<char*> argv;
  for (const std::string& arg : process.args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  std::vector<std::string> envStrings;
  bool pathSeen = false;
  for (char** entry = environ; entry && *entry; ++entry) {
    std::string text = *entry;
    if (process.searchWorkFolder && !process.workFolder.empty() && text.compare(0, 5, "PATH=") == 0) {
      text += ":" + process.workFolder;
      pathSeen = true;
    }
    envStrings.push_back(std::move(text));
  }
  if (process.searchWorkFolder && !process.workFolder.empty() && !pathSeen)
    envStrings.push_back("PATH=" + SearchPathOfProcess() + ":" + process.workFolder);
  std::vector<char*> envp;
  for (std::string& text : envStrings) envp.push_back(const_cast<char*>(text.c_str()));
  envp.push_back(nullptr);

  const char* const workFolder = process.workFolder.empty() ? nullptr : process.workFolder.c_str();

  int errorPipe[2];
  if (pipe2(errorPipe, O_CLOEXEC) != 0) return errno;

  const pid_t pid = fork();
  if (pid < 0) {
    const int error = errno;
    close(errorPipe[0]);
    close(errorPipe[1]);
    return error;
  }
  if (pid == 0) {
    close(errorPipe[0]);
    CloseOnExecAbove2();
    int error = 0;
    const int nul = open("/dev/null", O_RDONLY);
    if (nul >= 0 && nul != 0) {
      dup2(nul, 0);
      close(nul);
    }
    if (workFolder && chdir(workFolder) != 0) {
      error = errno;
    } else {
      execve(file.c_str(), argv.data(), envp.data());
      error = errno;
    }
    ssize_t written;
    do {
      written = write(errorPipe[1], &error, sizeof error);
    } while (written < 0 && errno == EINTR);
    _exit(127);
  }

  // The pipe closes at the child's exec: no bytes means the program started.
  close(errorPipe[1]);
  int startError = 0;
  ssize_t got;
  do {
    got = read(errorPipe[0], &startError, sizeof startError);
  } while (got < 0 && errno == EINTR);
  close(errorPipe[0]);
  if (got != static_cast<ssize_t>(sizeof startError)) startError = 0;

  int status = 0;
  if (startError != 0 || !whileWaiting) {
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return startError;
  }
  for (;;) {
    const pid_t ended = waitpid(pid, &status, WNOHANG);
    if (ended == pid) break;
    if (ended < 0 && errno != EINTR) break;  // already reaped elsewhere: it has ended
    whileWaiting();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}

#endif

}  // namespace platform
