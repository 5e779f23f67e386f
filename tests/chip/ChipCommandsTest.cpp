// The chip commands against fake tools in a sandbox: each tool's arguments and
// folder, the Build list, saves first, failed starts, hostile names, the port
// dialog, and windows that keep painting while a tool runs.
#include "chip/GalvectRunner.h"
#include "chip/PortDialog.h"
#include "chip/ToolRun.h"
#include "chip/Vorn2Commands.h"
#include "res/ResourceIds.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::wstring>;
using Args = std::vector<std::string>;

const std::string kLib = "C:\\Program Files (x86)\\Veltrane Inc\\Tarnwick Tool v1.3.2\\Library";

// Fails any dialog no test answers (it would wait for a user forever) and wx
// asserts. Registered first, so wxTEST_DIALOG's hooks see expected dialogs first.
bool realDialogs = false;
class DialogGuard : public wxModalDialogHook, public ::testing::Environment {
  int Enter(wxDialog* dialog) override {
    if (!realDialogs) ADD_FAILURE() << "unexpected dialog: " << dialog->GetTitle().ToStdString();
    return realDialogs ? wxID_NONE : wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
  void SetUp() override {
    Register();
    wxSetAssertHandler([](const wxString& file, int line, const wxString&, const wxString& cond, const wxString& msg) {
      ADD_FAILURE() << file.ToStdString() << ":" << line << " " << cond.ToStdString() << " " << msg.ToStdString();
    });
  }
  void TearDown() override { Unregister(); }
};
const auto* const kGuard = ::testing::AddGlobalTestEnvironment(new DialogGuard);

std::wstring Wide(const std::string& utf8) { return wxString::FromUTF8(utf8).ToStdWstring(); }
std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

struct FakeDocument : ChipDocument {
  std::wstring path, title, pathAfterSave, titleAfterSave;  // the last two: what a save names an untitled one
  bool saveSucceeds = true;
  int saves = 0;
  bool Save() override {
    ++saves;
    if (saveSucceeds && !pathAfterSave.empty()) path = pathAfterSave, title = titleAfterSave;
    return saveSucceeds;
  }
  std::wstring PathName() override { return path; }
  std::wstring Title() override { return title; }
};

struct FakeBuildList : BuildList {
  Lines lines;
  void ResetContent() override { lines.clear(); }
  void AddString(const std::wstring& line) override { lines.push_back(line); }
};

template <class D>
class Answer : public wxExpectModalBase<D, Answer<D>> {
 public:
  explicit Answer(std::function<int(D*)> act) : act_(std::move(act)) {}

