// Scrolling driven by real scroll-bar, wheel and size events: the bars'
// ranges, every scroll code on both bars, the wheel and the zoom, following
// the caret, and the anchor after a key.
#include <wx/dcclient.h>
#include <wx/dcmemory.h>

#include <string>
#include <vector>

#include "support/EditorFixture.h"

#include <wx/caret.h>

namespace {

class ScrollTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    // A 10 x 10 cell keeps the arithmetic readable: the 700 x 500 client
    // area holds 50 whole rows and 70 columns (69 visible past the margin).
    editor_->m_cellWidth = 10;
    editor_->m_lineHeight = 10;
    SetClient(wxSize(700, 500));
  }
  // Sizes the window for the client size wanted; the scroll bars may take
  // their room only after a round of events.
  void SetClient(const wxSize& wanted) {
    for (int i = 0; i < 5 && editor_->GetClientSize() != wanted; ++i) {
      editor_->SetSize(editor_->GetSize() + wanted - editor_->GetClientSize());
      Pump();
    }
    ASSERT_EQ(editor_->GetClientSize(), wanted);
  }
  static std::vector<std::string> Numbered(int n, int width = 0) {
    std::vector<std::string> lines;
    for (int i = 0; i < n; ++i) {
      std::string line = "line " + std::to_string(i);
      if (width > 0) line.resize(width, '.');
      lines.push_back(line);
    }
    return lines;
  }
  void Scroll(wxEventType type, int orientation, int position = 0) {
    wxScrollWinEvent event(type, position, orientation);
    event.SetEventObject(editor_);
    editor_->ProcessWindowEvent(event);
  }
  void V(wxEventType type, int position = 0) { Scroll(type, wxVERTICAL, position); }
  void H(wxEventType type, int position = 0) { Scroll(type, wxHORIZONTAL, position); }
  void Wheel(int rotation) {
    wxMouseEvent event(wxEVT_MOUSEWHEEL);
    event.m_wheelRotation = rotation;
    event.m_wheelDelta = 120;
    event.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
    event.SetEventObject(editor_);
    editor_->ProcessWindowEvent(event);
  }
  int First() const { return editor_->m_firstLine; }
  int FirstCol() const { return editor_->m_firstCol; }
  int VPos() const { return editor_->GetScrollPos(wxVERTICAL); }
  int HPos() const { return editor_->GetScrollPos(wxHORIZONTAL); }
  // The cell size the editor's font gives, measured independently.
  wxSize FontCell() {
    wxClientDC dc(editor_);
    dc.SetFont(editor_->m_font);
    wxCoord w = 0, h = 0;
    dc.GetTextExtent(wxString('M', 40), &w, &h);
    return wxSize((w + 20) / 40, dc.GetCharHeight());
  }
};

TEST_F(ScrollTest, GeometryFollowsTheCellAndTheScrollPosition) {
  SetLines(Numbered(100));
  EXPECT_EQ(editor_->GetVisibleColumnCount(), 69);
  EXPECT_EQ(editor_->GetVisibleLineCount(false), 50);
  EXPECT_EQ(editor_->GetVisibleLineCount(true), 50);
  EXPECT_EQ(editor_->GetFirstVisibleLine(), 0);
  EXPECT_EQ(editor_->GetLastVisibleLine(), 50);
  EXPECT_EQ(editor_->GetLineRect(3), wxRect(0, 30, 700, 10));
  EXPECT_EQ(editor_->GetLinesRect(7, 4), wxRect(0, 40, 700, 40));
  EXPECT_EQ(editor_->GetLinesRect(4, 4), wxRect(0, 40, 700, 10));

  editor_->m_firstLine = 60;
  EXPECT_EQ(editor_->GetFirstVisibleLine(), 60);
  EXPECT_EQ(editor_->GetLastVisibleLine(), 100);  // at most the line count
  EXPECT_EQ(editor_->GetLineRect(58), wxRect(0, -20, 700, 10));

  // A short text clamps the visible lines to the line count unless asked not to.
  SetLines(Numbered(5));
  editor_->m_firstLine = 0;
  EXPECT_EQ(editor_->GetVisibleLineCount(false), 5);
  EXPECT_EQ(editor_->GetVisibleLineCount(true), 50);
  EXPECT_EQ(editor_->GetLastVisibleLine(), 5);

  // Another cell size changes every answer.
  editor_->m_cellWidth = 7;
  editor_->m_lineHeight = 17;
  EXPECT_EQ(editor_->GetVisibleColumnCount(), 99);
  EXPECT_EQ(editor_->GetVisibleLineCount(true), 29);
  EXPECT_EQ(editor_->GetLineRect(2), wxRect(0, 34, 700, 17));
}

