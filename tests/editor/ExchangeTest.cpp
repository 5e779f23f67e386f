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

}  // namespace