 protected:
  int OnInvoked(D* dialog) const override { return act_(dialog); }
  std::function<int(D*)> act_;
};

// A warning box captioned "Quillmark", answered with OK; keeps its text.
Answer<wxMessageDialog> Message(std::wstring* text) {
  return Answer<wxMessageDialog>([text](wxMessageDialog* box) {
    *text = box->GetMessage().ToStdWstring();
    EXPECT_EQ(box->GetTitle(), "Quillmark");
    EXPECT_TRUE(box->GetMessageDialogStyle() & wxICON_WARNING);
    return wxID_OK;
  });
}
// The port dialog: keeps the port it offered, picks `pick` (0: none), ends with `result`.
Answer<PortDialog> Port(int pick = 0, int result = wxID_OK, int* offered = nullptr) {
  return Answer<PortDialog>([=](PortDialog* dialog) {
    if (offered) *offered = dialog->m_nPort;
    if (pick) dialog->m_nPort = pick, dialog->m_strPort = L"COM" + std::to_wstring(pick);
    return result;
  });
}

// The Build list of a run: two progress lines, then the tool's header and report.
Lines Progress(const std::wstring& tool) {
  return {L"Creating output files in temp directory.", L"Invoking " + tool + L" to compile program."};
}
Lines Report(const std::wstring& tool, const Lines& report, const wchar_t* last = nullptr) {
  Lines lines = Progress(tool);
  lines.push_back(tool + L" output:");
  lines.insert(lines.end(), report.begin(), report.end());
  if (last) lines.push_back(last);
  return lines;
}
const Lines kAssembled = {L"assembled blink.vorn2", L"", L"bytes: 12"};
const wchar_t kLoading[] = L"Invoking LoadT2 to load T2.";

// A sandbox whose program and document folders have names a shell would act
// on: a quoting fault runs "touch PWNED..." there, which TearDown finds.
class ChipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qmchip.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = fs::canonical(pattern).string();
    prog_ = root_ + "/prog $(touch PWNED1);`touch PWNED2`'q";
    docs_ = root_ + "/docs &touch PWNED3 \"x\"";
    for (const std::string& dir : {prog_, docs_, bin_ = root_ + "/bin", rec_ = root_ + "/rec"})
      fs::create_directories(dir);
    savedPath_ = std::getenv("PATH");
    setenv("PATH", (bin_ + ":" + savedPath_).c_str(), 1);
    chip::SetProgramFolderForTesting(Wide(prog_));
    WriteTool(prog_, "Galvect.exe", "printf 'report of %s\\n' \"$*\"");
    // The second-generation tools lie beside the document, found there after the search path.
    WriteTool(docs_, "t2asm.exe", "printf 'assembled %s\\n\\nbytes: 12' \"$1\"");
    WriteTool(docs_, "loadt2.exe", "echo loader output is not shown");
    doc_.path = Wide(docs_ + "/blink.vorn2");
    doc_.title = L"blink.vorn2";
  }
  void TearDown() override {
    for (const auto& entry : fs::recursive_directory_iterator(root_))
      EXPECT_NE(entry.path().filename().string().rfind("PWNED", 0), 0u) << entry.path() << ": a name ran";
    setenv("PATH", savedPath_.c_str(), 1);
    chip::SetProgramFolderForTesting(std::wstring());
    platform::SetCommandProcessorForTesting(std::string());
    fs::remove_all(root_);
  }

  // A tool that records each run in the file rec/<name>.<n>: its folder, then
  // its arguments, each ended by a NUL; then it runs `body`.
  void WriteTool(const std::string& folder, const std::string& name, const std::string& body = "") {
    Write(folder + "/" + name, "#!/bin/sh\nrec=" + platform::QuoteForCommandProcessor(rec_ + "/" + name) +
                                   "\nn=1; while [ -e \"$rec.$n\" ]; do n=$((n+1)); done\n"
                                   "for a in \"$(pwd -P)\" \"$@\"; do printf '%s\\000' \"$a\"; done > \"$rec.$n\"\n" +
                                   body + "\n");
    fs::permissions(folder + "/" + name, fs::perms::owner_all);
  }
  int Runs(const std::string& tool) const {
    int n = 0;
    while (fs::exists(rec_ + "/" + tool + "." + std::to_string(n + 1))) ++n;
    return n;
  }
  // What run `run` of `tool` saw: its folder, then its arguments.
  Args Seen(const std::string& tool, int run = 1) const {
    Args seen(1);
    for (char c : Read(rec_ + "/" + tool + "." + std::to_string(run)))
      if (c) seen.back() += c;
      else seen.emplace_back();
    seen.pop_back();
    return seen;
  }

  std::string root_, prog_, docs_, bin_, rec_, savedPath_;
  FakeDocument doc_;
  FakeBuildList list_;
};

TEST_F(ChipTest, GalvectGetsEachModesArgumentsInTheProgramFolderAndItsReportGoesToTheBuildList) {
  const std::string doc = docs_ + "/blink.vorn2";
  const std::pair<const wchar_t*, Args> cases[] = {{L"Compile", {"/COMPILE", "/LIB", kLib, "/GUI", "ON", doc}},
                                                   {L"LoadRam", {"/LIB", kLib, "/GUI", "ON", doc}},
                                                   {L"LoadEeprom", {"/LIB", kLib, "/GUI", "ON", "/EEPROM", doc}},
                                                   {L"ID", {"/ID"}}};
  std::string report;
  for (int run = 1; run <= 4; ++run) {
    const auto& [mode, args] = cases[run - 1];
    SCOPED_TRACE(run);
    list_.lines = {L"earlier"};
    RunGalvect(mode, doc_, list_);
    Args seen = {prog_};
    seen.insert(seen.end(), args.begin(), args.end());
    ASSERT_EQ(Runs("Galvect.exe"), run);
    EXPECT_EQ(Seen("Galvect.exe", run), seen);
    EXPECT_EQ(doc_.saves, std::min(run, 3));  // Find saves nothing, shows nothing, redirects nothing
    if (run < 4) report = "report of";
    for (const std::string& arg : args) report += run < 4 ? " " + arg : "";
    EXPECT_EQ(list_.lines, run < 4 ? Report(L"Galvect", {Wide(report)}) : Lines{L"earlier"});
    EXPECT_EQ(Read(prog_ + "/galvect.out"), report + "\n");
  }
}

