// The compact staging text: every character survives the byte-per-character
// store and the wide one, and later windows of a document load the text as
// read or as last saved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/SourceFile.h"
#include "app/SourceView.h"
#include "platform/MemoryTrim.h"
#include "support/ShellFixture.h"

using namespace std::string_literals;

namespace {

TEST(StagingMemoryTest, EveryCharacterReadsBackAsStored) {
  const std::vector<std::wstring> texts = {
      L"",
      L"abc\r\n",
      L"a\0b\r\n"s,
      L"\x80\xA4\xFF\r\n",                    // top of the byte range: still stored a byte each
      L"\xFF\x100",                           // first character that needs the wide store
      L"\xFEFF" L"a\r\nb\r\n",                // a UTF-16 file's text
      std::wstring(1000, L'x') + L"\x2014",   // one wide character at the very end
      L"\xD83D\xDE00",
  };
  for (const std::wstring& text : texts) {
    SCOPED_TRACE(testing::PrintToString(text));
    sourcefile::StagingText copied;
    copied = text;
    sourcefile::StagingText moved;
    moved = std::wstring(text);
    for (const sourcefile::StagingText* staging : {&copied, &moved}) {
      EXPECT_EQ(text, staging->Wide());
      EXPECT_EQ(staging->InBytes() ? std::wstring() : text, staging->WideStore());
      EXPECT_EQ(text, *staging);
      EXPECT_EQ(text.size(), staging->size());
      EXPECT_EQ(text.empty(), staging->empty());
      EXPECT_FALSE(*staging != text);
      EXPECT_NE(text + L"!", *staging);
    }
  }
}

// Replacing a wide text by bytes, or bytes by a wide text, leaves nothing of
// the old one behind.
TEST(StagingMemoryTest, AssigningReplacesTheWholeText) {
  sourcefile::StagingText staging;
  staging = std::wstring(L"wide \x2014 text");
  staging.AssignBytes("\xE9t\xE9\r\n");
  EXPECT_EQ(L"\xE9t\xE9\r\n", staging);
  staging = std::wstring(L"\x2014");
  EXPECT_EQ(L"\x2014", staging.Wide());
  staging.AssignBytes("");
  EXPECT_TRUE(staging.empty());
  EXPECT_EQ(L"", staging);
  platform::ReturnFreeMemoryToSystem();  // harmless at any time
}

class MemoryTest : public shelltest::DocFrameTest {};

// A later window loads the text as read, then as last saved, never the
// other window's unsaved edits; bytes above 0x7F and wide characters included.
TEST_F(MemoryTest, LaterWindowsLoadTheTextAsReadOrLastSaved) {
  struct Case {
    const char* name;
    std::string file;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"8-bit", "caf\xE9\n\xFF\x80\0x\n"s, {"caf\xE9", "\xFF\x80\0x"s}},
      {"UTF-16", "\xFF\xFE" "a\0\xE9\0\n\0"s, {"a\xE9"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CSourceDoc* doc = Open(WriteFile("kept.vorn", c.file));
    ASSERT_NE(nullptr, doc);
    CSourceView* first = ViewOf(doc);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(c.lines, first->m_pEditor->m_textModel.lines);

    // Unsaved edits stay in their own window.
    first->m_pEditor->SelectAll();
    first->m_pEditor->InsertText(L"edited\xE8\r\nsecond");
    CSourceView* second = NewWindow(doc);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(c.lines, second->m_pEditor->m_textModel.lines);

    // After a save from the first window, a new window loads what was saved.
    Activate(first);
    ASSERT_TRUE(doc->Save());
    EXPECT_EQ("edited\xE8\nsecond\n", shelltest::ReadFile(Path("kept.vorn")));
    CSourceView* third = NewWindow(doc);
    ASSERT_NE(nullptr, third);
    EXPECT_EQ((std::vector<std::string>{"edited\xE8", "second"}), third->m_pEditor->m_textModel.lines);
    Drop(doc);
  }
}

}  // namespace
