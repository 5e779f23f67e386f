// Key-downs in a real editor window: caret moves and their column rules, word
// moves, the common tail, Backspace and Delete, read-only mode, failures, and
// real keys from the X server.
#include <string>
#include <vector>

#include "platform/CharClass.h"
#include "support/EditorFixture.h"

#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace {

using Lines_t = std::vector<std::string>;

class KeyboardTest : public EditorFixture {
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

  // Sends one key-down with the given modifiers held; true when the editor
  // passed it on (so that the toolkit goes on to make a character of it).
  bool KeyDown(int key, bool ctrl = false, bool shift = false, bool alt = false) {
    keystate::Override(shift, ctrl);
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = key;
    event.SetControlDown(ctrl);
    event.SetShiftDown(shift);
    event.SetAltDown(alt);
    event.SetEventObject(editor_);
    event.SetId(editor_->GetId());
    const bool processed = editor_->GetEventHandler()->ProcessEvent(event);
    keystate::Override(false, false);
    return !processed;
  }
  void Char(wchar_t unit) {
    wxKeyEvent event(wxEVT_CHAR);
    event.m_keyCode = unit;
    event.m_uniChar = unit;
    event.SetEventObject(editor_);
    editor_->GetEventHandler()->ProcessEvent(event);
  }
  void Select(int anchorCol, int anchorLine, int caretCol, int caretLine) {
    SetAnchor(anchorCol, anchorLine);
    SetCaret(caretCol, caretLine);
  }
  void ExpectCaret(int col, int line) {
    EXPECT_EQ(editor_->m_caretCol, col);
    EXPECT_EQ(editor_->m_caretLine, line);
  }
  void ExpectAnchor(int col, int line) {
    EXPECT_EQ(editor_->m_anchorCol, col);
    EXPECT_EQ(editor_->m_anchorLine, line);
  }
  // Moves from (col, line) with one key and reports the caret column.
  int ColumnAfter(int col, int line, int key, bool ctrl) {
    Select(col, line, col, line);
    KeyDown(key, ctrl);
    return editor_->m_caretCol;
  }
  // Presses a key with modifiers, lets the editor handle it, then lets go:
  // the editor reads the modifiers as it handles the key.
  static void HeldKey(wxUIActionSimulator& keys, int key, int modifiers) {
    keys.KeyDown(key, modifiers);
    Pump();
    keys.KeyUp(key, modifiers);
    Pump();
  }
  static Lines_t Numbered(int n) {
    Lines_t lines;
    for (int i = 0; i < n; ++i) lines.push_back("line " + std::to_string(i));
    return lines;
  }
};

TEST_F(KeyboardTest, LeftAndRightStepOverLineEnds) {
  SetLines({"ab", "", "cd"});
  SetCaret(1, 0);
  KeyDown(WXK_LEFT);
  ExpectCaret(0, 0);
  KeyDown(WXK_LEFT);  // at (0, 0) the caret stays
  ExpectCaret(0, 0);
  KeyDown(WXK_RIGHT);
  KeyDown(WXK_RIGHT);
  ExpectCaret(2, 0);
  KeyDown(WXK_RIGHT);  // past the end to the start of the next line
  ExpectCaret(0, 1);
  KeyDown(WXK_RIGHT);
  ExpectCaret(0, 2);
  KeyDown(WXK_LEFT);  // from column 0 to the end of the previous line
  ExpectCaret(0, 1);
  KeyDown(WXK_LEFT);
  ExpectCaret(2, 0);
  SetCaret(2, 2);
  KeyDown(WXK_RIGHT);  // the end of the last line stays
  ExpectCaret(2, 2);
  ExpectAnchor(2, 2);

  // A caret below the last line goes to the end of the last line first.
  SetCaret(0, 3);
  KeyDown(WXK_RIGHT);
  ExpectCaret(2, 2);
  // The keypad's keys move alike.
  KeyDown(WXK_NUMPAD_LEFT);
  ExpectCaret(1, 2);
  KeyDown(WXK_NUMPAD_RIGHT);
  ExpectCaret(2, 2);
  EXPECT_TRUE(parent_->codes.empty());
  EXPECT_TRUE(editor_->m_undoStack.empty());
}

