// The file commands with the application's own doc manager and templates:
// Save asks for a name when the document's file is gone or read-only (from
// the key, the command and the chip commands), the Save As prompt's filters,
// and every way of opening refuses at once what is no regular file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <wx/filedlg.h>
#include <wx/log.h>
#include <wx/uiaction.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "app/DocManager.h"
#include "app/OutputWnd.h"
#include "support/ShellFixture.h"
#include "support/NonRegularFiles.h"

namespace fs = std::filesystem;
using shelltest::Pump;
using shelltest::PumpUntil;
using shelltest::ReadFile;

namespace {

// Answers file dialogs from a queue of paths (an empty path, or none left,
// cancels) and every other dialog with OK; notes what each showed.
class Dialogs : public wxModalDialogHook {
 public:
  struct Shown {
    bool fileDialog;
    wxString text;      // the file dialog's title, the message box's text
    wxString wildcard;  // the file dialog's filters
    bool save;          // a file dialog for saving
  };
  Dialogs() { Register(); }
  ~Dialogs() override { Unregister(); }
  std::vector<Shown> shown;
  std::deque<std::string> paths;

  std::vector<wxString> Messages() const {
    std::vector<wxString> texts;
    for (const Shown& s : shown)
      if (!s.fileDialog) texts.push_back(s.text);
    return texts;
  }

 protected:
  int Enter(wxDialog* dialog) override {
    auto* files = dynamic_cast<wxFileDialog*>(dialog);
    if (!files) {
      auto* box = dynamic_cast<wxMessageDialog*>(dialog);
      shown.push_back({false, box ? box->GetMessage() : dialog->GetTitle(), wxString(), false});
      return wxID_OK;
    }
    shown.push_back({true, files->GetMessage(), files->GetWildcard(), files->HasFlag(wxFD_SAVE)});
    const std::string path = paths.empty() ? std::string() : paths.front();
    if (!paths.empty()) paths.pop_front();
    if (path.empty()) return wxID_CANCEL;
    const wxString name = wxString::FromUTF8(path);
    files->SetPath(name);
    PumpUntil([&] { return files->GetPath() == name; }, 5000);
    EXPECT_EQ(files->GetPath(), name);
    return wxID_OK;
  }
  void Exit(wxDialog*) override {}
};

class FileCommandsTest : public shelltest::DocFrameTest {
 protected:
  void SetUp() override {
    oldLog_ = wxLog::SetActiveTarget(&log_);  // what wx logs goes to the output, not into a dialog
    DocFrameTest::SetUp();
  }
  void TearDown() override {
    DocFrameTest::TearDown();
    wxLog::SetActiveTarget(oldLog_);
  }
  void MakeManager() override {
    auto* manager = new CQuillmarkDocManager();
    manager_ = manager;
    first_ = new CQuillmarkDocTemplate(manager, ids::IDR_QuillmarkTYPE, wxCLASSINFO(CQuillmarkDoc),
                                       wxCLASSINFO(CQuillmarkView));
    second_ = new CQuillmarkDocTemplate(manager, ids::IDR_Vorn2EditTYPE, wxCLASSINFO(CVorn2EditDoc),
                                        wxCLASSINFO(CVorn2EditView));
  }

  // Inserts `text` at the start of the document's editor.
  static void Edit(CSourceDoc* doc, const std::wstring& text) {
    ViewOf(doc)->m_pEditor->SetSelection(0, 0, 0, 0);
    ViewOf(doc)->m_pEditor->InsertText(text);
  }
  // A document of a file whose editor then holds an edit the file lacks.
  CSourceDoc* OpenAndEdit(const std::string& name) {
    CSourceDoc* doc = Open(WriteFile(name, "CON 'a\nPUB b\n"));
    if (doc) Edit(doc, L"DAT\n");
    return doc;
  }
  static void Gone(const std::string& path) { fs::remove(path); }
  static void ReadOnly(const std::string& path) { ::chmod(path.c_str(), 0444); }

