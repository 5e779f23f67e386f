// Focus handling: the notifications to the parent, the caret that lives only
// while the editor has the focus, and a drag that ends with the focus.
#include "support/EditorFixture.h"

#include <wx/caret.h>
#include <wx/textctrl.h>

namespace {

using FocusTest = EditorFixture;

TEST_F(FocusTest, FocusChangesAreReportedCarryTheCaretAndEndADrag) {
  auto* other = new wxTextCtrl(frame_, wxID_ANY, "", wxPoint(0, 0), wxSize(50, 20));
  auto focus = [&](wxWindow* window) { window->SetFocus(); Pump(); };
  auto caretAt = [&](int col, int line) {
    return editor_->GetCaret() && editor_->m_caretShown &&
           editor_->GetCaret()->GetPosition() == wxPoint(col * editor_->m_cellWidth + 9, line * editor_->m_lineHeight);
  };
  focus(other);
  SetLines({"abcd", "efgh", "ijkl"});
  editor_->SelectAll();
  editor_->InsertText(L"x\nyz");  // without the focus no caret is made
  EXPECT_FALSE(editor_->m_caretShown || editor_->GetCaret());
  parent_->codes.clear();
  parent_->ids.clear();
  focus(editor_);
  EXPECT_TRUE(caretAt(2, 1));
  focus(other);
  EXPECT_FALSE(editor_->m_caretShown || editor_->GetCaret());
  focus(editor_);
  EXPECT_TRUE(caretAt(2, 1));
  focus(editor_);  // already there: nothing is sent
  EXPECT_EQ(parent_->codes, (std::vector<int>{ids::EN_SETFOCUS, ids::EN_KILLFOCUS, ids::EN_SETFOCUS}));
  EXPECT_EQ(parent_->ids, std::vector<int>(3, 310));
  // Losing the focus mid-drag releases the mouse; moving on selects nothing.
  auto mouse = [&](wxEventType type, int col, int line) {
    wxMouseEvent event(type);
    event.SetPosition(wxPoint(10 + col * editor_->m_cellWidth, line * editor_->m_lineHeight + 2));
    event.SetLeftDown(true);
    editor_->GetEventHandler()->ProcessEvent(event);
  };
  mouse(wxEVT_LEFT_DOWN, 1, 0);
  Pump();
  ASSERT_TRUE(editor_->m_mouseDown && editor_->HasCapture());
  focus(other);
  EXPECT_FALSE(editor_->m_mouseDown || editor_->HasCapture());
  mouse(wxEVT_MOTION, 2, 1);
  EXPECT_EQ(std::make_pair(editor_->m_caretCol, editor_->m_caretLine), std::make_pair(1, 0));
}

}  // namespace
