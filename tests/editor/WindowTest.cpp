// The editor window as a whole: construction defaults, fonts and the measured
// cell, the reset and clear operations, line access, the cursor, and an
// editor whose window could not be created.
#include <wx/dcclient.h>
#include <wx/fontenum.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "support/EditorFixture.h"

namespace {

class WindowTest : public EditorFixture {
 protected:
  // The cell the editor's normal font gives, measured here independently.
  wxSize FontCell(ColorEditWnd* editor) {
    wxClientDC dc(editor);
    dc.SetFont(editor->m_font);
    wxCoord w = 0, h = 0;
    dc.GetTextExtent(wxString('M', 40), &w, &h);
    return wxSize((w + 20) / 40, dc.GetCharHeight());
  }
};

TEST_F(WindowTest, ConstructionDefaults) {
  ColorEditWnd& e = *editor_;
  ASSERT_EQ(e.m_textModel.LineCount(), 1);
  EXPECT_EQ(e.GetLine(0), "");
  EXPECT_EQ(e.m_textModel.lineColours.size(), 1u);
  EXPECT_EQ(e.m_textModel.maxLineLength, 0);
  EXPECT_EQ(e.m_caretCol, 0);
  EXPECT_EQ(e.m_caretLine, 0);
  EXPECT_EQ(e.m_anchorCol, 0);
  EXPECT_EQ(e.m_anchorLine, 0);
  EXPECT_EQ(e.m_firstCol, 0);
  EXPECT_EQ(e.m_firstLine, 0);
  EXPECT_TRUE(e.m_currentFrame.m_records.empty());
  EXPECT_TRUE(e.m_undoStack.empty());
  EXPECT_TRUE(e.m_redoStack.empty());
  EXPECT_EQ(e.m_tabWidth, 4);
  EXPECT_EQ(e.m_selBack, 0x000000u);
  EXPECT_EQ(e.m_selText, 0xFFFFFFu);
  EXPECT_FALSE(e.m_hadSelection);
  EXPECT_FALSE(e.m_mouseDown);
  EXPECT_EQ(e.m_pressX, 0);
  EXPECT_EQ(e.m_pressY, 0);
  EXPECT_TRUE(e.m_useAccelerators);
  EXPECT_TRUE(e.m_autoIndent);
  EXPECT_EQ(e.m_controlId, 310);
  EXPECT_FALSE(e.m_readOnly);
  EXPECT_TRUE(e.m_hAccel.IsOk());
  EXPECT_EQ(e.m_fontHeight, 18);
  EXPECT_EQ(e.m_fontFace, L"Veltrane");

  char name[64];
  std::snprintf(name, sizeof name, "ColorEditWnd::%p", static_cast<void*>(editor_));
  EXPECT_EQ(e.m_instanceName, name);
  for (int b = 0; b < 256; ++b) EXPECT_EQ(e.m_glyphs[b], SystemGlyphTable()[b]) << b;

  // A visible child with id 310, both scroll bars, never erased.
  EXPECT_TRUE(e.GetHandle() != nullptr);
  EXPECT_EQ(e.GetId(), 310);
  EXPECT_EQ(e.GetParent(), parent_);
  EXPECT_TRUE(e.IsShown());
  EXPECT_TRUE(e.HasFlag(wxVSCROLL));
  EXPECT_TRUE(e.HasFlag(wxHSCROLL));
  EXPECT_EQ(e.GetBackgroundStyle(), wxBG_STYLE_PAINT);
  EXPECT_EQ(e.GetPosition(), wxPoint(2, 2));
  EXPECT_EQ(e.GetSize(), wxSize(796, 596));

  // Clearing the text at construction told the parent once.
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 1);
  for (std::size_t i = 0; i < parent_->codes.size(); ++i) EXPECT_EQ(parent_->ids[i], 310);
}

