// The left mouse button in a real editor window: press, Shift+press, drag,
// release and double-click word selection, driven by wx mouse events.
#include <string>
#include <vector>

#include "platform/CharClass.h"
#include "support/EditorFixture.h"

#include <wx/caret.h>

namespace {

class MouseTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    editor_->m_cellWidth = 10;
    editor_->m_lineHeight = 10;
    parent_->codes.clear();
  }
  void TearDown() override {
    if (editor_ && editor_->HasCapture()) editor_->ReleaseMouse();
    platform::UseDefaultCharClasses();
    EditorFixture::TearDown();
  }

  void Send(wxEventType type, int x, int y) {
    wxMouseEvent event(type);
    event.SetPosition(wxPoint(x, y));
    event.SetEventObject(editor_);
    event.SetId(editor_->GetId());
    event.m_leftDown = type == wxEVT_LEFT_DOWN || type == wxEVT_LEFT_DCLICK || type == wxEVT_MOTION;
    editor_->GetEventHandler()->ProcessEvent(event);
  }
  void Press(int x, int y) { Send(wxEVT_LEFT_DOWN, x, y); }
  void Drag(int x, int y) { Send(wxEVT_MOTION, x, y); }
  void Release(int x, int y) { Send(wxEVT_LEFT_UP, x, y); }
  void DoubleClick(int x, int y) { Send(wxEVT_LEFT_DCLICK, x, y); }
  // A click as the toolkit delivers it; a double-click arrives as
  // press, release, press, double-click, release.
  void Click(int x, int y) {
    Press(x, y);
    Release(x, y);
  }
  void FullDoubleClick(int x, int y) {
    Click(x, y);
    Press(x, y);
    DoubleClick(x, y);
    Release(x, y);
  }
  // Client x of the boundary before column `col` with the first column 0.
  static int X(int col) { return 10 + col * 10; }
  // A client y inside line `line` with the first line 0.
  static int Y(int line) { return line * 10 + 4; }

  void ExpectCaret(int col, int line) {
    EXPECT_EQ(editor_->m_caretCol, col);
    EXPECT_EQ(editor_->m_caretLine, line);
  }
  void ExpectAnchor(int col, int line) {
    EXPECT_EQ(editor_->m_anchorCol, col);
    EXPECT_EQ(editor_->m_anchorLine, line);
  }
  // Where a word double-click on `text` at column `col` puts caret and anchor.
  std::pair<int, int> WordAt(const std::string& text, int x) {
    SetLines({text});
    FullDoubleClick(x, Y(0));
    EXPECT_EQ(editor_->m_caretLine, 0);
    EXPECT_EQ(editor_->m_anchorLine, 0);
    return {editor_->m_caretCol, editor_->m_anchorCol};
  }
};

TEST_F(MouseTest, PressGoesToTheNearestCellBoundary) {
  SetLines({std::string(60, 'a'), "short", std::string(40, 'b')});

  Press(14, Y(0));  // 4 pixels into the first cell
  ExpectCaret(0, 0);
  Release(14, Y(0));
  Press(15, Y(0));
  ExpectCaret(1, 0);
  Release(15, Y(0));
  Press(0, Y(0));  // in the margin
  ExpectCaret(0, 0);
  Release(0, Y(0));
  Press(X(37) + 3, Y(2));
  ExpectCaret(37, 2);
  ExpectAnchor(37, 2);
  Release(X(37) + 3, Y(2));

  // Right of a line's end: the end of that line. Below the last line: the last line.
  Press(X(30), Y(1));
  ExpectCaret(5, 1);
  Release(X(30), Y(1));
  Press(X(12), Y(40));
  ExpectCaret(12, 2);
  Release(X(12), Y(40));
  Press(X(55), 599);
  ExpectCaret(40, 2);
  Release(X(55), 599);

  // Scrolled: the first visible column and line count in, the margin gives the
  // first visible column.
  editor_->m_firstCol = 7;
  editor_->m_firstLine = 1;
  Press(0, Y(1));
  ExpectCaret(7, 2);
  Release(0, Y(1));
  Press(X(3) - 5, Y(0));
  ExpectCaret(5, 1);  // "short" ends at 5 < 7 + 3
  Release(X(3) - 5, Y(0));
  Press(X(3) - 6, Y(1));
  ExpectCaret(9, 2);
  Release(X(3) - 6, Y(1));

  // A press only places the caret: no text change, no notification.
  EXPECT_EQ(Lines().size(), 3u);
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 0);
}