TEST_F(ScrollTest, BarsMirrorTheTextAndTheWindow) {
  // A text that fits: the bar runs from 0 to 0, its page the visible lines.
  SetLines(Numbered(20, 30));
  EXPECT_EQ(editor_->GetScrollRange(wxVERTICAL), 1);
  EXPECT_EQ(editor_->GetScrollThumb(wxVERTICAL), 20);
  EXPECT_EQ(VPos(), 0);
  EXPECT_EQ(editor_->GetScrollRange(wxHORIZONTAL), 1);
  EXPECT_EQ(editor_->GetScrollThumb(wxHORIZONTAL), 69);

  // A long and wide text: 0 to count - 1 with a page of 50 rows; 0 to the
  // longest line - 1 with a page of 69 columns.
  SetLines(Numbered(500, 200));
  EXPECT_EQ(editor_->GetScrollRange(wxVERTICAL), 500);
  EXPECT_EQ(editor_->GetScrollThumb(wxVERTICAL), 50);
  EXPECT_EQ(editor_->GetScrollRange(wxHORIZONTAL), 200);
  EXPECT_EQ(editor_->GetScrollThumb(wxHORIZONTAL), 69);

  editor_->m_firstLine = 100;
  editor_->m_firstCol = 30;
  editor_->UpdateScrollBars();
  EXPECT_EQ(VPos(), 100);
  EXPECT_EQ(HPos(), 30);

  // Resizing sets them again for the new window.
  SetClient(wxSize(400, 300));
  EXPECT_EQ(editor_->GetScrollThumb(wxVERTICAL), 30);
  EXPECT_EQ(editor_->GetScrollThumb(wxHORIZONTAL), 39);
  editor_->m_lineHeight = 20;
  wxSizeEvent size(editor_->GetSize(), editor_->GetId());
  editor_->ProcessWindowEvent(size);
  EXPECT_EQ(editor_->GetScrollThumb(wxVERTICAL), 15);
}

TEST_F(ScrollTest, VerticalCodesMoveTheFirstLine) {
  SetLines(Numbered(200));
  V(wxEVT_SCROLLWIN_LINEDOWN);
  EXPECT_EQ(First(), 1);
  EXPECT_EQ(VPos(), 1);
  V(wxEVT_SCROLLWIN_LINEUP);
  EXPECT_EQ(First(), 0);
  V(wxEVT_SCROLLWIN_LINEUP);
  EXPECT_EQ(First(), 0);

  // A page is three quarters of the visible lines: 50 * 3 / 4 = 37.
  V(wxEVT_SCROLLWIN_PAGEDOWN);
  EXPECT_EQ(First(), 37);
  EXPECT_EQ(VPos(), 37);
  V(wxEVT_SCROLLWIN_PAGEUP);
  EXPECT_EQ(First(), 0);
  editor_->m_firstLine = 10;
  V(wxEVT_SCROLLWIN_PAGEUP);
  EXPECT_EQ(First(), 0);

  V(wxEVT_SCROLLWIN_BOTTOM);
  EXPECT_EQ(First(), 200 - 50);
  EXPECT_EQ(VPos(), 150);
  V(wxEVT_SCROLLWIN_LINEDOWN);  // already at the last page
  EXPECT_EQ(First(), 150);
  V(wxEVT_SCROLLWIN_TOP);
  EXPECT_EQ(First(), 0);

  V(wxEVT_SCROLLWIN_THUMBTRACK, 77);
  EXPECT_EQ(First(), 77);
  EXPECT_EQ(VPos(), 77);
  V(wxEVT_SCROLLWIN_THUMBRELEASE, 12);
  EXPECT_EQ(First(), 12);
  // A thumb position past the text goes no further than the line count.
  V(wxEVT_SCROLLWIN_THUMBTRACK, 5000);
  EXPECT_EQ(First(), 200);
}

