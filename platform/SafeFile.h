// Safe access to the files the user opens and saves: reading that never waits
// on what is not a regular file, and replacing a file's contents so that a
// failure at any point leaves the old file as it was: the new bytes go into a
// new file in the same folder, which is flushed, synced and only then renamed
// over the old one.
#pragma once

#include <functional>
#include <string>

namespace platform {

// The steps of a save, in the order they run. A failure in any of them leaves
// the original untouched and removes the new file.
enum class SaveStep {
  Open,    // resolving the target and creating the new file next to it
  Write,   // one write of the bytes (a large save writes in several)
  Flush,   // handing the buffered bytes to the system
  Sync,    // making the system put them on the disk
  Close,   // closing the new file
  Rename,  // putting the new file in the original's place
};

// What the step was doing, for messages ("opening the file", "writing", ...).
const char* SaveStepText(SaveStep step);

struct SaveResult {
  bool ok = true;
  SaveStep step = SaveStep::Open;  // the step that failed
  int error = 0;                   // its system error number
  std::string reason;              // the system's text for that error

  explicit operator bool() const { return ok; }
};

// Writes `bytes` as the whole new contents of the file at `path`.
// - A symbolic link is followed: its final target is replaced, the link stays.
// - An existing file keeps its permission bits (and, where the system allows,
//   its owner and group); a new file gets the permissions of a plain new file
//   (0666 less the process's umask).
// - An existing file we may not write is not replaced (SaveStep::Open,
//   EACCES), even when its folder would let us.
// - On failure the original is byte for byte what it was and no new file is
//   left behind.
SaveResult WriteFileSafely(const std::string& path, const std::string& bytes);

// The file a save of `path` replaces: `path` with the symbolic links of its
// last component followed (a dangling link gives the path it points to).
// False, with the system error number in `error`, when the links run in a
// circle or too deep.
bool ResolveSaveTarget(const std::string& path, std::string& target, int& error);

// Reads the whole file at `path` into `bytes`. Only a regular file (symbolic
// links followed) is read. Anything else - a pipe, a socket, a device, a
// folder - is refused at once without waiting for a writer or reading a
// device: `error` is then EISDIR for a folder and ENODEV for the others, or
// the system error number when the file cannot be opened or read.
bool ReadRegularFile(const std::string& path, std::string& bytes, int& error);

// Whether a save may write `path` where it is: it names (symbolic links
// followed) an existing regular file that is not read-only, that is, one with
// a write permission bit set that the process may write. A save of anything
// else asks for a name first.
bool IsWritableRegularFile(const std::string& path);

// The seam for tests: called before each step; a non-zero return makes that
// step fail with that system error number instead of running it.
using SaveFailurePoint = std::function<int(SaveStep step)>;

// Installs `point` for the lifetime of the object (saves run on one thread).
class ScopedSaveFailurePoint {
 public:
  explicit ScopedSaveFailurePoint(SaveFailurePoint point);
  ~ScopedSaveFailurePoint();
  ScopedSaveFailurePoint(const ScopedSaveFailurePoint&) = delete;
  ScopedSaveFailurePoint& operator=(const ScopedSaveFailurePoint&) = delete;

 private:
  SaveFailurePoint previous_;
};

}  // namespace platform
