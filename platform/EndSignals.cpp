// The self-pipe of the session-ending signals.
#include "platform/EndSignals.h"

#if defined(_WIN32)
namespace platform {
int WatchEndSignals() { return -1; }
int TakeEndSignal() { return 0; }
}  // namespace platform
#else
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

int g_pipe[2] = {-1, -1};

// Async-signal-safe: one write; a full pipe already holds a signal to act on.
extern "C" void OnEndSignal(int signal) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  if (g_pipe[1] >= 0) (void)!::write(g_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

int WatchEndSignals() {
  if (g_pipe[0] >= 0) return g_pipe[0];
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    g_pipe[0] = g_pipe[1] = -1;
    return -1;
  }
  struct sigaction action {};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  // Interrupted calls of the toolkit go on as if nothing had happened.
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGHUP, &action, nullptr);
  return g_pipe[0];
}

int TakeEndSignal() {
  if (g_pipe[0] < 0) return 0;
  unsigned char byte = 0;
  int signal = 0;
  ssize_t n;
  while ((n = ::read(g_pipe[0], &byte, 1)) == 1 || (n < 0 && errno == EINTR))
    if (n == 1 && signal == 0) signal = byte;
  return signal;
}

}  // namespace platform
#endif
