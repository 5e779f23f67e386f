// Selection queries, position clamping, the system caret and line scrolling
// of a real editor window.
#include <string>
#include <vector>

#include "support/EditorFixture.h"

#include <wx/caret.h>

namespace {

class CaretSelectionTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    editor_->m_cellWidth = 10;
    editor_->m_lineHeight = 10;
  }
  // Gives the editor the focus. Other test programs sharing the display may
  // take the X focus away while events are pumped, so this asks again until
  // the focus holds after a pump; the test then pumps no more.
  bool TakeFocus() {
    for (int attempt = 0; attempt < 50; ++attempt) {
      editor_->SetFocus();
      Pump();
      if (editor_->HasFocus()) return true;
    }
    return false;
  }
  void Focus() { ASSERT_TRUE(TakeFocus()); }
  void FocusElsewhere() {
    wxWindow* other = new wxWindow(parent_, wxID_ANY, wxPoint(0, 0), wxSize(10, 10));
    other->SetFocus();
    Pump();
    ASSERT_FALSE(editor_->HasFocus());
  }
  static std::vector<std::string> Numbered(int n) {
    std::vector<std::string> lines;
    for (int i = 0; i < n; ++i) lines.push_back("line " + std::to_string(i));
    return lines;
  }
};

TEST_F(CaretSelectionTest, HasSelectionFollowsAnchorAndCaret) {
  SetLines({"abcdef", "ghijkl"});
  EXPECT_FALSE(editor_->HasSelection());
  EXPECT_FALSE(editor_->m_hadSelection);

  SetCaret(3, 0);
  EXPECT_TRUE(editor_->HasSelection());
  EXPECT_TRUE(editor_->m_hadSelection);

  // Same column on another line is still a selection.
  SetAnchor(3, 1);
  EXPECT_TRUE(editor_->HasSelection());

  SetCaret(3, 1);
  EXPECT_FALSE(editor_->HasSelection());
  EXPECT_FALSE(editor_->m_hadSelection);
}

TEST_F(CaretSelectionTest, SelectionCoversTheHalfOpenRangeInEitherDirection) {
  SetLines({"0123456789", "0123456789", "0123456789", "0123456789"});
  // No selection: no cell is selected.
  SetCaret(4, 1);
  SetAnchor(4, 1);
  EXPECT_FALSE(editor_->IsInSelection(4, 1));

  // From (3, 1) to (0, 2): line 1 from column 3 on, nothing of line 2.
  for (int direction = 0; direction < 2; ++direction) {
    if (direction == 0) {
      SetAnchor(3, 1);
      SetCaret(0, 2);
    } else {
      SetAnchor(0, 2);
      SetCaret(3, 1);
    }
    EXPECT_FALSE(editor_->IsInSelection(2, 1));
    EXPECT_TRUE(editor_->IsInSelection(3, 1));
    EXPECT_TRUE(editor_->IsInSelection(9, 1));
    EXPECT_TRUE(editor_->IsInSelection(50, 1));  // past the text on a start line
    EXPECT_FALSE(editor_->IsInSelection(0, 2));
    EXPECT_FALSE(editor_->IsInSelection(5, 0));
  }

  // Lines strictly between start and end are selected whatever the column;
  // the end line only before the end column.
  SetAnchor(7, 0);
  SetCaret(2, 3);
  for (int col = 0; col < 12; ++col) {
    EXPECT_TRUE(editor_->IsInSelection(col, 1));
    EXPECT_TRUE(editor_->IsInSelection(col, 2));
  }
  EXPECT_FALSE(editor_->IsInSelection(6, 0));
  EXPECT_TRUE(editor_->IsInSelection(7, 0));
  EXPECT_TRUE(editor_->IsInSelection(1, 3));
  EXPECT_FALSE(editor_->IsInSelection(2, 3));

  // Within one line, leftwards.
  SetAnchor(6, 2);
  SetCaret(2, 2);
  EXPECT_FALSE(editor_->IsInSelection(1, 2));
  EXPECT_TRUE(editor_->IsInSelection(2, 2));
  EXPECT_TRUE(editor_->IsInSelection(5, 2));
  EXPECT_FALSE(editor_->IsInSelection(6, 2));
  EXPECT_FALSE(editor_->IsInSelection(3, 1));
}

TEST_F(CaretSelectionTest, ClampPositionKeepsPositionsOnTheText) {
  SetLines({"abc", "", "hello"});
  struct Case {
    int col, line, wantCol, wantLine;
  } cases[] = {
      {2, 0, 2, 0},   {3, 0, 3, 0},    {4, 0, 3, 0},   {-5, 0, 0, 0},  {5, 1, 0, 1},
      {9, 2, 5, 2},   {2, -3, 2, 0},   {9, -3, 3, 0},  {4, 7, 4, 2},   {99, 99, 5, 2},
      {-1, 99, 0, 2},
  };
  for (const Case& c : cases) {
    int col = c.col, line = c.line;
    editor_->ClampPosition(col, line);
    EXPECT_EQ(col, c.wantCol) << c.col << "," << c.line;
    EXPECT_EQ(line, c.wantLine) << c.col << "," << c.line;
  }
}