TEST_F(WindowTest, FontsAreFixedPitchAtTheirHeightAndWeights) {
  ColorEditWnd& e = *editor_;
  ASSERT_TRUE(e.m_font.IsOk());
  ASSERT_TRUE(e.m_boldFont.IsOk());
  EXPECT_EQ(e.m_font.GetNumericWeight(), 500);
  EXPECT_EQ(e.m_boldFont.GetNumericWeight(), 700);
  EXPECT_FALSE(e.m_font.GetStyle() == wxFONTSTYLE_ITALIC);
  EXPECT_FALSE(e.m_font.GetUnderlined());
  EXPECT_FALSE(e.m_font.GetStrikethrough());
  EXPECT_TRUE(e.m_font.IsFixedWidth());
  EXPECT_TRUE(e.m_boldFont.IsFixedWidth());

  // The pixel height asked for is what a line of the font takes at most.
  const wxSize cell = FontCell(editor_);
  EXPECT_LE(cell.y, 18);
  EXPECT_GE(cell.y, 14);

  // "Veltrane" is not installed here: the fonts fall back to the system's
  // monospace face, whose private-use characters get a drawn stand-in.
  if (!wxFontEnumerator::IsValidFacename("Veltrane")) {
    EXPECT_NE(e.m_font.GetFaceName(), "Veltrane");
  }
}

TEST_F(WindowTest, CellIsMeasuredAtTheFirstShowAndAtEveryShow) {
  // The fixture's editor reached the screen: its cell is the font's.
  const wxSize cell = FontCell(editor_);
  EXPECT_EQ(editor_->m_cellWidth, cell.x);
  EXPECT_EQ(editor_->m_lineHeight, cell.y);

  // An editor in a hidden frame has had no show notification yet.
  wxFrame* hidden = new wxFrame(nullptr, wxID_ANY, "hidden", wxPoint(0, 0), wxSize(400, 300));
  wxPanel* panel = new wxPanel(hidden, wxID_ANY, wxPoint(0, 0), wxSize(400, 300));
  ColorEditWnd* late = new ColorEditWnd(panel, wxRect(2, 2, 300, 200), L"Veltrane", true);
  Pump();
  EXPECT_EQ(late->m_cellWidth, 10);
  EXPECT_EQ(late->m_lineHeight, 10);

  // A hide notification measures nothing.
  wxShowEvent hide(late->GetId(), false);
  late->ProcessWindowEvent(hide);
  EXPECT_EQ(late->m_cellWidth, 10);
  EXPECT_EQ(late->m_lineHeight, 10);

  // Showing the frame brings the editor onto the screen: the first show.
  hidden->Show();
  Pump();
  EXPECT_EQ(late->m_cellWidth, FontCell(late).x);
  EXPECT_EQ(late->m_lineHeight, FontCell(late).y);

  // Every later show measures again.
  late->m_cellWidth = 3;
  late->m_lineHeight = 4;
  late->Hide();
  Pump();
  EXPECT_EQ(late->m_cellWidth, 3);
  late->Show();
  Pump();
  EXPECT_EQ(late->m_cellWidth, FontCell(late).x);
  EXPECT_EQ(late->m_lineHeight, FontCell(late).y);
  hidden->Destroy();
  Pump();
}

TEST_F(WindowTest, WithoutTheHorizontalFlagThereIsNoHorizontalBar) {
  ColorEditWnd* narrow = new ColorEditWnd(parent_, wxRect(10, 10, 200, 100), L"Veltrane", false);
  EXPECT_TRUE(narrow->HasFlag(wxVSCROLL));
  EXPECT_FALSE(narrow->HasFlag(wxHSCROLL));
  // Setting the bars leaves the missing one alone.
  narrow->m_textModel.lines.assign(3, std::string(500, 'x'));
  narrow->m_textModel.lineColours.assign(3, {});
  narrow->m_textModel.RecolourAll();
  narrow->UpdateScrollBars();
  EXPECT_EQ(narrow->GetScrollRange(wxHORIZONTAL), 0);
  delete narrow;
}

