// The left mouse button in a real editor window: press, Shift+press, drag, release, double-click.
#include <string>
#include <vector>

#include "platform/CharClass.h"
#include "support/EditorFixture.h"

namespace {

using Ints = std::vector<int>;

class MouseTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    editor_->m_cellWidth = editor_->m_lineHeight = 10;
  }
  void Send(wxEventType type, int x, int y) {
    wxMouseEvent event(type);
    event.SetPosition(wxPoint(x, y));
    event.m_leftDown = type != wxEVT_LEFT_UP;
    editor_->GetEventHandler()->ProcessEvent(event);
  }
  // A double-click arrives as press, release, press, double-click, release.
  void Click(int x, int y, bool twice = false) {
    const std::vector<wxEventType> once{wxEVT_LEFT_DOWN, wxEVT_LEFT_UP},
        both{wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DOWN, wxEVT_LEFT_DCLICK, wxEVT_LEFT_UP};
    for (wxEventType type : twice ? both : once) Send(type, x, y);
  }
  static int X(int col) { return 10 + col * 10; }   // the boundary before `col`, unscrolled
  static int Y(int line) { return line * 10 + 4; }  // inside `line`, unscrolled
  Ints CaretAnchor() const {
    return {editor_->m_caretCol, editor_->m_caretLine, editor_->m_anchorCol, editor_->m_anchorLine};
  }
};

TEST_F(MouseTest, PressGoesToTheNearestCellBoundaryOnTheText) {
  SetLines({std::string(60, 'a'), "short", std::string(40, 'b')});
  // {cell width, first column, first line, x, y, column, line}; the margin, past the end, below, scrolled.
  std::vector<Ints> cases = {{10, 0, 0, 14, Y(0), 0, 0},       {10, 0, 0, 15, Y(0), 1, 0},
                             {10, 0, 0, X(37) + 3, Y(2), 37, 2}, {10, 0, 0, 0, Y(0), 0, 0},
                             {10, 0, 0, X(30), Y(1), 5, 1},    {10, 0, 0, X(12), Y(40), 12, 2},
                             {10, 0, 0, X(55), 599, 40, 2},    {10, 7, 1, 0, Y(1), 7, 2},
                             {10, 7, 1, X(3) - 5, Y(0), 5, 1}, {10, 7, 1, X(3) - 6, Y(1), 9, 2}};
  // Narrow cells would round a press in the margin to the column before the first visible one.
  for (int w : {1, 5, 6, 7})
    cases.insert(cases.end(), {{w, 0, 0, 0, Y(0), 0, 0}, {w, 4, 0, 1, Y(0), 4, 0}, {w, 4, 0, 10 + w, Y(0), 5, 0}});
  for (const Ints& c : cases) {
    editor_->m_cellWidth = c[0];
    editor_->m_firstCol = c[1];
    editor_->m_firstLine = c[2];
    Click(c[3], c[4]);
    EXPECT_EQ(CaretAnchor(), (Ints{c[5], c[6], c[5], c[6]})) << testing::PrintToString(c);
  }
}

TEST_F(MouseTest, PressShowsTheCaretAndShiftPressKeepsTheAnchor) {
  SetLines(std::vector<std::string>(4, "0123456789"));
  Send(wxEVT_LEFT_DOWN, X(2), Y(0));
  EXPECT_TRUE(editor_->m_mouseDown && editor_->HasFocus() && editor_->HasCapture() && editor_->GetCaret());
  Send(wxEVT_LEFT_UP, X(2), Y(0));
  EXPECT_FALSE(editor_->m_mouseDown || editor_->HasCapture());
  keystate::Override(true, false);
  Click(X(5), Y(3));
  EXPECT_EQ(CaretAnchor(), (Ints{5, 3, 2, 0}));
  Click(X(1), Y(0));
  EXPECT_EQ(CaretAnchor(), (Ints{1, 0, 2, 0}));
  keystate::Override(false, false);
  Click(X(7), Y(2));
  EXPECT_EQ(CaretAnchor(), (Ints{7, 2, 7, 2}));
}

TEST_F(MouseTest, DragFollowsThePointerOnEitherSideOfThePressButNeverScrolls) {
  std::vector<std::string> lines(200, "line");
  lines[0] = std::string(60, 'x');
  SetLines(lines);
  Send(wxEVT_LEFT_DOWN, 10 + 25, Y(0));
  // {x - 10, line, first visible column, caret column}; the press point counts as left of it.
  const int steps[][4] = {{29, 0, 0, 2},   {30, 0, 0, 3},   {21, 0, 0, 2},  {20, 0, 0, 1},   {25, 0, 0, 2},
                          {26, 0, 0, 2},   {40, 0, 0, 4},   {-210, 0, 0, 0}, {890, 0, 0, 60}, {890, 1, 0, 4},
                          {29, 0, 10, 12}, {20, 0, 10, 11}};
  for (const auto& s : steps) {
    editor_->m_firstCol = s[2];
    Send(wxEVT_MOTION, 10 + s[0], Y(s[1]));
    EXPECT_EQ(CaretAnchor(), (Ints{s[3], s[1], 3, 0})) << s[0] << " " << s[1] << " " << s[2];
  }
  // Outside the window: y / line height truncates towards zero, and the view stays.
  editor_->m_firstCol = 0;
  editor_->m_firstLine = 20;
  for (auto [y, line] : {std::pair{-5, 20}, {-35, 17}, {-5000, 0}, {1500, 170}, {100000, 199}}) {
    Send(wxEVT_MOTION, 10 + 20, y);
    EXPECT_EQ(CaretAnchor(), (Ints{1, line, 3, 0})) << y;
  }
  EXPECT_EQ(editor_->GetScrollPos(wxVERTICAL), 0);
  Send(wxEVT_LEFT_UP, 10 + 20, 4);
  Send(wxEVT_MOTION, 10 + 50, 4);  // the release ended the drag
  EXPECT_EQ(editor_->m_caretLine, 199);
  Send(wxEVT_LEFT_DOWN, 10 + 30, 4);  // on a boundary: column 3, yet the press point itself counts as left
  Send(wxEVT_MOTION, 10 + 30, 4);
  EXPECT_EQ(CaretAnchor(), (Ints{2, 20, 3, 20}));
  Send(wxEVT_LEFT_UP, 10 + 30, 4);
}

TEST_F(MouseTest, DoubleClickSelectsTheWordAroundThePoint) {
  const struct { std::string text; int x, caret, anchor; } cases[] = {
      {"foo_bar", X(4) + 2, 4, 7},  // the underscore is no part of a word
      {"foo_bar", X(1) + 2, 0, 3},  {"a b", X(1) + 2, 2, 1},  // a non-word byte alone, caret after it
      {"abc xyz", X(30), 4, 7},     {"xyz ", X(30), 4, 4},    // right of the line's end
      {"  x := 1024 + y2", X(8) + 1, 7, 11}, {"  x := 1024 + y2", X(15), 14, 16}, {"", X(3), 0, 0},
      {"ab\x82" "cd ef", X(1) + 1, 0, 2},  // 0x82 is a letter of the OEM table only
  };
  for (const auto& c : cases) {
    SetLines({c.text});
    Click(c.x, Y(0), true);
    EXPECT_EQ(CaretAnchor(), (Ints{c.caret, 0, c.anchor, 0})) << c.text << " at " << c.x;
  }
  platform::UseOemCharClasses();
  Click(X(1) + 1, Y(0), true);
  platform::UseDefaultCharClasses();
  EXPECT_EQ(CaretAnchor(), (Ints{0, 0, 5, 0}));
}

}  // namespace
