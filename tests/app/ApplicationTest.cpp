// Whole-application tests: start-up modes, the kinds of documents, File New
// and File Open, the About box, desktop registration, recent files, one
// instance per user, recovery after an abnormal end, typing right after a
// document opened, and the real program.
// Each test runs with its own HOME and XDG folders.
#include <gtest/gtest.h>

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

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/AboutDlg.h"
#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/QuillmarkApp.h"
#include "app/QuillmarkDoc.h"
#include "app/QuillmarkView.h"
#include "app/Recovery.h"
#include "app/SingleInstance.h"
#include "app/Vorn2EditView.h"
#include "platform/ShellRegistration.h"
#include "res/AppResources.h"
#include "res/ResourceIds.h"
#include "support/AppFixture.h"
#include "support/AuiTabs.h"
#include "support/ShellFixture.h"
#include "support/NonRegularFiles.h"

using shelltest::Pump;
using shelltest::PumpUntil;
using shelltest::ReadFile;
using shelltest::WriteFile;
using namespace apptest;

namespace {

// The user at the display's keyboard: real key events through the X server
// (XTest) go to the window with the input focus, which a window manager gives
// to the window the user works in; the display has none, so this does it.
class Keyboard {
 public:
  Keyboard() : display_(X11(XOpenDisplay)(nullptr)) {}
  ~Keyboard() {
    if (display_) X11(XCloseDisplay)(display_);
  }
  // Gives the input focus to the largest shown window of process `pid`
  // (waiting for it to show); false when it shows none.
  bool Focus(pid_t pid) {
    Window window = 0;
    if (!display_ || !PumpUntil([&] { return !WindowOf(display_, DefaultRootWindow(display_), pid, &window).IsEmpty(); },
                                10000))
      return false;
    X11(XRaiseWindow)(display_, window);
    X11(XSetInputFocus)(display_, window, RevertToParent, CurrentTime);
    X11(XSync)(display_, False);
    Pump();
    return true;
  }
  void Type(const char* text) {
    sim_.Text(text);
    Pump();
  }
  void Ctrl(int key) {
    sim_.Char(key, wxMOD_CONTROL);
    Pump();
  }
  // The title of the largest shown window of `pid`.
  std::string Title(pid_t pid) {
    Window window = 0;
    char* name = nullptr;
    if (!display_ || WindowOf(display_, DefaultRootWindow(display_), pid, &window).IsEmpty() ||
        !X11(XFetchName)(display_, window, &name) || !name)
      return std::string();
    const std::string title = name;
    X11(XFree)(name);
    return title;
  }