TEST_F(WindowTest, CursorIsTheIBeamOverTheClientAreaOnly) {
  ASSERT_TRUE(editor_->m_hCursor.IsOk());
  const wxSize client = editor_->GetClientSize();
  wxSetCursorEvent inside(5, 5);
  editor_->ProcessWindowEvent(inside);
  ASSERT_TRUE(inside.HasCursor());
  EXPECT_TRUE(inside.GetCursor().IsSameAs(editor_->m_hCursor));

  wxSetCursorEvent corner(client.x - 1, client.y - 1);
  editor_->ProcessWindowEvent(corner);
  EXPECT_TRUE(corner.HasCursor());

  // Outside the client area (over a scroll bar) the default decides.
  wxSetCursorEvent outside(client.x + 2, 5);
  editor_->ProcessWindowEvent(outside);
  EXPECT_FALSE(outside.HasCursor());
  wxSetCursorEvent below(5, client.y);
  editor_->ProcessWindowEvent(below);
  EXPECT_FALSE(below.HasCursor());
}

TEST_F(WindowTest, ClearTextRecordsEveryLineAndLeavesOneEmptyLine) {
  SetLines({"CON", "  x = 1", "DAT", "  long 5"});
  SetCaret(3, 1);
  SetAnchor(1, 0);
  parent_->codes.clear();
  parent_->ids.clear();
  editor_->ClearText();

  const auto& records = editor_->m_currentFrame.m_records;
  ASSERT_EQ(records.size(), 4u);
  const char* texts[] = {"CON", "  x = 1", "DAT", "  long 5"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(records[i].m_kind, LineDeleted);
    EXPECT_EQ(records[i].m_line, i);
    EXPECT_EQ(records[i].m_text, texts[i]);
    EXPECT_EQ(records[i].m_caretCol, 3);
    EXPECT_EQ(records[i].m_anchorLine, 0);
  }
  EXPECT_EQ(Lines(), (std::vector<std::string>{""}));
  EXPECT_EQ(editor_->m_textModel.lineColours.size(), 1u);
  EXPECT_EQ(editor_->m_textModel.maxLineLength, 0);
  EXPECT_EQ(editor_->m_textModel.lineBackground.size(), 1u);
  EXPECT_EQ(parent_->codes, (std::vector<int>{ids::EN_CHANGE}));
  EXPECT_EQ(parent_->ids, (std::vector<int>{310}));
  // The scroll bars follow the single line.
  EXPECT_EQ(editor_->GetScrollRange(wxVERTICAL), 1);
}

TEST_F(WindowTest, ResetContentDropsTextStateAndHistory) {
  SetLines({"PUB main", "  repeat", "    x++"});
  SetCaret(4, 2);
  SetAnchor(0, 1);
  editor_->m_firstLine = 2;
  editor_->m_firstCol = 3;
  editor_->m_hadSelection = true;
  editor_->m_mouseDown = true;
  editor_->m_autoIndent = false;
  editor_->m_undoStack.emplace_back();
  editor_->m_undoStack.back().m_records.emplace_back();
  editor_->m_redoStack.emplace_back();
  editor_->m_redoStack.back().m_records.emplace_back();
  parent_->codes.clear();

  editor_->ResetContent();
  EXPECT_EQ(Lines(), (std::vector<std::string>{""}));
  EXPECT_EQ(editor_->m_caretCol, 0);
  EXPECT_EQ(editor_->m_caretLine, 0);
  EXPECT_EQ(editor_->m_anchorCol, 0);
  EXPECT_EQ(editor_->m_anchorLine, 0);
  EXPECT_EQ(editor_->m_firstLine, 0);
  EXPECT_EQ(editor_->m_firstCol, 0);
  EXPECT_FALSE(editor_->m_hadSelection);
  EXPECT_FALSE(editor_->m_mouseDown);
  EXPECT_FALSE(editor_->m_caretShown);
  EXPECT_TRUE(editor_->m_autoIndent);
  EXPECT_TRUE(editor_->m_undoStack.empty());
  EXPECT_TRUE(editor_->m_redoStack.empty());
  // The clear's records are dropped: a cleared text has no history.
  EXPECT_TRUE(editor_->m_currentFrame.m_records.empty());
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 1);
}