TEST_F(ScrollTest, PagingPastTheEndLeavesEmptyRows) {
  SetLines(Numbered(100));
  V(wxEVT_SCROLLWIN_PAGEDOWN);
  V(wxEVT_SCROLLWIN_PAGEDOWN);
  EXPECT_EQ(First(), 74);  // beyond 100 - 50
  V(wxEVT_SCROLLWIN_PAGEDOWN);
  EXPECT_EQ(First(), 111);  // beyond the line count
  // The bar's thumb stays at its end.
  EXPECT_EQ(VPos(), 100 - 50);
  V(wxEVT_SCROLLWIN_LINEDOWN);
  EXPECT_EQ(First(), 111);
  V(wxEVT_SCROLLWIN_LINEUP);
  EXPECT_EQ(First(), 110);

  // The rows show only white.
  const wxSize client = editor_->GetClientSize();
  wxBitmap bitmap(client.x, client.y, 24);
  {
    wxMemoryDC dc(bitmap);
    editor_->PaintTo(dc);
  }
  const wxImage image = bitmap.ConvertToImage();
  EXPECT_EQ(image.GetRed(5, 5), 255);
  EXPECT_EQ(image.GetBlue(5, 5), 255);
}

TEST_F(ScrollTest, TextThatFitsDoesNotScroll) {
  SetLines(Numbered(30));
  V(wxEVT_SCROLLWIN_LINEDOWN);
  EXPECT_EQ(First(), 0);
  V(wxEVT_SCROLLWIN_BOTTOM);
  EXPECT_EQ(First(), 0);
  Wheel(-120);
  EXPECT_EQ(First(), 0);
  H(wxEVT_SCROLLWIN_LINEDOWN);
  EXPECT_EQ(FirstCol(), 0);
  H(wxEVT_SCROLLWIN_BOTTOM);
  EXPECT_EQ(FirstCol(), 0);
  // A dragged thumb moves the columns when everything fits: the limit is negative.
  H(wxEVT_SCROLLWIN_THUMBTRACK, 3);
  EXPECT_EQ(FirstCol(), 3);
}

TEST_F(ScrollTest, HorizontalCodesMoveTheFirstColumn) {
  SetLines(Numbered(10, 300));
  H(wxEVT_SCROLLWIN_LINEDOWN);
  EXPECT_EQ(FirstCol(), 1);
  EXPECT_EQ(HPos(), 1);
  H(wxEVT_SCROLLWIN_LINEUP);
  EXPECT_EQ(FirstCol(), 0);
  H(wxEVT_SCROLLWIN_LINEUP);
  EXPECT_EQ(FirstCol(), 0);

  // A page is three quarters of the columns that fit (70, margin included).
  H(wxEVT_SCROLLWIN_PAGEDOWN);
  EXPECT_EQ(FirstCol(), 52);
  H(wxEVT_SCROLLWIN_PAGEUP);
  EXPECT_EQ(FirstCol(), 0);
  for (int i = 0; i < 6; ++i) H(wxEVT_SCROLLWIN_PAGEDOWN);
  EXPECT_EQ(FirstCol(), 312);  // past the longest line: no limit
  H(wxEVT_SCROLLWIN_TOP);
  EXPECT_EQ(FirstCol(), 0);

  // The right edge: the last columns of the longest line fill the window.
  H(wxEVT_SCROLLWIN_BOTTOM);
  EXPECT_EQ(FirstCol(), 300 - 69);
  EXPECT_EQ(HPos(), 231);
  H(wxEVT_SCROLLWIN_LINEDOWN);
  EXPECT_EQ(FirstCol(), 231);

  // The thumb goes no further than that edge either.
  H(wxEVT_SCROLLWIN_THUMBTRACK, 40);
  EXPECT_EQ(FirstCol(), 40);
  H(wxEVT_SCROLLWIN_THUMBRELEASE, 250);
  EXPECT_EQ(FirstCol(), 231);
  H(wxEVT_SCROLLWIN_THUMBTRACK, 10);
  EXPECT_EQ(FirstCol(), 10);
  EXPECT_EQ(HPos(), 10);
  // The vertical position stays.
  EXPECT_EQ(First(), 0);
}

