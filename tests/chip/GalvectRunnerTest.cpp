// The first-generation commands: Galvect.exe's argument vectors, command lines
// and working folder, the Build list, refused saves, failed starts, names that
// must not run, and windows that keep painting while the tool runs.
#include "ChipTestSupport.h"

#include "chip/GalvectRunner.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <filesystem>

namespace chiptest {
namespace {

const std::string kLibrary = "C:\\Program Files (x86)\\Veltrane Inc\\Tarnwick Tool v1.3.2\\Library";
const std::vector<std::wstring> kProgress = {L"Creating output files in temp directory.",
                                             L"Invoking Galvect to compile program."};

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

class GalvectTest : public ChipToolTest {
 protected:
  void SetUp() override {
    ChipToolTest::SetUp();
    WriteTool(prog_, "Galvect.exe", "galvect", "printf 'report of %s\\n' \"$*\"");
  }
  std::string DocPath() const { return docs_ + "/blink.vorn"; }
  std::vector<std::wstring> Expected(std::vector<std::wstring> tail) const {
    std::vector<std::wstring> lines = kProgress;
    lines.push_back(L"Galvect output:");
    lines.insert(lines.end(), tail.begin(), tail.end());
    return lines;
  }
};

TEST_F(GalvectTest, EachModeGivesTheToolItsOptionsInOrderAndWorksInTheProgramFolder) {
  struct Case {
    const wchar_t* mode;
    std::vector<std::string> args;
    bool saves;
  };
  const std::string doc = DocPath();
  const std::vector<Case> cases = {
      {L"Compile", {"/COMPILE", "/LIB", kLibrary, "/GUI", "ON", doc}, true},
      {L"LoadRam", {"/LIB", kLibrary, "/GUI", "ON", doc}, true},
      {L"LoadEeprom", {"/LIB", kLibrary, "/GUI", "ON", "/EEPROM", doc}, true},
      {L"ID", {"/ID"}, false},
  };
  int run = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(Wide(std::string()) + c.mode);
    list_.lines = {L"old line"};
    const int savesBefore = doc_.saves;
    RunGalvect(c.mode, doc_, list_);
    ++run;
    ASSERT_EQ(Runs("galvect"), run);
    EXPECT_EQ(Args("galvect", run), c.args);
    EXPECT_EQ(Cwd("galvect", run), prog_);
    EXPECT_EQ(doc_.saves - savesBefore, c.saves ? 1 : 0);
    std::string joined;
    for (const std::string& a : c.args) joined += (joined.empty() ? "" : " ") + a;
    if (c.saves) {
      EXPECT_EQ(list_.lines, Expected({L"report of " + Wide(joined)}));
      EXPECT_EQ(ReadFile(prog_ + "/galvect.out"), "report of " + joined + "\n");
    } else {
      // Find: nothing shown, nothing redirected.
      EXPECT_EQ(list_.lines, std::vector<std::wstring>{L"old line"});
    }
  }
}

TEST_F(GalvectTest, CommandLinesKeepTheirOptionsOrderAndRedirection) {
  // A command processor that records the command line it is given, then runs it.
  WriteTool(bin_, "recording-sh", "sh", "exec /bin/sh \"$@\"");
  platform::SetCommandProcessorForTesting(bin_ + "/recording-sh");
  const std::string tool = "'" + prog_ + "/Galvect.exe'";
  const std::string tail = "'" + DocPath() + "' > '" + prog_ + "/galvect.out'";
  const std::string lib = "'" + kLibrary + "'";
  const std::vector<std::pair<const wchar_t*, std::string>> cases = {
      {L"Compile", tool + " /COMPILE /LIB " + lib + " /GUI ON " + tail},
      {L"LoadRam", tool + " /LIB " + lib + " /GUI ON " + tail},
      {L"LoadEeprom", tool + " /LIB " + lib + " /GUI ON /EEPROM " + tail},
      {L"ID", tool + " /ID"},
  };
  int run = 0;
  for (const auto& c : cases) {
    RunGalvect(c.first, doc_, list_);
    ++run;
    EXPECT_EQ(Args("sh", run), (std::vector<std::string>{"-c", c.second}));
    EXPECT_EQ(Cwd("sh", run), prog_);
  }
}

TEST_F(GalvectTest, NamesReachTheToolAsOneArgumentAndNothingInThemRuns) {
  const std::vector<std::string> names = {
      "with  blanks.vorn", "quote\"d 'single'.vorn", "$(touch PWNED1).vorn", "`touch PWNED2`.vorn",
      "a;touch PWNED3;.vorn", "a&touch PWNED4&b.vorn", "a|touch PWNED5|.vorn", "line\ntouch PWNED6\n.vorn",
      "$HOME *.vorn", "back\\slash\\", "M\xC3\xBCller fa\xC3\xA7" "ade.vorn"};
  int run = 0;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::string path = docs_ + "/" + name;
    doc_.path = wxString::FromUTF8(path).ToStdWstring();
    RunGalvect(L"Compile", doc_, list_);
    ++run;
    ASSERT_EQ(Runs("galvect"), run);
    EXPECT_EQ(Args("galvect", run).back(), path);
    EXPECT_EQ(Args("galvect", run).size(), 6u);
  }
  EXPECT_EQ(Pwned(), std::vector<std::string>{});
}

