// Whole-application tests: start-up in its modes, the kinds of documents,
// File New and File Open, the About box, desktop registration, the recent-file
// list, one instance per user, recovery after an abnormal end, and the real
// program's window. Each test runs with its own HOME and XDG folders.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/choicdlg.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/dnd.h>
#include <wx/fileconf.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/listbox.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/testing.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/AboutDlg.h"
#include "app/ClassView.h"
#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/QuillmarkApp.h"
#include "app/QuillmarkDoc.h"
#include "app/QuillmarkView.h"
#include "app/Recovery.h"
#include "app/SingleInstance.h"
#include "app/ViewTree.h"
#include "app/Vorn2EditView.h"
#include "platform/ShellRegistration.h"
#include "res/AppResources.h"
#include "res/ResourceIds.h"

extern char** environ;

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

wxArrayString Files(std::initializer_list<std::string> paths) {
  wxArrayString files;
  for (const std::string& p : paths) files.Add(wxString::FromUTF8(p.c_str()));
  return files;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// Lets wx, the X server and the sockets handle what is pending.
void Pump(int rounds = 5) {
  for (int i = 0; i < rounds; ++i) {
    wxTheApp->ProcessPendingEvents();
    while (wxTheApp->Pending()) wxTheApp->Dispatch();
    wxYield();
  }
}

// Pumps until `done` holds or `ms` have passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Pump(1);
    wxMilliSleep(10);
  }
  return true;
}

// The screen's top left corner, saved as a PNG when QUILLMARK_SHOTS names a folder.
wxImage GrabScreen(const std::string& shot) {
  wxScreenDC screen;
  const wxSize size = wxGetDisplaySize();
  wxBitmap bitmap(std::min(size.x, 1280), std::min(size.y, 860), 24);
  {
    wxMemoryDC dc(bitmap);
    dc.Blit(0, 0, bitmap.GetWidth(), bitmap.GetHeight(), &screen, 0, 0);
  }
  const char* folder = std::getenv("QUILLMARK_SHOTS");
  if (folder && *folder) bitmap.SaveFile(std::string(folder) + "/" + shot + ".png", wxBITMAP_TYPE_PNG);
  return bitmap.ConvertToImage();
}

// The program built beside this test program.
std::string QuillmarkExecutable() {
  char self[4096] = {};
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof(self) - 1);
  if (n <= 0) return std::string();
  std::string path(self, static_cast<size_t>(n));
  path = path.substr(0, path.find_last_of('/'));  // .../tests
  path = path.substr(0, path.find_last_of('/'));  // the build folder
  return path + "/app/quillmark";
}

// A run of the real program, its standard output read through a pipe.
class Child {
 public:
  Child(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv) {
    int out[2];
    if (::pipe(out) != 0) return;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.push_back(*e);
    for (const std::string& e : extraEnv) env.push_back(e);
    std::vector<char*> argv, envp;
    const std::string exe = QuillmarkExecutable();
    argv.push_back(const_cast<char*>(exe.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (std::string& e : env) envp.push_back(&e[0]);
    envp.push_back(nullptr);
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

  // Everything the program printed so far.
  const std::string& Output() {
    char buffer[4096];
    ssize_t n;
    while (out_ >= 0 && (n = ::read(out_, buffer, sizeof(buffer))) > 0) output_.append(buffer, static_cast<size_t>(n));
    return output_;
  }
  bool Exited() {
    if (pid_ <= 0) return true;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return true;
    }
    return false;
  }
  int ExitCode() const { return exitCode_; }
  void Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    exitCode_ = 128 + SIGKILL;
  }
  bool Started() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string output_;
  int exitCode_ = -1;
};

const char* const kEnvNames[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"};

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // What wx logs goes to the test's output, not into a dialog at exit.
    oldLog_ = wxLog::SetActiveTarget(&log_);
    appName_ = wxTheApp->GetAppName();
    vendorName_ = wxTheApp->GetVendorName();
    char root[] = "/tmp/qmappXXXXXX";
    ASSERT_NE(::mkdtemp(root), nullptr);
    root_ = root;
    const std::string folders[] = {root_ + "/home", root_ + "/config", root_ + "/data", root_ + "/run"};
    for (size_t i = 0; i < 4; ++i) {
      ::mkdir(folders[i].c_str(), 0700);
      const char* old = std::getenv(kEnvNames[i]);
      saved_.push_back(old ? std::string(old) : std::string("\x01"));
      ::setenv(kEnvNames[i], folders[i].c_str(), 1);
    }
  }

