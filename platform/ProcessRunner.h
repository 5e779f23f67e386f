// Starting an external tool hidden and waiting for it to end, and quoting
// text for the command processor. Strings are byte strings in the file
// system's encoding.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// One process to start.
struct ProcessSpec {
  // The file to run: a path with a '/' is used as it stands, a bare name is
  // looked up in the search path and then in the working folder.
  std::string program;
  // The argument vector the program receives, its own name first.
  std::vector<std::string> args;
  // The folder the program works in; empty keeps ours.
  std::string workFolder;
  // Also let programs that the started program runs by bare name (a command
  // processor running a tool) be found in the working folder, after the
  // search path.
  bool searchWorkFolder = false;
};

// Starts the process with no input (standard input is the null device), waits
// until it ends, and returns 0; its exit code is not read. When it cannot be
// started returns the error number (errno) of the failure: program not found,
// working folder missing, no process left, ... While waiting, `whileWaiting`
// is called every few milliseconds (may be empty: then the wait just blocks).
int RunHidden(const ProcessSpec& process, const std::function<void()>& whileWaiting);

// The command processor and its switch that runs one command line:
// "/bin/sh" and "-c".
std::string CommandProcessor();
const char* CommandSwitch();
// Tests point the command processor elsewhere (a missing file, to see a failed
// start); an empty path restores the default.
void SetCommandProcessorForTesting(const std::string& path);

// `bytes` as one word of a command-processor line: whatever it holds (blanks,
// quotes, $, backquote, ;, &, |, newline, any byte) reaches the program as
// exactly that one argument, and nothing in it is run.
std::string QuoteForCommandProcessor(const std::string& bytes);

// The full path of the executable file `name` in the folders of `searchPath`
// (':'-separated; an empty entry means `workFolder`, as do relative entries
// taken from it), then in `workFolder`; empty when none is found.
std::string FindProgram(const std::string& name, const std::string& searchPath,
                        const std::string& workFolder);

}  // namespace platform