 private:
  Display* display_;
  wxUIActionSimulator sim_;
};

// Only the exact setting "Vorn1", or none, starts first-generation; the
// setting is read, never written, and registration follows the kind. A file
// on the command line opens as the start-up kind, whatever its name, and
// heads the recent files.
TEST_F(ApplicationTest, OnlyExactVorn1StartsFirstGenerationAndCommandLineFilesOpenAsIt) {
  const struct {
    const char* mode;  // nullptr: no setting
    const char* file;  // nullptr: none
    bool first;
  } cases[] = {{nullptr, nullptr, true}, {"Vorn1", nullptr, true},   {"Vorn2", nullptr, false},
               {"vorn1", nullptr, false}, {"Vorn1 ", nullptr, false}, {" Vorn1", nullptr, false},
               {"", nullptr, false},     {"Vorn2", "a.vorn", false},  {"Vorn1", "b.vorn2", true},
               {"Vorn2", "c.vorn2", false}, {"Vorn1", "d.txt", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("mode '") + (c.mode ? c.mode : "(none)") + "' file " + (c.file ? c.file : "(none)"));
    if (c.mode) WriteSetting("/Settings/sInitialMode", c.mode);
    const std::string path = c.file ? MakeSource(c.file, "CON\n  x = 1\n") : std::string();
    ASSERT_EQ(Start(c.file ? Files({path}) : wxArrayString()), CQuillmarkShell::Start::Running);
    EXPECT_EQ(shell_->m_strInitialMode, wxString(c.mode ? c.mode : "Vorn1").ToStdWstring());
    ASSERT_EQ(Documents().size(), 1u);
    wxDocument* doc = Documents()[0];
    EXPECT_EQ(IsFirst(doc), c.first);
    EXPECT_EQ(IsSecond(doc), !c.first);
    EXPECT_EQ(dynamic_cast<CQuillmarkView*>(doc->GetFirstView()) != nullptr, c.first);
    EXPECT_EQ(dynamic_cast<CVorn2EditView*>(doc->GetFirstView()) != nullptr, !c.first);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(GetMainFrame() && GetMainFrame()->IsShown());
    if (c.file) {
      EXPECT_EQ(doc, DocumentOf(path));
      EXPECT_EQ(EditorOf(doc)->GetText(), "CON\n  x = 1\n");
      EXPECT_EQ(shell_->m_pDocManager->GetHistoryFile(0), wxString::FromUTF8(path));
    } else {
      EXPECT_EQ(EditorOf(doc)->m_textModel.LineCount(), 31);
      const std::string mime = ReadFile(root_ + "/data/mime/packages/quillmark.xml");
      EXPECT_NE(mime.find(c.first ? "\"*.vorn\"" : "\"*.vorn2\""), std::string::npos) << mime;
    }
    Stop();
    if (!c.mode) {
      EXPECT_FALSE(Config().HasEntry("/Settings/sInitialMode"));
    }
  }
}

// A command-line file that cannot be read ends start-up without a window and
// leaves an earlier run's recovery files alone.
TEST_F(ApplicationTest, UnreadableCommandLineFileEndsStartUpAndKeepsRecoveryFiles) {
  CRecoveryStore store(CQuillmarkShell::RecoveryFolder());
  ASSERT_TRUE(store.WriteRunningMarker());
  ASSERT_TRUE(store.Replace({{"", "Quillmark", "unsaved"}}));
  CQuillmarkShell::Start result = CQuillmarkShell::Start::Running;
  wxTEST_DIALOG(result = Start(Files({root_ + "/missing.vorn"})),
                wxExpectModal<wxMessageDialog>(wxOK).Describe("Failed to open given filename."));
  EXPECT_EQ(result, CQuillmarkShell::Start::Failed);
  EXPECT_FALSE(GetMainFrame() && GetMainFrame()->IsShown());
  Stop();
  EXPECT_TRUE(store.HasRunningMarker());
  ASSERT_EQ(store.Load().size(), 1u);
  EXPECT_EQ(store.Load()[0].text, "unsaved");
}

// Answers the open dialog with `path`, once GTK's chooser has taken it.
class OpenPath : public wxExpectModalBase<wxFileDialog, OpenPath> {
 public:
  explicit OpenPath(const std::string& path) : m_path(wxString::FromUTF8(path)) {}

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

TEST_F(ApplicationTest, FileOpenAndDroppedFilesPickKindByExtension) {
  for (const char* mode : {"Vorn1", "Vorn2"}) {
    SCOPED_TRACE(mode);
    WriteSetting("/Settings/sInitialMode", mode);
    ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
    const std::string first = MakeSource("one.vorn", "PUB main\n"), second = MakeSource("two.vorn2", "PUB main\n");
    wxCommandEvent open(wxEVT_MENU, wxID_OPEN);
    wxTEST_DIALOG(shell_->m_pDocManager->ProcessEvent(open), OpenPath(first));
    wxTEST_DIALOG(shell_->m_pDocManager->ProcessEvent(open), OpenPath(second));
    Pump();
    EXPECT_TRUE(IsFirst(DocumentOf(first)));
    EXPECT_TRUE(IsSecond(DocumentOf(second)));
    Stop();
  }
  ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
  const std::string dropped[] = {MakeSource("drop.vorn2", "DAT\n"), MakeSource("drop.vorn", "DAT\n"),
                                 MakeSource("CAPS.VORN2", "DAT\n")};
  auto* target = dynamic_cast<wxFileDropTarget*>(GetMainFrame()->GetDropTarget());
  ASSERT_NE(target, nullptr);
  EXPECT_TRUE(target->OnDropFiles(10, 10, Files({dropped[0], dropped[1], dropped[2]})));
  Pump();
  EXPECT_TRUE(IsSecond(DocumentOf(dropped[0])));
  EXPECT_TRUE(IsFirst(DocumentOf(dropped[1])));
  EXPECT_TRUE(IsSecond(DocumentOf(dropped[2])));
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
    const char *mode, *pick;
    bool first;
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
    EXPECT_EQ(IsFirst(Documents()[1]), c.first);
    EXPECT_EQ(EditorOf(Documents()[1])->m_textModel.LineCount(), 31);
    Stop();
  }
}

class CheckAbout : public wxExpectModalBase<CAboutDlg, CheckAbout> {
 protected:
  int OnInvoked(CAboutDlg* dlg) const override {
    EXPECT_EQ(dlg->GetTitle(), "About Quillmark");
    EXPECT_EQ(dlg->m_version->GetLabel(), "Quillmark, Version 1.0");
    EXPECT_FALSE(dlg->m_notice->GetLabel().empty());
    EXPECT_TRUE(dlg->m_icon->GetBitmap().IsOk());
    EXPECT_EQ(dlg->m_ok->GetLabel(), "OK");
    EXPECT_EQ(dlg->m_ok->GetId(), wxID_OK);
    EXPECT_EQ(dlg->GetDefaultItem(), static_cast<wxWindow*>(dlg->m_ok));
    // Shown whole, inside the box.
    EXPECT_LE(dlg->m_notice->GetRect().GetRight(), dlg->GetClientSize().x);
    EXPECT_LE(dlg->m_ok->GetRect().GetBottom(), dlg->GetClientSize().y);
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

TEST_F(ApplicationTest, StartRegistersDesktopEntryMimeTypeAndIconOnce) {
  ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
  EXPECT_TRUE(shell_->m_registration.ok) << shell_->m_registration.error;
  EXPECT_TRUE(shell_->m_registration.changed);
  const std::string desktop = ReadFile(root_ + "/data/applications/quillmark.desktop");
  EXPECT_NE(desktop.find("MimeType=application/x-quillmark.document;\n"), std::string::npos);
  EXPECT_NE(desktop.find(" %F\n"), std::string::npos);
  EXPECT_EQ(ReadFile(root_ + "/data/mime/packages/quillmark.xml"),
            platform::MimeInfoText({"Quillmark.Document", "Quillmark.Document", ".vorn"}));
  EXPECT_EQ(ReadFile(root_ + "/data/icons/hicolor/scalable/apps/quillmark.svg"), AppIconSvg());
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
    const char *exe, *exec;
  } cases[] = {{"/usr/bin/quillmark", "Exec=/usr/bin/quillmark %F\n"},
               {"/opt/my apps/quillmark", "Exec=\"/opt/my apps/quillmark\" %F\n"},
               {"/x/100%/q", "Exec=/x/100%%/q %F\n"},
               {"/x/$(rm -rf ~)/q", "Exec=\"/x/\\\\$(rm -rf ~)/q\" %F\n"},
               {"/x/a\"b/q", "Exec=\"/x/a\\\\\"b/q\" %F\n"}};
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
  const std::string bin = root_ + "/bin", data = root_ + "/data";
  ::mkdir(bin.c_str(), 0700);
  for (const char* tool : {"update-mime-database", "update-desktop-database"}) {
    WriteFile(bin + "/" + tool, "#!/bin/sh\necho \"$1\" > \"" + root_ + "/" + tool + ".ran\"\n");
    ::chmod((bin + "/" + tool).c_str(), 0700);
  }
  WriteFile(root_ + "/home/.bashrc", "");
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  const struct {
    std::string path, dataHome;
    bool ok, refresh;
  } cases[] = {{bin, data, true, true},
               {root_ + "/none", data + "/other", true, false},  // no tools: registered all the same
               {bin, root_ + "/home/.bashrc/x", false, false}};  // a data folder that cannot exist
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dataHome);
    ::setenv("PATH", c.path.c_str(), 1);
    const platform::ShellRegistrationResult result = platform::RegisterShellFileType(
        c.dataHome, "quillmark", "Quillmark", "/usr/bin/quillmark",
        {"Quillmark.Document", "Quillmark.Document", ".vorn2"}, "<svg/>");
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(result.ok, c.ok) << result.error;
    EXPECT_EQ(result.cacheRefreshStarted, c.refresh);
    EXPECT_EQ(result.error.empty(), c.ok);
  }
  // The tools ran detached: wait for their notes.
  EXPECT_TRUE(PumpUntil([&] { return ReadFile(root_ + "/update-mime-database.ran") == data + "/mime\n"; }, 5000));
  EXPECT_TRUE(PumpUntil(
      [&] { return ReadFile(root_ + "/update-desktop-database.ran") == data + "/applications\n"; }, 5000));
  // A start whose data folder cannot be made still starts.
  ::setenv("XDG_DATA_HOME", (root_ + "/home/.bashrc/data").c_str(), 1);
  ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
  EXPECT_FALSE(shell_->m_registration.ok);
  EXPECT_EQ(Documents().size(), 1u);
}