TEST_F(GalvectTest, AProgramFolderWithShellCharactersStillRunsItsOwnTool) {
  const std::string folder = root_ + "/my tools $(touch PWNED7);`touch PWNED8`'q";
  std::filesystem::create_directories(folder);
  WriteTool(folder, "Galvect.exe", "galvect", "echo from the odd folder");
  chip::SetProgramFolderForTesting(wxString::FromUTF8(folder).ToStdWstring());
  RunGalvect(L"LoadEeprom", doc_, list_);
  ASSERT_EQ(Runs("galvect"), 1);
  EXPECT_EQ(Cwd("galvect"), folder);
  EXPECT_EQ(list_.lines, Expected({L"from the odd folder"}));
  EXPECT_EQ(ReadFile(folder + "/galvect.out"), "from the odd folder\n");
  EXPECT_EQ(Pwned(), std::vector<std::string>{});
}

TEST_F(GalvectTest, TheBuildListHoldsTheOutputLineByLineAndEachRunReplacesIt) {
  // Empty lines, CR LF, bytes above 0x7F, a NUL, and a last line without LF.
  WriteTool(prog_, "Galvect.exe", "galvect",
            "printf 'first\\r\\n\\nthird \\351\\374\\032\\n\\n'; printf 'a\\000b\\n'; printf 'no line end'");
  RunGalvect(L"Compile", doc_, list_);
  const std::wstring withBytes = std::wstring(L"third ") + wchar_t(0xE9) + wchar_t(0xFC) + wchar_t(0x1A);
  const std::wstring withNul = std::wstring(L"a") + wchar_t(0) + L"b";
  EXPECT_EQ(list_.lines, Expected({L"first", L"", withBytes, L"", withNul, L"no line end"}));

  // The second run clears the first run's lines before its own.
  WriteTool(prog_, "Galvect.exe", "galvect", "echo second run");
  RunGalvect(L"LoadRam", doc_, list_);
  EXPECT_EQ(list_.lines, Expected({L"second run"}));
  EXPECT_EQ(list_.resets, 2);

  // Empty output: the header and nothing after it.
  WriteTool(prog_, "Galvect.exe", "galvect", "");
  RunGalvect(L"LoadEeprom", doc_, list_);
  EXPECT_EQ(list_.lines, Expected({}));
}

TEST_F(GalvectTest, AnOutputFileThatIsNotWrittenIsShownAsItStandsOrReportedMissing) {
  // A command processor that ends without running anything: the redirection
  // never happens.
  WriteTool(bin_, "idle-sh", "idle-sh");
  platform::SetCommandProcessorForTesting(bin_ + "/idle-sh");
  RunGalvect(L"Compile", doc_, list_);
  EXPECT_EQ(list_.lines, Expected({L"Output file cannot be opened."}));

  WriteFile(prog_ + "/galvect.out", "stale line 1\nstale line 2\n");
  RunGalvect(L"LoadRam", doc_, list_);
  EXPECT_EQ(list_.lines, Expected({L"stale line 1", L"stale line 2"}));
  EXPECT_EQ(ReadFile(prog_ + "/galvect.out"), "stale line 1\nstale line 2\n");
}

TEST_F(GalvectTest, ARefusedSaveStartsNothingAndFindNeverSaves) {
  doc_.saveSucceeds = false;
  for (const wchar_t* mode : {L"Compile", L"LoadRam", L"LoadEeprom"}) {
    list_.lines = {L"kept 1", L"kept 2"};
    RunGalvect(mode, doc_, list_);
    EXPECT_EQ(list_.lines, (std::vector<std::wstring>{L"kept 1", L"kept 2"}));
  }
  EXPECT_EQ(doc_.saves, 3);
  EXPECT_EQ(list_.resets, 0);
  EXPECT_EQ(Runs("galvect"), 0);
  EXPECT_FALSE(std::filesystem::exists(prog_ + "/galvect.out"));

  // Find on a document that was never saved: no name asked, list untouched,
  // no dialog at all (the guard fails any).
  FakeDocument untitled;
  untitled.title = L"Quillmark1";
  RunGalvect(L"ID", untitled, list_);
  EXPECT_EQ(untitled.saves, 0);
  EXPECT_EQ(Runs("galvect"), 1);
  EXPECT_EQ(Args("galvect"), std::vector<std::string>{"/ID"});
  EXPECT_EQ(list_.lines, (std::vector<std::wstring>{L"kept 1", L"kept 2"}));
}

