// The whole text out (GetText) and wide text in (InsertText): line breaks,
// carriage returns, tabs, the caret after an insertion and its undo.
#include <string>
#include <vector>

#include "editor/GlyphTable.h"
#include "support/EditorFixture.h"

namespace {

using Lines_t = std::vector<std::string>;

class ExchangeTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    parent_->codes.clear();
  }
  // What a document read from an 8-bit file hands over: every byte as the
  // character of the same value.
  static std::wstring Widen(const std::string& bytes) {
    std::wstring wide;
    for (char c : bytes) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
  }
  // Loads `text` the way a view loads a document into its new editor.
  void Load(const std::wstring& text) {
    editor_->ResetContent();
    parent_->codes.clear();
    editor_->InsertText(text);
  }
  void Char(int code) {
    wxKeyEvent event(wxEVT_CHAR);
    event.m_keyCode = code;
    event.m_uniChar = static_cast<wxChar>(code);
    event.SetEventObject(editor_);
    editor_->GetEventHandler()->ProcessEvent(event);
  }
  void ExpectCaretAndAnchor(int col, int line) {
    EXPECT_EQ(editor_->m_caretCol, col);
    EXPECT_EQ(editor_->m_caretLine, line);
    EXPECT_EQ(editor_->m_anchorCol, col);
    EXPECT_EQ(editor_->m_anchorLine, line);
  }
};

TEST_F(ExchangeTest, GetTextEndsEveryLineWithLineFeedOnlyWhenThereAreSeveral) {
  SetLines({"a", "b"});
  EXPECT_EQ(editor_->GetText(), "a\nb\n");
  SetLines({"a"});
  EXPECT_EQ(editor_->GetText(), "a");
  SetLines({""});
  EXPECT_EQ(editor_->GetText(), "");
  SetLines({"a", ""});
  EXPECT_EQ(editor_->GetText(), "a\n\n");
  SetLines({"", ""});
  EXPECT_EQ(editor_->GetText(), "\n\n");
  // High bytes leave as they are; no carriage return is ever written.
  SetLines({"\xA4\xFF", "\x01 x"});
  EXPECT_EQ(editor_->GetText(), "\xA4\xFF\n\x01 x\n");
}

TEST_F(ExchangeTest, InsertTextOfGetTextGivesBackTheSameLines) {
  std::string everyByte;
  for (int b = 0; b < 256; ++b)
    if (b != '\t' && b != '\n' && b != '\r') everyByte += static_cast<char>(b);
  std::vector<std::string> many;
  for (int i = 0; i < 500; ++i) many.push_back(i % 7 == 0 ? "" : "  line " + std::to_string(i) + " {x}");

  const std::vector<Lines_t> texts = {
      {"one line only"},
      {""},
      {"a", "b", "c"},
      {"a", ""},
      {"", ""},
      {"", "middle", ""},
      {"CON", "  x = 1", "", "PUB main", "  repeat", ""},
      {everyByte, everyByte + "tail"},
      many,
  };
  for (const Lines_t& lines : texts) {
    SetLines(lines);
    const std::string saved = editor_->GetText();
    Load(Widen(saved));
    EXPECT_EQ(Lines(), lines);
    EXPECT_EQ(editor_->GetText(), saved);
    EXPECT_EQ(parent_->codes, std::vector<int>{ids::EN_CHANGE});
    EXPECT_EQ(editor_->m_textModel.lineColours.size(), lines.size());
  }
}

TEST_F(ExchangeTest, LineFeedsEndLinesAndCarriageReturnsAreDropped) {
  Load(L"a\nb\n");
  EXPECT_EQ(Lines(), (Lines_t{"a", "b"}));
  // The caret stands on the line position after the last line.
  ExpectCaretAndAnchor(0, 2);
  // Typing there adds a third line.
  Char('c');
  EXPECT_EQ(Lines(), (Lines_t{"a", "b", "c"}));

  Load(L"a\r\nb");
  EXPECT_EQ(Lines(), (Lines_t{"a", "b"}));
  ExpectCaretAndAnchor(1, 1);

  Load(L"a\rb\r");
  EXPECT_EQ(Lines(), (Lines_t{"ab"}));
  ExpectCaretAndAnchor(2, 0);

  Load(L"\r\n\r\n");
  EXPECT_EQ(Lines(), (Lines_t{"", ""}));

  Load(L"");
  EXPECT_EQ(Lines(), (Lines_t{""}));
  EXPECT_EQ(parent_->codes, std::vector<int>{ids::EN_CHANGE});
  EXPECT_TRUE(editor_->m_undoStack.empty());
}