TEST(ShellRegistrationTest, InstalledFilesAndTemplateStringsAreWhatTheProgramUses) {
  std::string root = __FILE__;
  root = root.substr(0, root.rfind("/tests/"));
  EXPECT_EQ(ReadFile(root + "/res/quillmark.svg"), AppIconSvg());
  EXPECT_EQ(ReadFile(root + "/res/quillmark.xml"),
            platform::MimeInfoText({"Quillmark.Document", "Quillmark.Document", ".vorn"}));
  EXPECT_EQ(ReadFile(root + "/res/quillmark.desktop"),
            platform::DesktopEntryText("Quillmark", "quillmark", "quillmark", "application/x-quillmark.document"));
  const struct {
    int id;
    std::vector<wxString> fields;
  } templates[] = {{ids::IDR_QuillmarkTYPE, {"", "Quillmark", "Quillmark", "Vorn1 Files (*.vorn)", ".vorn",
                                             "Quillmark.Document", "Quillmark.Document"}},
                   {ids::IDR_Vorn2EditTYPE, {"", "Vorn2Edit", "Vorn2Edit", "Vorn2 Files (*.vorn2)", ".vorn2",
                                             "Quillmark.Document", "Quillmark.Document"}}};
  for (const auto& t : templates) {
    const DocTemplateStrings s = LoadDocTemplateStrings(t.id);
    EXPECT_EQ(std::vector<wxString>({s.windowTitle, s.docName, s.fileNewName, s.filterName, s.filterExt,
                                     s.regFileTypeId, s.regFileTypeName}),
              t.fields);
  }
}

