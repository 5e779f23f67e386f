// Starting and waiting for a process: quoting that the command processor
// undoes exactly, the error numbers of failed starts, the program search, the
// wait callback, and the null device as standard input.
#include "platform/ProcessRunner.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

class ProcessRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qmproc.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = fs::canonical(pattern).string();
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  void Write(const std::string& path, const std::string& bytes, bool executable) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    chmod(path.c_str(), executable ? 0755 : 0644);
  }
  std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  int Shell(const std::string& command, bool searchWorkFolder = false) {
    platform::ProcessSpec process;
    process.program = platform::CommandProcessor();
    process.args = {process.program, platform::CommandSwitch(), command};
    process.workFolder = dir_;
    process.searchWorkFolder = searchWorkFolder;
    return platform::RunHidden(process, nullptr);
  }
  std::string dir_;
};

TEST_F(ProcessRunnerTest, QuotedTextReachesTheProgramAsExactlyThatOneArgument) {
  std::string everyByte;
  for (int b = 1; b < 256; ++b) everyByte += static_cast<char>(b);
  const std::vector<std::string> texts = {
      "", "plain", "two  blanks", "'", "''", "it's", "\"", "$HOME", "$(touch PWNED)", "`touch PWNED`",
      "a;touch PWNED", "a&&touch PWNED", "a|touch PWNED", "a\ntouch PWNED", "*", "~", "\\", "-c", "\xC3\xBC\xFF",
      everyByte};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.size() < 40 ? text : std::string("every byte"));
    // The argument count proves the text stayed one argument.
    ASSERT_EQ(Shell("set -- " + platform::QuoteForCommandProcessor(text) + "; printf '%s|%s' \"$#\" \"$1\" > out"),
              0);
    EXPECT_EQ(Read(dir_ + "/out"), "1|" + text);
  }
  EXPECT_FALSE(fs::exists(dir_ + "/PWNED"));
}

TEST_F(ProcessRunnerTest, AFailedStartGivesItsErrorNumber) {
  Write(dir_ + "/not-executable", "#!/bin/sh\n", false);
  struct Case {
    const char* what;
    platform::ProcessSpec process;
    int error;
  };
  const std::vector<Case> cases = {
      {"missing by path", {"/nonexistent/tool", {"tool"}, dir_, false}, ENOENT},
      {"missing by name", {"qm-no-such-tool.exe", {"qm-no-such-tool.exe"}, dir_, false}, ENOENT},
      {"working folder missing", {"/bin/sh", {"sh", "-c", "true"}, dir_ + "/gone", false}, ENOENT},
      {"not executable", {dir_ + "/not-executable", {"x"}, dir_, false}, EACCES},
      {"no arguments", {"/bin/sh", {}, dir_, false}, EINVAL},
      {"runs", {"/bin/sh", {"sh", "-c", "exit 3"}, dir_, false}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(platform::RunHidden(c.process, nullptr), c.error);
  }
  platform::SetCommandProcessorForTesting("/nonexistent/sh");
  EXPECT_EQ(platform::CommandProcessor(), "/nonexistent/sh");
  EXPECT_EQ(Shell("true"), ENOENT);
  platform::SetCommandProcessorForTesting(std::string());
  EXPECT_EQ(platform::CommandProcessor(), "/bin/sh");
}

TEST_F(ProcessRunnerTest, TheWaitCallsBackUntilTheProcessEndsAndGivesNoInput) {
  int calls = 0;
  platform::ProcessSpec process{"/bin/sh", {"sh", "-c", "sleep 0.3; cat > in; touch ended"}, dir_, false};
  EXPECT_EQ(platform::RunHidden(process, [&] { ++calls; }), 0);
  EXPECT_GT(calls, 5);
  EXPECT_TRUE(fs::exists(dir_ + "/ended"));
  EXPECT_EQ(Read(dir_ + "/in"), "");
}

TEST_F(ProcessRunnerTest, ProgramsAreFoundOnTheSearchPathThenInTheWorkingFolder) {
  fs::create_directories(dir_ + "/a");
  fs::create_directories(dir_ + "/b");
  fs::create_directories(dir_ + "/work/rel");
  Write(dir_ + "/a/tool", "", false);  // not executable: passed over
  Write(dir_ + "/b/tool", "", true);
  Write(dir_ + "/work/tool", "", true);
  Write(dir_ + "/work/only-here", "", true);
  Write(dir_ + "/work/rel/relative", "", true);
  const std::string work = dir_ + "/work";
  EXPECT_EQ(platform::FindProgram("tool", dir_ + "/a:" + dir_ + "/b", work), dir_ + "/b/tool");
  EXPECT_EQ(platform::FindProgram("only-here", dir_ + "/a:" + dir_ + "/b", work), work + "/only-here");
  EXPECT_EQ(platform::FindProgram("tool", dir_ + "/a::" + dir_ + "/b", work), work + "/tool");
  EXPECT_EQ(platform::FindProgram("relative", "rel", work), work + "/rel/relative");
  EXPECT_EQ(platform::FindProgram("missing", dir_ + "/a", work), "");
  EXPECT_EQ(platform::FindProgram("", dir_ + "/b", work), "");
}

TEST_F(ProcessRunnerTest, ACommandProcessorFindsToolsInTheWorkingFolderWhenAsked) {
  Write(dir_ + "/local-tool", "#!/bin/sh\ntouch ran\n", true);
  Shell("local-tool 2>/dev/null", false);
  EXPECT_FALSE(fs::exists(dir_ + "/ran"));
  EXPECT_EQ(Shell("local-tool", true), 0);
  EXPECT_TRUE(fs::exists(dir_ + "/ran"));
}

}  // namespace