TEST_F(ExchangeTest, TabsBecomeSpacesToTheNextStop) {
  SetLines({"a"});
  SetCaret(1, 0);
  SetAnchor(1, 0);
  editor_->InsertText(L"\tb");
  EXPECT_EQ(Lines(), (Lines_t{"a   b"}));
  EXPECT_EQ(editor_->m_caretCol, 5);

  SetLines({"abcd"});
  SetCaret(4, 0);
  SetAnchor(4, 0);
  editor_->InsertText(L"\tb");
  EXPECT_EQ(Lines(), (Lines_t{"abcd    b"}));

  // Stops count from the start of each new line, and a tab after text in the
  // inserted piece counts that text.
  Load(L"x\n\ty\nab\tc\n\t\t");
  EXPECT_EQ(Lines(), (Lines_t{"x", "    y", "ab  c", "        "}));
  // The glyph of byte 9 acts as a tab.
  Load(std::wstring(1, GlyphOfByte(9)) + L"z");
  EXPECT_EQ(Lines(), (Lines_t{"    z"}));
}

TEST_F(ExchangeTest, InsertionIntoALineSplitsItAndKeepsItsTail) {
  // The caret ends after the tail on the last line made.
  SetLines({"abcd", "ef"});
  SetCaret(2, 0);
  SetAnchor(2, 0);
  editor_->InsertText(L"1\n2\n3");
  EXPECT_EQ(Lines(), (Lines_t{"ab1", "2", "3cd", "ef"}));
  ExpectCaretAndAnchor(3, 2);

  // Without a line break the caret ends right after the inserted text.
  SetLines({"abcd"});
  SetCaret(1, 0);
  SetAnchor(1, 0);
  editor_->InsertText(L"XY");
  EXPECT_EQ(Lines(), (Lines_t{"aXYbcd"}));
  ExpectCaretAndAnchor(3, 0);

  // A selection is replaced.
  SetLines({"abcd", "efgh"});
  SetAnchor(3, 1);
  SetCaret(1, 0);
  editor_->InsertText(L"-");
  EXPECT_EQ(Lines(), (Lines_t{"a-h"}));
  ExpectCaretAndAnchor(2, 0);
}

TEST_F(ExchangeTest, AnInsertionIsOneUndoableAction) {
  SetLines({"abcd", "ef"});
  SetCaret(2, 0);
  SetAnchor(2, 0);
  editor_->m_redoStack.emplace_back();
  editor_->m_redoStack.back().m_records.emplace_back();
  editor_->InsertText(L"1\n2\n3");
  EXPECT_TRUE(editor_->m_redoStack.empty());
  ASSERT_EQ(editor_->m_undoStack.size(), 1u);
  // One change for the split line, one insertion per further line.
  const auto& records = editor_->m_undoStack.back().m_records;
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].m_kind, LineChanged);
  EXPECT_EQ(records[0].m_text, "abcd");
  EXPECT_EQ(records[1].m_kind, LineInserted);
  EXPECT_EQ(records[2].m_kind, LineInserted);
  EXPECT_TRUE(editor_->m_currentFrame.m_records.empty());
  EXPECT_EQ(parent_->codes, std::vector<int>{ids::EN_CHANGE});

  wxCommandEvent undo(wxEVT_MENU, ids::ID_EDIT_UNDO);
  editor_->OnEditUndo(undo);
  EXPECT_EQ(Lines(), (Lines_t{"abcd", "ef"}));
  EXPECT_EQ(editor_->m_caretCol, 2);
  EXPECT_EQ(editor_->m_caretLine, 0);
  wxCommandEvent redo(wxEVT_MENU, ids::ID_EDIT_REDO);
  editor_->OnEditRedo(redo);
  EXPECT_EQ(Lines(), (Lines_t{"ab1", "2", "3cd", "ef"}));
}

TEST_F(ExchangeTest, CharactersMapToBytesThroughTheGlyphTable) {
  // The euro sign is byte 164, é is itself, the em dash has no glyph and is
  // dropped without taking a column.
  Load(L"\u20ac\u00e9\u2014x");
  EXPECT_EQ(Lines(), (Lines_t{"\xA4\xE9x"}));
  EXPECT_EQ(editor_->m_caretCol, 3);

  // Every glyph comes back as its byte, but for the three that act as
  // controls: tab (a fill), line feed (a break) and carriage return (nothing).
  std::wstring glyphs;
  std::string expected;
  for (int b = 0; b < 256; ++b) glyphs += GlyphOfByte(static_cast<unsigned char>(b));
  for (int b = 0; b < 256; ++b) {
    if (b == '\t') expected += "   ";  // column 9 to the stop at 12
    else if (b == '\n') break;
    else if (b != '\r') expected += static_cast<char>(b);
  }
  Load(glyphs);
  ASSERT_EQ(editor_->m_textModel.LineCount(), 2);
  EXPECT_EQ(editor_->GetLine(0), expected);
  std::string rest;
  for (int b = 11; b < 256; ++b)
    if (b != '\r') rest += static_cast<char>(b);
  EXPECT_EQ(editor_->GetLine(1), rest);

  // Characters beyond the 16-bit range have no glyph either.
  Load(std::wstring(L"a") + static_cast<wchar_t>(0x1F600) + L"b");
  EXPECT_EQ(Lines(), (Lines_t{"ab"}));
}

}  // namespace