TEST_F(ApplicationTest, RecentFilesAreKeptAsFile1ToFile10) {
  WriteSetting("/Recent File List/File1", "/old/newest.vorn");
  WriteSetting("/Recent File List/File2", "/old/older.vorn2");
  ASSERT_EQ(Start(), CQuillmarkShell::Start::Running);
  ASSERT_EQ(shell_->m_pDocManager->GetHistoryFilesCount(), 2u);
  EXPECT_EQ(shell_->m_pDocManager->GetHistoryFile(0), "/old/newest.vorn");
  EXPECT_EQ(shell_->m_pDocManager->GetHistoryFile(1), "/old/older.vorn2");
  for (int i = 0; i < 12; ++i)
    ASSERT_TRUE(shell_->m_pDocManager->OpenFiles(Files({MakeSource("r" + std::to_string(i) + ".vorn", "CON\n")})));
  EXPECT_EQ(shell_->m_pDocManager->GetHistoryFilesCount(), 10u);
  Stop();
  wxFileConfig config = Config();
  EXPECT_EQ(config.Read("/Recent File List/File1", ""), wxString::FromUTF8(root_ + "/r11.vorn"));
  EXPECT_EQ(config.Read("/Recent File List/File10", ""), wxString::FromUTF8(root_ + "/r2.vorn"));
  EXPECT_FALSE(config.HasEntry("/Recent File List/File11"));
}

TEST(SingleInstanceTest, FileNamesSurviveTheMessage) {
  const wxArrayString files = Files({"/a b/c.vorn", "/\xC3\xA9t\xC3\xA9/\xE2\x82\xAC.vorn2"});
  const std::string message = CSingleInstance::Encode(files);
  const wxArrayString back = CSingleInstance::Decode(message.data(), message.size());
  EXPECT_EQ(std::vector<wxString>(back.begin(), back.end()), std::vector<wxString>(files.begin(), files.end()));
  EXPECT_TRUE(CSingleInstance::Decode("", 0).empty());
  EXPECT_TRUE(CSingleInstance::Decode("\0", 1).empty());
}

