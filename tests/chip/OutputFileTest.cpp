// Reading a tool's output file into lines byte for byte, and the path and
// name helpers the commands build their arguments with.
#include "chip/ToolRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

TEST(OutputFileTest, EachFileLineBecomesOneLineByteForByte) {
  struct Case {
    std::string bytes;
    std::vector<std::wstring> lines;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"a", {L"a"}},
      {"a\n", {L"a"}},
      {"a\r\n", {L"a"}},
      {"\n", {L""}},
      {"\r\n\r\n", {L"", L""}},
      {"a\n\nb", {L"a", L"", L"b"}},
      {"lone\rcr\n", {L"lone\rcr"}},
      {"end\r", {L"end\r"}},
      {std::string("\x80\xFF\x1A\0z\n", 6), {std::wstring{wchar_t(0x80), wchar_t(0xFF), wchar_t(0x1A), wchar_t(0), L'z'}}},
      {std::string(20000, 'x') + "\ny", {std::wstring(20000, L'x'), L"y"}},
  };
  const std::string path = testing::TempDir() + "qm-output-lines.out";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.substr(0, 20));
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out << c.bytes;
    }
    std::vector<std::wstring> lines;
    ASSERT_TRUE(chip::ReadOutputLines(path, lines));
    EXPECT_EQ(lines, c.lines);
  }
  std::remove(path.c_str());
  std::vector<std::wstring> lines;
  EXPECT_FALSE(chip::ReadOutputLines(path, lines));
}

TEST(OutputFileTest, FoldersAndBinaryNames) {
  EXPECT_EQ(chip::RemoveLastComponent(L"/home/ann/blink.vorn2"), L"/home/ann");
  EXPECT_EQ(chip::RemoveLastComponent(L"/blink.vorn2"), L"/");
  EXPECT_EQ(chip::RemoveLastComponent(L"blink.vorn2"), L"");
  EXPECT_EQ(chip::RemoveExtension(L"a.b.vorn2"), L"a.b");
  EXPECT_EQ(chip::RemoveExtension(L"plain"), L"plain");
  EXPECT_EQ(chip::RemoveExtension(L"trailing."), L"trailing");
  EXPECT_EQ(chip::FileInFolder("/", "t2asm.out"), "/t2asm.out");
  EXPECT_EQ(chip::FileInFolder("/a", "t2asm.out"), "/a/t2asm.out");
  EXPECT_EQ(chip::FileInFolder("", "t2asm.out"), "t2asm.out");
  // The real program folder: where this test program lies.
  chip::SetProgramFolderForTesting(std::wstring());
  EXPECT_FALSE(chip::ProgramFolder().empty());
  EXPECT_NE(chip::ProgramFolder().back(), L'/');
}

}  // namespace
