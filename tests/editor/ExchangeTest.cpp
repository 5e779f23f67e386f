// The whole text out (GetText) and wide text in (InsertText): line breaks,
// carriage returns, tabs, glyphs and the caret after an insertion.
#include <string>
#include <vector>

#include "editor/GlyphTable.h"
#include "support/EditorFixture.h"

namespace {

using Lines_t = std::vector<std::string>;
using ExchangeTest = EditorFixture;

TEST_F(ExchangeTest, GetTextAndInsertTextRoundTrip) {
  std::string everyByte;
  for (int b = 0; b < 256; ++b)
    if (b != '\t' && b != '\n' && b != '\r') everyByte += static_cast<char>(b);
  const struct { Lines_t lines; std::string text; } cases[] = {
      {{"a"}, "a"}, {{""}, ""}, {{"a", "b"}, "a\nb\n"}, {{"a", ""}, "a\n\n"}, {{"", ""}, "\n\n"},
      {{"\xA4\xFF", "\x01 x"}, "\xA4\xFF\n\x01 x\n"}, {{"", "{ middle", "}"}, "\n{ middle\n}\n"},
      {{everyByte, everyByte + "tail"}, everyByte + "\n" + everyByte + "tail\n"},
  };
  for (const auto& c : cases) {
    SetLines(c.lines);
    EXPECT_EQ(editor_->GetText(), c.text);
    std::wstring wide;  // as read from an 8-bit file: each byte the character of its value
    for (unsigned char ch : c.text) wide += ch;
    editor_->ResetContent();
    parent_->codes.clear();
    editor_->InsertText(wide);
    EXPECT_EQ(Lines(), c.lines);
    EXPECT_EQ(parent_->codes, std::vector<int>{ids::EN_CHANGE});
    EXPECT_EQ(editor_->m_textModel.lineColours.size(), c.lines.size());
  }
}

TEST_F(ExchangeTest, InsertTextBreaksLinesFillsTabsMapsGlyphsAndMovesTheCaret) {
  const std::wstring noGlyph = std::wstring(L"a") + static_cast<wchar_t>(0x1F600) + L"b";
  // {line(s) before, anchor and caret column on the first line, text, lines after, caret after}
  const struct { Lines_t before; int from, to; std::wstring text; Lines_t after; int col, line; } cases[] = {
      {{""}, 0, 0, L"a\nb\n", {"a", "b"}, 0, 2},     {{""}, 0, 0, L"a\r\nb", {"a", "b"}, 1, 1},
      {{""}, 0, 0, L"a\rb\r", {"ab"}, 2, 0},         {{""}, 0, 0, L"\r\n\r\n", {"", ""}, 0, 2},
      {{""}, 0, 0, L"", {""}, 0, 0},                 {{""}, 0, 0, noGlyph, {"ab"}, 2, 0},
      {{""}, 0, 0, L"x\n\ty\nab\tc\n\t\t", {"x", "    y", "ab  c", "        "}, 8, 3},
      {{""}, 0, 0, std::wstring(1, GlyphOfByte(9)) + L"z", {"    z"}, 5, 0},
      {{""}, 0, 0, L"\u20ac\u00e9\u2014\tx", {"\xA4\xE9  x"}, 5, 0},  // the dash: no glyph, no column
      {{"a"}, 1, 1, L"\tb", {"a   b"}, 5, 0},       {{"abcd"}, 4, 4, L"\tb", {"abcd    b"}, 9, 0},
      {{"abcd"}, 1, 1, L"XY", {"aXYbcd"}, 3, 0},     {{"abcd"}, 3, 1, L"-", {"a-d"}, 2, 0},
      {{"abcd", "ef"}, 2, 2, L"1\n2\n3", {"ab1", "2", "3cd", "ef"}, 1, 2},  // the caret ends before the tail
      {{"abcd"}, 1, 3, L"X\nY", {"aX", "Yd"}, 1, 1},  // a selection replaced
      {{"abcd"}, 2, 2, L"\n", {"ab", "cd"}, 0, 1},
      {{"  abc = 1"}, 2, 2, L"Y\n\tz", {"  Y", "    zabc = 1"}, 5, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.after));
    SetLines(c.before);
    SetAnchor(c.from, 0);
    SetCaret(c.to, 0);
    const std::size_t frames = editor_->m_undoStack.size();
    parent_->codes.clear();
    editor_->m_redoStack.emplace_back();
    editor_->InsertText(c.text);
    EXPECT_EQ(Lines(), c.after);
    EXPECT_EQ(std::make_pair(editor_->m_caretCol, editor_->m_caretLine), std::make_pair(c.col, c.line));
    EXPECT_EQ(std::make_pair(editor_->m_anchorCol, editor_->m_anchorLine), std::make_pair(c.col, c.line));
    EXPECT_EQ(parent_->codes, std::vector<int>{ids::EN_CHANGE});
    EXPECT_TRUE(editor_->m_redoStack.empty() && editor_->m_undoStack.size() == frames + !c.text.empty());
  }
}

TEST_F(ExchangeTest, InsertTextCountsWhatItLeavesOutAndUndoRestoresTheCaretBeforeTheTail) {
  // A surrogate pair, as UTF-16 text holds a character above U+FFFF, is one character.
  const struct { std::wstring text; std::size_t leftOut; std::string line; } cases[] = {
      {L"x\u20ac\u00e9", 0, "x\xA4\xE9"},
      {L"\u2014\u201C\u201D\u2018\u2019", 5, ""},
      {std::wstring(1, static_cast<wchar_t>(0x1F600)) + L"a", 1, "a"},
      {L"\xD83D\xDE00" L"a\u2713", 2, "a"},
      {L"\xD83D" L"a", 1, "a"},      // a high surrogate alone
      {L"\xDE00\xD83D", 2, ""},     // in the wrong order: two
      {L"\u4E2D\u6587 \u2022", 2, " \x0F"},  // the bullet has its glyph
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.line));
    editor_->ResetContent();
    EXPECT_EQ(editor_->InsertText(c.text), c.leftOut);
    EXPECT_EQ(Lines(), Lines_t{c.line});
  }

  SetLines({"  abc = 1"});
  SetCaret(2, 0);
  SetAnchor(2, 0);
  editor_->InsertText(L"Y\n");
  EXPECT_EQ(Lines(), (Lines_t{"  Y", "abc = 1"}));
  EXPECT_EQ(std::make_pair(editor_->m_caretCol, editor_->m_caretLine), std::make_pair(0, 1));
  wxCommandEvent command(wxEVT_MENU);
  editor_->OnEditUndo(command);
  EXPECT_EQ(Lines(), Lines_t{"  abc = 1"});
  EXPECT_EQ(std::make_pair(editor_->m_caretCol, editor_->m_caretLine), std::make_pair(2, 0));
  editor_->OnEditRedo(command);
  EXPECT_EQ(Lines(), (Lines_t{"  Y", "abc = 1"}));
  EXPECT_EQ(std::make_pair(editor_->m_caretCol, editor_->m_caretLine), std::make_pair(0, 1));
  Char(L'Q');
  EXPECT_EQ(Lines(), (Lines_t{"  Y", "Qabc = 1"}));
}

}  // namespace
