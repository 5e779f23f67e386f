// What a keystroke repaints: the rows whose pixels change and no others, and the screen after it is the
// picture a whole repaint gives, for typing, joins, splits, a brace that changes every depth below it,
// and undo. (A key that adds or removes a line changes the scroll bar's range, after which GTK lays
// the window out and repaints all of it: there only the screen and the rows asked for are checked.)
#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "support/EditorFixture.h"
#include "textmodel/SampleColorizer.h"

namespace {

class RepaintTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    UseColorizer(colorizer_);
    // The caret is drawn over the picture by the toolkit: keep the focus elsewhere.
    parent_->SetFocus();
    editor_->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
      regions_.push_back(editor_->GetUpdateRegion());
      event.Skip();
    });
  }
  wxImage Render() { return Picture(editor_, [&](wxDC& d) { editor_->PaintTo(d); }, ""); }
  // The rows (from the top of the window) whose pixels differ between two pictures.
  std::set<int> RowsDiffering(const wxImage& a, const wxImage& b) const {
    std::set<int> rows;
    const int h = editor_->m_lineHeight;
    for (int y = 0; y < a.GetHeight(); ++y)
      for (int x = 0; x < a.GetWidth(); ++x)
        if (a.GetRed(x, y) != b.GetRed(x, y) || a.GetGreen(x, y) != b.GetGreen(x, y) ||
            a.GetBlue(x, y) != b.GetBlue(x, y)) {
          rows.insert(y / h);
          break;
        }
    return rows;
  }
  // The rows the paints since `regions_` was emptied covered (the middle of
  // each row's visible part: the last row may show only a few pixels).
  std::set<int> RowsPainted() const {
    std::set<int> rows;
    const int h = editor_->m_lineHeight, w = editor_->GetClientSize().x, height = editor_->GetClientSize().y;
    for (int r = 0; r * h < height; ++r)
      for (const wxRegion& region : regions_)
        if (region.Contains(w / 2, r * h + std::min(h, height - r * h) / 2) == wxInRegion) rows.insert(r);
    return rows;
  }
 public:  // for the table of cases
  void SetCaretAt(int col, int line) {
    SetCaret(col, line);
    SetAnchor(col, line);
  }
  void Undo() {
    wxCommandEvent command;
    editor_->OnEditUndo(command);
  }

 protected:
  CSampleColorizer colorizer_;
  std::vector<wxRegion> regions_;
};

TEST_F(RepaintTest, AKeystrokeRepaintsExactlyTheRowsWhosePixelsChange) {
  std::vector<std::string> text = {"CON", "  rate = 9_600 ' baud", "VAR", "  long stack[16]", "PUB main | i"};
  for (int i = 0; i < 40; ++i) text.push_back("  repeat i from 0 to " + std::to_string(i) + "  ' step");
  text.insert(text.end(), {"DAT", "  table long $1F, %1010", "  mov x, #3"});
  const struct {
    const char* what;
    int col, line;                          // the caret before the keys
    std::function<void(RepaintTest&)> keys;  // the keystroke (after any that prepare it)
    std::function<void(RepaintTest&)> before;
    bool lines;  // the key adds or removes a line
  } cases[] = {
      {"typing in the middle of a line", 6, 7, [](RepaintTest& t) { t.Char('x'); }, nullptr, false},
      {"typing at the end of a line", 29, 8, [](RepaintTest& t) { t.Char('7'); }, nullptr, false},
      {"Backspace inside a line", 5, 8, [](RepaintTest& t) { t.KeyDown(WXK_BACK); }, nullptr, false},
      {"Backspace joining two lines", 0, 9, [](RepaintTest& t) { t.KeyDown(WXK_BACK); }, nullptr, true},
      {"Delete joining two lines", 30, 9, [](RepaintTest& t) { t.KeyDown(WXK_DELETE); }, nullptr, true},
      {"Return splitting a line", 10, 6, [](RepaintTest& t) { t.Char(13); }, nullptr, true},
      {"a brace that changes every depth below it", 0, 3, [](RepaintTest& t) { t.Char('{'); }, nullptr, false},
      {"a header that changes the shades below it", 2, 5, [](RepaintTest& t) { t.KeyDown(WXK_DELETE); },
       [](RepaintTest& t) { t.Char('P'); t.Char('R'); t.Char('I'); t.Char(' '); t.SetCaretAt(2, 5); }, false},
      {"undo of typing", 6, 7, [](RepaintTest& t) { t.Undo(); }, [](RepaintTest& t) { t.Char('x'); }, false},
      {"undo of a brace", 0, 3, [](RepaintTest& t) { t.Undo(); }, [](RepaintTest& t) { t.Char('{'); }, false},
      {"undo of a join", 0, 9, [](RepaintTest& t) { t.Undo(); }, [](RepaintTest& t) { t.KeyDown(WXK_BACK); },
       true},
  };
  for (const auto& c : cases) {
    SetLines(text);
    editor_->m_firstLine = 2;
    SetCaret(c.col, c.line);
    SetAnchor(c.col, c.line);
    ClearFrameStack(editor_->m_undoStack);
    if (c.before) c.before(*this);
    editor_->Refresh();
    editor_->Update();
    Pump();
    ASSERT_EQ(ScreenDiffers(editor_, Render(), false), 0) << c.what << ": before";
    const wxImage before = Render();
    regions_.clear();
    c.keys(*this);
    editor_->Update();
    Pump();
    const wxImage after = Render();
    const std::set<int> changed = RowsDiffering(before, after);
    EXPECT_FALSE(changed.empty()) << c.what;
    const std::set<int> painted = RowsPainted();
    if (c.lines)
      EXPECT_TRUE(std::includes(painted.begin(), painted.end(), changed.begin(), changed.end())) << c.what;
    else
      EXPECT_EQ(painted, changed) << c.what;
    EXPECT_EQ(ScreenDiffers(editor_, after, false, "repaint_screen"), 0) << c.what;
  }
}

TEST_F(RepaintTest, ALongLineRepaintsOnlyForChangesInTheColumnsShown) {
  const std::string tail(20000, 'w');
  SetLines({"PUB main", "  x := 1 ' " + tail, "  return"});
  editor_->Refresh();
  editor_->Update();
  Pump();
  CTextModel& model = editor_->m_textModel;
  // Far right of the window, scrolled to the left end: nothing to repaint.
  regions_.clear();
  model.SetLine("  x := 1 ' " + tail + "QQ", 1);
  editor_->RefreshChangedRows();
  editor_->Update();
  Pump();
  EXPECT_TRUE(RowsPainted().empty());
  EXPECT_EQ(ScreenDiffers(editor_, Render(), false), 0);
  // Inside the window: that row alone.
  regions_.clear();
  model.SetLine("  y := 1 ' " + tail + "QQ", 1);
  editor_->RefreshChangedRows();
  editor_->Update();
  Pump();
  EXPECT_EQ(RowsPainted(), std::set<int>{1});
  EXPECT_EQ(ScreenDiffers(editor_, Render(), false), 0);
  // Scrolled to the line's end, the end is what counts.
  editor_->m_firstCol = static_cast<int>(model.lines[1].size()) - 10;
  editor_->Refresh();
  editor_->Update();
  Pump();
  regions_.clear();
  model.SetLine("  z := 1 ' " + tail + "QR", 1);
  editor_->RefreshChangedRows();
  editor_->Update();
  Pump();
  EXPECT_EQ(RowsPainted(), std::set<int>{1});
  EXPECT_EQ(ScreenDiffers(editor_, Render(), false), 0);
}

}  // namespace
