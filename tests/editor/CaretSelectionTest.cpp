// Selection queries and clamping, the system caret and line scrolling of a real editor window.
#include <string>
#include <utility>
#include <vector>

#include "support/EditorFixture.h"

#include <wx/caret.h>

namespace {

using Cells = std::vector<std::pair<int, int>>;  // (column, line)

class CaretSelectionTest : public EditorFixture {
 protected:
  // Other programs on the display may take the focus away while events are pumped: ask until it holds.
  bool TakeFocus() {
    for (int attempt = 0; attempt < 50; ++attempt) {
      editor_->SetFocus();
      Pump();
      if (editor_->HasFocus()) return true;
    }
    return false;
  }
  Cells AnchorCaret() const {
    return {{editor_->m_anchorCol, editor_->m_anchorLine}, {editor_->m_caretCol, editor_->m_caretLine}};
  }
};

TEST_F(CaretSelectionTest, SelectionCoversTheHalfOpenRangeInEitherDirection) {
  SetLines(std::vector<std::string>(4, "0123456789"));
  const struct { Cells anchorCaret, in, out; } cases[] = {
      {{{4, 1}, {4, 1}}, {}, {{4, 1}, {3, 1}}},     {{{3, 0}, {3, 1}}, {{3, 0}, {2, 1}}, {{3, 1}}},
      {{{3, 1}, {0, 2}}, {{3, 1}, {9, 1}, {50, 1}}, {{2, 1}, {0, 2}, {5, 0}}},
      {{{0, 2}, {3, 1}}, {{3, 1}, {9, 1}, {50, 1}}, {{2, 1}, {0, 2}, {5, 0}}},
      {{{7, 0}, {2, 3}}, {{7, 0}, {0, 1}, {11, 1}, {0, 2}, {11, 2}, {1, 3}}, {{6, 0}, {2, 3}}},
      {{{6, 2}, {2, 2}}, {{2, 2}, {5, 2}}, {{1, 2}, {6, 2}, {3, 1}, {3, 3}}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.anchorCaret));
    SetAnchor(c.anchorCaret[0].first, c.anchorCaret[0].second);
    SetCaret(c.anchorCaret[1].first, c.anchorCaret[1].second);
    EXPECT_EQ(editor_->HasSelection(), !c.in.empty());
    EXPECT_EQ(editor_->m_hadSelection, !c.in.empty());
    for (auto [col, line] : c.in) EXPECT_TRUE(editor_->IsInSelection(col, line)) << col << "," << line;
    for (auto [col, line] : c.out) EXPECT_FALSE(editor_->IsInSelection(col, line)) << col << "," << line;
  }
}

// Each end is clamped to a line first, then to that line's length.
TEST_F(CaretSelectionTest, SetSelectionClampsBothEnds) {
  editor_->SetSelection(0, 0, 10, 40);  // the fresh editor's one empty line
  EXPECT_EQ(AnchorCaret(), (Cells{{0, 0}, {0, 0}}));
  SetLines({"abc", "", "hello"});
  editor_->SetSelection(-4, 1, 99, 2);
  EXPECT_EQ(AnchorCaret(), (Cells{{0, 1}, {5, 2}}));
  editor_->SetSelection(9, -3, 4, 7);
  EXPECT_EQ(AnchorCaret(), (Cells{{3, 0}, {4, 2}}));
  editor_->SetSelection(5, 1, -1, 99);
  EXPECT_EQ(AnchorCaret(), (Cells{{0, 1}, {0, 2}}));
}

TEST_F(CaretSelectionTest, TheCaretIsMadeOnlyWithTheFocusAndMovesToItsCell) {
  SetLines(std::vector<std::string>(50, "some text"));
  (new wxWindow(parent_, wxID_ANY, wxPoint(0, 0), wxSize(10, 10)))->SetFocus();
  Pump();
  ASSERT_FALSE(editor_->HasFocus());
  editor_->SetSelection(1, 0, 4, 1);
  editor_->UpdateCaret(true);
  EXPECT_FALSE(editor_->m_caretShown || editor_->GetCaret());
  ASSERT_TRUE(TakeFocus());
  editor_->UpdateCaret(false);  // taking the focus may have made one already
  editor_->m_cellWidth = 8;
  editor_->m_lineHeight = 17;
  editor_->m_firstCol = 2;
  editor_->m_firstLine = 3;
  editor_->SetSelection(1, 0, 5, 4);
  wxCaret* caret = editor_->GetCaret();
  ASSERT_TRUE(editor_->m_caretShown && caret && caret->IsVisible());
  EXPECT_EQ(caret->GetPosition(), wxPoint(3 * 8 + 9, 17));
  EXPECT_EQ(caret->GetSize(), wxSize(2, 17));
  editor_->UpdateCaret(false);
  EXPECT_FALSE(editor_->m_caretShown || editor_->GetCaret());
}

TEST_F(CaretSelectionTest, ScrollToLineAndScrollLineIntoView) {
  SetLines(std::vector<std::string>(100, "line"));
  const int rows = editor_->GetClientSize().GetHeight() / editor_->m_lineHeight;
  ASSERT_TRUE(rows > 10 && rows < 60);
  // {ScrollToLine, else ScrollLineIntoView; line; first line after}: rows in view stay; past the end, the last line.
  const int cases[][3] = {{1, 30, 30}, {0, 30, 30},  {0, 29 + rows, 30}, {0, 30 + rows, 30 + rows},
                          {0, 2, 2},   {0, 500, 99}, {1, 1000, 99},     {1, 0, 0}};
  for (const auto& c : cases) {
    c[0] ? editor_->ScrollToLine(c[1]) : editor_->ScrollLineIntoView(c[1]);
    EXPECT_EQ(editor_->m_firstLine, c[2]) << c[0] << " " << c[1];
    EXPECT_TRUE(c[2] > 40 || editor_->GetScrollPos(wxVERTICAL) == c[2]) << c[0] << " " << c[1];
  }
}

}  // namespace