TEST_F(ApplicationTest, SecondStartHandsItsFileToTheFirst) {
  ShellOptions options = InProcess();
  options.singleInstance = true;
  ASSERT_EQ(Start(wxArrayString(), options), CQuillmarkShell::Start::Running);
  shelltest::MessageBoxes boxes;  // a file that fails to open must not leave the test waiting
  const std::string path = MakeSource("handed.vorn2", "VAR\n  long x\n");
  Child second({path}, {});
  ASSERT_TRUE(PumpUntil([&] { return second.Exited(); }, 60000)) << second.Output();
  EXPECT_EQ(second.ExitCode(), 0);
  ASSERT_TRUE(PumpUntil([&] { return DocumentOf(path) != nullptr; }, 5000));
  EXPECT_TRUE(IsSecond(DocumentOf(path)));
  // A relative name is taken in the second start's folder.
  const std::string relative = MakeSource("rel.vorn", "OBJ\n");
  const std::string cwd = wxGetCwd().utf8_string();
  ASSERT_EQ(::chdir(root_.c_str()), 0);
  Child third({"rel.vorn"}, {});
  ASSERT_EQ(::chdir(cwd.c_str()), 0);
  ASSERT_TRUE(PumpUntil([&] { return third.Exited(); }, 60000));
  ASSERT_TRUE(PumpUntil([&] { return DocumentOf(relative) != nullptr; }, 5000));
  EXPECT_EQ(Documents().size(), 3u);
  EXPECT_TRUE(boxes.texts.empty());
}

// Typing right after a document opened goes into that document's editor,
// however it was opened: the new document at start-up, by File Open, from the
// recent-file list, dropped on the window, by File New, handed over by a
// second start. After a click on a document's tab, the tab in front too,
// typing goes into that document. Ctrl+S saves what was typed. (The real
// program's command line is tried below.)
TEST_F(ApplicationTest, TypingRightAfterADocumentOpensGoesIntoItsEditor) {
  const std::string opened = MakeSource("opened.vorn", "CON\n"), recent = MakeSource("recent.vorn2", "OBJ\n"),
                    dropped = MakeSource("dropped.vorn", "DAT\n"), handed = MakeSource("handed.vorn", "PRI\n");
  WriteSetting("/Recent File List/File1", wxString::FromUTF8(recent));
  ShellOptions options = InProcess();
  options.singleInstance = true;
  ASSERT_EQ(Start(wxArrayString(), options), CQuillmarkShell::Start::Running);
  Keyboard keyboard;
  ASSERT_TRUE(keyboard.Focus(::getpid()));
  // Types into whatever has the keyboard focus; `doc` has to get the keys at
  // its caret and every other document none.
  const auto typeInto = [&](wxDocument* doc, const char* keys, const std::string& what) {
    ASSERT_NE(doc, nullptr) << what;
    ASSERT_EQ(GetMainFrame()->GetActiveDocument(), doc) << what;
    std::vector<std::vector<std::string>> expected;
    for (wxDocument* d : Documents()) {
      ColorEditWnd* editor = EditorOf(d);
      expected.push_back(editor->m_textModel.lines);
      if (d != doc) continue;
      // The caret may stand on the line position after the last line.
      std::vector<std::string>& lines = expected.back();
      const size_t line = static_cast<size_t>(editor->m_caretLine);
      if (line >= lines.size()) lines.resize(line + 1);
      lines[line].insert(static_cast<size_t>(editor->m_caretCol), keys);
    }
    keyboard.Type(keys);
    const std::vector<wxDocument*> docs = Documents();
    for (size_t i = 0; i < docs.size(); ++i) EXPECT_EQ(EditorOf(docs[i])->m_textModel.lines, expected[i]) << what;
  };

  ASSERT_EQ(Documents().size(), 1u);
  typeInto(Documents()[0], "ab", "new document at start-up");
  wxTEST_DIALOG(keyboard.Ctrl('o'), OpenPath(opened));
  typeInto(DocumentOf(opened), "cd", "File Open");
  size_t entry = 0;
  while (entry < shell_->m_pDocManager->GetHistoryFilesCount() &&
         shell_->m_pDocManager->GetHistoryFile(entry) != wxString::FromUTF8(recent))
    ++entry;
  ASSERT_TRUE(GetMainFrame()->ExecuteCommand(ids::ID_FILE_MRU_FILE1 + static_cast<int>(entry)));
  Pump();
  typeInto(DocumentOf(recent), "ef", "recent-file list");
  auto* target = dynamic_cast<wxFileDropTarget*>(GetMainFrame()->GetDropTarget());
  ASSERT_NE(target, nullptr);
  ASSERT_TRUE(target->OnDropFiles(10, 10, Files({dropped})));
  Pump();
  typeInto(DocumentOf(dropped), "gh", "dropped");
  wxArrayString offered;
  wxTEST_DIALOG(keyboard.Ctrl('n'), ChooseKind(&offered, "Vorn2Edit"));
  ASSERT_EQ(Documents().size(), 5u);
  typeInto(Documents().back(), "ij", "File New");
  Child second({handed}, {});
  ASSERT_TRUE(PumpUntil([&] { return second.Exited() && DocumentOf(handed) != nullptr; }, 60000)) << second.Output();
  Pump();
  ASSERT_TRUE(keyboard.Focus(::getpid()));
  typeInto(DocumentOf(handed), "kl", "second start");

  wxUIActionSimulator mouse;
  wxAuiNotebook* tabs = GetMainFrame()->GetNotebook();
  for (const char* keys : {"mn", "op"}) {  // another document's tab, then the same tab in front
    mouse.MouseMove(auitabs::TabPoint(tabs, DocumentOf(opened)->GetFirstView()->GetFrame()));
    Pump();
    mouse.MouseClick();
    Pump();
    typeInto(DocumentOf(opened), keys, std::string("tab click ") + keys);
  }
  keyboard.Ctrl('s');
  EXPECT_TRUE(PumpUntil([&] { return ReadFile(opened) == "CON\ncdmnop\n"; }, 5000)) << ReadFile(opened);
}