  void TearDown() override {
    Stop();
    for (size_t i = 0; i < 4; ++i) {
      if (saved_[i] == "\x01")
        ::unsetenv(kEnvNames[i]);
      else
        ::setenv(kEnvNames[i], saved_[i].c_str(), 1);
    }
    // The desktop's cache tools may still be writing below the folders:
    // remove what is there, again after they had time to end.
    for (int round = 0; round < 20; ++round) {
      std::error_code error;
      std::filesystem::remove_all(root_, error);
      if (!std::filesystem::exists(root_, error)) break;
      wxMilliSleep(50);
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

  // Ends the run as a session that discards its changes, then the shut-down.
  void Stop() {
    if (!shell_) return;
    shell_->DiscardAndClose();
    Pump();
    shell_->ExitInstance();
    shell_.reset();
    Pump();
  }

  void WriteSetting(const wxString& key, const wxString& value) {
    wxFileName::Mkdir(root_ + "/config/Quillmark", 0700, wxPATH_MKDIR_FULL);
    wxFileConfig config("Quillmark", "Quillmark", CQuillmarkShell::ConfigFilePath(), wxString(),
                        wxCONFIG_USE_LOCAL_FILE);
    config.Write(key, value);
    config.Flush();
  }

  std::string MakeSource(const std::string& name, const std::string& text) {
    const std::string path = root_ + "/" + name;
    WriteFile(path, text);
    return path;
  }

  std::vector<wxDocument*> Documents() const {
    const wxDocVector docs = shell_->m_pDocManager->GetDocumentsVector();
    return std::vector<wxDocument*>(docs.begin(), docs.end());
  }
  wxDocument* DocumentOf(const std::string& path) const {
    for (wxDocument* doc : Documents())
      if (doc->GetFilename() == wxString::FromUTF8(path.c_str())) return doc;
    return nullptr;
  }
  static ColorEditWnd* EditorOf(wxDocument* doc) {
    auto* view = doc ? dynamic_cast<CSourceView*>(doc->GetFirstView()) : nullptr;
    return view ? view->m_pEditor : nullptr;
  }

  std::string root_;
  std::vector<std::string> saved_;
  wxLogStderr log_;
  wxLog* oldLog_ = nullptr;
  wxString appName_, vendorName_;
  std::unique_ptr<CQuillmarkShell> shell_;
};

// ---- start-up modes ----

TEST_F(ApplicationTest, NoSettingStartsWithNewFirstGenerationDocument) {
  ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
  EXPECT_EQ(shell_->m_strInitialMode, L"Vorn1");
  ASSERT_EQ(Documents().size(), 1u);
  wxDocument* doc = Documents()[0];
  EXPECT_NE(dynamic_cast<CQuillmarkDoc*>(doc), nullptr);
  EXPECT_NE(dynamic_cast<CQuillmarkView*>(doc->GetFirstView()), nullptr);
  EXPECT_FALSE(doc->IsModified());
  ColorEditWnd* editor = EditorOf(doc);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->m_textModel.LineCount(), 31);
  EXPECT_TRUE(editor->m_undoStack.empty());
  const std::vector<std::wstring> kinds(editor->m_textModel.sectionNames.begin(),
                                        editor->m_textModel.sectionNames.end());
  ASSERT_EQ(kinds.size(), 12u);
  const wchar_t* const order[] = {L"CON", L"OBJ", L"VAR", L"PUB", L"PRI", L"DAT"};
  for (size_t i = 0; i < 12; ++i) EXPECT_EQ(kinds[i].substr(0, 3), order[i / 2]) << i;
  // The Section View lists the twelve under its root.
  CMainFrame* frame = GetMainFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->IsShown());
  CViewTree* tree = frame->m_wndClassView->m_wndSectionTree;
  EXPECT_EQ(tree->GetChildrenCount(tree->GetRootItem(), true), 12u);
  // The mode is read, never written.
  Stop();
  wxFileConfig config("Quillmark", "Quillmark", CQuillmarkShell::ConfigFilePath(), wxString(),
                      wxCONFIG_USE_LOCAL_FILE);
  EXPECT_FALSE(config.HasEntry("/Settings/sInitialMode"));
}

TEST_F(ApplicationTest, OnlyExactVorn1StartsFirstGeneration) {
  const struct {
    const char* mode;
    bool firstGeneration;
  } cases[] = {{"Vorn1", true}, {"Vorn2", false}, {"vorn1", false}, {"Vorn1 ", false}, {" Vorn1", false}, {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("mode '") + c.mode + "'");
    WriteSetting("/Settings/sInitialMode", c.mode);
    ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
    EXPECT_EQ(shell_->m_strInitialMode, wxString(c.mode).ToStdWstring());
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(dynamic_cast<CQuillmarkDoc*>(Documents()[0]) != nullptr, c.firstGeneration);
    EXPECT_EQ(dynamic_cast<CVorn2EditDoc*>(Documents()[0]) != nullptr, !c.firstGeneration);
    // Registration follows the start-up kind.
    const std::string mime = ReadFile(root_ + "/data/mime/packages/quillmark.xml");
    EXPECT_NE(mime.find(c.firstGeneration ? "\"*.vorn\"" : "\"*.vorn2\""), std::string::npos) << mime;
    Stop();
  }
}