TEST_F(ChipTest, TheBuildListShowsTheReportLineByLineAndEachRunReplacesTheLast) {
  // Empty lines, CR LF, a lone CR, bytes above 0x7F, a NUL, a line longer
  // than one read, and a last line without LF.
  WriteTool(prog_, "Galvect.exe",
            "printf 'first\\r\\n\\nthird \\351\\374\\032\\n\\na\\000b\\nlone\\rcr\\n'; "
            "head -c 20000 /dev/zero | tr '\\000' x; printf '\\nend\\r'");
  RunGalvect(L"Compile", doc_, list_);
  EXPECT_EQ(list_.lines, Report(L"Galvect", {L"first", L"", L"third \xE9\xFC\x1A", L"", std::wstring(L"a\0b", 3),
                                             L"lone\rcr", std::wstring(20000, L'x'), L"end\r"}));
  WriteTool(prog_, "Galvect.exe", "echo second run");
  RunGalvect(L"LoadRam", doc_, list_);
  EXPECT_EQ(list_.lines, Report(L"Galvect", {L"second run"}));
  WriteTool(prog_, "Galvect.exe");
  RunGalvect(L"LoadEeprom", doc_, list_);
  EXPECT_EQ(list_.lines, Report(L"Galvect", {}));
}

TEST_F(ChipTest, AnOutputFileTheToolDidNotWriteIsReportedMissingOrShownAsItStands) {
  WriteTool(bin_, "idle-sh");  // a command processor that runs nothing: no redirection happens
  platform::SetCommandProcessorForTesting(bin_ + "/idle-sh");
  RunGalvect(L"Compile", doc_, list_);
  EXPECT_EQ(list_.lines, Report(L"Galvect", {L"Output file cannot be opened."}));
  Vorn2Compile(doc_, list_);
  EXPECT_EQ(list_.lines, Report(L"T2ASM", {L"Output file cannot be opened."}));
  Write(prog_ + "/galvect.out", "stale 1\nstale 2\n");
  Write(docs_ + "/t2asm.out", "stale 1\nstale 2\n");
  RunGalvect(L"LoadRam", doc_, list_);
  EXPECT_EQ(list_.lines, Report(L"Galvect", {L"stale 1", L"stale 2"}));
  Vorn2Compile(doc_, list_);
  EXPECT_EQ(list_.lines, Report(L"T2ASM", {L"stale 1", L"stale 2"}));
  EXPECT_EQ(Read(prog_ + "/galvect.out"), "stale 1\nstale 2\n");
  EXPECT_EQ(Runs("loadt2.exe"), 0);  // compiling loads nothing
}

TEST_F(ChipTest, CommandsBuildUnderTheNameTheSaveGaveAndARefusedSaveStartsNothing) {
  const std::string sub = docs_ + "/sub";
  fs::create_directories(sub);
  WriteTool(sub, "t2asm.exe");
  WriteTool(sub, "loadt2.exe");
  int port = 2;
  for (bool galvect : {true, false}) {
    doc_.path.clear();
    doc_.title = L"Untitled1";
    doc_.pathAfterSave = Wide(sub + "/fresh.vorn2");
    doc_.titleAfterSave = L"fresh.vorn2";
    if (galvect) {
      RunGalvect(L"Compile", doc_, list_);
    } else {
      wxTEST_DIALOG(Vorn2LoadRam(port, doc_, list_, nullptr), Port());
    }
  }
  EXPECT_EQ(Seen("Galvect.exe"), (Args{prog_, "/COMPILE", "/LIB", kLib, "/GUI", "ON", sub + "/fresh.vorn2"}));
  EXPECT_EQ(Seen("t2asm.exe"), (Args{sub, "fresh.vorn2"}));
  EXPECT_EQ(Seen("loadt2.exe"), (Args{sub, "-p", "COM2", "fresh.bin"}));

  doc_.saveSucceeds = false;
  list_.lines = {L"kept"};
  for (const wchar_t* mode : {L"Compile", L"LoadRam", L"LoadEeprom"}) RunGalvect(mode, doc_, list_);
  Vorn2Compile(doc_, list_);
  wxTEST_DIALOG(Vorn2LoadRam(port, doc_, list_, nullptr), Port(3));
  EXPECT_EQ(port, 3);  // the pick is kept though nothing ran
  EXPECT_EQ(doc_.saves, 2 + 5);
  EXPECT_EQ(Runs("Galvect.exe") + Runs("t2asm.exe") + Runs("loadt2.exe"), 3);
  RunGalvect(L"ID", doc_, list_);  // Find needs no save: it runs without asking anything
  EXPECT_EQ(doc_.saves, 7);
  EXPECT_EQ(Seen("Galvect.exe", 2), (Args{prog_, "/ID"}));
  EXPECT_EQ(list_.lines, Lines{L"kept"});
}

