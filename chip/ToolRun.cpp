// What the chip commands share: program folder, path bytes, the wait that
// keeps the windows painting, the output file reader.
#include "chip/ToolRun.h"

#include "res/AppMessageBox.h"

#include <wx/app.h>
#include <wx/stdpaths.h>
#include <wx/string.h>
#include <wx/utils.h>
#include <wx/weakref.h>
#include <wx/window.h>

#include <cstdio>

namespace chip {

namespace {

std::wstring& ProgramFolderOverride() {
  static std::wstring folder;
  return folder;
}

}  // namespace

std::wstring ProgramFolder() {
  if (!ProgramFolderOverride().empty()) return ProgramFolderOverride();
  return RemoveLastComponent(wxStandardPaths::Get().GetExecutablePath().ToStdWstring());
}

void SetProgramFolderForTesting(const std::wstring& folder) { ProgramFolderOverride() = folder; }

std::wstring RemoveLastComponent(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L'/');
  if (slash == std::wstring::npos) return std::wstring();
  if (slash == 0) return L"/";
  return path.substr(0, slash);
}

std::wstring RemoveExtension(const std::wstring& name) {
  const std::size_t dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::string FileInFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string FileBytes(const std::wstring& text) {
  const wxString wide(text);
  const wxCharBuffer bytes = wide.fn_str();
  if (bytes.data() && (bytes.length() > 0 || text.empty())) return std::string(bytes.data(), bytes.length());
  // A name the file system's encoding cannot express: UTF-8 still gives the
  // tool one faithful argument.
  const wxScopedCharBuffer utf8 = wide.utf8_str();
  return std::string(utf8.data(), utf8.length());
}

int RunToolAndWait(const platform::ProcessSpec& process) {
  // Disabling a window takes the keyboard focus from it; the window that had
  // it gets it back afterwards, as when nothing had happened in between.
  const wxWeakRef<wxWindow> focus = wxWindow::FindFocus();
  int result;
  {
    wxWindowDisabler disabler;
    result = platform::RunHidden(process, [] {
      if (wxTheApp) wxTheApp->Yield(true);
    });
  }
  if (focus) focus->SetFocus();
  return result;
}

bool ReadOutputLines(const std::string& path, std::vector<std::wstring>& lines) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::wstring line;
  bool open = false;  // a line has begun and not yet ended
  char buffer[16384];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    for (std::size_t i = 0; i < got; ++i) {
      const unsigned char byte = static_cast<unsigned char>(buffer[i]);
      if (byte == '\n') {
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        lines.push_back(line);
        line.clear();
        open = false;
      } else {
        line += static_cast<wchar_t>(byte);
        open = true;
      }
    }
  }
  std::fclose(file);
  if (open) lines.push_back(line);
  return true;
}

void ShowOutputFile(const std::string& path, BuildList& list) {
  std::vector<std::wstring> lines;
  if (!ReadOutputLines(path, lines)) {
    list.AddString(L"Output file cannot be opened.");
    return;
  }
  for (const std::wstring& line : lines) list.AddString(line);
}

void ShowStartFailure(const wchar_t* tool, int code) {
  AppMessageBox(wxString::Format(L"Error running %s:  %d", tool, code), wxOK | wxICON_WARNING);
}

}  // namespace chip