TEST_F(KeyboardTest, UpAndDownClampTheColumnWithoutRememberingIt) {
  SetLines({"abcdef", "ab", "abcdef"});
  SetCaret(5, 0);
  KeyDown(WXK_DOWN);
  ExpectCaret(2, 1);
  KeyDown(WXK_DOWN);  // the shorter column stays
  ExpectCaret(2, 2);
  KeyDown(WXK_DOWN, true);  // on the last line: no move, with or without Ctrl
  ExpectCaret(2, 2);
  SetCaret(6, 2);
  KeyDown(WXK_UP, true);
  ExpectCaret(2, 1);
  KeyDown(WXK_NUMPAD_UP);
  ExpectCaret(2, 0);
  KeyDown(WXK_UP);
  ExpectCaret(2, 0);
  KeyDown(WXK_NUMPAD_DOWN);
  ExpectCaret(2, 1);

  // Without Shift, a key that cannot move still collapses the selection.
  Select(0, 1, 4, 0);
  KeyDown(WXK_UP);
  ExpectCaret(4, 0);
  ExpectAnchor(4, 0);
  Select(0, 0, 1, 2);
  KeyDown(WXK_DOWN);
  ExpectAnchor(1, 2);
  // With Shift it keeps it.
  Select(0, 1, 4, 0);
  KeyDown(WXK_UP, false, true);
  ExpectAnchor(0, 1);
}

TEST_F(KeyboardTest, HomeAndEndWithAndWithoutCtrl) {
  SetLines({"abc", "defgh", "ij"});
  SetCaret(2, 1);
  KeyDown(WXK_END);
  ExpectCaret(5, 1);
  KeyDown(WXK_HOME);
  ExpectCaret(0, 1);
  KeyDown(WXK_END, true);
  ExpectCaret(2, 2);
  KeyDown(WXK_HOME, true);
  ExpectCaret(0, 0);
  KeyDown(WXK_NUMPAD_END);
  ExpectCaret(3, 0);
  KeyDown(WXK_NUMPAD_HOME);
  ExpectCaret(0, 0);

  // Shift+End selects to the line end; Shift+Ctrl+End to the end of the text.
  SetCaret(1, 1);
  SetAnchor(1, 1);
  KeyDown(WXK_END, false, true);
  ExpectAnchor(1, 1);
  ExpectCaret(5, 1);
  KeyDown(WXK_END, true, true);
  ExpectAnchor(1, 1);
  ExpectCaret(2, 2);
  KeyDown(WXK_HOME);
  ExpectAnchor(0, 2);
}

TEST_F(KeyboardTest, PageKeysMoveByTheVisibleLinesAndScroll) {
  SetLines(Numbered(200));
  const int n = editor_->GetVisibleLineCount(false);
  ASSERT_GT(n, 2);
  ASSERT_LT(n, 100);

  SetCaret(5, 0);
  KeyDown(WXK_PAGEDOWN);
  ExpectCaret(5, n);
  EXPECT_EQ(editor_->m_firstLine, n);
  KeyDown(WXK_PAGEDOWN, true);
  ExpectCaret(5, 2 * n);
  EXPECT_EQ(editor_->m_firstLine, 2 * n);

  // Near the end the caret stops at the last line, which becomes the first visible one.
  SetCaret(5, 199 - n + 1);
  KeyDown(WXK_NUMPAD_PAGEDOWN);
  ExpectCaret(5, 199);
  EXPECT_EQ(editor_->m_firstLine, 199);
  KeyDown(WXK_PAGEDOWN);
  ExpectCaret(5, 199);

  KeyDown(WXK_PAGEUP);
  ExpectCaret(5, 199 - n);
  EXPECT_EQ(editor_->m_firstLine, 199 - n);
  SetCaret(5, n - 1);
  KeyDown(WXK_NUMPAD_PAGEUP);  // stops at line 0
  ExpectCaret(5, 0);
  EXPECT_EQ(editor_->m_firstLine, 0);

  // The column is clamped to the line it lands on.
  Lines_t lines = Numbered(200);
  lines[n] = "x";
  SetLines(lines);
  SetCaret(6, 0);
  KeyDown(WXK_PAGEDOWN);
  ExpectCaret(1, n);
  KeyDown(WXK_PAGEDOWN, false, true);  // Shift+Page Down extends the selection
  ExpectAnchor(1, n);
  ExpectCaret(1, 2 * n);
}