TEST_F(ApplicationTest, CommandLineFileOpensAsStartupKindWhateverItsExtension) {
  const struct {
    const char* mode;
    const char* name;
    bool firstGeneration;
  } cases[] = {{"Vorn2", "a.vorn", false}, {"Vorn1", "b.vorn2", true}, {"Vorn2", "c.vorn2", false},
               {"Vorn1", "d.txt", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " " + c.name);
    WriteSetting("/Settings/sInitialMode", c.mode);
    const std::string path = MakeSource(c.name, "CON\n  x = 1\n");
    ASSERT_EQ(Start(Files({path.c_str()})), CQuillmarkShell::Start::Running);
    ASSERT_EQ(Documents().size(), 1u);
    wxDocument* doc = DocumentOf(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(dynamic_cast<CQuillmarkView*>(doc->GetFirstView()) != nullptr, c.firstGeneration);
    EXPECT_EQ(dynamic_cast<CVorn2EditView*>(doc->GetFirstView()) != nullptr, !c.firstGeneration);
    EXPECT_EQ(EditorOf(doc)->GetText(), "CON\n  x = 1\n");
    // It is in the recent-file list, on top.
    ASSERT_GE(shell_->m_pDocManager->GetHistoryFilesCount(), 1u);
    EXPECT_EQ(shell_->m_pDocManager->GetHistoryFile(0), wxString::FromUTF8(path.c_str()));
    Stop();
  }
}

TEST_F(ApplicationTest, CommandLineFileThatCannotBeReadEndsStartUp) {
  const std::string missing = root_ + "/missing.vorn";
  CQuillmarkShell::Start result = CQuillmarkShell::Start::Running;
  wxTEST_DIALOG(result = Start(Files({missing.c_str()})),
                wxExpectModal<wxMessageDialog>(wxOK).Describe("Failed to open given filename."));
  EXPECT_EQ(result, CQuillmarkShell::Start::Failed);
  EXPECT_FALSE(GetMainFrame() && GetMainFrame()->IsShown());
}

TEST_F(ApplicationTest, FailedStartKeepsAnEarlierRunsRecoveryFiles) {
  CRecoveryStore store(CQuillmarkShell::RecoveryFolder());
  ASSERT_TRUE(store.WriteRunningMarker());
  ASSERT_TRUE(store.Replace({{"", "Quillmark", "unsaved"}}));
  const std::string missing = root_ + "/missing.vorn";
  wxTEST_DIALOG(EXPECT_EQ(Start(Files({missing})), CQuillmarkShell::Start::Failed),
                wxExpectModal<wxMessageDialog>(wxOK).Describe("Failed to open given filename."));
  Stop();
  EXPECT_TRUE(store.HasRunningMarker());
  ASSERT_EQ(store.Load().size(), 1u);
  EXPECT_EQ(store.Load()[0].text, "unsaved");
}

// ---- after start-up: File Open by extension, File New offers both kinds ----

// Answers the open dialog with `path`. GTK's chooser takes a path it is given
// only once it has read the path's folder, so wait for that.
class OpenPath : public wxExpectModalBase<wxFileDialog, OpenPath> {
 public:
  explicit OpenPath(const std::string& path) : m_path(wxString::FromUTF8(path.c_str())) {}

 protected:
  int OnInvoked(wxFileDialog* dlg) const override {
    dlg->SetPath(m_path);
    PumpUntil([&] { return dlg->GetPath() == m_path; }, 5000);
    EXPECT_EQ(dlg->GetPath(), m_path);
    return wxID_OK;
  }

 private:
  wxString m_path;
};

TEST_F(ApplicationTest, FileOpenPicksKindByExtension) {
  for (const char* mode : {"Vorn1", "Vorn2"}) {
    SCOPED_TRACE(mode);
    WriteSetting("/Settings/sInitialMode", mode);
    ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
    const std::string first = MakeSource("one.vorn", "PUB main\n");
    const std::string second = MakeSource("two.vorn2", "PUB main\n");
    // Through the open dialog, as the File Open command runs it.
    wxCommandEvent open(wxEVT_MENU, wxID_OPEN);
    wxTEST_DIALOG(shell_->m_pDocManager->ProcessEvent(open), OpenPath(first));
    wxTEST_DIALOG(shell_->m_pDocManager->ProcessEvent(open), OpenPath(second));
    Pump();
    ASSERT_NE(DocumentOf(first), nullptr);
    ASSERT_NE(DocumentOf(second), nullptr);
    EXPECT_NE(dynamic_cast<CQuillmarkDoc*>(DocumentOf(first)), nullptr);
    EXPECT_NE(dynamic_cast<CVorn2EditDoc*>(DocumentOf(second)), nullptr);
    Stop();
  }
}

// Answers the File New chooser with the entry named `pick`, noting what it offered.
class ChooseKind : public wxExpectModalBase<wxSingleChoiceDialog, ChooseKind> {
 public:
  ChooseKind(wxArrayString* offered, const wxString& pick) : m_offered(offered), m_pick(pick) {}

 protected:
  int OnInvoked(wxSingleChoiceDialog* dlg) const override {
    wxListBox* list = nullptr;
    for (wxWindow* child : dlg->GetChildren())
      if (auto* l = dynamic_cast<wxListBox*>(child)) list = l;
    if (!list) return wxID_CANCEL;
    *m_offered = list->GetStrings();
    const int index = m_offered->Index(m_pick);
    if (index == wxNOT_FOUND) return wxID_CANCEL;
    // What choosing an entry does: the selection and its data.
    dlg->SetSelection(index);
    dlg->SetClientData(list->GetClientData(index));
    return wxID_OK;
  }

 private:
  wxArrayString* m_offered;
  wxString m_pick;
};

TEST_F(ApplicationTest, FileNewOffersBothKindsByName) {
  const struct {
    const char* mode;
    const char* pick;
    bool firstGeneration;
    std::vector<wxString> offered;
  } cases[] = {{"Vorn1", "Vorn2Edit", false, {"Quillmark", "Vorn2Edit"}},
               {"Vorn1", "Quillmark", true, {"Quillmark", "Vorn2Edit"}},
               {"Vorn2", "Quillmark", true, {"Vorn2Edit", "Quillmark"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " " + c.pick);
    WriteSetting("/Settings/sInitialMode", c.mode);
    ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
    wxArrayString offered;
    wxCommandEvent fileNew(wxEVT_MENU, wxID_NEW);
    wxTEST_DIALOG(shell_->m_pDocManager->ProcessEvent(fileNew), ChooseKind(&offered, c.pick));
    Pump();
    EXPECT_EQ(std::vector<wxString>(offered.begin(), offered.end()), c.offered);
    ASSERT_EQ(Documents().size(), 2u);
    EXPECT_EQ(dynamic_cast<CQuillmarkDoc*>(Documents()[1]) != nullptr, c.firstGeneration);
    EXPECT_EQ(EditorOf(Documents()[1])->m_textModel.LineCount(), 31);
    Stop();
  }
}

TEST_F(ApplicationTest, DroppedFilesOpenByExtension) {
  ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
  const std::string first = MakeSource("drop.vorn2", "DAT\n");
  const std::string second = MakeSource("drop.vorn", "DAT\n");
  const std::string third = MakeSource("CAPS.VORN2", "DAT\n");
  auto* target = dynamic_cast<wxFileDropTarget*>(GetMainFrame()->GetDropTarget());
  ASSERT_NE(target, nullptr);
  wxArrayString files;
  files.Add(wxString::FromUTF8(first.c_str()));
  files.Add(wxString::FromUTF8(second.c_str()));
  files.Add(wxString::FromUTF8(third.c_str()));
  EXPECT_TRUE(target->OnDropFiles(10, 10, files));
  Pump();
  EXPECT_NE(dynamic_cast<CVorn2EditDoc*>(DocumentOf(third)), nullptr);
  EXPECT_NE(dynamic_cast<CVorn2EditDoc*>(DocumentOf(first)), nullptr);
  EXPECT_NE(dynamic_cast<CQuillmarkDoc*>(DocumentOf(second)), nullptr);
}

// ---- the About box ----

class CheckAbout : public wxExpectModalBase<CAboutDlg, CheckAbout> {
 protected:
  int OnInvoked(CAboutDlg* dlg) const override {
    EXPECT_EQ(dlg->GetTitle(), "About Quillmark");
    EXPECT_EQ(dlg->GetId(), ids::IDD_ABOUTBOX);
    EXPECT_EQ(dlg->m_version->GetLabel(), "Quillmark, Version 1.0");
    EXPECT_FALSE(dlg->m_notice->GetLabel().empty());
    EXPECT_TRUE(dlg->m_icon->GetBitmap().IsOk());
    EXPECT_EQ(dlg->m_ok->GetLabel(), "OK");
    EXPECT_EQ(dlg->m_ok->GetId(), wxID_OK);
    EXPECT_EQ(dlg->GetDefaultItem(), static_cast<wxWindow*>(dlg->m_ok));
    // The notice is shown whole, inside the box.
    EXPECT_LE(dlg->m_notice->GetRect().GetRight(), dlg->GetClientSize().x);
    EXPECT_LE(dlg->m_ok->GetRect().GetBottom(), dlg->GetClientSize().y);
    const char* shots = std::getenv("QUILLMARK_SHOTS");
    if (shots && *shots) {
      dlg->Move(0, 0);
      dlg->Show();
      Pump();
      wxMilliSleep(200);
      Pump();
      GrabScreen("about-box");
      dlg->Hide();
    }
    return wxID_OK;
  }
};

TEST_F(ApplicationTest, AboutCommandShowsAboutBox) {
  ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
  wxCommandEvent about(wxEVT_MENU, ids::ID_APP_ABOUT);
  bool handled = false;
  wxTEST_DIALOG(handled = wxTheApp->ProcessEvent(about), CheckAbout());
  EXPECT_TRUE(handled);
}

// ---- desktop registration ----

TEST_F(ApplicationTest, StartRegistersDesktopEntryMimeTypeAndIcon) {
  ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
  EXPECT_TRUE(shell_->m_registration.ok) << shell_->m_registration.error;
  const std::string desktop = ReadFile(root_ + "/data/applications/quillmark.desktop");
  EXPECT_NE(desktop.find("[Desktop Entry]\n"), std::string::npos);
  EXPECT_NE(desktop.find("MimeType=application/x-quillmark.document;\n"), std::string::npos);
  EXPECT_NE(desktop.find(" %F\n"), std::string::npos);
  EXPECT_EQ(ReadFile(root_ + "/data/mime/packages/quillmark.xml"),
            platform::MimeInfoText({"Quillmark.Document", "Quillmark.Document", ".vorn"}));
  EXPECT_EQ(ReadFile(root_ + "/data/icons/hicolor/scalable/apps/quillmark.svg"), AppIconSvg());
  EXPECT_TRUE(shell_->m_registration.changed);
  // The next start finds everything in place and writes nothing.
  Stop();
  ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
  EXPECT_TRUE(shell_->m_registration.ok);
  EXPECT_FALSE(shell_->m_registration.changed);
}

TEST(ShellRegistrationTest, TextsQuoteWhatTheDesktopWouldReadOtherwise) {
  EXPECT_EQ(platform::MimeTypeOfTypeId("Quillmark.Document"), "application/x-quillmark.document");
  EXPECT_EQ(platform::MimeTypeOfTypeId("A b/c"), "application/x-a-b-c");
  const struct {
    const char* exe;
    const char* exec;
  } cases[] = {
      {"/usr/bin/quillmark", "Exec=/usr/bin/quillmark %F\n"},
      {"/opt/my apps/quillmark", "Exec=\"/opt/my apps/quillmark\" %F\n"},
      {"/x/100%/q", "Exec=/x/100%%/q %F\n"},
      {"/x/$(rm -rf ~)/q", "Exec=\"/x/\\\\$(rm -rf ~)/q\" %F\n"},
      {"/x/a\"b/q", "Exec=\"/x/a\\\\\"b/q\" %F\n"},
  };
  for (const auto& c : cases) {
    const std::string text = platform::DesktopEntryText("Quillmark", c.exe, "quillmark", "a/b");
    EXPECT_NE(text.find(c.exec), std::string::npos) << text;
  }
  const std::string xml = platform::MimeInfoText({"T", "<&>", ".a\"b"});
  EXPECT_NE(xml.find("<comment>&lt;&amp;&gt;</comment>"), std::string::npos);
  EXPECT_NE(xml.find("pattern=\"*.a&quot;b\""), std::string::npos);
}

TEST_F(ApplicationTest, RegistrationRefreshesCachesWhenToolsExistAndNeverStopsStartUp) {
  // Stand-ins for the desktop's tools that note the folder they were given.
  const std::string bin = root_ + "/bin";
  ::mkdir(bin.c_str(), 0700);
  for (const char* tool : {"update-mime-database", "update-desktop-database"}) {
    const std::string script = bin + "/" + tool;
    WriteFile(script, "#!/bin/sh\necho \"$1\" > \"" + root_ + "/" + tool + ".ran\"\n");
    ::chmod(script.c_str(), 0700);
  }
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  const platform::ShellFileType type{"Quillmark.Document", "Quillmark.Document", ".vorn2"};
  const std::string data = root_ + "/data";
  const struct {
    std::string path;
    std::string dataHome;
    bool ok, refresh;
  } cases[] = {
      {bin, data, true, true},                      // tools there: both run
      {root_ + "/none", data + "/other", true, false},  // no tools: registered all the same
      {bin, root_ + "/home/.bashrc/x", false, false},  // a data folder that cannot exist
  };
  WriteFile(root_ + "/home/.bashrc", "");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dataHome);
    ::setenv("PATH", c.path.c_str(), 1);
    const platform::ShellRegistrationResult result =
        platform::RegisterShellFileType(c.dataHome, "quillmark", "Quillmark", "/usr/bin/quillmark", type, "<svg/>");
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(result.ok, c.ok) << result.error;
    EXPECT_EQ(result.cacheRefreshStarted, c.refresh);
    EXPECT_EQ(result.error.empty(), c.ok);
  }
  // The tools ran detached: wait for their notes.
  ASSERT_TRUE(PumpUntil([&] { return ReadFile(root_ + "/update-desktop-database.ran") != ""; }, 5000));
  ASSERT_TRUE(PumpUntil([&] { return ReadFile(root_ + "/update-mime-database.ran") != ""; }, 5000));
  EXPECT_EQ(ReadFile(root_ + "/update-mime-database.ran"), data + "/mime\n");
  EXPECT_EQ(ReadFile(root_ + "/update-desktop-database.ran"), data + "/applications\n");
  // A start whose data folder cannot be made still starts.
  ::setenv("XDG_DATA_HOME", (root_ + "/home/.bashrc/data").c_str(), 1);
  ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
  EXPECT_FALSE(shell_->m_registration.ok);
  EXPECT_EQ(Documents().size(), 1u);
}

