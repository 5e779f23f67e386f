// What the chip commands share: the program folder, paths as the file system's
// bytes, running a tool while the windows keep painting, reading a tool's
// output file into the Build list.
#pragma once

#include "chip/ChipInterfaces.h"
#include "platform/ProcessRunner.h"

#include <string>
#include <vector>

namespace chip {

// The folder of the running program's executable file, without a trailing
// separator (but for the root itself).
std::wstring ProgramFolder();
// Tests put the program folder elsewhere; an empty folder restores the real one.
void SetProgramFolderForTesting(const std::wstring& folder);

// `path` without its last component: "/a/b/c.vorn" gives "/a/b", "/c" gives
// "/", a bare name gives "".
std::wstring RemoveLastComponent(const std::wstring& path);
// `name` without its extension: the last dot and what follows it.
std::wstring RemoveExtension(const std::wstring& name);
// The file `name` in `folder` (byte strings); an empty folder means the
// current one.
std::string FileInFolder(const std::string& folder, const std::string& name);

// A file name or path as the bytes the file system knows it by.
std::string FileBytes(const std::wstring& text);

// Runs the process and waits until it ends. Meanwhile every window is
// disabled (no input, so no second command can start) but keeps painting, and
// timers keep running; the window that had the keyboard focus has it again
// afterwards. Returns 0, or the error number of a failed start.
int RunToolAndWait(const platform::ProcessSpec& process);

// The lines of a tool's output file, read byte for byte (each byte the
// character of the same value): LF or CR LF ends a line, a last line without
// a line end counts too. false when the file cannot be opened.
bool ReadOutputLines(const std::string& path, std::vector<std::wstring>& lines);

// Adds the output file's lines to `list`, or "Output file cannot be opened.".
void ShowOutputFile(const std::string& path, BuildList& list);

// The warning box for a tool that could not be started: "Error running
// <tool>:  <code>".
void ShowStartFailure(const wchar_t* tool, int code);

}  // namespace chip