TEST_F(KeyboardTest, ShiftExtendsAndAPlainMoveCollapses) {
  SetLines({"abcdef", "ghij"});
  SetCaret(1, 0);
  SetAnchor(1, 0);
  KeyDown(WXK_RIGHT, false, true);
  KeyDown(WXK_RIGHT, false, true);
  KeyDown(WXK_DOWN, false, true);
  ExpectAnchor(1, 0);
  ExpectCaret(3, 1);
  EXPECT_TRUE(editor_->HasSelection());
  KeyDown(WXK_LEFT);
  ExpectCaret(2, 1);
  ExpectAnchor(2, 1);
  EXPECT_FALSE(editor_->HasSelection());

  // Return without Ctrl moves nothing but collapses the selection too, and
  // is passed on so that its character follows.
  Select(0, 0, 4, 0);
  EXPECT_TRUE(KeyDown(WXK_RETURN));
  ExpectCaret(4, 0);
  ExpectAnchor(4, 0);
  EXPECT_EQ(editor_->m_textModel.lines, (Lines_t{"abcdef", "ghij"}));
}

TEST_F(KeyboardTest, WordMovesStopAtWordEdges) {
  auto left = [this](const std::string& line, int col) {
    SetLines({line});
    return ColumnAfter(col, 0, WXK_LEFT, true);
  };
  auto right = [this](const std::string& line, int col) {
    SetLines({line});
    return ColumnAfter(col, 0, WXK_RIGHT, true);
  };
  EXPECT_EQ(left("abc def", 7), 4);
  EXPECT_EQ(left("abc def", 4), 0);
  EXPECT_EQ(left("abc ", 4), 0);
  EXPECT_EQ(left("a.", 2), 1);
  EXPECT_EQ(left("x := y;", 7), 6);  // punctuation one byte at a time
  EXPECT_EQ(left("x := y;", 6), 5);
  EXPECT_EQ(left("x := y;", 5), 4);
  EXPECT_EQ(left("x := y;", 4), 3);
  EXPECT_EQ(left("x := y;", 3), 2);
  EXPECT_EQ(left("x := y;", 2), 0);
  EXPECT_EQ(left("foo_bar", 7), 4);  // the underscore is no word byte
  EXPECT_EQ(right("abc def", 0), 3);
  EXPECT_EQ(right("abc def", 3), 7);
  EXPECT_EQ(right("a.b", 1), 2);
  EXPECT_EQ(right("a..b", 1), 2);
  EXPECT_EQ(right("  abc  ", 0), 5);
  EXPECT_EQ(right("foo_bar", 0), 3);

  // Across lines.
  SetLines({"abc", "", "def"});
  Select(0, 2, 0, 2);
  KeyDown(WXK_LEFT, true);
  ExpectCaret(0, 1);
  KeyDown(WXK_LEFT, true);
  ExpectCaret(3, 0);
  KeyDown(WXK_RIGHT, true);
  ExpectCaret(0, 1);
  KeyDown(WXK_RIGHT, true);
  ExpectCaret(0, 2);
  KeyDown(WXK_RIGHT, true);
  ExpectCaret(3, 2);
  KeyDown(WXK_RIGHT, true);  // the end of the last line stays
  ExpectCaret(3, 2);
  Select(0, 0, 0, 0);
  KeyDown(WXK_LEFT, true);
  ExpectCaret(0, 0);

  // Shift+Ctrl selects by words.
  SetLines({"one two"});
  Select(0, 0, 0, 0);
  KeyDown(WXK_RIGHT, true, true);
  KeyDown(WXK_RIGHT, true, true);
  ExpectAnchor(0, 0);
  ExpectCaret(7, 0);
}