TEST(ShellRegistrationTest, InstalledFilesAreWhatTheProgramRegisters) {
  std::string root = __FILE__;
  root = root.substr(0, root.rfind("/tests/"));
  EXPECT_EQ(ReadFile(root + "/res/quillmark.svg"), AppIconSvg());
  EXPECT_EQ(ReadFile(root + "/res/quillmark.xml"),
            platform::MimeInfoText({"Quillmark.Document", "Quillmark.Document", ".vorn"}));
  EXPECT_EQ(ReadFile(root + "/res/quillmark.desktop"),
            platform::DesktopEntryText("Quillmark", "quillmark", "quillmark", "application/x-quillmark.document"));
}

TEST(AppResourcesTest, TemplateStringsHoldTheirSevenFields) {
  const DocTemplateStrings a = LoadDocTemplateStrings(ids::IDR_QuillmarkTYPE);
  const DocTemplateStrings b = LoadDocTemplateStrings(ids::IDR_Vorn2EditTYPE);
  const wxString expectA[] = {"", "Quillmark", "Quillmark", "Vorn1 Files (*.vorn)", ".vorn", "Quillmark.Document",
                              "Quillmark.Document"};
  const wxString expectB[] = {"", "Vorn2Edit", "Vorn2Edit", "Vorn2 Files (*.vorn2)", ".vorn2",
                              "Quillmark.Document", "Quillmark.Document"};
  const wxString gotA[] = {a.windowTitle, a.docName, a.fileNewName, a.filterName, a.filterExt, a.regFileTypeId,
                           a.regFileTypeName};
  const wxString gotB[] = {b.windowTitle, b.docName, b.fileNewName, b.filterName, b.filterExt, b.regFileTypeId,
                           b.regFileTypeName};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(gotA[i], expectA[i]) << i;
    EXPECT_EQ(gotB[i], expectB[i]) << i;
  }
}

