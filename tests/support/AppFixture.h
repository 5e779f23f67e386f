// The application tests' shared ground: runs of the real program built beside
// the test program, the windows they show, and a fixture that gives each test
// its own HOME and XDG folders and runs the shell in the test program.
#pragma once

#include <gtest/gtest.h>

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/uiaction.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/QuillmarkApp.h"
#include "app/QuillmarkDoc.h"
#include "app/QuillmarkView.h"
#include "app/Recovery.h"
#include "app/SourceView.h"
#include "app/Vorn2EditView.h"
#include "support/ShellFixture.h"

extern char** environ;

namespace apptest {

using shelltest::Pump;
using shelltest::PumpUntil;
using shelltest::ReadFile;
using shelltest::WriteFile;

inline wxArrayString Files(std::initializer_list<std::string> paths) {
  wxArrayString files;
  for (const std::string& p : paths) files.Add(wxString::FromUTF8(p));
  return files;
}

// A run of the real program built beside this test program, its standard
// output read through a pipe.
class Child {
 public:
  Child(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv) {
    char self[4096] = {};
    if (::readlink("/proc/self/exe", self, sizeof(self) - 1) <= 0) return;
    const std::string tests = std::string(self).substr(0, std::string(self).find_last_of('/'));
    const std::string exe = tests.substr(0, tests.find_last_of('/')) + "/app/quillmark";
    std::vector<std::string> env(extraEnv);
    for (char** e = environ; *e; ++e) env.push_back(*e);
    std::vector<char*> argv{const_cast<char*>(exe.c_str())}, envp;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    for (std::string& e : env) envp.push_back(&e[0]);
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      ::close_range(3, ~0U, 0);
      ::execve(exe.c_str(), argv.data(), envp.data());
      ::_exit(127);
    }
    ::close(out[1]);
    out_ = out[0];
    ::fcntl(out_, F_SETFL, ::fcntl(out_, F_GETFL) | O_NONBLOCK);
  }
  ~Child() {
    Kill();
    if (out_ >= 0) ::close(out_);
  }
  const std::string& Output() {
    char buffer[4096];
    ssize_t n;
    while (out_ >= 0 && (n = ::read(out_, buffer, sizeof(buffer))) > 0) output_.append(buffer, n);
    return output_;
  }
  bool Exited() {
    int status = 0;
    if (pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      signal_ = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }
    return pid_ <= 0;
  }
  bool FirstPaint(int ms) {
    return PumpUntil([&] { return Output().find("quillmark: first paint") != std::string::npos; }, ms);
  }
  void Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  pid_t Pid() const { return pid_; }
  int ExitCode() const { return exitCode_; }
  // The signal that ended the run, or 0.
  int Signal() const { return signal_; }
  bool WaitExit(int ms) {
    return PumpUntil([&] { return Exited(); }, ms);
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string output_;
  int exitCode_ = -1;
  int signal_ = 0;
};

// A function of the Xlib that GTK has already loaded (the tests do not link it).
template <class F>
F X11Function(const char* name) {
  static void* lib = ::dlopen("libX11.so.6", RTLD_NOW | RTLD_GLOBAL);
  return lib ? reinterpret_cast<F>(::dlsym(lib, name)) : nullptr;
}
#define X11(f) X11Function<decltype(&f)>(#f)

// The largest shown top-level window of process `pid` at or below `window`:
// its screen rectangle, and the window in `found`.
inline wxRect WindowOf(Display* d, Window window, pid_t pid, Window* found, wxRect best = wxRect()) {
  XWindowAttributes a;
  Atom type;
  int format, x, y;
  unsigned long count, after;
  unsigned char* data = nullptr;
  Window child, root, parent, *children = nullptr;
  if (X11(XGetWindowAttributes)(d, window, &a) && a.map_state == IsViewable &&
      X11(XGetWindowProperty)(d, window, X11(XInternAtom)(d, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL, &type,
                              &format, &count, &after, &data) == Success && data) {
    if (count == 1 && static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid &&
        a.width * a.height > best.width * best.height &&
        X11(XTranslateCoordinates)(d, window, DefaultRootWindow(d), 0, 0, &x, &y, &child)) {
      best = wxRect(x, y, a.width, a.height);
      *found = window;
    }
    X11(XFree)(data);
  }
  unsigned int n = 0;
  if (X11(XQueryTree)(d, window, &root, &parent, &children, &n)) {
    for (unsigned int i = 0; i < n; ++i) best = WindowOf(d, children[i], pid, found, best);
    if (children) X11(XFree)(children);
  }
  return best;
}

// A shown window of process `pid` at or below `window` that is transient for
// another (a dialog over the main window), or 0.
inline Window DialogOf(Display* d, Window window, pid_t pid) {
  XWindowAttributes a;
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  Window owner = 0, root, parent, *children = nullptr, found = 0;
  if (X11(XGetWindowAttributes)(d, window, &a) && a.map_state == IsViewable &&
      X11(XGetWindowProperty)(d, window, X11(XInternAtom)(d, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL, &type,
                              &format, &count, &after, &data) == Success && data) {
    if (count == 1 && static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid &&
        X11(XGetTransientForHint)(d, window, &owner) && owner)
      found = window;
    X11(XFree)(data);
  }
  unsigned int n = 0;
  if (!found && X11(XQueryTree)(d, window, &root, &parent, &children, &n)) {
    for (unsigned int i = 0; i < n && !found; ++i) found = DialogOf(d, children[i], pid);
    if (children) X11(XFree)(children);
  }
  return found;
}

// Gives the dialog of process `pid` (else its largest shown window) the
// keyboard focus and presses `key` (with `modifiers`) there through the X server's test
// extension; false when the process shows no window within `ms`.
inline bool PressKeyIn(pid_t pid, int key, int ms = 10000, int modifiers = wxMOD_NONE) {
  Display* display = X11(XOpenDisplay)(nullptr);
  if (!display) return false;
  std::unique_ptr<Display, int (*)(Display*)> closer(display, X11(XCloseDisplay));
  Window window = 0;
  const bool shown = PumpUntil(
      [&] {
        window = DialogOf(display, DefaultRootWindow(display), pid);
        return window || !WindowOf(display, DefaultRootWindow(display), pid, &window).IsEmpty();
      },
      ms);
  if (!shown) return false;
  X11(XRaiseWindow)(display, window);
  X11(XSetInputFocus)(display, window, RevertToParent, CurrentTime);
  X11(XSync)(display, False);
  Pump();
  wxUIActionSimulator().Char(key, modifiers);
  X11(XSync)(display, False);
  return true;
}

// Types `text` into the editor of process `pid` as a user would: its largest
// window gets the keyboard focus (as a window manager gives it) and a click in
// its middle, where the editor is, then the keys; tried again a little lower
// until `store` holds the text (the program's autosave wrote it), at most
// `attempts` times, each waiting `ms` for the autosave. false when it never did.
inline bool TypeUntilAutosaved(pid_t pid, CRecoveryStore& store, const char* text, int attempts, int ms) {
  Display* display = X11(XOpenDisplay)(nullptr);
  if (!display) return false;
  std::unique_ptr<Display, int (*)(Display*)> closer(display, X11(XCloseDisplay));
  wxUIActionSimulator sim;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    Window window = 0;
    wxRect area;
    if (!PumpUntil([&] { return !(area = WindowOf(display, DefaultRootWindow(display), pid, &window)
                                             .Intersect(wxGetDisplaySize())).IsEmpty(); },
                   10000))
      return false;
    X11(XRaiseWindow)(display, window);
    X11(XSetInputFocus)(display, window, RevertToParent, CurrentTime);
    X11(XSync)(display, False);
    sim.MouseMove(area.x + area.width / 2, area.y + area.height / 2 + attempt * 8);
    sim.MouseClick();
    Pump();
    sim.Text(text);
    Pump();
    if (PumpUntil([&] {
          const std::vector<RecoveryRecord> records = store.Load();
          return records.size() == 1 && records[0].text.find(text) != std::string::npos;
        }, ms))
      return true;
  }
  return false;
}

inline const char* const kEnvNames[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"};

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oldLog_ = wxLog::SetActiveTarget(&log_);  // what wx logs goes to the output, not into a dialog
    appName_ = wxTheApp->GetAppName();
    vendorName_ = wxTheApp->GetVendorName();
    char root[] = "/tmp/qmappXXXXXX";
    ASSERT_NE(::mkdtemp(root), nullptr);
    root_ = root;
    const char* const folders[] = {"/home", "/config", "/data", "/run"};
    for (size_t i = 0; i < 4; ++i) {
      ::mkdir((root_ + folders[i]).c_str(), 0700);
      const char* old = std::getenv(kEnvNames[i]);
      saved_.push_back(old ? std::string(old) : std::string("\x01"));
      ::setenv(kEnvNames[i], (root_ + folders[i]).c_str(), 1);
    }
  }
  void TearDown() override {
    Stop();
    for (size_t i = 0; i < 4; ++i)
      saved_[i] == "\x01" ? ::unsetenv(kEnvNames[i]) : ::setenv(kEnvNames[i], saved_[i].c_str(), 1);
    // The desktop's cache tools may still be writing below the folders.
    for (int round = 0; round < 20 && std::filesystem::exists(root_); ++round) {
      std::error_code error;
      std::filesystem::remove_all(root_, error);
      if (std::filesystem::exists(root_)) wxMilliSleep(50);
    }
    wxLog::SetActiveTarget(oldLog_);
    wxTheApp->SetAppName(appName_);
    wxTheApp->SetVendorName(vendorName_);
  }

  static ShellOptions InProcess() {
    ShellOptions options;
    options.singleInstance = false;
    return options;
  }
  CQuillmarkShell::Start Start(const wxArrayString& files = wxArrayString(), ShellOptions options = InProcess()) {
    shell_ = std::make_unique<CQuillmarkShell>(*wxTheApp, options);
    const CQuillmarkShell::Start result = shell_->InitInstance(files);
    Pump();
    return result;
  }
  // Ends the run as a session that discards its changes, then shuts down.
  void Stop() {
    if (!shell_) return;
    shell_->DiscardAndClose();
    Pump();
    shell_->ExitInstance();
    shell_.reset();
    Pump();
  }
  static wxFileConfig Config() {
    return wxFileConfig("Quillmark", "Quillmark", CQuillmarkShell::ConfigFilePath(), wxString(),
                        wxCONFIG_USE_LOCAL_FILE);
  }
  void WriteSetting(const wxString& key, const wxString& value) {
    wxFileName::Mkdir(root_ + "/config/Quillmark", 0700, wxPATH_MKDIR_FULL);
    wxFileConfig config = Config();
    config.Write(key, value);
    config.Flush();
  }
  std::string MakeSource(const std::string& name, const std::string& text) {
    WriteFile(root_ + "/" + name, text);
    return root_ + "/" + name;
  }
  std::vector<wxDocument*> Documents() const {
    const wxDocVector docs = shell_->m_pDocManager->GetDocumentsVector();
    return std::vector<wxDocument*>(docs.begin(), docs.end());
  }
  wxDocument* DocumentOf(const std::string& path) const {
    for (wxDocument* doc : Documents())
      if (doc->GetFilename() == wxString::FromUTF8(path)) return doc;
    return nullptr;
  }
  static ColorEditWnd* EditorOf(wxDocument* doc) {
    auto* view = doc ? dynamic_cast<CSourceView*>(doc->GetFirstView()) : nullptr;
    return view ? view->m_pEditor : nullptr;
  }
  static bool IsFirst(wxDocument* doc) { return dynamic_cast<CQuillmarkDoc*>(doc) != nullptr; }
  static bool IsSecond(wxDocument* doc) { return dynamic_cast<CVorn2EditDoc*>(doc) != nullptr; }

  std::string root_;
  std::vector<std::string> saved_;
  wxLogStderr log_;
  wxLog* oldLog_ = nullptr;
  wxString appName_, vendorName_;
  std::unique_ptr<CQuillmarkShell> shell_;
};

}  // namespace apptest