TEST_F(ChipTest, HostileNamesReachEachToolAsOneArgumentAndNothingInThemRuns) {
  struct Case {
    std::string title, binary;
  };
  const auto named = [](const std::string& stem) { return Case{stem + ".vorn2", stem + ".bin"}; };
  const Case cases[] = {
      named("with  blanks"), named("it's \"quoted\" ''"), named("$(touch PWNED4) `touch PWNED5` $HOME"),
      named("a;touch PWNED6;b&touch PWNED7|touch PWNED8"), named("two\ntouch PWNED9\n"), named("back\\slash\\ *"),
      named("gr\xC3\xBC\xC3\x9F" "e"), named("dots.in.name"), {"no extension", "no extension.bin"}};
  int port = 2, run = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    ++run;
    doc_.path = Wide(docs_ + "/" + c.title);
    doc_.title = Wide(c.title);
    RunGalvect(L"LoadEeprom", doc_, list_);
    wxTEST_DIALOG(Vorn2LoadRam(port, doc_, list_, nullptr), Port());
    ASSERT_EQ(Runs("Galvect.exe") + Runs("t2asm.exe") + Runs("loadt2.exe"), 3 * run);
    EXPECT_EQ(Seen("Galvect.exe", run), (Args{prog_, "/LIB", kLib, "/GUI", "ON", "/EEPROM", docs_ + "/" + c.title}));
    EXPECT_EQ(Seen("t2asm.exe", run), (Args{docs_, c.title}));
    EXPECT_EQ(Seen("loadt2.exe", run), (Args{docs_, "-p", "COM2", c.binary}));
  }
}