// ---- the recent-file list ----

TEST_F(ApplicationTest, RecentFilesAreKeptAsFile1ToFile10) {
  WriteSetting("/Recent File List/File1", "/old/newest.vorn");
  WriteSetting("/Recent File List/File2", "/old/older.vorn2");
  ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
  ASSERT_EQ(shell_->m_pDocManager->GetHistoryFilesCount(), 2u);
  EXPECT_EQ(shell_->m_pDocManager->GetHistoryFile(0), "/old/newest.vorn");
  EXPECT_EQ(shell_->m_pDocManager->GetHistoryFile(1), "/old/older.vorn2");
  for (int i = 0; i < 12; ++i) {
    const std::string path = MakeSource("r" + std::to_string(i) + ".vorn", "CON\n");
    ASSERT_TRUE(shell_->m_pDocManager->OpenFiles(Files({path.c_str()})));
  }
  EXPECT_EQ(shell_->m_pDocManager->GetHistoryFilesCount(), 10u);
  Stop();
  wxFileConfig config("Quillmark", "Quillmark", CQuillmarkShell::ConfigFilePath(), wxString(),
                      wxCONFIG_USE_LOCAL_FILE);
  EXPECT_EQ(config.Read("/Recent File List/File1", ""), wxString::FromUTF8((root_ + "/r11.vorn").c_str()));
  EXPECT_EQ(config.Read("/Recent File List/File10", ""), wxString::FromUTF8((root_ + "/r2.vorn").c_str()));
  EXPECT_FALSE(config.HasEntry("/Recent File List/File11"));
}