TEST_F(GalvectTest, AnUntitledDocumentIsBuiltUnderTheNameItsSaveGaveIt) {
  FakeDocument untitled;
  untitled.title = L"Quillmark1";
  untitled.pathAfterSave = Wide(docs_ + "/named.vorn");
  untitled.titleAfterSave = L"named.vorn";
  RunGalvect(L"Compile", untitled, list_);
  EXPECT_EQ(Args("galvect").back(), docs_ + "/named.vorn");
}

TEST_F(GalvectTest, AStartThatFailsIsReportedWithItsErrorNumber) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
    std::wstring message;
  };
  const std::vector<Case> cases = {
      {"no command processor", [] { platform::SetCommandProcessorForTesting("/nonexistent/sh"); },
       L"Error running Galvect.exe:  2"},
      {"program folder gone",
       [this] { chip::SetProgramFolderForTesting(Wide(root_ + "/gone")); },
       L"Error running Galvect.exe:  2"},
      {"command processor not executable",
       [this] {
         WriteFile(bin_ + "/plain-file", "");
         platform::SetCommandProcessorForTesting(bin_ + "/plain-file");
       },
       L"Error running Galvect.exe:  13"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.arrange();
    SeenMessage seen;
    wxTEST_DIALOG(RunGalvect(L"Compile", doc_, list_), ExpectMessage(&seen));
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(seen.text, c.message);
    EXPECT_EQ(seen.caption, L"Quillmark");
    EXPECT_TRUE(seen.style & wxICON_WARNING);
    EXPECT_EQ(list_.lines, kProgress);  // no header, no output
    platform::SetCommandProcessorForTesting(std::string());
    chip::SetProgramFolderForTesting(Wide(prog_));
  }
  // Find reports a failed start the same way.
  platform::SetCommandProcessorForTesting("/nonexistent/sh");
  SeenMessage seen;
  wxTEST_DIALOG(RunGalvect(L"ID", doc_, list_), ExpectMessage(&seen));
  EXPECT_EQ(seen.text, L"Error running Galvect.exe:  2");
  EXPECT_EQ(Runs("galvect"), 0);
}

// While the tool runs, the windows are disabled (no second command can
// start) but timers run and windows repaint; the focus comes back after.
TEST_F(GalvectTest, WindowsKeepPaintingButTakeNoInputWhileTheToolRunsAndKeepTheirFocus) {
  const std::string marker = root_ + "/running";
  WriteTool(prog_, "Galvect.exe", "galvect",
            "touch " + platform::QuoteForCommandProcessor(marker) + "; sleep 1; rm " +
                platform::QuoteForCommandProcessor(marker) + "; echo done");
  wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "painting", wxPoint(0, 0), wxSize(300, 200));
  wxWindow* canvas = new wxWindow(frame, wxID_ANY, wxPoint(0, 40), wxSize(300, 160));
  wxTextCtrl* text = new wxTextCtrl(frame, wxID_ANY, "", wxPoint(0, 0), wxSize(300, 30));
  int paintsWhileRunning = 0, ticksWhileRunning = 0, enabledWhileRunning = 0;
  canvas->Bind(wxEVT_PAINT, [&](wxPaintEvent&) {
    wxPaintDC dc(canvas);
    if (std::filesystem::exists(marker)) ++paintsWhileRunning;
  });
  frame->Show();
  for (int i = 0; i < 10 && wxWindow::FindFocus() != text; ++i) {
    text->SetFocus();
    wxTheApp->Yield(true);
    wxMilliSleep(20);
  }
  ASSERT_EQ(wxWindow::FindFocus(), text);
  wxTimer timer;
  timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (!std::filesystem::exists(marker)) return;
    ++ticksWhileRunning;
    if (frame->IsEnabled()) ++enabledWhileRunning;
    canvas->Refresh();
  });
  timer.Start(40);
  RunGalvect(L"Compile", doc_, list_);
  timer.Stop();
  EXPECT_GT(ticksWhileRunning, 3);
  EXPECT_GT(paintsWhileRunning, 0);
  EXPECT_EQ(enabledWhileRunning, 0);
  EXPECT_TRUE(frame->IsEnabled());
  wxTheApp->Yield(true);
  EXPECT_EQ(wxWindow::FindFocus(), text);  // the focus came back
  EXPECT_EQ(list_.lines, Expected({L"done"}));
  frame->Destroy();
  wxTheApp->Yield(true);
}

}  // namespace
}  // namespace chiptest