TEST_F(WindowTest, TitleAndLineAccess) {
  editor_->SetTitle(L"blink.vorn");
  EXPECT_EQ(editor_->m_textModel.title, L"blink.vorn");

  SetLines({"CON", "", "  x = \xB0"});
  EXPECT_EQ(editor_->GetLine(0), "CON");
  EXPECT_EQ(editor_->GetLine(1), "");
  EXPECT_EQ(editor_->GetLine(2), "  x = \xB0");
  // A copy: changing it leaves the model alone.
  std::string copy = editor_->GetLine(0);
  copy += "X";
  EXPECT_EQ(editor_->GetLine(0), "CON");

  EXPECT_THROW(editor_->GetLine(-1), InvalidArgumentError);
  EXPECT_THROW(editor_->GetLine(3), InvalidArgumentError);
}

TEST_F(WindowTest, EditorWithoutAWindowWorksOnItsModel) {
  // A child window cannot be created without a parent; the editor lives on.
  auto orphan = std::make_unique<ColorEditWnd>(nullptr, wxRect(0, 0, 100, 100), L"Veltrane", true);
  EXPECT_EQ(orphan->GetHandle(), nullptr);
  EXPECT_EQ(orphan->m_textModel.LineCount(), 1);
  EXPECT_TRUE(orphan->m_currentFrame.m_records.empty());
  EXPECT_EQ(orphan->m_cellWidth, 10);
  EXPECT_EQ(orphan->m_lineHeight, 10);
  EXPECT_EQ(orphan->m_fontHeight, 18);
  EXPECT_TRUE(orphan->m_font.IsOk());

  // The geometry answers for a missing window.
  EXPECT_EQ(orphan->GetVisibleColumnCount(), -1);
  EXPECT_EQ(orphan->GetFirstVisibleLine(), -1);
  EXPECT_EQ(orphan->GetVisibleLineCount(false), 0);
  EXPECT_EQ(orphan->GetVisibleLineCount(true), 0);
  EXPECT_EQ(orphan->GetLastVisibleLine(), -1);
  EXPECT_EQ(orphan->GetLineRect(0), wxRect(-1, -1, 0, 0));
  EXPECT_EQ(orphan->GetLinesRect(0, 5), wxRect(-1, -1, 0, 0));

  EXPECT_EQ(orphan->m_lineBack, 0xFFFFFFu);  // nothing was ever painted

  // Operations that need the window act on nothing and fail nowhere.
  orphan->UpdateScrollBars();
  orphan->ClearText();
  EXPECT_EQ(orphan->m_textModel.LineCount(), 1);
  wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
  wheel.m_wheelRotation = -120;
  wheel.m_wheelDelta = 120;
  orphan->OnMouseWheel(wheel);  // no scroll bars: nothing
  EXPECT_EQ(orphan->m_firstLine, 0);
  wxShowEvent show(0, true);
  orphan->OnShowWindow(show);
  EXPECT_EQ(orphan->m_cellWidth, 10);
  for (wxEventType type : {wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEDOWN, wxEVT_SCROLLWIN_TOP})
    for (int orientation : {wxVERTICAL, wxHORIZONTAL}) {
      wxScrollWinEvent scroll(type, 3, orientation);
      orphan->ProcessWindowEvent(scroll);
    }
  EXPECT_EQ(orphan->m_firstLine, 0);
  EXPECT_EQ(orphan->m_firstCol, 0);
  orphan->EnsureCaretVisible();
  orphan->UpdateAnchor(true);
  orphan->ScrollClientBy(10, 10);
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 1);  // only the fixture's own editor spoke
}

}  // namespace
