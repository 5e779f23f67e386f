// Typed characters in a real editor window: bytes, tab fills, line breaks with
// auto-indent, replacing a selection, the character filter and its mapping,
// read-only mode, the undo frames each action leaves and the recolouring.
#include <string>
#include <vector>

#include "platform/CharClass.h"
#include "support/EditorFixture.h"

namespace {

using Lines_t = std::vector<std::string>;

class TypingTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    platform::UseDefaultCharClasses();
    parent_->codes.clear();
  }
  void TearDown() override {
    platform::UseDefaultCharClasses();
    EditorFixture::TearDown();
  }

  bool KeyDown(int key, bool ctrl = false, bool shift = false) {
    keystate::Override(shift, ctrl);
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = key;
    event.SetControlDown(ctrl);
    event.SetShiftDown(shift);
    event.SetEventObject(editor_);
    const bool processed = editor_->GetEventHandler()->ProcessEvent(event);
    return !processed;
  }
  void Char(wchar_t unit) {
    wxKeyEvent event(wxEVT_CHAR);
    event.m_keyCode = unit <= 0xFF ? static_cast<int>(unit) : static_cast<int>(WXK_NONE);
    event.m_uniChar = unit;
    event.SetEventObject(editor_);
    editor_->GetEventHandler()->ProcessEvent(event);
  }
  void Type(const std::wstring& text) {
    for (wchar_t c : text) Char(c);
  }
  // A key as the toolkit delivers it: the key-down, then its character when
  // the key-down was passed on.
  void Press(int key, wchar_t ch, bool shift = false) {
    if (KeyDown(key, false, shift)) Char(ch);
    keystate::Override(false, false);
  }
  void Select(int anchorCol, int anchorLine, int caretCol, int caretLine) {
    SetAnchor(anchorCol, anchorLine);
    SetCaret(caretCol, caretLine);
  }
  void Undo() {
    wxCommandEvent event(wxEVT_MENU, ids::ID_EDIT_UNDO);
    editor_->OnEditUndo(event);
  }
  void Redo() {
    wxCommandEvent event(wxEVT_MENU, ids::ID_EDIT_REDO);
    editor_->OnEditRedo(event);
  }
  void ExpectCaret(int col, int line) {
    EXPECT_EQ(editor_->m_caretCol, col);
    EXPECT_EQ(editor_->m_caretLine, line);
  }
  void ExpectAnchor(int col, int line) {
    EXPECT_EQ(editor_->m_anchorCol, col);
    EXPECT_EQ(editor_->m_anchorLine, line);
  }
  const std::deque<CUndoRecord>& LastFrame() { return editor_->m_undoStack.back().m_records; }
  static void ExpectRecord(const CUndoRecord& r, int kind, int line, const std::string& text) {
    EXPECT_EQ(r.m_kind, kind);
    EXPECT_EQ(r.m_line, line);
    EXPECT_EQ(r.m_text, text);
  }
};

TEST_F(TypingTest, ACharacterIsOneActionAndUndoReturnsTheCaret) {
  SetLines({"ab"});
  Select(1, 0, 1, 0);
  Char('x');
  EXPECT_EQ(Lines(), (Lines_t{"axb"}));
  ExpectCaret(2, 0);
  ExpectAnchor(2, 0);
  ASSERT_EQ(editor_->m_undoStack.size(), 1u);
  ASSERT_EQ(LastFrame().size(), 1u);
  ExpectRecord(LastFrame()[0], LineChanged, 0, "ab");
  EXPECT_EQ(parent_->codes, std::vector<int>{ids::EN_CHANGE});

  Char('y');
  EXPECT_EQ(Lines(), (Lines_t{"axyb"}));
  EXPECT_EQ(editor_->m_undoStack.size(), 2u);
  Undo();
  Undo();
  EXPECT_EQ(Lines(), (Lines_t{"ab"}));
  ExpectCaret(1, 0);
  ExpectAnchor(1, 0);
  // A new edit empties the redo stack.
  ASSERT_EQ(editor_->m_redoStack.size(), 2u);
  Char('z');
  EXPECT_TRUE(editor_->m_redoStack.empty());
  EXPECT_EQ(Lines(), (Lines_t{"azb"}));
}