TEST_F(ChipTest, AToolThatCannotStartIsReportedWithItsErrorNumberAndEndsTheCommand) {
  Write(bin_ + "/plain-file", "");
  const auto noShell = [] { platform::SetCommandProcessorForTesting("/nonexistent/sh"); };
  int port = 2;
  const auto compile = [this](std::wstring* text) { wxTEST_DIALOG(RunGalvect(L"Compile", doc_, list_), Message(text)); };
  const auto loadRam = [&](std::wstring* text) { wxTEST_DIALOG(Vorn2LoadRam(port, doc_, list_, nullptr), Port(), Message(text)); };
  const struct {
    const char* what;
    std::function<void()> arrange;
    std::function<void(std::wstring*)> run;
    std::wstring message;
    Lines lines;
  } cases[] = {
      {"no command processor", noShell, compile, L"Error running Galvect.exe:  2", Progress(L"Galvect")},
      {"no program folder", [this] { chip::SetProgramFolderForTesting(Wide(root_ + "/gone")); }, compile,
       L"Error running Galvect.exe:  2", Progress(L"Galvect")},
      {"command processor not executable", [this] { platform::SetCommandProcessorForTesting(bin_ + "/plain-file"); },
       compile, L"Error running Galvect.exe:  13", Progress(L"Galvect")},
      {"Find", noShell, [this](std::wstring* text) { wxTEST_DIALOG(RunGalvect(L"ID", doc_, list_), Message(text)); },
       L"Error running Galvect.exe:  2", {L"earlier"}},
      {"compile", noShell, [this](std::wstring* text) { wxTEST_DIALOG(Vorn2Compile(doc_, list_), Message(text)); },
       L"Error running t2asm.exe:  2", Progress(L"T2ASM")},
      {"Load RAM's compile", noShell, loadRam, L"Error running t2asm.exe:  2", Progress(L"T2ASM")},
      {"no loader", [this] { fs::remove(docs_ + "/loadt2.exe"); }, loadRam, L"Error running loadt2.exe:  2",
       Report(L"T2ASM", kAssembled, kLoading)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    list_.lines = {L"earlier"};
    c.arrange();
    std::wstring message;
    c.run(&message);
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(list_.lines, c.lines);
    platform::SetCommandProcessorForTesting(std::string());
    chip::SetProgramFolderForTesting(Wide(prog_));
  }
  EXPECT_EQ(Runs("Galvect.exe") + Runs("loadt2.exe"), 0);
  EXPECT_EQ(Runs("t2asm.exe"), 1);
}

TEST_F(ChipTest, LoadRamOffersTheStoredPortKeepsThePickAndCancelDoesNothing) {
  const struct {
    int pick, result, offered, portAfter;
  } steps[] = {{0, wxID_OK, 2, 2}, {5, wxID_OK, 2, 5}, {0, wxID_OK, 5, 5}, {7, wxID_CANCEL, 5, 5}};
  int port = 2, runs = 0;
  for (const auto& s : steps) {
    SCOPED_TRACE(s.pick);
    int offered = 0;
    wxTEST_DIALOG(Vorn2LoadRam(port, doc_, list_, nullptr), Port(s.pick, s.result, &offered));
    EXPECT_EQ(offered, s.offered);
    EXPECT_EQ(port, s.portAfter);
    runs += s.result == wxID_OK;
    ASSERT_EQ(Runs("t2asm.exe") + Runs("loadt2.exe"), 2 * runs);
    EXPECT_EQ(doc_.saves, runs);
    EXPECT_EQ(list_.lines, Report(L"T2ASM", kAssembled, kLoading));  // each run starts afresh; Cancel leaves it
    EXPECT_EQ(Seen("t2asm.exe", runs), (Args{docs_, "blink.vorn2"}));
    EXPECT_EQ(Seen("loadt2.exe", runs), (Args{docs_, "-p", "COM" + std::to_string(s.portAfter), "blink.bin"}));
  }
}

// While a tool runs every window is disabled (no second command can start)
// but timers run and windows repaint; the focus comes back afterwards.
TEST_F(ChipTest, WindowsKeepPaintingButTakeNoInputWhileTheToolRuns) {
  const std::string marker = platform::QuoteForCommandProcessor(root_ + "/running");
  WriteTool(prog_, "Galvect.exe", "touch " + marker + "; sleep 1; rm " + marker + "; echo done");
  wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "painting", wxPoint(0, 0), wxSize(300, 200));
  wxWindow* canvas = new wxWindow(frame, wxID_ANY, wxPoint(0, 40), wxSize(300, 160));
  wxTextCtrl* text = new wxTextCtrl(frame, wxID_ANY, "", wxPoint(0, 0), wxSize(300, 30));
  const auto running = [&] { return fs::exists(root_ + "/running"); };
  int paints = 0, ticks = 0, enabled = 0;
  canvas->Bind(wxEVT_PAINT, [&](wxPaintEvent&) {
    wxPaintDC dc(canvas);
    paints += running();
  });
  frame->Show();
  for (int i = 0; i < 10 && wxWindow::FindFocus() != text; ++i, wxMilliSleep(20)) text->SetFocus(), wxTheApp->Yield(true);
  ASSERT_EQ(wxWindow::FindFocus(), text);
  wxTimer timer;
  timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (running()) ++ticks, enabled += frame->IsEnabled(), canvas->Refresh();
  });
  timer.Start(40);
  RunGalvect(L"Compile", doc_, list_);
  timer.Stop();
  EXPECT_GT(ticks, 3);
  EXPECT_GT(paints, 0);
  EXPECT_EQ(enabled, 0);
  EXPECT_TRUE(frame->IsEnabled());
  wxTheApp->Yield(true);
  EXPECT_EQ(wxWindow::FindFocus(), text);
  EXPECT_EQ(list_.lines, Report(L"Galvect", {L"done"}));
  frame->Destroy();
  wxTheApp->Yield(true);
}