// ---- one instance per user ----

TEST(SingleInstanceTest, FileNamesSurviveTheMessage) {
  wxArrayString files;
  files.Add("/a b/c.vorn");
  files.Add(wxString::FromUTF8("/\xC3\xA9t\xC3\xA9/\xE2\x82\xAC.vorn2"));
  const std::string message = CSingleInstance::Encode(files);
  const wxArrayString back = CSingleInstance::Decode(message.data(), message.size());
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0], files[0]);
  EXPECT_EQ(back[1], files[1]);
  EXPECT_TRUE(CSingleInstance::Decode("", 0).empty());
  EXPECT_TRUE(CSingleInstance::Decode("\0", 1).empty());
}

TEST_F(ApplicationTest, SecondStartHandsItsFileToTheFirst) {
  ShellOptions options = InProcess();
  options.singleInstance = true;
  ASSERT_EQ(Start(wxArrayString(), options), CQuillmarkShell::Start::Running);
  const std::string path = MakeSource("handed.vorn2", "VAR\n  long x\n");
  Child second({path}, {});
  ASSERT_TRUE(second.Started());
  ASSERT_TRUE(PumpUntil([&] { return second.Exited(); }, 20000)) << second.Output();
  EXPECT_EQ(second.ExitCode(), 0);
  ASSERT_TRUE(PumpUntil([&] { return DocumentOf(path) != nullptr; }, 5000));
  EXPECT_NE(dynamic_cast<CVorn2EditDoc*>(DocumentOf(path)), nullptr);
  EXPECT_TRUE(GetMainFrame()->IsShown());
  // A relative name is taken in the second start's folder.
  const std::string relative = MakeSource("rel.vorn", "OBJ\n");
  const std::string cwd = wxGetCwd().utf8_string();
  ASSERT_EQ(::chdir(root_.c_str()), 0);
  Child third({"rel.vorn"}, {});
  ASSERT_EQ(::chdir(cwd.c_str()), 0);
  ASSERT_TRUE(PumpUntil([&] { return third.Exited(); }, 20000));
  ASSERT_TRUE(PumpUntil([&] { return DocumentOf(relative) != nullptr; }, 5000));
  EXPECT_EQ(Documents().size(), 3u);
}