TEST_F(TypingTest, TabFillsToTheNextStop) {
  for (int col = 0; col < 9; ++col)
    EXPECT_EQ(editor_->MakeTabFill(col), std::string(4 - col % 4, ' ')) << col;

  const int expected[] = {4, 3, 2, 1, 4};
  for (int col = 0; col <= 4; ++col) {
    SetLines({"abcd|"});
    Select(col, 0, col, 0);
    Char('\t');
    EXPECT_EQ(Lines()[0], std::string("abcd|").insert(col, expected[col], ' ')) << col;
    ExpectCaret(col + expected[col], 0);
    EXPECT_EQ(LastFrame().size(), 1u);
  }
  // The private-use glyph of byte 9 types as a tab too.
  SetLines({"a"});
  Select(1, 0, 1, 0);
  Char(0xF009);
  EXPECT_EQ(Lines(), (Lines_t{"a   "}));
}

TEST_F(TypingTest, TypingReplacesTheSelection) {
  SetLines({"abcdef"});
  Select(1, 0, 4, 0);
  Char('X');
  EXPECT_EQ(Lines(), (Lines_t{"aXef"}));
  ExpectCaret(2, 0);
  ASSERT_EQ(LastFrame().size(), 2u);
  ExpectRecord(LastFrame()[0], LineChanged, 0, "abcdef");
  ExpectRecord(LastFrame()[1], LineChanged, 0, "aef");
  // Undoing the deletion within one line leaves no selection, caret at its start.
  Undo();
  EXPECT_EQ(Lines(), (Lines_t{"abcdef"}));
  ExpectCaret(1, 0);
  ExpectAnchor(1, 0);

  // The tab fill is measured from the selection's start.
  SetLines({"abcdefgh"});
  Select(6, 0, 2, 0);
  Char('\t');
  EXPECT_EQ(Lines(), (Lines_t{"ab  gh"}));
  ExpectCaret(4, 0);

  // Over several lines: the frame holds the removal of line 1, the change of
  // line 0, the removal of line 1 again, then the typed byte.
  for (bool backwards : {false, true}) {
    SetLines({"abcd", "efgh", "ijkl"});
    if (backwards)
      Select(1, 2, 2, 0);
    else
      Select(2, 0, 1, 2);
    Char('Z');
    EXPECT_EQ(Lines(), (Lines_t{"abZjkl"}));
    ExpectCaret(3, 0);
    ASSERT_EQ(LastFrame().size(), 4u);
    ExpectRecord(LastFrame()[0], LineDeleted, 1, "efgh");
    ExpectRecord(LastFrame()[1], LineChanged, 0, "abcd");
    ExpectRecord(LastFrame()[2], LineDeleted, 1, "ijkl");
    ExpectRecord(LastFrame()[3], LineChanged, 0, "abjkl");
    // Undo brings the selection back, anchor at its start, caret at its end.
    Undo();
    EXPECT_EQ(Lines(), (Lines_t{"abcd", "efgh", "ijkl"}));
    ExpectAnchor(2, 0);
    ExpectCaret(1, 2);
  }
}

TEST_F(TypingTest, DeletingTheSelectionAlone) {
  SetLines({"abcd", "efgh", "ijkl"});
  Select(2, 0, 1, 2);
  editor_->m_currentFrame.Clear();
  editor_->DeleteSelection();
  EXPECT_EQ(Lines(), (Lines_t{"abjkl"}));
  ExpectCaret(2, 0);
  ExpectAnchor(2, 0);
  const auto& records = editor_->m_currentFrame.m_records;
  ASSERT_EQ(records.size(), 3u);
  ExpectRecord(records[0], LineDeleted, 1, "efgh");
  ExpectRecord(records[1], LineChanged, 0, "abcd");
  ExpectRecord(records[2], LineDeleted, 1, "ijkl");
  // It neither commits nor notifies.
  EXPECT_TRUE(editor_->m_undoStack.empty());
  EXPECT_TRUE(parent_->codes.empty());
  // Without a selection it does nothing.
  editor_->DeleteSelection();
  EXPECT_EQ(records.size(), 3u);
}

