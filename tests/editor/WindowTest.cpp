// The editor window: construction defaults, no window, the measured cell, the cursor, clear and reset.
#include <wx/panel.h>

#include <memory>

#include "support/EditorFixture.h"

namespace {

using WindowTest = EditorFixture;
using Ints = std::vector<int>;

// What a reset puts back: positions, flags and the size of the history.
Ints ResetState(const ColorEditWnd& e) {
  return {e.m_caretCol,  e.m_caretLine,    e.m_anchorCol, e.m_anchorLine, e.m_firstCol,
          e.m_firstLine, e.m_hadSelection, e.m_mouseDown, e.m_caretShown, e.m_autoIndent,
          int(e.m_undoStack.size() + e.m_redoStack.size() + e.m_currentFrame.m_records.size())};
}
const Ints kReset{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0};

TEST_F(WindowTest, ConstructionDefaultsWithAndWithoutAWindow) {
  ColorEditWnd& e = *editor_;
  const CTextModel& m = e.m_textModel;
  EXPECT_EQ(ResetState(e), kReset);
  EXPECT_EQ(Ints({m.LineCount(), int(m.lines[0].size()), int(m.lineColours.size()), m.maxLineLength,
                  e.m_pressX, e.m_pressY, e.m_tabWidth, e.m_controlId, e.m_fontHeight, e.m_readOnly,
                  e.m_useAccelerators, int(e.m_selBack), int(e.m_selText), e.m_font.GetNumericWeight(),
                  e.m_boldFont.GetNumericWeight()}),
            Ints({1, 0, 1, 0, 0, 0, 4, 310, 18, 0, 1, 0x000000, 0xFFFFFF, 500, 700}));
  for (const wxFont* font : {&e.m_font, &e.m_boldFont})
    EXPECT_TRUE(font->IsFixedWidth() && font->GetStyle() == wxFONTSTYLE_NORMAL && !font->GetUnderlined());
  EXPECT_TRUE(e.m_hAccel.IsOk() && e.m_glyphs == SystemGlyphTable() && e.m_fontFace == L"Veltrane");
  EXPECT_EQ(e.m_instanceName, wxString::Format("ColorEditWnd::%p", static_cast<void*>(&e)).utf8_string());
  // A visible child 310 at its rectangle with both bars, never erased; the clear told the parent once.
  EXPECT_TRUE(e.GetId() == 310 && e.GetParent() == parent_ && e.IsShown() && e.HasFlag(wxVSCROLL) &&
              e.HasFlag(wxHSCROLL) && e.GetBackgroundStyle() == wxBG_STYLE_PAINT);
  EXPECT_EQ(e.GetRect(), wxRect(2, 2, 796, 596));
  EXPECT_EQ(parent_->codes, Ints{ids::EN_CHANGE});
  EXPECT_EQ(parent_->ids, Ints{310});
  // Without the horizontal flag there is no horizontal bar, and setting the bars leaves it alone.
  auto narrow = std::make_unique<ColorEditWnd>(parent_, wxRect(10, 10, 200, 90), L"Veltrane", false);
  narrow->InsertLine(std::string(500, 'x'), 0, true, false);
  EXPECT_FALSE(narrow->HasFlag(wxHSCROLL) || narrow->GetScrollRange(wxHORIZONTAL) != 0);
  // Without a parent no window is made: the geometry answers for none, and nothing is drawn.
  auto orphan = std::make_unique<ColorEditWnd>(nullptr, wxRect(0, 0, 100, 100), L"Veltrane", true);
  ColorEditWnd& o = *orphan;
  EXPECT_TRUE(o.GetHandle() == nullptr && o.m_font.IsOk());
  EXPECT_EQ(Ints({o.m_textModel.LineCount(), o.m_cellWidth, o.m_lineHeight, o.GetVisibleColumnCount(),
                  o.GetFirstVisibleLine(), o.GetVisibleLineCount(false), o.GetVisibleLineCount(true),
                  o.GetLastVisibleLine()}),
            Ints({1, 10, 10, -1, -1, 0, 0, -1}));
  EXPECT_TRUE(o.GetLineRect(0) == wxRect(-1, -1, 0, 0) && o.GetLinesRect(0, 5) == wxRect(-1, -1, 0, 0));
  for (int i = 0; i < 200; ++i) o.InsertLine(std::string(300, 'x'), i, true, false);
  o.EnsureCaretVisible();
  wxBitmap bitmap(50, 50, 24);
  wxMemoryDC dc(bitmap);
  o.PaintTo(dc);
  o.ClearText();
  EXPECT_EQ(Ints({o.m_textModel.LineCount(), int(o.m_lineBack)}), Ints({1, 0xFFFFFF}));  // nothing painted
  EXPECT_EQ(parent_->Count(ids::EN_CHANGE), 2);  // the fixture's editor and `narrow`, not the orphan
}

TEST_F(WindowTest, TheCellIsMeasuredAtEveryShowAndTheCursorIsAnIBeam) {
  // The fixture's editor reached the screen: its cell is the font's, at most 18 pixels high.
  const wxSize cell = FontCell(editor_, editor_->m_font);
  EXPECT_EQ(wxSize(editor_->m_cellWidth, editor_->m_lineHeight), cell);
  EXPECT_TRUE(cell.y >= 14 && cell.y <= 18) << cell.y;
  const wxSize c = editor_->GetClientSize();  // the I-beam over the client area only, not over the bars
  for (const wxPoint& p : {wxPoint(5, 5), wxPoint(c.x - 1, c.y - 1), wxPoint(c.x + 2, 5), wxPoint(5, c.y)}) {
    wxSetCursorEvent event(p.x, p.y);
    editor_->ProcessWindowEvent(event);
    EXPECT_EQ(event.HasCursor() && event.GetCursor().IsSameAs(editor_->m_hCursor), p.x < c.x && p.y < c.y);
  }
  // In a hidden frame: 10 x 10 until the first show; a hide measures nothing; every show measures.
  wxFrame* hidden = new wxFrame(nullptr, wxID_ANY, "hidden", wxPoint(0, 0), wxSize(400, 300));
  ColorEditWnd* late = new ColorEditWnd(new wxPanel(hidden), wxRect(2, 2, 300, 200), L"Veltrane", true);
  auto cellOf = [&] { return wxSize(late->m_cellWidth, late->m_lineHeight); };
  wxShowEvent hide(late->GetId(), false);
  late->ProcessWindowEvent(hide);
  Pump();
  EXPECT_EQ(cellOf(), wxSize(10, 10));
  for (wxWindow* shown : {static_cast<wxWindow*>(hidden), static_cast<wxWindow*>(late)}) {
    shown->Show();
    Pump();
    EXPECT_EQ(cellOf(), FontCell(late, late->m_font));
    late->m_cellWidth = late->m_lineHeight = 3;
    late->Hide();
    Pump();
    EXPECT_EQ(cellOf(), wxSize(3, 3));
  }
  hidden->Destroy();
}

TEST_F(WindowTest, ClearRecordsEveryLineAndResetDropsStateAndHistory) {
  ColorEditWnd& e = *editor_;
  const std::vector<std::string> text{"CON", "  x = 1", "DAT", "  long " + std::string(200, '5')};
  SetLines(text);
  EXPECT_THROW(e.GetLine(4), InvalidArgumentError);
  SetCaret(3, 1);
  SetAnchor(1, 0);
  e.ClearText();
  ASSERT_EQ(e.m_currentFrame.m_records.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    const CUndoRecord& r = e.m_currentFrame.m_records[i];
    EXPECT_EQ(Ints({r.m_kind, r.m_line, r.m_caretCol, r.m_caretLine, r.m_anchorCol, r.m_anchorLine}),
              Ints({LineDeleted, i, 3, 1, 1, 0}));
    EXPECT_EQ(r.m_text, text[i]);
  }
  const CTextModel& m = e.m_textModel;
  EXPECT_EQ(Ints({m.LineCount(), int(m.lines[0].size()), int(m.lineColours.size()),
                  int(m.lineBackground.size()), m.maxLineLength, e.GetScrollRange(wxHORIZONTAL)}),
            Ints({1, 0, 1, 1, 0, 1}));
  EXPECT_EQ(parent_->codes, Ints(2, ids::EN_CHANGE));
  // A reset also drops the clear's own records.
  SetLines(text);
  e.SetSelection(0, 1, 2, 3);
  e.m_firstLine = e.m_firstCol = 2;
  e.m_hadSelection = e.m_mouseDown = e.m_caretShown = true;
  e.m_autoIndent = false;
  e.m_undoStack.resize(2);
  e.m_redoStack.resize(1);
  e.ResetContent();
  EXPECT_EQ(ResetState(e), kReset);
  EXPECT_EQ(parent_->codes, Ints(3, ids::EN_CHANGE));
}

}  // namespace