// With narrow cells the rounding in the margin would give the column before
// the first visible one; the press stays on the text instead.
TEST_F(MouseTest, PressInTheMarginWithNarrowCellsStaysOnTheFirstVisibleColumn) {
  SetLines({std::string(50, 'n')});
  for (int width : {1, 5, 6, 7}) {
    editor_->m_cellWidth = width;
    editor_->m_firstCol = 0;
    Press(0, Y(0));
    ExpectCaret(0, 0);
    Release(0, Y(0));
    editor_->m_firstCol = 4;
    Press(1, Y(0));
    ExpectCaret(4, 0);
    Release(1, Y(0));
    Press(10 + width, Y(0));
    ExpectCaret(5, 0);
    Release(10 + width, Y(0));
  }
}

TEST_F(MouseTest, PressTakesFocusCapturesAndShowsTheCaretAndReleaseEndsIt) {
  SetLines({"abcdef", "ghijkl"});
  Press(X(3), Y(1));
  EXPECT_TRUE(editor_->m_mouseDown);
  EXPECT_EQ(editor_->m_pressX, X(3) - 10);
  EXPECT_EQ(editor_->m_pressY, Y(1));
  EXPECT_TRUE(editor_->HasFocus());
  EXPECT_TRUE(editor_->HasCapture());
  ASSERT_TRUE(editor_->m_caretShown);
  ASSERT_NE(editor_->GetCaret(), nullptr);
  EXPECT_EQ(editor_->GetCaret()->GetPosition(), wxPoint(3 * 10 + 9, 10));

  Release(X(3), Y(1));
  EXPECT_FALSE(editor_->m_mouseDown);
  EXPECT_FALSE(editor_->HasCapture());

  // A release without a press is harmless.
  Release(X(1), Y(0));
  EXPECT_FALSE(editor_->HasCapture());

  // Moves without the button down change nothing.
  Drag(X(5), Y(0));
  ExpectCaret(3, 1);
  ExpectAnchor(3, 1);
}

TEST_F(MouseTest, PressWithoutShiftDropsTheSelectionShiftPressKeepsTheAnchor) {
  SetLines({"0123456789", "0123456789", "0123456789", "0123456789"});

  Press(X(2), Y(0));
  Release(X(2), Y(0));
  keystate::Override(true, false);
  Press(X(5), Y(3));
  Release(X(5), Y(3));
  ExpectAnchor(2, 0);
  ExpectCaret(5, 3);
  EXPECT_TRUE(editor_->HasSelection());

  // Another Shift+press moves only the caret, also above the anchor.
  Press(X(1), Y(0));
  Release(X(1), Y(0));
  ExpectAnchor(2, 0);
  ExpectCaret(1, 0);

  // A plain press collapses the selection onto the new caret.
  keystate::Override(false, false);
  Press(X(7), Y(2));
  Release(X(7), Y(2));
  ExpectAnchor(7, 2);
  ExpectCaret(7, 2);
  EXPECT_FALSE(editor_->m_hadSelection);
}

TEST_F(MouseTest, DragColumnsRightAndLeftOfThePressPoint) {
  SetLines({std::string(60, 'x'), "abc"});
  const int press = 10 + 25;
  Press(press, Y(0));
  ExpectCaret(3, 0);

  Drag(10 + 29, Y(0));
  ExpectCaret(2, 0);
  Drag(10 + 30, Y(0));
  ExpectCaret(3, 0);
  Drag(10 + 21, Y(0));
  ExpectCaret(2, 0);
  Drag(10 + 20, Y(0));
  ExpectCaret(1, 0);
  Drag(10 + 25, Y(0));  // at the press point counts as left of it
  ExpectCaret(2, 0);
  Drag(10 + 26, Y(0));
  ExpectCaret(2, 0);
  Drag(10 + 40, Y(0));
  ExpectCaret(4, 0);

  // Never below column 0 and never past the line's end.
  Drag(-200, Y(0));
  ExpectCaret(0, 0);
  Drag(900, Y(0));
  ExpectCaret(60, 0);
  Drag(900, Y(1));
  ExpectCaret(3, 1);

  // The anchor stays where the press put it.
  ExpectAnchor(3, 0);
  EXPECT_TRUE(editor_->HasSelection());

  // With a scrolled view the first visible column counts in.
  editor_->m_firstCol = 10;
  Drag(10 + 29, Y(0));
  ExpectCaret(12, 0);
  Drag(10 + 20, Y(0));
  ExpectCaret(11, 0);

  Release(10 + 20, Y(0));
  Drag(10 + 50, Y(0));
  ExpectCaret(11, 0);
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 0);
}

