// Focus handling: the notifications to the parent, the caret that lives only
// while the editor has the focus, and a drag that ends with the focus.
#include "support/EditorFixture.h"

#include <wx/caret.h>
#include <wx/textctrl.h>

namespace {

class FocusTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    other_ = new wxTextCtrl(frame_, wxID_ANY, "", wxPoint(0, 0), wxSize(50, 20));
    FocusOther();
    parent_->codes.clear();
    parent_->ids.clear();
  }
  void FocusEditor() {
    editor_->SetFocus();
    Pump();
  }
  void FocusOther() {
    other_->SetFocus();
    Pump();
  }
  void Mouse(wxEventType type, int x, int y) {
    wxMouseEvent event(type);
    event.SetPosition(wxPoint(x, y));
    event.SetLeftDown(type != wxEVT_LEFT_UP);
    event.SetEventObject(editor_);
    editor_->GetEventHandler()->ProcessEvent(event);
  }
  wxPoint CaretCell() const {
    return wxPoint((editor_->m_caretCol - editor_->m_firstCol) * editor_->m_cellWidth + 9,
                   (editor_->m_caretLine - editor_->m_firstLine) * editor_->m_lineHeight);
  }
  wxTextCtrl* other_ = nullptr;
};

TEST_F(FocusTest, FocusChangesAreReportedAndCarryTheCaret) {
  SetLines({"abcd", "efgh", "ijkl"});
  SetCaret(3, 2);
  SetAnchor(3, 2);
  ASSERT_NE(wxWindow::FindFocus(), editor_);
  EXPECT_FALSE(editor_->m_caretShown);
  EXPECT_EQ(editor_->GetCaret(), nullptr);

  FocusEditor();
  ASSERT_EQ(wxWindow::FindFocus(), editor_);
  EXPECT_EQ(parent_->codes, std::vector<int>{ids::EN_SETFOCUS});
  EXPECT_EQ(parent_->ids, std::vector<int>{310});
  EXPECT_TRUE(editor_->m_caretShown);
  ASSERT_NE(editor_->GetCaret(), nullptr);
  EXPECT_TRUE(editor_->GetCaret()->IsVisible());
  EXPECT_EQ(editor_->GetCaret()->GetPosition(), CaretCell());
  EXPECT_EQ(editor_->GetCaret()->GetSize(), wxSize(2, editor_->m_lineHeight));

  FocusOther();
  EXPECT_EQ(parent_->codes, (std::vector<int>{ids::EN_SETFOCUS, ids::EN_KILLFOCUS}));
  EXPECT_EQ(parent_->ids, (std::vector<int>{310, 310}));
  EXPECT_FALSE(editor_->m_caretShown);
  EXPECT_EQ(editor_->GetCaret(), nullptr);

  // Back again: the caret returns to the same cell. Nothing else is sent;
  // focus changes are no edits.
  FocusEditor();
  EXPECT_EQ(parent_->codes, (std::vector<int>{ids::EN_SETFOCUS, ids::EN_KILLFOCUS, ids::EN_SETFOCUS}));
  ASSERT_NE(editor_->GetCaret(), nullptr);
  EXPECT_EQ(editor_->GetCaret()->GetPosition(), wxPoint(3 * editor_->m_cellWidth + 9, 2 * editor_->m_lineHeight));
  EXPECT_EQ(Lines(), (std::vector<std::string>{"abcd", "efgh", "ijkl"}));
  EXPECT_TRUE(editor_->m_undoStack.empty());

  // Setting the focus where it already is sends nothing.
  FocusEditor();
  EXPECT_EQ(parent_->codes.size(), 3u);
}

TEST_F(FocusTest, LosingTheFocusEndsADrag) {
  SetLines({"abcdefghij", "klmnopqrst"});
  const int y = editor_->m_lineHeight / 2;
  Mouse(wxEVT_LEFT_DOWN, 10 + 2 * editor_->m_cellWidth, y);
  Pump();
  ASSERT_TRUE(editor_->m_mouseDown);
  EXPECT_TRUE(editor_->HasCapture());
  EXPECT_EQ(wxWindow::FindFocus(), editor_);

  FocusOther();
  EXPECT_FALSE(editor_->HasCapture());
  EXPECT_FALSE(editor_->m_mouseDown);
  EXPECT_EQ(parent_->Count(ids::EN_KILLFOCUS), 1);

  // The pointer moving over the editor afterwards selects nothing.
  Mouse(wxEVT_MOTION, 10 + 6 * editor_->m_cellWidth, editor_->m_lineHeight + y);
  EXPECT_EQ(editor_->m_caretCol, 2);
  EXPECT_EQ(editor_->m_caretLine, 0);
  EXPECT_EQ(editor_->m_anchorCol, 2);
  EXPECT_EQ(editor_->m_anchorLine, 0);
}

TEST_F(FocusTest, EditorWithoutFocusMakesNoCaret) {
  SetLines({"abc"});
  editor_->SelectAll();
  editor_->InsertText(L"x");
  EXPECT_FALSE(editor_->m_caretShown);
  EXPECT_EQ(editor_->GetCaret(), nullptr);

  FocusEditor();
  EXPECT_EQ(editor_->GetCaret()->GetPosition(), CaretCell());
  editor_->InsertText(L"yz");
  ASSERT_NE(editor_->GetCaret(), nullptr);
  EXPECT_EQ(editor_->GetCaret()->GetPosition(), CaretCell());
  EXPECT_EQ(editor_->m_caretCol, 3);
}

}  // namespace
