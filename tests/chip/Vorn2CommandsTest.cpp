// The second-generation commands: t2asm.exe in the document's folder with the
// title as its one argument, Load RAM's port dialog, the stored port, the
// loader's arguments, and what stops Load RAM.
#include "ChipTestSupport.h"

#include "chip/Vorn2Commands.h"

#include <filesystem>

namespace chiptest {
namespace {

const std::vector<std::wstring> kProgress = {L"Creating output files in temp directory.",
                                             L"Invoking T2ASM to compile program."};

class Vorn2Test : public ChipToolTest {
 protected:
  void SetUp() override {
    ChipToolTest::SetUp();
    WriteTool(bin_, "t2asm.exe", "t2asm", "printf 'assembled %s\\n\\nbytes: 12' \"$1\"");
    WriteTool(bin_, "loadt2.exe", "loadt2", "echo loader output is not shown");
    doc_.path = wxString::FromUTF8(docs_ + "/blink.vorn2").ToStdWstring();
    doc_.title = L"blink.vorn2";
  }
  std::vector<std::wstring> Compiled(std::vector<std::wstring> tail) const {
    std::vector<std::wstring> lines = kProgress;
    lines.push_back(L"T2ASM output:");
    lines.insert(lines.end(), tail.begin(), tail.end());
    return lines;
  }
  // Load RAM with the port dialog answered: `pick` (0 = none) then OK or Cancel.
  SeenPortDialog LoadRam(int& port, int pick, int result) {
    SeenPortDialog seen;
    wxTEST_DIALOG(Vorn2LoadRam(port, doc_, list_, nullptr), ExpectPortDialog(&seen, pick, result));
    return seen;
  }
};

TEST_F(Vorn2Test, CompileRunsTheCompilerInTheDocumentFolderWithTheTitle) {
  list_.lines = {L"earlier"};
  Vorn2Compile(doc_, list_);
  ASSERT_EQ(Runs("t2asm"), 1);
  EXPECT_EQ(Args("t2asm"), std::vector<std::string>{"blink.vorn2"});
  EXPECT_EQ(Cwd("t2asm"), docs_);
  EXPECT_EQ(doc_.saves, 1);
  EXPECT_EQ(list_.lines, Compiled({L"assembled blink.vorn2", L"", L"bytes: 12"}));
  EXPECT_EQ(ReadFile(docs_ + "/t2asm.out"), "assembled blink.vorn2\n\nbytes: 12");
  EXPECT_EQ(Runs("loadt2"), 0);
}

TEST_F(Vorn2Test, TheCommandLineKeepsItsRedirectionAndQuotesTheTitle) {
  WriteTool(bin_, "recording-sh", "sh", "exec /bin/sh \"$@\"");
  platform::SetCommandProcessorForTesting(bin_ + "/recording-sh");
  doc_.title = L"my blink.vorn2";
  Vorn2Compile(doc_, list_);
  EXPECT_EQ(Args("sh"), (std::vector<std::string>{"-c", "t2asm.exe 'my blink.vorn2' > t2asm.out"}));
  EXPECT_EQ(Args("t2asm"), std::vector<std::string>{"my blink.vorn2"});
}

TEST_F(Vorn2Test, TheCompilerAndTheLoaderAreFoundInTheDocumentFolderToo) {
  std::filesystem::remove(bin_ + "/t2asm.exe");
  std::filesystem::remove(bin_ + "/loadt2.exe");
  WriteTool(docs_, "t2asm.exe", "t2asm", "echo local compiler");
  WriteTool(docs_, "loadt2.exe", "loadt2");
  int port = 2;
  LoadRam(port, 0, wxID_OK);
  EXPECT_EQ(Runs("t2asm"), 1);
  EXPECT_EQ(Runs("loadt2"), 1);
  EXPECT_EQ(list_.lines.at(3), L"local compiler");
}

TEST_F(Vorn2Test, TitlesWithShellCharactersReachBothToolsAsOneArgument) {
  struct Case {
    std::string title, binary;
  };
  const std::vector<Case> cases = {
      {"my blink.vorn2", "my blink.bin"},
      {"a;touch PWNED1;b.vorn2", "a;touch PWNED1;b.bin"},
      {"$(touch PWNED2) `touch PWNED3`.vorn2", "$(touch PWNED2) `touch PWNED3`.bin"},
      {"x&touch PWNED4|touch PWNED5.vorn2", "x&touch PWNED4|touch PWNED5.bin"},
      {"it's \"quoted\".vorn2", "it's \"quoted\".bin"},
      {"two\nlines.vorn2", "two\nlines.bin"},
      {"gr\xC3\xBC\xC3\x9F" "e.vorn2", "gr\xC3\xBC\xC3\x9F" "e.bin"},
      {"no extension", "no extension.bin"},
      {"dots.in.name.vorn2", "dots.in.name.bin"},
      {"$HOME", "$HOME.bin"},
  };
  int port = 2, run = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    doc_.title = wxString::FromUTF8(c.title).ToStdWstring();
    LoadRam(port, 0, wxID_OK);
    ++run;
    ASSERT_EQ(Runs("t2asm"), run);
    ASSERT_EQ(Runs("loadt2"), run);
    EXPECT_EQ(Args("t2asm", run), std::vector<std::string>{c.title});
    EXPECT_EQ(Args("loadt2", run), (std::vector<std::string>{"-p", "COM2", c.binary}));
    EXPECT_EQ(Cwd("loadt2", run), docs_);
  }
  EXPECT_EQ(Pwned(), std::vector<std::string>{});
}

TEST_F(Vorn2Test, LoadRamOffersTheStoredPortAndKeepsTheChoiceForTheNextRun) {
  int port = 2;  // a fresh view's port
  SeenPortDialog first = LoadRam(port, 0, wxID_OK);
  EXPECT_EQ(first.offeredPort, 2);
  EXPECT_EQ(first.offeredText, L"");
  EXPECT_EQ(port, 2);
  EXPECT_EQ(Args("loadt2", 1), (std::vector<std::string>{"-p", "COM2", "blink.bin"}));
  EXPECT_EQ(Cwd("loadt2", 1), docs_);
  std::vector<std::wstring> expected = Compiled({L"assembled blink.vorn2", L"", L"bytes: 12"});
  expected.push_back(L"Invoking LoadT2 to load T2.");
  EXPECT_EQ(list_.lines, expected);

  SeenPortDialog second = LoadRam(port, 5, wxID_OK);
  EXPECT_EQ(second.offeredPort, 2);
  EXPECT_EQ(port, 5);
  EXPECT_EQ(Args("loadt2", 2), (std::vector<std::string>{"-p", "COM5", "blink.bin"}));

  SeenPortDialog third = LoadRam(port, 0, wxID_OK);
  EXPECT_EQ(third.offeredPort, 5);
  EXPECT_EQ(Args("loadt2", 3), (std::vector<std::string>{"-p", "COM5", "blink.bin"}));
  EXPECT_EQ(list_.lines, expected);  // each run starts the list afresh
  EXPECT_EQ(list_.resets, 3);
}

TEST_F(Vorn2Test, CancellingThePortDialogDoesNothing) {
  int port = 4;
  list_.lines = {L"kept"};
  SeenPortDialog seen = LoadRam(port, 7, wxID_CANCEL);
  EXPECT_EQ(seen.count, 1);
  EXPECT_EQ(port, 4);
  EXPECT_EQ(doc_.saves, 0);
  EXPECT_EQ(list_.lines, std::vector<std::wstring>{L"kept"});
  EXPECT_EQ(Runs("t2asm") + Runs("loadt2"), 0);
}

TEST_F(Vorn2Test, ARefusedSaveStopsCompileAndLoadRam) {
  doc_.saveSucceeds = false;
  list_.lines = {L"kept"};
  Vorn2Compile(doc_, list_);
  int port = 2;
  LoadRam(port, 3, wxID_OK);
  EXPECT_EQ(port, 3);  // the choice is taken before the compile step
  EXPECT_EQ(doc_.saves, 2);
  EXPECT_EQ(list_.lines, std::vector<std::wstring>{L"kept"});
  EXPECT_EQ(list_.resets, 0);
  EXPECT_EQ(Runs("t2asm") + Runs("loadt2"), 0);
  EXPECT_FALSE(std::filesystem::exists(docs_ + "/t2asm.out"));
}

TEST_F(Vorn2Test, AnUntitledDocumentUsesTheNameAndFolderItsSaveGaveIt) {
  std::filesystem::create_directories(docs_ + "/sub");
  doc_.path.clear();
  doc_.title = L"Vorn2Edit1";
  doc_.pathAfterSave = wxString::FromUTF8(docs_ + "/sub/fresh.vorn2").ToStdWstring();
  doc_.titleAfterSave = L"fresh.vorn2";
  int port = 2;
  LoadRam(port, 0, wxID_OK);
  EXPECT_EQ(Args("t2asm"), std::vector<std::string>{"fresh.vorn2"});
  EXPECT_EQ(Cwd("t2asm"), docs_ + "/sub");
  EXPECT_EQ(Args("loadt2"), (std::vector<std::string>{"-p", "COM2", "fresh.bin"}));
  EXPECT_EQ(Cwd("loadt2"), docs_ + "/sub");
}

TEST_F(Vorn2Test, MissingOutputAndFailedStartsAreReported) {
  // A command processor that never runs the command: no t2asm.out.
  WriteTool(bin_, "idle-sh", "idle-sh");
  platform::SetCommandProcessorForTesting(bin_ + "/idle-sh");
  Vorn2Compile(doc_, list_);
  EXPECT_EQ(list_.lines, Compiled({L"Output file cannot be opened."}));
  platform::SetCommandProcessorForTesting(std::string());

  // No command processor: the message, the two progress lines, and Load RAM
  // does not go on to the loader.
  platform::SetCommandProcessorForTesting("/nonexistent/sh");
  SeenMessage compileFailure;
  wxTEST_DIALOG(Vorn2Compile(doc_, list_), ExpectMessage(&compileFailure));
  EXPECT_EQ(compileFailure.text, L"Error running t2asm.exe:  2");
  EXPECT_EQ(compileFailure.caption, L"Quillmark");
  EXPECT_TRUE(compileFailure.style & wxICON_WARNING);
  EXPECT_EQ(list_.lines, kProgress);

  int port = 2;
  SeenPortDialog seenPort;
  SeenMessage loadFailure;
  wxTEST_DIALOG(Vorn2LoadRam(port, doc_, list_, nullptr), ExpectPortDialog(&seenPort, 0, wxID_OK),
                ExpectMessage(&loadFailure));
  EXPECT_EQ(loadFailure.text, L"Error running t2asm.exe:  2");
  EXPECT_EQ(list_.lines, kProgress);
  EXPECT_EQ(Runs("loadt2"), 0);
  platform::SetCommandProcessorForTesting(std::string());

  // No loader anywhere: its own message with the error number; the list ends
  // with the loader's line.
  std::filesystem::remove(bin_ + "/loadt2.exe");
  SeenMessage loaderFailure;
  wxTEST_DIALOG(Vorn2LoadRam(port, doc_, list_, nullptr), ExpectPortDialog(&seenPort, 0, wxID_OK),
                ExpectMessage(&loaderFailure));
  EXPECT_EQ(loaderFailure.text, L"Error running loadt2.exe:  2");
  EXPECT_EQ(loaderFailure.caption, L"Quillmark");
  EXPECT_TRUE(loaderFailure.style & wxICON_WARNING);
  EXPECT_EQ(list_.lines.back(), L"Invoking LoadT2 to load T2.");
  EXPECT_EQ(list_.lines.front(), kProgress.front());
  EXPECT_EQ(Runs("t2asm"), 1);
}

}  // namespace
}  // namespace chiptest
