// The instance lock lets go when its holder ends however it ends, a socket
// file without a listener is told from a live one, and the session-ending
// signals arrive through their pipe.
#include <gtest/gtest.h>

#include "platform/EndSignals.h"
#include "platform/InstanceLock.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string TempFolder() {
  char folder[] = "/tmp/qmlockXXXXXX";
  return ::mkdtemp(folder) ? folder : "";
}

TEST(InstanceLockTest, LockIsFreeOnceItsHolderEndsEvenUnreaped) {
  const std::string folder = TempFolder();
  const std::string path = folder + "/x.lock";
  platform::FileLock first, second;
  EXPECT_EQ(first.TryLock(path), platform::FileLock::Result::Taken);
  EXPECT_EQ(second.TryLock(path), platform::FileLock::Result::HeldElsewhere);
  EXPECT_TRUE(platform::FileLock::HeldElsewhere(path));
  first.Release();
  EXPECT_EQ(second.TryLock(path), platform::FileLock::Result::Taken);
  second.Release();
  EXPECT_EQ(first.TryLock(folder + "/missing/x.lock"), platform::FileLock::Result::Unavailable);

  // A child takes the lock and is killed; until it is reaped it is a zombie,
  // and the lock is free all the same.
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    platform::FileLock held;
    const char taken = held.TryLock(path) == platform::FileLock::Result::Taken ? 'y' : 'n';
    (void)!::write(ready[1], &taken, 1);
    for (;;) ::pause();
  }
  char taken = 0;
  ASSERT_EQ(::read(ready[0], &taken, 1), 1);
  EXPECT_EQ(taken, 'y');
  EXPECT_EQ(first.TryLock(path), platform::FileLock::Result::HeldElsewhere);
  ::kill(child, SIGKILL);
  siginfo_t info{};
  ASSERT_EQ(::waitid(P_PID, child, &info, WEXITED | WNOWAIT), 0);  // ended, not reaped
  EXPECT_EQ(first.TryLock(path), platform::FileLock::Result::Taken);
  ::waitpid(child, nullptr, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  first.Release();
  std::system(("rm -rf " + folder).c_str());
}

TEST(InstanceLockTest, OnlyALiveSocketHasAListener) {
  const std::string folder = TempFolder();
  const std::string path = folder + "/s.socket";
  EXPECT_FALSE(platform::HasListener(path));
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, path.c_str());
  int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  EXPECT_FALSE(platform::HasListener(path));  // bound, not listening
  ASSERT_EQ(::listen(server, 4), 0);
  EXPECT_TRUE(platform::HasListener(path));
  ::close(server);  // the file stays behind, as after a killed program
  EXPECT_FALSE(platform::HasListener(path));
  EXPECT_FALSE(platform::HasListener(folder + "/" + std::string(200, 'x')));
  std::system(("rm -rf " + folder).c_str());
}

TEST(EndSignalsTest, SignalsArriveThroughThePipeOnce) {
  const int fd = platform::WatchEndSignals();
  ASSERT_GE(fd, 0);
  EXPECT_EQ(platform::WatchEndSignals(), fd);
  EXPECT_EQ(platform::TakeEndSignal(), 0);
  ::raise(SIGHUP);
  ::raise(SIGTERM);
  EXPECT_EQ(platform::TakeEndSignal(), SIGHUP);
  EXPECT_EQ(platform::TakeEndSignal(), 0);  // the second was read with the first
  ::raise(SIGTERM);
  EXPECT_EQ(platform::TakeEndSignal(), SIGTERM);
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGHUP, SIG_DFL);
}

}  // namespace