TEST_F(CaretSelectionTest, SetSelectionClampsStoresAndShowsTheCaretWhenFocused) {
  FocusElsewhere();
  // On the fresh editor's one empty line both ends clamp to (0, 0).
  editor_->SetSelection(0, 0, 10, 40);
  EXPECT_EQ(editor_->m_caretCol, 0);
  EXPECT_EQ(editor_->m_caretLine, 0);
  EXPECT_EQ(editor_->m_anchorCol, 0);
  EXPECT_EQ(editor_->m_anchorLine, 0);

  SetLines({"first line", "second", "third line here"});
  editor_->SetSelection(-4, 1, 99, 2);
  EXPECT_EQ(editor_->m_anchorCol, 0);
  EXPECT_EQ(editor_->m_anchorLine, 1);
  EXPECT_EQ(editor_->m_caretCol, 15);
  EXPECT_EQ(editor_->m_caretLine, 2);
  EXPECT_TRUE(editor_->HasSelection());

  EXPECT_FALSE(editor_->m_caretShown);

  Focus();
  editor_->SetSelection(1, 0, 4, 1);
  EXPECT_TRUE(editor_->m_caretShown);
  ASSERT_NE(editor_->GetCaret(), nullptr);
  EXPECT_EQ(editor_->GetCaret()->GetPosition(), wxPoint(4 * 10 + 9, 10));
  EXPECT_EQ(editor_->GetCaret()->GetSize(), wxSize(2, 10));
}

TEST_F(CaretSelectionTest, UpdateCaretCreatesMovesAndDestroysTheCaret) {
  SetLines(Numbered(50));
  Focus();
  // Taking the focus may have made a caret already; start without one.
  editor_->UpdateCaret(false);
  EXPECT_FALSE(editor_->m_caretShown);
  EXPECT_EQ(editor_->GetCaret(), nullptr);

  editor_->m_lineHeight = 17;
  editor_->m_cellWidth = 8;
  editor_->m_firstCol = 2;
  editor_->m_firstLine = 3;
  SetCaret(5, 4);
  editor_->UpdateCaret(true);
  ASSERT_TRUE(editor_->m_caretShown);
  wxCaret* caret = editor_->GetCaret();
  ASSERT_NE(caret, nullptr);
  EXPECT_TRUE(caret->IsVisible());
  EXPECT_EQ(caret->GetSize(), wxSize(2, 17));
  EXPECT_EQ(caret->GetPosition(), wxPoint((5 - 2) * 8 + 9, (4 - 3) * 17));

  // Showing again only moves it, also to a cell outside the client area.
  SetCaret(0, 0);
  editor_->UpdateCaret(true);
  EXPECT_EQ(editor_->GetCaret(), caret);
  EXPECT_EQ(caret->GetPosition(), wxPoint(-2 * 8 + 9, -3 * 17));

  editor_->UpdateCaret(false);
  EXPECT_FALSE(editor_->m_caretShown);
  EXPECT_EQ(editor_->GetCaret(), nullptr);
  editor_->UpdateCaret(false);
  EXPECT_FALSE(editor_->m_caretShown);

  // The next show makes a caret of the current line height.
  editor_->m_lineHeight = 21;
  editor_->UpdateCaret(true);
  ASSERT_NE(editor_->GetCaret(), nullptr);
  EXPECT_EQ(editor_->GetCaret()->GetSize(), wxSize(2, 21));
}

TEST_F(CaretSelectionTest, UpdateCaretDoesNothingWithoutTheFocus) {
  SetLines({"abc"});
  FocusElsewhere();
  editor_->UpdateCaret(true);
  EXPECT_FALSE(editor_->m_caretShown);
  EXPECT_EQ(editor_->GetCaret(), nullptr);
}

TEST_F(CaretSelectionTest, ScrollToLineAndScrollLineIntoView) {
  SetLines(Numbered(100));
  const int rows = editor_->GetClientSize().GetHeight() / editor_->m_lineHeight;
  ASSERT_GT(rows, 10);
  ASSERT_LT(rows, 90);

  editor_->ScrollToLine(30);
  EXPECT_EQ(editor_->m_firstLine, 30);
  EXPECT_EQ(editor_->GetScrollPos(wxVERTICAL), 30);

  // Visible lines leave the view alone: the first and the last whole row.
  editor_->ScrollLineIntoView(30);
  EXPECT_EQ(editor_->m_firstLine, 30);
  editor_->ScrollLineIntoView(30 + rows - 1);
  EXPECT_EQ(editor_->m_firstLine, 30);

  // One past the last whole row, or above the first, becomes the first line.
  editor_->ScrollLineIntoView(30 + rows);
  EXPECT_EQ(editor_->m_firstLine, 30 + rows);
  editor_->ScrollLineIntoView(2);
  EXPECT_EQ(editor_->m_firstLine, 2);
  EXPECT_EQ(editor_->GetScrollPos(wxVERTICAL), 2);

  // Beyond the text: the last line becomes the first visible line.
  editor_->ScrollLineIntoView(500);
  EXPECT_EQ(editor_->m_firstLine, 99);
  editor_->ScrollToLine(1000);
  EXPECT_EQ(editor_->m_firstLine, 99);
  editor_->ScrollToLine(0);
  EXPECT_EQ(editor_->m_firstLine, 0);
  EXPECT_EQ(editor_->GetScrollPos(wxVERTICAL), 0);
}

}  // namespace