// The real program takes typing at once: the file on its command line, and a
// file that a second start hands over while the first file is in front. Its
// window gets the input focus as a window manager would give it; nothing is
// clicked. Ctrl+S saves what was typed.
TEST_F(ApplicationTest, TheRealProgramTakesTypingAtOnceAfterOpening) {
  const std::string first = MakeSource("first.vorn", "CON\n"), handed = MakeSource("handed.vorn2", "VAR\n");
  Child program({first}, {"QUILLMARK_FIRST_PAINT=1"});
  ASSERT_TRUE(program.FirstPaint(60000)) << program.Output();
  Keyboard keyboard;
  ASSERT_TRUE(keyboard.Focus(program.Pid()));
  keyboard.Type("ab");
  keyboard.Ctrl('s');
  EXPECT_TRUE(PumpUntil([&] { return ReadFile(first) == "CON\nab\n"; }, 10000)) << ReadFile(first);

  Child second({handed}, {});
  ASSERT_TRUE(PumpUntil([&] { return second.Exited(); }, 60000)) << second.Output();
  EXPECT_EQ(second.ExitCode(), 0);
  // The caption names the document in front once it is open.
  ASSERT_TRUE(PumpUntil([&] { return keyboard.Title(program.Pid()).rfind("handed.vorn2", 0) == 0; }, 10000))
      << keyboard.Title(program.Pid());
  ASSERT_TRUE(keyboard.Focus(program.Pid()));
  keyboard.Type("cd");
  keyboard.Ctrl('s');
  EXPECT_TRUE(PumpUntil([&] { return ReadFile(handed) == "VAR\ncd\n"; }, 10000)) << ReadFile(handed);
  EXPECT_EQ(ReadFile(first), "CON\nab\n");
  EXPECT_FALSE(program.Exited());
}

// A pipe handed over by a later start is refused with the message at once:
// the first start keeps answering, and the later one ends. The pipe's
// watchdog ends an open that waits for a writer.
TEST_F(ApplicationTest, APipeHandedOverByASecondStartIsRefusedAtOnce) {
  ShellOptions options = InProcess();
  options.singleInstance = true;
  ASSERT_EQ(Start(wxArrayString(), options), CQuillmarkShell::Start::Running);
  const std::string pipe = root_ + "/handed.vorn";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  shelltest::MessageBoxes boxes;
  testsupport::FifoWatchdog watchdog(pipe, std::chrono::seconds(3));
  Child second({pipe}, {});
  ASSERT_TRUE(PumpUntil([&] { return second.Exited() && (!boxes.texts.empty() || watchdog.Fired()); }, 60000))
      << second.Output();
  EXPECT_EQ(second.ExitCode(), 0);
  EXPECT_FALSE(watchdog.Fired()) << "the open waited for a writer";
  EXPECT_EQ(boxes.texts, std::vector<wxString>{"Failed to open given filename."});
  EXPECT_EQ(DocumentOf(pipe), nullptr);
  EXPECT_EQ(Documents().size(), 1u);
}