TEST(ChipPathsTest, FoldersAtTheRootNamesEndingInADotAndTheProgramsOwnFolder) {
  EXPECT_EQ(chip::RemoveLastComponent(L"/blink.vorn2"), L"/");
  EXPECT_EQ(chip::RemoveLastComponent(L"blink.vorn2"), L"");
  EXPECT_EQ(chip::FileInFolder("/", "t2asm.out"), "/t2asm.out");
  EXPECT_EQ(chip::FileInFolder("", "t2asm.out"), "t2asm.out");
  EXPECT_EQ(chip::RemoveExtension(L"trailing."), L"trailing");
  EXPECT_EQ(chip::ProgramFolder(), fs::canonical("/proc/self/exe").parent_path().wstring());
}

// The port dialog run for real: its list, preselection, a pick then OK, a
// pick then Esc or the close box, ports outside the list.
TEST(PortDialogTest, OffersNinePortsPreselectsTheGivenOneAndEndsAsAsked) {
  enum End { kOk, kEscape, kCloseBox };
  const struct {
    int port, pick;  // pick: an index into the list, -1 none
    End end;
    int result, selection, portAfter;
    const wchar_t* text;
  } cases[] = {{2, -1, kOk, wxID_OK, 1, 2, L""},           {1, -1, kOk, wxID_OK, 0, 1, L""},
               {9, -1, kOk, wxID_OK, 8, 9, L""},           {0, -1, kOk, wxID_OK, wxNOT_FOUND, 0, L""},
               {10, -1, kOk, wxID_OK, wxNOT_FOUND, 10, L""}, {-3, -1, kOk, wxID_OK, wxNOT_FOUND, -3, L""},
               {2, 6, kOk, wxID_OK, 1, 7, L"COM7"},        {2, 4, kEscape, wxID_CANCEL, 1, 0, L""},
               {2, 4, kCloseBox, wxID_CANCEL, 1, 0, L""}};
  realDialogs = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.port << " " << c.pick << " " << c.end);
    PortDialog dialog;
    dialog.m_nPort = c.port;
    int selection = -2, waited = 0;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
      if (!dialog.IsModal() || (selection != -2 && ++waited < 100)) return;
      if (selection != -2) {  // acted on, yet still shown
        ADD_FAILURE() << "the dialog did not end";
        return dialog.EndModal(wxID_ABORT);
      }
      selection = dialog.m_comboPort->GetSelection();
      wxCommandEvent pick(wxEVT_CHOICE, ids::IDC_COMBO_PORT), ok(wxEVT_BUTTON, wxID_OK);
      wxKeyEvent escape(wxEVT_CHAR_HOOK);
      escape.m_keyCode = WXK_ESCAPE;
      pick.SetInt(c.pick);
      if (c.pick >= 0) dialog.m_comboPort->Command(pick);
      if (c.end == kOk) dialog.OkButton()->Command(ok);
      if (c.end == kEscape) dialog.ProcessWindowEvent(escape);
      if (c.end == kCloseBox) dialog.Close();
    });
    timer.Start(30);
    EXPECT_EQ(dialog.ShowModal(), c.result);
    EXPECT_EQ(selection, c.selection);
    if (c.result == wxID_OK) {
      EXPECT_EQ(dialog.m_nPort, c.portAfter);
      EXPECT_EQ(dialog.m_strPort, c.text);
    }
  }
  realDialogs = false;
  PortDialog dialog;
  ASSERT_EQ(dialog.m_comboPort, dialog.FindWindow(ids::IDC_COMBO_PORT));
  ASSERT_EQ(dialog.m_comboPort->GetCount(), 9u);
  for (unsigned i = 0; i < 9; ++i) EXPECT_EQ(dialog.m_comboPort->GetString(i), wxString::Format("COM%u", i + 1));
  EXPECT_EQ(dialog.GetId(), ids::IDD_PORT);
  EXPECT_EQ(dialog.GetTitle(), "Pick COM Port");
  EXPECT_EQ(dialog.FindWindow(wxID_STATIC)->GetLabel(), "Select COM port from list:");
  EXPECT_EQ(dialog.FindWindow(wxID_OK)->GetLabel(), "OK");
  EXPECT_EQ(dialog.GetDefaultItem(), dialog.FindWindow(wxID_OK));
  EXPECT_TRUE(dialog.FindWindow(wxID_OK)->IsShown());
  EXPECT_FALSE(dialog.FindWindow(wxID_CANCEL)->IsShown());
  EXPECT_EQ(dialog.GetClientSize(), dialog.ConvertDialogToPixels(wxSize(207, 104)));
}

}  // namespace