TEST_F(ScrollTest, SidewaysLineScrollsKeepTheMarginAndThePicture) {
  editor_->m_cellWidth = 7;
  editor_->m_lineHeight = 17;
  SetLines(Numbered(30, 400));
  for (auto& colours : editor_->m_textModel.lineColours) std::fill(colours.begin(), colours.end(), 0x800000);
  editor_->Refresh();
  editor_->Update();
  Pump();
  for (wxEventType type : {wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_LINEUP,
                           wxEVT_SCROLLWIN_THUMBTRACK})
    H(type, 5);
  EXPECT_EQ(FirstCol(), 5);
  Pump();

  // The screen shows what a full paint gives (read in a few rounds, as the
  // X server may lag behind), margins included.
  const wxSize client = editor_->GetClientSize();
  wxBitmap painted(client.x, client.y, 24);
  {
    wxMemoryDC dc(painted);
    editor_->PaintTo(dc);
  }
  const wxImage b = painted.ConvertToImage();
  int differing = -1;
  for (int round = 0; round < 10 && differing != 0; ++round) {
    if (round > 0) wxMilliSleep(30);
    // No repaint here: the screen must show what the scroll itself left.
    Pump();
    wxBitmap screen(client.x, client.y, 24);
    {
      wxMemoryDC dc(screen);
      wxClientDC window(editor_);
      dc.Blit(0, 0, client.x, client.y, &window, 0, 0);
    }
    SaveShot(screen, "scroll_sideways");
    const wxImage a = screen.ConvertToImage();
    differing = 0;
    for (int y = 0; y < client.y - 16; ++y)
      for (int x = 0; x < client.x - 64; ++x)
        differing += a.GetRed(x, y) != b.GetRed(x, y) || a.GetBlue(x, y) != b.GetBlue(x, y);
  }
  EXPECT_EQ(differing, 0);
}

TEST_F(ScrollTest, WheelMovesFiveLinesPerMessage) {
  SetLines(Numbered(200));
  Wheel(-120);  // one notch toward the user
  EXPECT_EQ(First(), 5);
  EXPECT_EQ(VPos(), 5);
  Wheel(-360);  // three notches: still five lines
  EXPECT_EQ(First(), 10);
  Wheel(120);
  EXPECT_EQ(First(), 5);
  Wheel(360);
  EXPECT_EQ(First(), 0);
  Wheel(120);
  EXPECT_EQ(First(), 0);

  // Rotations are rounded to whole notches: half a notch counts, less does not.
  Wheel(-59);
  EXPECT_EQ(First(), 0);
  Wheel(-60);
  EXPECT_EQ(First(), 5);
  Wheel(59);
  EXPECT_EQ(First(), 5);

  // Near the end the view stops at the last page.
  editor_->m_firstLine = 148;
  Wheel(-120);
  EXPECT_EQ(First(), 150);
  Wheel(-120);
  EXPECT_EQ(First(), 150);

  // Shift+wheel and a sideways wheel change nothing.
  keystate::Override(true, false);
  Wheel(120);
  EXPECT_EQ(First(), 150);
  keystate::Override(false, false);
  wxMouseEvent sideways(wxEVT_MOUSEWHEEL);
  sideways.m_wheelRotation = 120;
  sideways.m_wheelDelta = 120;
  sideways.m_wheelAxis = wxMOUSE_WHEEL_HORIZONTAL;
  editor_->ProcessWindowEvent(sideways);
  EXPECT_EQ(First(), 150);
  EXPECT_EQ(FirstCol(), 0);
}

