// Desktop entry, MIME type and icon under the user's XDG data folder.
#include "platform/ShellRegistration.h"

#include "platform/UserFolders.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {
namespace {

std::string ReadWhole(const std::string& path, bool* exists) {
  std::ifstream in(path, std::ios::binary);
  *exists = static_cast<bool>(in);
  if (!in) return std::string();
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string XmlEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

// A desktop entry string value: backslash, newline, tab and CR escaped.
std::string DesktopStringEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

// One argument of an Exec key: quoted when it holds a reserved character,
// with '"', '`', '$' and '\' escaped inside the quotes, and '%' doubled so it
// is never read as a field code.
std::string ExecArgument(const std::string& arg) {
  static const char* const kReserved = " \t\n\"'\\><~|&;$*?#()`";
  std::string escaped;
  bool quote = arg.empty();
  for (char c : arg) {
    if (std::strchr(kReserved, c) && c != '\0') quote = true;
    if (c == '"' || c == '`' || c == '$' || c == '\\') escaped += '\\';
    if (c == '%') escaped += '%';
    escaped += c;
  }
  return quote ? "\"" + escaped + "\"" : escaped;
}

// Starts `program` with one argument, detached: the caller never waits for it.
bool StartDetached(const std::string& program, const std::string& arg) {
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    // The grandchild runs the tool; the child ends at once so that nothing
    // is left for us to reap.
    if (::fork() == 0) {
      const int devnull = ::open("/dev/null", O_RDWR);
      if (devnull >= 0) {
        ::dup2(devnull, 0);
        ::dup2(devnull, 1);
        ::dup2(devnull, 2);
      }
      // Nothing of ours (the display connection, pipes, sockets) stays open in the tool.
      ::close_range(3, ~0U, 0);
      ::execl(program.c_str(), program.c_str(), arg.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::_exit(0);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return true;
}

}  // namespace

std::string MimeTypeOfTypeId(const std::string& typeId) {
  std::string subtype = "x-";
  for (unsigned char c : typeId) {
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-';
    subtype += allowed ? static_cast<char>(c) : '-';
  }
  return "application/" + subtype;
}

std::string DesktopEntryText(const std::string& appName, const std::string& executable,
                             const std::string& iconName, const std::string& mimeType) {
  std::string text;
  text += "[Desktop Entry]\n";
  text += "Type=Application\n";
  text += "Name=" + DesktopStringEscaped(appName) + "\n";
  text += "Comment=Editor for Vorn sources\n";
  text += "Exec=" + DesktopStringEscaped(ExecArgument(executable)) + " %F\n";
  text += "Icon=" + DesktopStringEscaped(iconName) + "\n";
  text += "Terminal=false\n";
  text += "Categories=Development;TextEditor;\n";
  text += "MimeType=" + DesktopStringEscaped(mimeType) + ";\n";
  return text;
}

std::string MimeInfoText(const ShellFileType& type) {
  std::string text;
  text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  text += "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  text += "  <mime-type type=\"" + XmlEscaped(MimeTypeOfTypeId(type.typeId)) + "\">\n";
  text += "    <comment>" + XmlEscaped(type.typeName) + "</comment>\n";
  text += "    <glob pattern=\"*" + XmlEscaped(type.extension) + "\"/>\n";
  text += "  </mime-type>\n";
  text += "</mime-info>\n";
  return text;
}

std::string DesktopEntryPath(const std::string& appId) { return "applications/" + appId + ".desktop"; }
std::string MimePackagePath(const std::string& appId) { return "mime/packages/" + appId + ".xml"; }
std::string IconPath(const std::string& appId) { return "icons/hicolor/scalable/apps/" + appId + ".svg"; }

bool WriteFileReplacing(const std::string& path, const std::string& text) {
  const std::string::size_type slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), 0755)) return false;
  const std::string temp = path + ".tmp" + std::to_string(static_cast<long>(::getpid()));
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const char* data = text.data();
  std::size_t left = text.size();
  bool ok = true;
  while (left > 0) {
    const ssize_t n = ::write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

std::string FindOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string folders = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::string::size_type start = 0;
  while (start <= folders.size()) {
    std::string::size_type end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::string folder = folders.substr(start, end - start);
    if (!folder.empty()) {
      const std::string candidate = folder + "/" + program;
      struct stat st {};
      if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
        return candidate;
    }
    start = end + 1;
  }
  return std::string();
}

ShellRegistrationResult RegisterShellFileType(const std::string& dataHome, const std::string& appId,
                                              const std::string& appName, const std::string& executable,
                                              const ShellFileType& type, const std::string& iconSvg) {
  ShellRegistrationResult result;
  const std::string mimeType = MimeTypeOfTypeId(type.typeId);
  const struct {
    std::string path;
    std::string text;
  } files[] = {
      {dataHome + "/" + DesktopEntryPath(appId), DesktopEntryText(appName, executable, appId, mimeType)},
      {dataHome + "/" + MimePackagePath(appId), MimeInfoText(type)},
      {dataHome + "/" + IconPath(appId), iconSvg},
  };
  bool mimeChanged = false;
  bool desktopChanged = false;
  result.ok = true;
  for (const auto& file : files) {
    bool exists = false;
    if (ReadWhole(file.path, &exists) == file.text && exists) continue;
    if (!WriteFileReplacing(file.path, file.text)) {
      result.ok = false;
      result.error += "cannot write " + file.path + ": " + std::strerror(errno) + "\n";
      continue;
    }
    result.changed = true;
    if (&file == &files[0]) desktopChanged = true;
    if (&file == &files[1]) mimeChanged = true;
  }
  if (mimeChanged) {
    const std::string tool = FindOnPath("update-mime-database");
    if (!tool.empty()) result.cacheRefreshStarted = StartDetached(tool, dataHome + "/mime") || result.cacheRefreshStarted;
  }
  if (desktopChanged) {
    const std::string tool = FindOnPath("update-desktop-database");
    if (!tool.empty())
      result.cacheRefreshStarted = StartDetached(tool, dataHome + "/applications") || result.cacheRefreshStarted;
  }
  return result;
}

}  // namespace platform