// ---- recovery ----

TEST(RecoveryStoreTest, RecordsRoundTripAndDamagedOnesAreSkipped) {
  RecoveryRecord record{wxString::FromUTF8("/a/\xC3\xA9.vorn"), "Vorn2Edit", std::string("x\0y\n\xFF\n", 6)};
  const std::string bytes = CRecoveryStore::Serialize(record);
  RecoveryRecord back;
  ASSERT_TRUE(CRecoveryStore::Parse(bytes, back));
  EXPECT_EQ(back.path, record.path);
  EXPECT_EQ(back.kind, record.kind);
  EXPECT_EQ(back.text, record.text);
  const std::string damaged[] = {
      std::string(),
      bytes.substr(0, bytes.size() - 1),                  // cut short
      bytes + "x",                                        // trailing bytes
      "QUILLMARK-RECOVERY 2\n" + bytes.substr(21),        // another format
      "QUILLMARK-RECOVERY 1\npath 99999999999999999999\n",  // a length past the file
      "QUILLMARK-RECOVERY 1\npath -1\n\nkind 0\n\ntext 0\n\n",
  };
  for (const std::string& d : damaged) EXPECT_FALSE(CRecoveryStore::Parse(d, back)) << d;
}

TEST_F(ApplicationTest, AutosaveKeepsModifiedDocumentsAndCleanExitLeavesNone) {
  ShellOptions options = InProcess();
  options.autosaveIntervalMs = 50;
  const std::string path = MakeSource("auto.vorn", "PUB go\n");
  ASSERT_EQ(Start(Files({path.c_str()}), options), CQuillmarkShell::Start::Running);
  CRecoveryStore store(CQuillmarkShell::RecoveryFolder());
  EXPECT_TRUE(store.HasRunningMarker());
  // Nothing modified: nothing kept.
  wxMilliSleep(120);
  Pump();
  EXPECT_TRUE(store.RecordFiles().empty());
  ColorEditWnd* editor = EditorOf(DocumentOf(path));
  editor->InsertText(L"CON\n");
  ASSERT_TRUE(DocumentOf(path)->IsModified());
  ASSERT_TRUE(PumpUntil([&] { return store.Load().size() == 1; }, 3000));
  const RecoveryRecord record = store.Load()[0];
  EXPECT_EQ(record.path, wxString::FromUTF8(path.c_str()));
  EXPECT_EQ(record.kind, "Quillmark");
  EXPECT_EQ(record.text, editor->GetText());
  // Saved: kept no more.
  DocumentOf(path)->Save();
  ASSERT_TRUE(PumpUntil([&] { return store.RecordFiles().empty(); }, 3000));
  editor->InsertText(L"VAR\n");
  ASSERT_TRUE(PumpUntil([&] { return store.Load().size() == 1; }, 3000));
  Stop();
  EXPECT_TRUE(store.RecordFiles().empty());
  EXPECT_FALSE(store.HasRunningMarker());
}

TEST_F(ApplicationTest, AfterAbnormalEndTheDocumentsAreOfferedBack) {
  CRecoveryStore store(CQuillmarkShell::RecoveryFolder());
  const std::string path = MakeSource("lost.vorn", "on disk\n");
  const std::string unsaved = "CON\n  y = 2\nPUB edited\n";
  for (int answer : {wxNO, wxYES}) {
    SCOPED_TRACE(answer == wxYES ? "yes" : "no");
    ASSERT_TRUE(store.WriteRunningMarker());
    ASSERT_TRUE(store.Replace({{wxString::FromUTF8(path.c_str()), "Vorn2Edit", unsaved}, {"", "Quillmark", "DAT"}}));
    CQuillmarkShell::Start result;
    wxTEST_DIALOG(result = Start(), wxExpectModal<wxMessageDialog>(answer).Describe("restore prompt"));
    ASSERT_EQ(result, CQuillmarkShell::Start::Running);
    if (answer == wxNO) {
      EXPECT_EQ(Documents().size(), 1u);
      EXPECT_TRUE(store.RecordFiles().empty());
    } else {
      ASSERT_EQ(Documents().size(), 3u);
      wxDocument* restored = DocumentOf(path);
      ASSERT_NE(restored, nullptr);
      EXPECT_NE(dynamic_cast<CVorn2EditDoc*>(restored), nullptr);
      EXPECT_TRUE(restored->IsModified());
      EXPECT_EQ(EditorOf(restored)->GetText(), unsaved);
      EXPECT_TRUE(EditorOf(restored)->m_undoStack.empty());
      wxDocument* untitled = Documents()[2];
      EXPECT_NE(dynamic_cast<CQuillmarkDoc*>(untitled), nullptr);
      EXPECT_TRUE(untitled->IsModified());
      EXPECT_FALSE(untitled->GetDocumentSaved());
      EXPECT_EQ(EditorOf(untitled)->GetText(), "DAT");
      // Kept again at once, and the file on disk untouched.
      EXPECT_EQ(store.Load().size(), 2u);
      EXPECT_EQ(ReadFile(path), "on disk\n");
    }
    Stop();
    EXPECT_TRUE(store.RecordFiles().empty());
  }
  // A clean exit leaves no marker: the next start asks nothing.
  ASSERT_TRUE(store.Replace({{"", "Quillmark", "DAT"}}));
  EXPECT_EQ(Start(), CQuillmarkShell::Start::Running);
  EXPECT_EQ(Documents().size(), 1u);
}