TEST_F(TypingTest, ReturnSplitsTheLineWithAutoIndent) {
  SetLines({"    foo"});
  Select(7, 0, 7, 0);
  Press(WXK_RETURN, 13);
  EXPECT_EQ(Lines(), (Lines_t{"    foo", "    "}));
  ExpectCaret(4, 1);

  SetLines({"    foo"});
  Select(2, 0, 2, 0);
  Press(WXK_RETURN, 13);
  EXPECT_EQ(Lines(), (Lines_t{"  ", "    foo"}));
  ExpectCaret(2, 1);
  ExpectAnchor(2, 1);

  SetLines({"  abc"});
  editor_->m_autoIndent = false;
  Select(3, 0, 3, 0);
  Press(WXK_RETURN, 13);
  EXPECT_EQ(Lines(), (Lines_t{"  a", "bc"}));
  ExpectCaret(0, 1);
  editor_->m_autoIndent = true;

  // The frame of a split, and where undo and redo put the caret.
  SetLines({"abcd"});
  Select(2, 0, 2, 0);
  Press(WXK_RETURN, 13);
  EXPECT_EQ(Lines(), (Lines_t{"ab", "cd"}));
  ASSERT_EQ(LastFrame().size(), 2u);
  ExpectRecord(LastFrame()[0], LineChanged, 0, "abcd");
  ExpectRecord(LastFrame()[1], LineInserted, 1, "");
  Undo();
  EXPECT_EQ(Lines(), (Lines_t{"abcd"}));
  ExpectCaret(2, 0);
  Redo();
  EXPECT_EQ(Lines(), (Lines_t{"ab", "cd"}));
  ExpectCaret(0, 1);  // where it stood when the undo began
  Undo();
  EXPECT_EQ(Lines(), (Lines_t{"abcd"}));
}

TEST_F(TypingTest, ReturnAndShiftReturnWithASelection) {
  // Without Shift the key-down collapses the selection; the line splits at the caret.
  SetLines({"abcdef"});
  Select(1, 0, 4, 0);
  Press(WXK_RETURN, 13);
  EXPECT_EQ(Lines(), (Lines_t{"abcd", "ef"}));
  ExpectCaret(0, 1);

  // With Shift the selection goes and the line splits where it began.
  SetLines({"abcdef"});
  Select(1, 0, 4, 0);
  Press(WXK_RETURN, 13, true);
  EXPECT_EQ(Lines(), (Lines_t{"a", "ef"}));
  ExpectCaret(0, 1);
  EXPECT_EQ(LastFrame().size(), 3u);
  Undo();
  EXPECT_EQ(Lines(), (Lines_t{"abcdef"}));
}

TEST_F(TypingTest, CharactersAreFilteredAndMappedThroughTheGlyphs) {
  SetLines({""});
  editor_->m_redoStack.emplace_back();
  editor_->m_redoStack.back().m_records.emplace_back();
  EXPECT_FALSE(platform::OemCharClassesInUse());
  // Control characters, characters without a glyph, and glyphs of bytes that
  // are no printable bytes (pi is byte 17, U+F000 byte 0) are dropped.
  for (wchar_t dropped : {1, 8, 10, 27, 0x7F, 0x2014, 0x1F600, 0xF100, 0x03C0, 0xF000, 0x2190})
    Char(dropped);
  // The first character switched the process to the OEM classes, whatever became of it.
  EXPECT_TRUE(platform::OemCharClassesInUse());
  EXPECT_EQ(Lines(), (Lines_t{""}));
  EXPECT_TRUE(parent_->codes.empty());
  EXPECT_EQ(editor_->m_redoStack.size(), 1u);  // a dropped character begins no action

  // Latin-1 is itself; the euro, infinity and the other glyphs are their bytes.
  Type(L"a\u00E9\u20AC\u221E\u00A0\u2500");
  EXPECT_EQ(Lines(), (Lines_t{"a\xE9\xA4\xFF\xA0\x90"}));
  EXPECT_EQ(editor_->m_undoStack.size(), 6u);
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 6);
}