TEST_F(ScrollTest, CtrlWheelZoomsTheFontsWithinTheirLimits) {
  SetLines(Numbered(300, 120));
  editor_->m_firstLine = 20;
  editor_->m_firstCol = 4;
  keystate::Override(false, true);

  Wheel(120);  // away from the user: larger
  EXPECT_EQ(editor_->m_fontHeight, 19);
  Wheel(1200);  // one step whatever the rotation
  EXPECT_EQ(editor_->m_fontHeight, 20);
  Wheel(-120);
  EXPECT_EQ(editor_->m_fontHeight, 19);
  // The cell follows the new font at once; the position stays.
  EXPECT_EQ(editor_->m_cellWidth, FontCell().x);
  EXPECT_EQ(editor_->m_lineHeight, FontCell().y);
  EXPECT_EQ(First(), 20);
  EXPECT_EQ(FirstCol(), 4);
  EXPECT_EQ(editor_->m_font.GetNumericWeight(), 500);
  EXPECT_EQ(editor_->m_boldFont.GetNumericWeight(), 700);
  EXPECT_EQ(editor_->GetScrollThumb(wxVERTICAL), 500 / editor_->m_lineHeight);

  editor_->m_fontHeight = 74;
  Wheel(120);
  EXPECT_EQ(editor_->m_fontHeight, 74);
  const wxSize big = FontCell();
  EXPECT_EQ(editor_->m_lineHeight, big.y);
  EXPECT_GT(big.y, 60);
  EXPECT_EQ(editor_->GetScrollThumb(wxVERTICAL), 500 / big.y);

  editor_->m_fontHeight = 12;
  Wheel(-120);
  EXPECT_EQ(editor_->m_fontHeight, 12);
  const wxSize small = FontCell();
  EXPECT_EQ(editor_->m_cellWidth, small.x);
  EXPECT_EQ(editor_->m_lineHeight, small.y);
  EXPECT_LT(small.y, big.y);
  EXPECT_LT(small.x, big.x);

  // The caret, when shown, takes the new line height.
  editor_->SetFocus();
  Pump();
  if (editor_->HasFocus()) {
    editor_->UpdateCaret(true);
    Wheel(120);
    ASSERT_NE(editor_->GetCaret(), nullptr);
    EXPECT_EQ(editor_->GetCaret()->GetSize().y, editor_->m_lineHeight);
  }
}

TEST_F(ScrollTest, EnsureCaretVisibleJumps) {
  SetLines(Numbered(200, 300));
  // Below the window: the caret line becomes the lowest whole row.
  SetCaret(0, 80);
  editor_->EnsureCaretVisible();
  EXPECT_EQ(First(), 80 - 49);
  EXPECT_EQ(VPos(), 31);
  // Above: it becomes the top row.
  SetCaret(0, 5);
  editor_->EnsureCaretVisible();
  EXPECT_EQ(First(), 5);
  // Inside: nothing moves.
  SetCaret(0, 30);
  editor_->EnsureCaretVisible();
  EXPECT_EQ(First(), 5);

  // Right of the window: the caret stands about three quarters across (v = 69).
  SetCaret(100, 30);
  editor_->EnsureCaretVisible();
  EXPECT_EQ(FirstCol(), 100 - 69 + 69 / 4);
  EXPECT_EQ(HPos(), 48);
  // Left of the first visible column: about a quarter across.
  SetCaret(30, 30);
  editor_->EnsureCaretVisible();
  EXPECT_EQ(FirstCol(), 30 - 69 / 4);
  SetCaret(5, 30);
  editor_->EnsureCaretVisible();
  EXPECT_EQ(FirstCol(), 0);
  // At the last visible column exactly: no jump.
  SetCaret(69, 30);
  editor_->EnsureCaretVisible();
  EXPECT_EQ(FirstCol(), 0);

  // When all lines but one fit, the caret on the partly visible last row stays.
  SetLines(Numbered(51));
  editor_->m_firstLine = 0;
  SetCaret(0, 50);
  editor_->EnsureCaretVisible();
  EXPECT_EQ(First(), 0);
  SetLines(Numbered(52));
  SetCaret(0, 50);
  editor_->EnsureCaretVisible();
  EXPECT_EQ(First(), 1);
}

TEST_F(ScrollTest, AnchorFollowsTheCaretUnlessShiftIsHeld) {
  SetLines(Numbered(10));
  SetAnchor(2, 1);
  SetCaret(4, 3);
  editor_->UpdateAnchor(false);
  EXPECT_EQ(editor_->m_anchorCol, 4);
  EXPECT_EQ(editor_->m_anchorLine, 3);

  SetCaret(1, 6);
  keystate::Override(true, false);
  editor_->UpdateAnchor(true);
  EXPECT_EQ(editor_->m_anchorCol, 4);
  EXPECT_EQ(editor_->m_anchorLine, 3);

  keystate::Override(false, false);
  editor_->UpdateAnchor(true);
  EXPECT_EQ(editor_->m_anchorCol, 1);
  EXPECT_EQ(editor_->m_anchorLine, 6);
}

}  // namespace
