// The per-user folders the program keeps its settings, data and run-time
// files in: the XDG base folders on Linux.
#pragma once

#include <string>

namespace platform {

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share.
std::string UserDataHome();
// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config.
std::string UserConfigHome();
// $XDG_RUNTIME_DIR when it is an absolute path, else the user's data folder
// (the run-time files are then kept beside the program's data).
std::string UserRuntimeDir();

// The file the program's settings are kept in, or empty where the system keeps
// settings elsewhere (the registry on Windows).
std::string UserConfigFile(const std::string& appName);

// Creates `path` and its missing parents with the given permissions; true when
// the folder exists afterwards.
bool MakeFolders(const std::string& path, unsigned mode = 0700);

// A name for the user running the program, safe inside a file name.
std::string UserName();

}  // namespace platform
