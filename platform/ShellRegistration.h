// Registers the program with the desktop the way Linux desktops learn of
// programs and file types: a desktop entry, a shared-mime-info type for the
// start-up kind's extension and the application icon under the user's XDG
// data folder, then the desktop's caches refreshed when its tools exist.
#pragma once

#include <string>

namespace platform {

struct ShellFileType {
  std::string typeId;     // the file type's id, e.g. "Quillmark.Document"
  std::string typeName;   // the readable name the desktop shows
  std::string extension;  // with its dot, e.g. ".vorn"
};

// The MIME type named after a file type id: "application/x-" and the id in
// lower case, every character a MIME subtype may not hold turned into '-'.
std::string MimeTypeOfTypeId(const std::string& typeId);

// The desktop entry that starts `executable` with the files it is given.
// The path is quoted and escaped by the desktop entry rules, so that no part
// of it is taken for a field code or a separate argument.
std::string DesktopEntryText(const std::string& appName, const std::string& executable,
                             const std::string& iconName, const std::string& mimeType);

// The shared-mime-info package that maps files ending in the type's extension
// to its MIME type.
std::string MimeInfoText(const ShellFileType& type);

// The relative paths below the XDG data folder that registration writes.
std::string DesktopEntryPath(const std::string& appId);   // applications/<id>.desktop
std::string MimePackagePath(const std::string& appId);    // mime/packages/<id>.xml
std::string IconPath(const std::string& appId);           // icons/hicolor/scalable/apps/<id>.svg

struct ShellRegistrationResult {
  bool ok = false;                 // every file holds what it should
  bool changed = false;            // at least one file was (re)written
  bool cacheRefreshStarted = false;
  std::string error;               // what failed, when !ok
};

// Writes the three files below `dataHome` (each only when its content
// differs, through a temporary file and a rename) and, when something
// changed, starts update-mime-database and update-desktop-database in the
// background when they are installed. Nothing here throws; a missing tool is
// no failure.
ShellRegistrationResult RegisterShellFileType(const std::string& dataHome, const std::string& appId,
                                              const std::string& appName, const std::string& executable,
                                              const ShellFileType& type, const std::string& iconSvg);

// Writes `text` to `path` through a temporary file in the same folder and a
// rename, creating missing folders; true on success.
bool WriteFileReplacing(const std::string& path, const std::string& text);

// The full path of a program found on PATH, or empty.
std::string FindOnPath(const std::string& program);

}  // namespace platform