TEST_F(MouseTest, DragOutsideTheWindowMovesTheCaretButNeverScrolls) {
  std::vector<std::string> lines;
  for (int i = 0; i < 200; ++i) lines.push_back("line " + std::to_string(i));
  SetLines(lines);
  editor_->ScrollToLine(20);
  Press(X(2) + 3, Y(5));
  ExpectCaret(2, 25);

  Drag(X(2) + 3, -5);  // truncates towards zero: row 0
  ExpectCaret(2, 20);
  Drag(X(2) + 3, -35);
  ExpectCaret(2, 17);
  Drag(X(2) + 3, -5000);
  ExpectCaret(2, 0);
  Drag(X(2) + 3, 1500);
  ExpectCaret(2, 170);
  Drag(X(2) + 3, 100000);
  ExpectCaret(2, 199);
  EXPECT_EQ(editor_->m_firstLine, 20);
  EXPECT_EQ(editor_->GetScrollPos(wxVERTICAL), 20);
  ExpectAnchor(2, 25);
  Release(X(2) + 3, 100000);
}

TEST_F(MouseTest, LostCaptureEndsTheDrag) {
  SetLines({"abcdefgh"});
  Press(X(1), Y(0));
  ASSERT_TRUE(editor_->HasCapture());
  wxMouseCaptureLostEvent lost(editor_->GetId());
  editor_->ReleaseMouse();
  editor_->GetEventHandler()->ProcessEvent(lost);
  EXPECT_FALSE(editor_->m_mouseDown);
  Drag(X(6), Y(0));
  ExpectCaret(1, 0);
}

TEST_F(MouseTest, DoubleClickSelectsTheWordAroundThePoint) {
  // On the b of foo_bar: the underscore is not part of a word.
  EXPECT_EQ(WordAt("foo_bar", X(4) + 2), std::make_pair(4, 7));
  // Inside foo: caret at its start, anchor at its end.
  EXPECT_EQ(WordAt("foo_bar", X(1) + 2), std::make_pair(0, 3));
  // On the space of "a b": that one byte, caret after it.
  EXPECT_EQ(WordAt("a b", X(1) + 2), std::make_pair(2, 1));
  // Right of a line ending in a word: the word, anchor at the line end.
  EXPECT_EQ(WordAt("abc xyz", X(30)), std::make_pair(4, 7));
  // Right of a line ending in a space: no selection, caret at the line end.
  EXPECT_EQ(WordAt("xyz ", X(30)), std::make_pair(4, 4));
  // Digits belong to words.
  EXPECT_EQ(WordAt("  x := 1024 + y2", X(8) + 1), std::make_pair(7, 11));
  EXPECT_EQ(WordAt("  x := 1024 + y2", X(15)), std::make_pair(14, 16));
  // An empty line.
  EXPECT_EQ(WordAt("", X(3)), std::make_pair(0, 0));
}

TEST_F(MouseTest, DoubleClickOnLaterLinesAndScrolledViews) {
  SetLines({"first", "second word here", "third"});
  editor_->m_firstLine = 1;
  editor_->m_firstCol = 3;
  FullDoubleClick(X(5) + 1, Y(0));  // column 8 of line 1, inside "word"
  ExpectCaret(7, 1);
  ExpectAnchor(11, 1);
  EXPECT_FALSE(editor_->m_mouseDown);
  EXPECT_FALSE(editor_->HasCapture());
  EXPECT_TRUE(editor_->HasSelection());
  ASSERT_NE(editor_->GetCaret(), nullptr);
  EXPECT_EQ(editor_->GetCaret()->GetPosition(), wxPoint((7 - 3) * 10 + 9, 0));

  // The double-click alone, without the presses around it, ends a drag too.
  Press(X(2), Y(1));
  DoubleClick(X(2), Y(1));
  EXPECT_FALSE(editor_->m_mouseDown);
  Drag(X(0), Y(0));
  ExpectCaret(0, 2);
  ExpectAnchor(5, 2);
  Release(X(2), Y(1));
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 0);
}

TEST_F(MouseTest, DoubleClickWordBytesFollowTheCharacterClasses) {
  // Byte 0x82 is a letter of the OEM table only.
  const std::string text = std::string("ab") + '\x82' + "cd ef";
  platform::UseDefaultCharClasses();
  EXPECT_EQ(WordAt(text, X(1) + 1), std::make_pair(0, 2));
  EXPECT_EQ(WordAt(text, X(4) + 1), std::make_pair(3, 5));
  platform::UseOemCharClasses();
  EXPECT_EQ(WordAt(text, X(1) + 1), std::make_pair(0, 5));
}

}  // namespace