TEST_F(TypingTest, ReadOnlyDropsEveryCharacter) {
  SetLines({"abc"});
  editor_->m_readOnly = true;
  editor_->m_redoStack.emplace_back();
  editor_->m_redoStack.back().m_records.emplace_back();
  Select(0, 0, 2, 0);
  Type(L"x\t\r");
  EXPECT_EQ(Lines(), (Lines_t{"abc"}));
  ExpectAnchor(0, 0);
  ExpectCaret(2, 0);
  EXPECT_TRUE(parent_->codes.empty());
  EXPECT_EQ(editor_->m_redoStack.size(), 1u);
  EXPECT_TRUE(platform::OemCharClassesInUse());
}

TEST_F(TypingTest, TypingBelowTheLastLineAddsALine) {
  editor_->InsertText(L"{\n");
  ASSERT_EQ(Lines(), (Lines_t{"{"}));
  ExpectCaret(0, 1);
  Char('}');
  EXPECT_EQ(Lines(), (Lines_t{"{", "}"}));
  ExpectCaret(1, 1);
  ExpectAnchor(1, 1);
  const CTextModel& m = editor_->m_textModel;
  EXPECT_EQ(m.braceDepth, (std::vector<std::int32_t>{1, 0}));
  EXPECT_EQ(m.lineColours[1].size(), 1u);
  Undo();
  EXPECT_EQ(Lines(), (Lines_t{"{"}));
}

// After each edit the model's colours, shades and depths are those of a full
// analysis of the new text; a marker colour on a line far from the edit shows
// whether the edit recoloured everything.
TEST_F(TypingTest, EditsRecolourLocallyUnlessTheStructureChanges) {
  const COLORREF kMarker = 0x123456;
  CTextModel& m = editor_->m_textModel;
  auto mark = [&] { m.lineColours[4].assign(m.lines[4].size(), kMarker); };
  auto marked = [&] { return m.lineColours[4].at(0) == kMarker; };
  auto expectFullAnalysis = [&](const char* what) {
    CTextModel fresh;
    fresh.lines = m.lines;
    fresh.lineColours.assign(m.lines.size(), {});
    fresh.RecolourAll();
    EXPECT_EQ(m.braceDepth, fresh.braceDepth) << what;
    EXPECT_EQ(m.lineBackground, fresh.lineBackground) << what;
    ASSERT_EQ(m.lineColours.size(), m.lines.size()) << what;
    for (std::size_t i = 0; i < m.lines.size(); ++i) {
      EXPECT_EQ(m.lineColours[i].size(), m.lines[i].size()) << what << " line " << i;
      if (i != 4 || !marked()) {
        EXPECT_EQ(m.lineColours[i], fresh.lineColours[i]) << what << " line " << i;
      }
    }
  };

  SetLines({"CON", "  x = 1", "  y = 2", "PUB main", "  z := 3"});
  mark();
  Select(7, 1, 7, 1);
  Char('0');  // at a line end, nothing structural: one line is coloured
  EXPECT_TRUE(marked());
  expectFullAnalysis("plain typing at the end");
  KeyDown(WXK_BACK);
  EXPECT_TRUE(marked());
  expectFullAnalysis("backspace inside a line");

  Char('{');  // opens a brace comment over the lines below
  EXPECT_FALSE(marked());
  expectFullAnalysis("opening a brace comment");
  mark();
  KeyDown(WXK_BACK);
  EXPECT_FALSE(marked());
  expectFullAnalysis("closing it again");

  mark();
  Select(2, 1, 2, 1);
  Char('q');  // text right of the caret: everything is recoloured
  EXPECT_FALSE(marked());
  expectFullAnalysis("typing inside a line");

  mark();
  Select(0, 2, 0, 2);
  Type(L"PUB ");  // a new header changes the shades below
  EXPECT_EQ(Lines()[2], "PUB   y = 2");
  EXPECT_FALSE(marked());
  expectFullAnalysis("a new header");

  mark();
  Select(3, 3, 3, 3);
  Press(WXK_RETURN, 13);  // a split always recolours
  EXPECT_FALSE(marked());
  expectFullAnalysis("a line split");

  Select(0, 4, 0, 4);
  KeyDown(WXK_BACK);  // a join changes the line count
  expectFullAnalysis("a join");
  Select(3, 0, 3, 0);
  KeyDown(WXK_DELETE);
  expectFullAnalysis("a join forwards");
  Select(1, 0, 2, 2);
  KeyDown(WXK_DELETE);
  expectFullAnalysis("a deleted selection");
}

}  // namespace