TEST_F(KeyboardTest, WordMovesFollowTheProcessCharacterClasses) {
  // 0x82 is a letter in the OEM code page only.
  const std::string line = "ab\x82" "cd";
  SetLines({line});
  EXPECT_EQ(ColumnAfter(5, 0, WXK_LEFT, true), 3);
  platform::UseOemCharClasses();
  EXPECT_EQ(ColumnAfter(5, 0, WXK_LEFT, true), 0);
  EXPECT_EQ(ColumnAfter(0, 0, WXK_RIGHT, true), 5);
}

TEST_F(KeyboardTest, BackspaceAndDeleteJoinLines) {
  SetLines({"l0", "l1", "two", "three", "l4"});
  SetCaret(0, 3);
  SetAnchor(0, 3);
  KeyDown(WXK_BACK);
  EXPECT_EQ(Lines(), (Lines_t{"l0", "l1", "twothree", "l4"}));
  ExpectCaret(3, 2);
  ExpectAnchor(3, 2);
  // Undo puts the caret back where the key found it.
  wxCommandEvent undo(wxEVT_MENU, ids::ID_EDIT_UNDO);
  editor_->OnEditUndo(undo);
  EXPECT_EQ(Lines(), (Lines_t{"l0", "l1", "two", "three", "l4"}));
  ExpectCaret(0, 3);

  SetCaret(3, 2);
  SetAnchor(3, 2);
  KeyDown(WXK_DELETE);
  EXPECT_EQ(Lines(), (Lines_t{"l0", "l1", "twothree", "l4"}));
  ExpectCaret(3, 2);
  editor_->OnEditUndo(undo);
  ExpectCaret(3, 2);

  // Inside a line, one byte each way; Ctrl changes nothing.
  SetCaret(2, 2);
  SetAnchor(2, 2);
  KeyDown(WXK_BACK, true);
  EXPECT_EQ(Lines()[2], "to");
  ExpectCaret(1, 2);
  KeyDown(WXK_DELETE, true);
  EXPECT_EQ(Lines()[2], "t");
  ExpectCaret(1, 2);
  KeyDown(WXK_NUMPAD_DELETE);  // at the end: joins the next line
  EXPECT_EQ(Lines()[2], "tthree");
  // Every join leaves the per-line arrays as long as the text.
  const CTextModel& m = editor_->m_textModel;
  EXPECT_EQ(m.braceDepth.size(), m.lines.size());
  EXPECT_EQ(m.lineBackground.size(), m.lines.size());
  EXPECT_EQ(m.lineColours[2].size(), m.lines[2].size());
}

TEST_F(KeyboardTest, NothingToDeleteStillEndsTheAction) {
  SetLines({"ab", "cd"});
  editor_->m_redoStack.emplace_back();
  editor_->m_redoStack.back().m_records.emplace_back();
  KeyDown(WXK_BACK);  // at (0, 0)
  EXPECT_EQ(Lines(), (Lines_t{"ab", "cd"}));
  EXPECT_TRUE(editor_->m_undoStack.empty());
  EXPECT_TRUE(editor_->m_redoStack.empty());
  EXPECT_EQ(parent_->codes, std::vector<int>{ids::EN_CHANGE});

  SetCaret(2, 1);
  SetAnchor(2, 1);
  KeyDown(WXK_DELETE);  // at the end of the last line
  EXPECT_EQ(Lines(), (Lines_t{"ab", "cd"}));
  EXPECT_TRUE(editor_->m_undoStack.empty());
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 2);
}