// The real program given a pipe on its command line shows the message box
// rather than waiting for a writer: a dialog window of its process appears.
TEST_F(ApplicationTest, TheProgramGivenAPipeShowsTheMessageAtOnce) {
  const std::string pipe = root_ + "/start.vorn";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  Child program({pipe}, {});
  Display* display = X11(XOpenDisplay)(nullptr);
  ASSERT_NE(display, nullptr);
  std::unique_ptr<Display, int (*)(Display*)> closer(display, X11(XCloseDisplay));
  const Atom typeAtom = X11(XInternAtom)(display, "_NET_WM_WINDOW_TYPE", False);
  const Atom dialogAtom = X11(XInternAtom)(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  // Whether the process's shown window is a dialog.
  const auto dialogShown = [&] {
    Window window = 0;
    if (WindowOf(display, DefaultRootWindow(display), program.Pid(), &window).IsEmpty()) return false;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    bool dialog = false;
    if (X11(XGetWindowProperty)(display, window, typeAtom, 0, 1, False, XA_ATOM, &type, &format, &count, &after,
                                &data) == Success && data) {
      dialog = count == 1 && *reinterpret_cast<Atom*>(data) == dialogAtom;
      X11(XFree)(data);
    }
    return dialog;
  };
  EXPECT_TRUE(PumpUntil([&] { return dialogShown() || program.Exited(); }, 60000)) << program.Output();
  EXPECT_TRUE(dialogShown()) << "no message box; the program " << (program.Exited() ? "ended" : "waits");
}

TEST(RecoveryStoreTest, RecordsRoundTripAndDamagedOnesAreSkipped) {
  RecoveryRecord record{wxString::FromUTF8("/a/\xC3\xA9.vorn"), "Vorn2Edit", std::string("x\0y\n\xFF\n", 6)};
  const std::string bytes = CRecoveryStore::Serialize(record);
  RecoveryRecord back;
  ASSERT_TRUE(CRecoveryStore::Parse(bytes, back));
  EXPECT_EQ(back.path, record.path);
  EXPECT_EQ(back.kind, record.kind);
  EXPECT_EQ(back.text, record.text);
  for (const std::string& damaged :
       {std::string(), bytes.substr(0, bytes.size() - 1), bytes + "x", "QUILLMARK-RECOVERY 2\n" + bytes.substr(21),
        std::string("QUILLMARK-RECOVERY 1\npath 99999999999999999999\n"),
        std::string("QUILLMARK-RECOVERY 1\npath -1\n\nkind 0\n\ntext 0\n\n")})
    EXPECT_FALSE(CRecoveryStore::Parse(damaged, back)) << damaged;
}

TEST_F(ApplicationTest, AutosaveKeepsModifiedDocumentsAndCleanExitLeavesNone) {
  ShellOptions options = InProcess();
  options.autosaveIntervalMs = 50;
  const std::string path = MakeSource("auto.vorn", "PUB go\n");
  ASSERT_EQ(Start(Files({path}), options), CQuillmarkShell::Start::Running);
  CRecoveryStore store(CQuillmarkShell::RecoveryFolder());
  EXPECT_TRUE(store.HasRunningMarker());
  PumpUntil([] { return false; }, 150);  // a few intervals with nothing modified
  EXPECT_TRUE(store.RecordFiles().empty());
  ColorEditWnd* editor = EditorOf(DocumentOf(path));
  editor->InsertText(L"CON\n");
  ASSERT_TRUE(PumpUntil([&] { return store.Load().size() == 1; }, 5000));
  const RecoveryRecord record = store.Load()[0];
  EXPECT_EQ(record.path, wxString::FromUTF8(path));
  EXPECT_EQ(record.kind, "Quillmark");
  EXPECT_EQ(record.text, editor->GetText());
  DocumentOf(path)->Save();  // saved: kept no more
  ASSERT_TRUE(PumpUntil([&] { return store.RecordFiles().empty(); }, 5000));
  editor->InsertText(L"VAR\n");
  ASSERT_TRUE(PumpUntil([&] { return store.Load().size() == 1; }, 5000));
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
    ASSERT_TRUE(store.Replace({{wxString::FromUTF8(path), "Vorn2Edit", unsaved}, {"", "Quillmark", "DAT"}}));
    CQuillmarkShell::Start result;
    wxTEST_DIALOG(result = Start(), wxExpectModal<wxMessageDialog>(answer).Describe("restore prompt"));
    ASSERT_EQ(result, CQuillmarkShell::Start::Running);
    if (answer == wxNO) {
      EXPECT_EQ(Documents().size(), 1u);
      EXPECT_TRUE(store.RecordFiles().empty());
    } else {
      ASSERT_EQ(Documents().size(), 3u);
      wxDocument* restored = DocumentOf(path);
      EXPECT_TRUE(IsSecond(restored));
      EXPECT_TRUE(restored && restored->IsModified());
      EXPECT_EQ(EditorOf(restored)->GetText(), unsaved);
      EXPECT_TRUE(EditorOf(restored)->m_undoStack.empty());
      wxDocument* untitled = Documents()[2];
      EXPECT_TRUE(IsFirst(untitled));
      EXPECT_TRUE(untitled->IsModified());
      EXPECT_FALSE(untitled->GetDocumentSaved());
      EXPECT_EQ(EditorOf(untitled)->GetText(), "DAT");
      EXPECT_EQ(store.Load().size(), 2u);  // kept again at once
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
  GetMainFrame()->Close();
  Pump();
  EXPECT_EQ(GetMainFrame(), nullptr);
  EXPECT_EQ(shell_->ExitInstance(), 0);
  shell_.reset();
  EXPECT_FALSE(store.HasRunningMarker());
  EXPECT_TRUE(store.RecordFiles().empty());
  EXPECT_EQ(Config().Read("/Recent File List/File1", ""), wxString::FromUTF8(path));
}

// Edits typed into the real program are kept by its autosave; after the
// process is killed the next start offers them back. The program's window is
// found wherever it opened, given the keyboard focus, and its editor clicked;
// every wait is a bounded poll for the condition.
TEST_F(ApplicationTest, KilledProgramsEditsAreOfferedAtTheNextStart) {
  const std::string path = MakeSource("killed.vorn", "CON\n  _tickmode = xthigh + mul16\n\nPUB main\n");
  Child program({path}, {"QUILLMARK_FIRST_PAINT=1", "QUILLMARK_TEST_AUTOSAVE_MS=100"});
  ASSERT_TRUE(program.FirstPaint(60000)) << program.Output();
  Display* display = X11(XOpenDisplay)(nullptr);
  ASSERT_NE(display, nullptr);
  std::unique_ptr<Display, int (*)(Display*)> closer(display, X11(XCloseDisplay));
  Window window = 0;
  wxRect area;
  const auto find = [&] {
    area = WindowOf(display, DefaultRootWindow(display), program.Pid(), &window).Intersect(wxGetDisplaySize());
    return !area.IsEmpty();
  };
  ASSERT_TRUE(PumpUntil(find, 10000));
  // The window shows many colours (text, shades, ribbon, panes): not blank.
  std::set<unsigned> colours;
  EXPECT_TRUE(PumpUntil(
      [&] {
        wxBitmap bitmap(area.width, area.height, 24);
        {
          wxScreenDC screen;
          wxMemoryDC dc(bitmap);
          dc.Blit(0, 0, area.width, area.height, &screen, area.x, area.y);
        }
        const wxImage image = bitmap.ConvertToImage();
        for (int y = 0; y < image.GetHeight(); y += 2)
          for (int x = 0; x < image.GetWidth(); x += 2)
            colours.insert(image.GetRed(x, y) << 16 | image.GetGreen(x, y) << 8 | image.GetBlue(x, y));
        return colours.size() >= 8;
      },
      10000));
  // Away from the corner where it opened: nothing below depends on the place.
  X11(XMoveWindow)(display, window, 211, 157);
  X11(XSync)(display, False);
  // Type into its editor: the window gets the keyboard focus and its middle,
  // the editor, a click; the autosave then keeps the edit.
  CRecoveryStore store(CQuillmarkShell::RecoveryFolder());
  ASSERT_TRUE(TypeUntilAutosaved(program.Pid(), store, "zq", 10, 5000)) << "the program did not keep the typed edit";
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
  EXPECT_EQ(ReadFile(path), "CON\n  _tickmode = xthigh + mul16\n\nPUB main\n");
}

}  // namespace
