// Scrolling by real scroll-bar, wheel and size events: geometry, bars, codes, wheel, zoom, the caret.
#include "support/EditorFixture.h"

#include <wx/caret.h>
#include <wx/uiaction.h>

namespace {

using Ints = std::vector<int>;
constexpr int V = wxVERTICAL, H = wxHORIZONTAL;

// A scroll code (line u d, page U D, thumb track/release t r, top T, bottom B) or wheel turn (w, with
// Shift S, with Ctrl C, sideways h) sent `times`; then the first line or column, and the bar.
struct Step {
  char code;
  int value, first, times = 1, thumb = -2;  // value: position or rotation; thumb -2: at `first`, -1: any
};

class ScrollTest : public EditorFixture {
 protected:
  // A 10 x 10 cell in a 700 x 500 client area: 50 rows, 69 columns past the margin.
  void SetUp() override {
    EditorFixture::SetUp();
    editor_->m_cellWidth = editor_->m_lineHeight = 10;
    SetClient(wxSize(700, 500));
  }
  // The scroll bars may take their room only after a round of events.
  void SetClient(const wxSize& wanted) {
    for (int i = 0; i < 5 && editor_->GetClientSize() != wanted; ++i, Pump())
      editor_->SetSize(editor_->GetSize() + wanted - editor_->GetClientSize());
    ASSERT_EQ(editor_->GetClientSize(), wanted);
  }
  void Text(int lines, int width = 8) { SetLines(std::vector<std::string>(lines, std::string(width, 'x'))); }
  void Run(int bar, const std::vector<Step>& steps) {
    const wxEventType types[] = {wxEVT_SCROLLWIN_LINEUP, wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEUP,
                                 wxEVT_SCROLLWIN_PAGEDOWN, wxEVT_SCROLLWIN_THUMBTRACK,
                                 wxEVT_SCROLLWIN_THUMBRELEASE, wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM};
    for (const Step& s : steps) {
      const std::size_t code = std::string("udUDtrTB").find(s.code);
      for (int n = 0; n < s.times; ++n) {
        wxScrollWinEvent scroll(code < 8 ? types[code] : wxEVT_NULL, s.value, bar);
        wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
        wheel.m_wheelRotation = s.value;
        wheel.m_wheelDelta = 120;
        wheel.m_wheelAxis = s.code == 'h' ? wxMOUSE_WHEEL_HORIZONTAL : wxMOUSE_WHEEL_VERTICAL;
        keystate::Override(s.code == 'S', s.code == 'C');
        editor_->ProcessWindowEvent(code < 8 ? static_cast<wxEvent&>(scroll) : wheel);
      }
      EXPECT_EQ(bar == V ? editor_->m_firstLine : editor_->m_firstCol, s.first) << s.code << s.value;
      EXPECT_EQ(s.thumb == -1 ? -1 : editor_->GetScrollPos(bar), s.thumb == -2 ? s.first : s.thumb) << s.code;
    }
  }
};

TEST_F(ScrollTest, GeometryAndBarsFollowTheTextTheCellAndTheWindow) {
  ColorEditWnd& e = *editor_;
  auto counts = [&] {
    const wxRect r = e.GetLineRect(2);
    return Ints({e.GetVisibleColumnCount(), e.GetVisibleLineCount(false), e.GetVisibleLineCount(true),
                 e.GetFirstVisibleLine(), e.GetLastVisibleLine(), r.x, r.y, r.width, r.height});
  };
  Text(100);
  EXPECT_EQ(counts(), Ints({69, 50, 50, 0, 50, 0, 20, 700, 10}));
  EXPECT_EQ(e.GetLinesRect(7, 4), wxRect(0, 40, 700, 40));
  EXPECT_EQ(e.GetLinesRect(4, 4), wxRect(0, 40, 700, 10));
  e.m_firstLine = 60;
  EXPECT_EQ(counts(), Ints({69, 50, 50, 60, 100, 0, -580, 700, 10}));  // the last at most the line count
  // A short text clamps the visible lines unless asked not to; another cell changes every answer.
  Text(5);
  e.m_firstLine = 0;
  e.m_cellWidth = 7;
  e.m_lineHeight = 17;
  EXPECT_EQ(counts(), Ints({99, 5, 29, 0, 5, 0, 34, 700, 17}));

  // The bars: 0 to 0 when the text fits, else to count - 1 and longest - 1; pages follow resizing.
  e.m_cellWidth = e.m_lineHeight = 10;
  Text(20, 30);
  auto bars = [&] {
    return Ints({e.GetScrollRange(V), e.GetScrollThumb(V), e.GetScrollRange(H), e.GetScrollThumb(H)});
  };
  EXPECT_EQ(bars(), Ints({1, 20, 1, 69}));
  Text(500, 200);
  SetClient(wxSize(400, 300));
  EXPECT_EQ(bars(), Ints({500, 30, 200, 39}));
}

TEST_F(ScrollTest, CodesAndTheWheelMoveTheFirstLineAndColumn) {
  // Pages are three quarters of 50 rows and have no end: past count - visible and past the count.
  Text(200);
  Run(V, {{'d', 0, 1}, {'u', 0, 0, 2}, {'D', 0, 37}, {'U', 0, 0}, {'t', 10, 10}, {'U', 0, 0}, {'B', 0, 150},
          {'d', 0, 150}, {'T', 0, 0}, {'t', 77, 77}, {'r', 12, 12}, {'t', 5000, 200, 1, 150}, {'T', 0, 0},
          {'D', 0, 222, 6, 150}, {'d', 0, 222, 1, 150}, {'u', 0, 221, 1, 150}});
  // Wheel: five lines per message, down toward the user; under half a notch, Shift or sideways: none.
  Run(V, {{'T', 0, 0}, {'w', -120, 5}, {'w', -360, 10}, {'w', 120, 5}, {'w', 360, 0}, {'w', 120, 0},
          {'w', -59, 0}, {'w', -60, 5}, {'w', 59, 5}, {'t', 148, 148}, {'w', -120, 150, 2}, {'h', 120, 150},
          {'S', 120, 150}});
  // Sideways pages (3/4 of 70) have no limit; the right edge shows the longest line's end, as the thumb.
  Text(10, 300);
  Run(H, {{'d', 0, 1}, {'u', 0, 0, 2}, {'D', 0, 52}, {'U', 0, 0}, {'D', 0, 312, 6, -1}, {'T', 0, 0},
          {'B', 0, 231}, {'d', 0, 231}, {'t', 40, 40}, {'r', 250, 231}, {'t', 10, 10}});
  // A text that fits scrolls by no code nor the wheel, but a dragged thumb moves the columns.
  Text(30);
  editor_->m_firstCol = editor_->m_firstLine = 0;
  Run(V, {{'d', 0, 0}, {'B', 0, 0}, {'w', -120, 0}});
  Run(H, {{'d', 0, 0}, {'B', 0, 0}, {'t', 3, 3, 1, -1}});
}

TEST_F(ScrollTest, CtrlWheelZoomsTheFontsWithinTheirLimits) {
  // One height per message within 12..74; the cell, bars and caret follow at once; the view stays.
  ColorEditWnd& e = *editor_;
  Text(200);
  e.m_firstLine = 150;
  e.SetFocus();
  Pump();
  ASSERT_TRUE(e.HasFocus());
  e.UpdateCaret(true);
  for (auto [start, rotation, height] : std::vector<std::tuple<int, int, int>>{
           {18, 120, 19}, {19, 1200, 20}, {20, -120, 19}, {74, 120, 74}, {12, -120, 12}, {12, 120, 13}}) {
    e.m_fontHeight = start;
    Run(V, {{'C', rotation, 150, 1, -1}});
    const wxSize cell = FontCell(&e, e.m_font);
    // The thumb spans the whole rows of the client area as the window has it now: the toolkit may
    // have given the area a few pixels more or less than asked for by the time the wheel arrives.
    const int clientHeight = e.GetClientSize().GetHeight();
    EXPECT_EQ(Ints({e.m_fontHeight, e.m_cellWidth, e.m_lineHeight, e.GetScrollThumb(V), e.GetScrollPos(V),
                    e.m_boldFont.GetNumericWeight(), e.GetCaret() ? e.GetCaret()->GetSize().y : -1}),
              Ints({height, cell.x, cell.y, clientHeight / cell.y, 150, 700, cell.y})) << start << " " << clientHeight;
    for (const wxFont* f : {&e.m_font, &e.m_boldFont}) EXPECT_NEAR(f->GetPixelSize().y, height, 1) << start;
  }
}

TEST_F(ScrollTest, EnsureCaretVisibleJumps) {
  // Below: the lowest whole row; above: the top row; right: 3/4 across; left: 1/4 across or column 0.
  ColorEditWnd& e = *editor_;
  Text(200, 300);
  for (auto [col, line, firstCol, first] : std::vector<std::tuple<int, int, int, int>>{
           {0, 80, 0, 31}, {0, 5, 0, 5}, {0, 30, 0, 5}, {100, 30, 48, 5}, {30, 30, 13, 5}, {5, 30, 0, 5},
           {69, 30, 0, 5}}) {  // the last visible column exactly: no jump
    SetCaret(col, line);
    e.EnsureCaretVisible();
    EXPECT_EQ(Ints({e.m_firstCol, e.m_firstLine, e.GetScrollPos(H), e.GetScrollPos(V)}),
              Ints({firstCol, first, firstCol, first})) << col << "," << line;
  }
  // When all lines but one fit, the caret on the partly visible last row stays.
  for (int count : {51, 52}) {
    Text(count);
    e.m_firstLine = 0;
    SetCaret(0, 50);
    e.EnsureCaretVisible();
    EXPECT_EQ(e.m_firstLine, count - 51);
  }
}

TEST_F(ScrollTest, CuttingEverythingWhileScrolledDownShowsTheCaretLine) {
  // Select All, then Cut by its key, 150 lines down: the one line left and
  // the caret on it are in view.
  ColorEditWnd& e = *editor_;
  Text(200, 30);
  e.m_firstLine = 150;
  e.SetScrollPos(V, 150);
  e.SetFocus();
  Pump();
  ASSERT_EQ(wxWindow::FindFocus(), editor_);
  e.SelectAll();
  Pump();
  wxUIActionSimulator keys;
  keys.Char('x', wxMOD_CONTROL);
  Pump();
  ASSERT_EQ(e.m_textModel.lines, std::vector<std::string>{""});
  EXPECT_EQ(Ints({e.m_firstLine, e.m_firstCol, e.GetScrollPos(V)}), Ints({0, 0, 0}));
  ASSERT_NE(e.GetCaret(), nullptr);
  const wxPoint caret = e.GetCaret()->GetPosition();
  EXPECT_TRUE(wxRect(e.GetClientSize()).Contains(caret)) << caret.x << "," << caret.y;
  // Typing then lands on the line shown.
  keys.Char('q');
  Pump();
  EXPECT_EQ(e.m_textModel.lines, std::vector<std::string>{"q"});
  EXPECT_EQ(e.m_firstLine, 0);
}

}  // namespace