  wxLogStderr log_;
  wxLog* oldLog_ = nullptr;
};

const char kEdited[] = "DAT\nCON 'a\nPUB b\n";

// A file that is gone or read-only is not written behind the user's back:
// Save, from Ctrl+S as a real key or from the command, asks for a name under
// the kind's filter. Cancel writes nothing; a name saves there, and the next
// Save writes that file without asking.
TEST_F(FileCommandsTest, SaveAsksForANameWhenTheFileIsGoneOrReadOnly) {
  const auto key = [this](CSourceDoc* doc) {
    ViewOf(doc)->m_pEditor->SetFocus();
    Pump();
    ASSERT_TRUE(ViewOf(doc)->m_pEditor->HasFocus());
    wxUIActionSimulator keys;
    keys.Char('S', wxMOD_CONTROL);
    Pump();
  };
  const auto command = [this](CSourceDoc*) {
    ASSERT_TRUE(frame_->ExecuteCommand(ids::ID_FILE_SAVE));
    Pump();
  };
  const struct {
    const char *name, *saveAs;
    bool gone;
    bool byKey;
    const char* filter;
  } cases[] = {{"gone.vorn", "named.vorn", true, true, "Vorn1 Files (*.vorn)|*.vorn"},
               {"locked.vorn", "other.vorn", false, true, "Vorn1 Files (*.vorn)|*.vorn"},
               {"gone.vorn2", "named.vorn2", true, false, "Vorn2 Files (*.vorn2)|*.vorn2"},
               {"locked.vorn2", "other.vorn2", false, false, "Vorn2 Files (*.vorn2)|*.vorn2"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Path(c.name), named = Path(c.saveAs);
    CSourceDoc* doc = OpenAndEdit(c.name);
    ASSERT_NE(doc, nullptr);
    c.gone ? Gone(path) : ReadOnly(path);
    const auto save = [&] { c.byKey ? key(doc) : command(doc); };

    Dialogs dialogs;
    save();  // cancelled
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].fileDialog && dialogs.shown[0].save);
    EXPECT_EQ(dialogs.shown[0].text, "Save As");
    EXPECT_EQ(dialogs.shown[0].wildcard, c.filter);
    EXPECT_EQ(fs::exists(path), !c.gone);
    if (!c.gone) {
      EXPECT_EQ(ReadFile(path), "CON 'a\nPUB b\n");
    }
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetFilename(), wxString::FromUTF8(path));

    dialogs.paths = {named};
    save();  // saved under the new name
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].wildcard, c.filter);
    EXPECT_EQ(ReadFile(named), kEdited);
    EXPECT_EQ(fs::exists(path), !c.gone);
    if (!c.gone) {
      EXPECT_EQ(ReadFile(path), "CON 'a\nPUB b\n");
    }
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetFilename(), wxString::FromUTF8(named));
    EXPECT_EQ(doc->GetUserReadableName(), c.saveAs);
    EXPECT_EQ(manager_->GetHistoryFile(0), wxString::FromUTF8(named));

    Edit(doc, L"VAR\n");
    save();  // the named file is there and writable: no question
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(ReadFile(named), std::string("VAR\n") + kEdited);
    EXPECT_TRUE(dialogs.Messages().empty());
    Drop(doc);
  }
}

