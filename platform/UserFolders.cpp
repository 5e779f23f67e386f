// The per-user XDG folders, and creating folders.
#include "platform/UserFolders.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace platform {
namespace {

std::string Home() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/tmp";
}

// An XDG variable counts only when it holds an absolute path.
std::string XdgFolder(const char* variable, const std::string& fallbackUnderHome) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') return value;
  return Home() + "/" + fallbackUnderHome;
}

}  // namespace

std::string UserDataHome() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }
std::string UserConfigHome() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }

std::string UserRuntimeDir() {
  const char* value = std::getenv("XDG_RUNTIME_DIR");
  if (value && value[0] == '/') return value;
  return UserDataHome();
}

std::string UserConfigFile(const std::string& appName) {
  return UserConfigHome() + "/" + appName + "/" + appName + ".conf";
}

bool MakeFolders(const std::string& path, unsigned mode) {
  if (path.empty()) return false;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const std::string::size_type slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), mode)) return false;
  if (::mkdir(path.c_str(), static_cast<mode_t>(mode)) == 0) return true;
  return errno == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string UserName() {
  return std::to_string(static_cast<unsigned long>(::getuid()));
}

}  // namespace platform
