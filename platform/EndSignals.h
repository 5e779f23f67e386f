// The signals that end a session (a log-out, `kill -TERM`, a closed
// terminal): instead of ending the process at once, they are written into a
// pipe that the program's event loop reads, so that it can keep its unsaved
// work before it ends.
#pragma once

namespace platform {

// Catches SIGTERM and SIGHUP from now on; their handler only writes the
// signal's number into a pipe. Returns the pipe's read end (non-blocking,
// closed on exec) to watch for input, or -1 where there is nothing to watch.
// Calling it again returns the same descriptor.
int WatchEndSignals();

// The number of a signal caught since the last call, or 0; reads the pipe.
int TakeEndSignal();

}  // namespace platform