TEST_F(ApplicationTest, ClosingTheMainWindowEndsCleanly) {
  const std::string path = MakeSource("closed.vorn2", "PRI x\n");
  ASSERT_EQ(Start(Files({path})), CQuillmarkShell::Start::Running);
  CRecoveryStore store(CQuillmarkShell::RecoveryFolder());
  EXPECT_TRUE(store.HasRunningMarker());
  // As the user closes it: the frame closes the documents (nothing is
  // modified, so nothing is asked), then the shut-down runs.
  GetMainFrame()->Close();
  Pump();
  EXPECT_EQ(GetMainFrame(), nullptr);
  EXPECT_EQ(shell_->ExitInstance(), 0);
  shell_.reset();
  EXPECT_FALSE(store.HasRunningMarker());
  EXPECT_TRUE(store.RecordFiles().empty());
  wxFileConfig config("Quillmark", "Quillmark", CQuillmarkShell::ConfigFilePath(), wxString(),
                      wxCONFIG_USE_LOCAL_FILE);
  EXPECT_EQ(config.Read("/Recent File List/File1", ""), wxString::FromUTF8(path.c_str()));
}

// ---- the real program ----

TEST_F(ApplicationTest, ProgramShowsItsWindowWithTheSource) {
  const std::string path = MakeSource("shown.vorn", "CON\n  _tickmode = xthigh + mul16\n\nPUB main\n  repeat\n");
  Child program({path}, {"QUILLMARK_FIRST_PAINT=1"});
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(PumpUntil([&] { return program.Output().find("quillmark: first paint") != std::string::npos; },
                        20000))
      << program.Output();
  wxMilliSleep(300);
  Pump();
  // Not blank: the window shows many colours (text, shades, ribbon, panes).
  const wxImage image = GrabScreen("program-window");
  std::set<unsigned> colours;
  for (int y = 0; y < image.GetHeight(); y += 2)
    for (int x = 0; x < image.GetWidth(); x += 2)
      colours.insert(image.GetRed(x, y) << 16 | image.GetGreen(x, y) << 8 | image.GetBlue(x, y));
  EXPECT_GE(colours.size(), 8u);
  program.Kill();
}

TEST_F(ApplicationTest, KilledProgramsEditsAreOfferedAtTheNextStart) {
  const std::string path = MakeSource("killed.vorn", "PUB main\n");
  Child program({path}, {"QUILLMARK_FIRST_PAINT=1", "QUILLMARK_TEST_AUTOSAVE_MS=100"});
  ASSERT_TRUE(PumpUntil([&] { return program.Output().find("quillmark: first paint") != std::string::npos; },
                        20000))
      << program.Output();
  wxMilliSleep(300);
  // Type into the program's editor: the pointer over its window, keys through
  // the X server.
  wxUIActionSimulator sim;
  CRecoveryStore store(CQuillmarkShell::RecoveryFolder());
  bool kept = false;
  for (int attempt = 0; attempt < 3 && !kept; ++attempt) {
    sim.MouseMove(500 + attempt * 40, 400);
    Pump();
    sim.MouseClick();
    Pump();
    wxMilliSleep(100);
    sim.Text("zq");
    Pump();
    GrabScreen("typed-" + std::to_string(attempt));
    kept = PumpUntil(
        [&] {
          const std::vector<RecoveryRecord> records = store.Load();
          return records.size() == 1 && records[0].text.find("zq") != std::string::npos;
        },
        2000);
  }
  ASSERT_TRUE(kept) << "the program did not keep the typed edit";
  program.Kill();
  const RecoveryRecord before = store.Load().at(0);
  ASSERT_TRUE(store.HasRunningMarker());

  CQuillmarkShell::Start result;
  wxTEST_DIALOG(result = Start(), wxExpectModal<wxMessageDialog>(wxYES).Describe("restore prompt"));
  ASSERT_EQ(result, CQuillmarkShell::Start::Running);
  wxDocument* restored = DocumentOf(path);
  ASSERT_NE(restored, nullptr);
  EXPECT_TRUE(restored->IsModified());
  EXPECT_EQ(EditorOf(restored)->GetText(), before.text);
  EXPECT_EQ(ReadFile(path), "PUB main\n");
}

}  // namespace