// The chip commands save first: with the file gone a cancelled prompt ends the
// command with the Build list as it was and nothing re-created; a name given
// saves there and the command goes on with the new name.
TEST_F(FileCommandsTest, ChipCommandsAskForANameWhenTheFileIsGone) {
  COutputList* build = frame_->m_wndOutput->m_wndOutputBuild;
  const struct {
    const char* name;
    int command;
  } cases[] = {{"chip.vorn", ids::ID_TarnCompile}, {"chip.vorn", ids::ID_ButtonLoadRam},
               {"chip.vorn", ids::ID_TarnLoadEeprom}, {"chip.vorn2", ids::ID_TarnCompile},
               {"chip.vorn2", ids::ID_ButtonLoadRam}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << " " << c.command);
    CSourceDoc* doc = OpenAndEdit(c.name);
    ASSERT_NE(doc, nullptr);
    Gone(Path(c.name));
    build->ResetContent();
    build->AddString(L"earlier");
    Dialogs dialogs;  // answers Load RAM's port dialog with OK, the name prompt with Cancel
    wxCommandEvent run(wxEVT_MENU, c.command);
    EXPECT_TRUE(ViewOf(doc)->ProcessEvent(run));
    Pump();
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_TRUE(dialogs.shown.back().fileDialog && dialogs.shown.back().save);
    ASSERT_EQ(build->GetCount(), 1u);
    EXPECT_EQ(build->GetString(0), L"earlier");
    EXPECT_FALSE(fs::exists(Path(c.name)));
    EXPECT_TRUE(doc->IsModified());
    Drop(doc);
  }

  // Given a name, the second generation's compiler runs on the new file.
  wxChmod(WriteFile("t2asm.exe", "#!/bin/sh\necho \"compiled $1\"\n"), 0755);
  CSourceDoc* doc = OpenAndEdit("chip.vorn2");
  ASSERT_NE(doc, nullptr);
  Gone(Path("chip.vorn2"));
  Dialogs dialogs;
  dialogs.paths = {Path("renamed.vorn2")};
  wxCommandEvent compile(wxEVT_MENU, ids::ID_TarnCompile);
  EXPECT_TRUE(ViewOf(doc)->ProcessEvent(compile));
  EXPECT_EQ(ReadFile(Path("renamed.vorn2")), kEdited);
  EXPECT_FALSE(fs::exists(Path("chip.vorn2")));
  ASSERT_EQ(build->GetCount(), 4u);
  EXPECT_EQ(build->GetString(0), L"Creating output files in temp directory.");
  EXPECT_EQ(build->GetString(3), L"compiled renamed.vorn2");
}

// File Open, the recent-file list and the hand-over of files from a drop or
// a later start (OpenFiles) all refuse a pipe, a socket, a device and a
// folder with the message, at once; a refused recent file leaves the list.
// The pipe's watchdog ends an open that waits for a writer.
TEST_F(FileCommandsTest, EveryWayOfOpeningRefusesWhatIsNoRegularFileAtOnce) {
  const std::string pipe = Path("pipe.vorn");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  const int socket = testsupport::BindSocket(Path("socket.vorn"));
  ASSERT_GE(socket, 0);
  ASSERT_TRUE(fs::create_directory(Path("folder.vorn")));
  const std::string regular = WriteFile("regular.vorn", "PUB a\n");
  manager_->AddFileToHistory(wxString::FromUTF8(regular));

  enum Way { FileOpen, Recent, Handed };
  for (Way way : {FileOpen, Recent, Handed}) {
    for (const std::string& path : {pipe, Path("socket.vorn"), std::string("/dev/null"), Path("folder.vorn")}) {
      SCOPED_TRACE(testing::Message() << "way " << way << " " << path);
      const wxString name = wxString::FromUTF8(path);
      Dialogs dialogs;
      const auto start = std::chrono::steady_clock::now();
      {
        testsupport::FifoWatchdog watchdog(pipe, std::chrono::seconds(3));
        if (way == FileOpen) {
          dialogs.paths = {path};
          wxCommandEvent open(wxEVT_MENU, wxID_OPEN);
          manager_->ProcessEvent(open);
        } else if (way == Recent) {
          manager_->AddFileToHistory(name);
          ASSERT_TRUE(frame_->ExecuteCommand(ids::ID_FILE_MRU_FILE1));
        } else {
          EXPECT_FALSE(dynamic_cast<CQuillmarkDocManager*>(manager_)->OpenFiles(wxArrayString(1, &name)));
        }
        Pump();
        EXPECT_FALSE(watchdog.Fired()) << "the open waited for a writer";
      }
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
      EXPECT_EQ(dialogs.Messages(), std::vector<wxString>{"Failed to open given filename."});
      EXPECT_TRUE(manager_->GetDocumentsVector().empty());
      // The refused file left the recent-file list; the regular one stays.
      ASSERT_EQ(manager_->GetHistoryFilesCount(), 1u);
      EXPECT_EQ(manager_->GetHistoryFile(0), wxString::FromUTF8(regular));
    }
  }
  ::close(socket);
}

}  // namespace