TEST_F(KeyboardTest, BackspaceAndDeleteRemoveTheSelection) {
  // (3, 1) to (0, 2): line 1 from column 3 on, nothing of line 2.
  SetLines({"zero", "abcdef", "ghi"});
  Select(3, 1, 0, 2);
  KeyDown(WXK_BACK);
  EXPECT_EQ(Lines(), (Lines_t{"zero", "abcghi"}));
  ExpectCaret(3, 1);
  ExpectAnchor(3, 1);
  ASSERT_EQ(editor_->m_undoStack.size(), 1u);
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 1);

  SetLines({"abcdef"});
  Select(4, 0, 1, 0);
  KeyDown(WXK_DELETE);
  EXPECT_EQ(Lines(), (Lines_t{"aef"}));
  ExpectCaret(1, 0);
}

TEST_F(KeyboardTest, ReadOnlyKeysMoveButNeverEdit) {
  SetLines({"abc", "def"});
  editor_->m_readOnly = true;
  editor_->m_redoStack.emplace_back();
  editor_->m_redoStack.back().m_records.emplace_back();
  Select(0, 0, 2, 1);
  KeyDown(WXK_BACK);
  KeyDown(WXK_DELETE, true);
  EXPECT_FALSE(KeyDown(WXK_RETURN, true));
  Pump();
  EXPECT_EQ(Lines(), (Lines_t{"abc", "def"}));
  EXPECT_TRUE(parent_->codes.empty());
  EXPECT_EQ(editor_->m_redoStack.size(), 1u);
  // The common tail still ran: the selection collapsed onto the caret.
  ExpectAnchor(2, 1);
  KeyDown(WXK_LEFT);
  KeyDown(WXK_UP);
  ExpectCaret(1, 0);
}

TEST_F(KeyboardTest, KeysOutsideTheTableArePassedOn) {
  SetLines({"abc"});
  Select(0, 0, 2, 0);
  for (int key : {int(WXK_TAB), int(WXK_SPACE), int('A'), int(WXK_ESCAPE), int(WXK_INSERT), int(WXK_F5)})
    EXPECT_TRUE(KeyDown(key)) << key;
  // A key held with Alt alone is a system key.
  EXPECT_TRUE(KeyDown(WXK_LEFT, false, false, true));
  EXPECT_TRUE(KeyDown(WXK_BACK, false, false, true));
  EXPECT_EQ(Lines(), (Lines_t{"abc"}));
  ExpectCaret(2, 0);
  ExpectAnchor(0, 0);  // not even the selection changed
  // The keys of the table are consumed, Return without Ctrl excepted.
  EXPECT_FALSE(KeyDown(WXK_LEFT));
  EXPECT_FALSE(KeyDown(WXK_HOME, true));
  EXPECT_TRUE(KeyDown(WXK_RETURN));
  EXPECT_TRUE(KeyDown(WXK_NUMPAD_ENTER));
  EXPECT_FALSE(KeyDown(WXK_RETURN, true));
  EXPECT_EQ(editor_->OnGetDlgCode(), 4);
  EXPECT_TRUE(editor_->HasFlag(wxWANTS_CHARS));
}

TEST_F(KeyboardTest, CtrlReturnPostsALineBreak) {
  SetLines({"abcd"});
  SetCaret(2, 0);
  SetAnchor(2, 0);
  KeyDown(WXK_RETURN, true);
  EXPECT_EQ(Lines(), (Lines_t{"abcd"}));  // the line break is still on its way
  Pump();
  EXPECT_EQ(Lines(), (Lines_t{"ab", "cd"}));
  ExpectCaret(0, 1);
  // The line feed that the keyboard makes of Ctrl+Return is ignored.
  Char(10);
  EXPECT_EQ(Lines(), (Lines_t{"ab", "cd"}));
  EXPECT_EQ(editor_->m_undoStack.size(), 1u);
}

