// Starting and waiting for a process: quoting that the command processor
// undoes exactly, the error numbers of failed starts, the program search, the
// wait callback, and the null device as standard input.
#include "platform/ProcessRunner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class ProcessRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qmproc.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = fs::canonical(pattern).string();
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::string& path, const std::string& bytes, bool executable) {
    std::ofstream(path, std::ios::binary) << bytes;
    fs::permissions(path, executable ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
  }
  std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  int Shell(const std::string& command, bool searchWorkFolder = false) {
    const std::string shell = platform::CommandProcessor();
    return platform::RunHidden({shell, {shell, platform::CommandSwitch(), command}, dir_, searchWorkFolder}, nullptr);
  }
  std::string dir_;
};

TEST_F(ProcessRunnerTest, QuotedTextReachesTheProgramAsExactlyThatOneArgument) {
  std::string everyByte;
  for (int b = 1; b < 256; ++b) everyByte += static_cast<char>(b);
  const std::string texts[] = {"",        "two  blanks", "'",    "''",           "it's",      "\"", "$HOME",
                               "$(touch PWNED)", "`touch PWNED`", "a;touch PWNED", "a&&touch PWNED", "a|touch PWNED",
                               "a\ntouch PWNED", "*", "~", "\\", "-c", "\xC3\xBC\xFF", everyByte};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.size() < 40 ? text : "every byte");
    // The argument count proves the text stayed one argument.
    ASSERT_EQ(Shell("set -- " + platform::QuoteForCommandProcessor(text) + "; printf '%s|%s' \"$#\" \"$1\" > out"), 0);
    EXPECT_EQ(Read(dir_ + "/out"), "1|" + text);
  }
  EXPECT_FALSE(fs::exists(dir_ + "/PWNED"));
}

TEST_F(ProcessRunnerTest, AFailedStartGivesItsErrorNumber) {
  Write(dir_ + "/not-executable", "#!/bin/sh\n", false);
  const struct {
    const char* what;
    platform::ProcessSpec process;
    int error;
  } cases[] = {{"missing by path", {"/nonexistent/tool", {"tool"}, dir_}, ENOENT},
               {"missing by name", {"qm-no-such-tool.exe", {"qm-no-such-tool.exe"}, dir_}, ENOENT},
               {"working folder missing", {"/bin/sh", {"sh", "-c", "true"}, dir_ + "/gone"}, ENOENT},
               {"not executable", {dir_ + "/not-executable", {"x"}, dir_}, EACCES},
               {"no arguments", {"/bin/sh", {}, dir_}, EINVAL},
               {"runs", {"/bin/sh", {"sh", "-c", "exit 3"}, dir_}, 0}};
  for (const auto& c : cases) EXPECT_EQ(platform::RunHidden(c.process, nullptr), c.error) << c.what;
  platform::SetCommandProcessorForTesting("/nonexistent/sh");
  EXPECT_EQ(Shell("true"), ENOENT);
  platform::SetCommandProcessorForTesting(std::string());
  EXPECT_EQ(platform::CommandProcessor(), "/bin/sh");
}

TEST_F(ProcessRunnerTest, TheWaitCallsBackUntilTheProcessEndsAndGivesNoInput) {
  int typed[2], calls = 0;  // our own standard input holds bytes the process must not get
  ASSERT_EQ(::pipe(typed), 0);
  ASSERT_EQ(::write(typed[1], "typed\n", 6), 6);
  ::close(typed[1]);
  const int savedInput = ::dup(0);
  ::dup2(typed[0], 0);
  const platform::ProcessSpec process{"/bin/sh", {"sh", "-c", "sleep 0.3; cat > in; touch ended"}, dir_};
  EXPECT_EQ(platform::RunHidden(process, [&] { ++calls; }), 0);
  ::dup2(savedInput, 0);
  ::close(savedInput);
  ::close(typed[0]);
  EXPECT_GT(calls, 5);
  EXPECT_TRUE(fs::exists(dir_ + "/ended"));
  EXPECT_EQ(Read(dir_ + "/in"), "");
}

TEST_F(ProcessRunnerTest, ProgramsAreFoundOnTheSearchPathThenInTheWorkingFolder) {
  for (const char* folder : {"/a", "/b", "/work/rel"}) fs::create_directories(dir_ + folder);
  Write(dir_ + "/a/tool", "", false);  // not executable: passed over
  for (const char* file : {"/b/tool", "/work/tool", "/work/only-here", "/work/rel/relative"}) Write(dir_ + file, "", true);
  const std::string work = dir_ + "/work", path = dir_ + "/a:" + dir_ + "/b";
  EXPECT_EQ(platform::FindProgram("tool", path, work), dir_ + "/b/tool");
  EXPECT_EQ(platform::FindProgram("only-here", path, work), work + "/only-here");
  EXPECT_EQ(platform::FindProgram("tool", dir_ + "/a::" + dir_ + "/b", work), work + "/tool");
  EXPECT_EQ(platform::FindProgram("relative", "rel", work), work + "/rel/relative");
  EXPECT_EQ(platform::FindProgram("missing", path, work), "");
  EXPECT_EQ(platform::FindProgram("", dir_ + "/b", work), "");
}

TEST_F(ProcessRunnerTest, ACommandProcessorFindsToolsInTheWorkingFolderOnlyWhenAsked) {
  Write(dir_ + "/local-tool", "#!/bin/sh\ntouch ran\n", true);
  Shell("local-tool 2>/dev/null", false);
  EXPECT_FALSE(fs::exists(dir_ + "/ran"));
  EXPECT_EQ(Shell("local-tool", true), 0);
  EXPECT_TRUE(fs::exists(dir_ + "/ran"));
}

}  // namespace