TEST_F(KeyboardTest, AFailingKeyIsDroppedWithoutTheTail) {
  // A text inserted with a final line feed leaves the caret below the last line.
  editor_->InsertText(L"ab\n");
  ASSERT_EQ(Lines(), (Lines_t{"ab"}));
  ExpectCaret(0, 1);
  SetAnchor(1, 0);
  editor_->m_redoStack.emplace_back();
  editor_->m_redoStack.back().m_records.emplace_back();
  parent_->codes.clear();

  KeyDown(WXK_END);  // there is no line to take the length of
  ExpectCaret(0, 1);
  ExpectAnchor(1, 0);  // no common tail
  SetAnchor(0, 1);
  KeyDown(WXK_BACK);  // the join finds no line to join
  EXPECT_EQ(Lines(), (Lines_t{"ab"}));
  EXPECT_TRUE(parent_->codes.empty());
  EXPECT_TRUE(editor_->m_redoStack.empty());  // the action had begun
  EXPECT_TRUE(editor_->m_currentFrame.m_records.empty());

  // Typing there adds the line.
  Char('x');
  EXPECT_EQ(Lines(), (Lines_t{"ab", "x"}));
  ExpectCaret(1, 1);
}

TEST_F(KeyboardTest, ASelectionFromBelowTheLastLineEndsAtTheEndOfTheText) {
  editor_->InsertText(L"ab\ncd\nef\n");
  ASSERT_EQ(Lines(), (Lines_t{"ab", "cd", "ef"}));
  ExpectCaret(0, 3);
  KeyDown(WXK_UP, false, true);
  KeyDown(WXK_UP, false, true);
  KeyDown(WXK_RIGHT, false, true);
  ExpectAnchor(0, 3);
  ExpectCaret(1, 1);
  const std::size_t frames = editor_->m_undoStack.size();

  KeyDown(WXK_BACK);
  EXPECT_EQ(Lines(), (Lines_t{"ab", "c"}));
  ExpectCaret(1, 1);
  ExpectAnchor(1, 1);
  ASSERT_EQ(editor_->m_undoStack.size(), frames + 1);
  // Every removed line is in the frame, so undo brings them all back.
  wxCommandEvent undo(wxEVT_MENU, ids::ID_EDIT_UNDO);
  editor_->OnEditUndo(undo);
  EXPECT_EQ(Lines(), (Lines_t{"ab", "cd", "ef"}));
}

TEST_F(KeyboardTest, RealKeysFromTheServer) {
  keystate::ClearOverride();
  // A neighbour that could take the focus: Tab must stay in the editor.
  new wxTextCtrl(parent_, wxID_ANY, "", wxPoint(0, 570), wxSize(40, 28));
  editor_->SetFocus();
  Pump();
  ASSERT_EQ(wxWindow::FindFocus(), editor_);

  wxUIActionSimulator keys;
  keys.Text("ab");
  Pump();
  keys.Char(WXK_RETURN);
  Pump();
  keys.Char(WXK_TAB);
  keys.Char('c');
  Pump();
  EXPECT_EQ(Lines(), (Lines_t{"ab", "    c"}));
  ExpectCaret(5, 1);
  EXPECT_EQ(wxWindow::FindFocus(), editor_);

  keys.Char(WXK_BACK);
  keys.Char(WXK_LEFT);
  keys.Char(WXK_LEFT);
  Pump();
  ExpectCaret(2, 1);
  HeldKey(keys, WXK_RETURN, wxMOD_CONTROL);  // exactly one line break
  EXPECT_EQ(Lines(), (Lines_t{"ab", "  ", "    "}));
  keys.Char(WXK_NUMPAD_ENTER);
  Pump();
  EXPECT_EQ(Lines().size(), 4u);
  // Ctrl with a letter is no character to type.
  keys.Char('a', wxMOD_CONTROL);
  Pump();
  HeldKey(keys, WXK_HOME, wxMOD_CONTROL);
  HeldKey(keys, WXK_RIGHT, wxMOD_SHIFT);
  keys.Char(WXK_DELETE);
  Pump();
  EXPECT_EQ(Lines(), (Lines_t{"b", "  ", "  ", "    "}));
  ExpectCaret(0, 0);
  EXPECT_EQ(editor_->m_undoStack.size(), 9u);
}

}  // namespace
