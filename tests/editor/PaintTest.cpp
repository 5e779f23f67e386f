// Painting read back as pixels: the picture, stand-ins, failing lines, the screen, saved pictures.
#include <wx/filename.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "support/EditorFixture.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

class PaintTest : public EditorFixture {
 protected:
  wxImage Render(const std::string& s) { return Picture(editor_, [&](wxDC& d) { editor_->PaintTo(d); }, s); }
  static COLORREF At(const wxImage& i, int x, int y) {
    return i.GetRed(x, y) | i.GetGreen(x, y) << 8 | i.GetBlue(x, y) << 16;
  }
  wxRect Cell(int col, int line, int cells = 1) const {
    const int w = editor_->m_cellWidth, h = editor_->m_lineHeight;
    return wxRect(10 + (col - editor_->m_firstCol) * w, (line - editor_->m_firstLine) * h, cells * w, h);
  }
  wxRect Row(int line, int w = 2000) const { return wxRect(0, Cell(0, line).y, w, editor_->m_lineHeight); }
  // How far the pixels of r (within the picture) are from `back`, summed over the channels.
  static int Ink(const wxImage& image, wxRect r, COLORREF back) {
    r.Intersect(wxRect(image.GetSize()));
    int n = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
      for (int x = r.x; x < r.x + r.width; ++x)
        for (int s = 0; s < 24; s += 8)
          n += std::abs(int((At(image, x, y) >> s) & 0xFF) - int((back >> s) & 0xFF));
    return n;
  }
  void ColourLines(COLORREF c) { for (auto& v : editor_->m_textModel.lineColours) v.assign(v.size(), c); }
  COLORREF Shade(int line) const { return editor_->m_textModel.lineBackground[line]; }
  std::vector<COLORREF>& Colours(int line) { return editor_->m_textModel.lineColours[line]; }
  // Where two pictures of one size first differ (a byte's index), or -1.
  static long FirstDifference(const wxImage& a, const wxImage& b) {
    const long size = long(a.GetWidth()) * a.GetHeight() * 3;
    const long at = std::mismatch(a.GetData(), a.GetData() + size, b.GetData()).first - a.GetData();
    return at == size ? -1 : at;
  }
};

// Shades, margin, selection, bold and white below: drawn by runs, the same as one glyph per cell.
TEST_F(PaintTest, ThePictureIsTheRowShadesThenEveryCellAndItsGlyph) {
  SetLines({"CON", "  _clkmode = xtal1 + pll16x", "VAR", "  long stack[32]", "OBJ", "  ser : \"serial\"",
            "PUB main | i", "  repeat i from 0 to 9   ' count", "    ser.dec(i)", "PRI wait(ms)",
            "  waitcnt(clkfreq / 1000 * ms + cnt)", "DAT", "  table long $1F, %1010, 42", "  mov x, #3"});
  const COLORREF palette[] = {0x000000, 0x010000, 0x808080, 0x008000, 0x000080, 0xFF0000, 0x800000, 0x0000C0};
  for (int line = 0; line < 14; ++line)
    for (std::size_t c = 0; c < Lines()[line].size(); ++c) Colours(line)[c] = palette[(c / 3 + line) % 8];
  SetAnchor(5, 1);
  SetCaret(7, 3);
  const wxImage painted = Render("paint_source");
  const wxImage reference = Picture(editor_, [&](wxDC& dc) {
    dc.Clear();
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetPen(*wxTRANSPARENT_PEN);
    auto colour = [](COLORREF c) { return wxColour(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); };
    for (int line = 0; line < 14; ++line) {
      const std::string& text = editor_->m_textModel.lines[line];
      dc.SetBrush(wxBrush(colour(Shade(line))));
      dc.DrawRectangle(Row(line));
      for (int c = 0; c < int(text.size()); ++c) {
        const bool selected = editor_->IsInSelection(c, line);
        const COLORREF own = Colours(line)[c];
        dc.SetBrush(wxBrush(colour(selected ? 0x000000 : Shade(line))));
        dc.DrawRectangle(Cell(c, line));
        dc.SetFont(ColorEditWnd::IsBoldColour(own) ? editor_->m_boldFont : editor_->m_font);
        dc.SetTextForeground(colour(selected ? kWhite : own));
        dc.DrawText(wxString(text[c]), Cell(c, line).GetPosition());
      }
    }
  }, "paint_reference");
  EXPECT_EQ(FirstDifference(painted, reference), -1);
  // The same, spelled out: the margin, a selected space, white below; bold: the list's even colours.
  for (int line = 0; line < 14; ++line) EXPECT_EQ(Ink(painted, Row(line, 10), Shade(line)), 0) << line;
  EXPECT_EQ(Ink(painted, Cell(0, 3, 2), 0x000000), 0);
  EXPECT_EQ(Ink(painted, wxRect(0, Row(14).y, 2000, 2000), kWhite), 0);
  for (COLORREF c : {0x010000u, 0x808080u, 0x000080u, 0x800000u, 0x010001u, 0x808081u, 0x000081u, 0u})
    EXPECT_EQ(ColorEditWnd::IsBoldColour(c), c % 2 == 0 && c != 0) << c;
}

TEST_F(PaintTest, BytesOutsideAsciiAreDrawnThroughTheTableAndStandIns) {
  // A, euro, box line, private-use 0x01, space, e acute, private-use 0x7F, infinity.
  SetLines({std::string("A\xA4\x90\x01 \xE9\x7F\xFF", 8), "\x01\x02\x81\xA0\xA2"});
  const wxImage image = Render("paint_glyphs");
  for (int col = 0; col < 8; ++col) EXPECT_EQ(Ink(image, Cell(col, 0), Shade(0)) > 3, col != 4) << col;
  // Every private-use byte shows a stand-in of its own, inside its cell.
  std::set<std::string> standIns;
  for (int col : {0, 2, 3, 4}) {
    EXPECT_GT(Ink(image, Cell(col, 1), Shade(1)), 3) << col;
    const wxImage cell = image.GetSubImage(Cell(col, 1));
    standIns.emplace(reinterpret_cast<const char*>(cell.GetData()), cell.GetWidth() * cell.GetHeight() * 3);
  }
  EXPECT_EQ(standIns.size(), 4u);
  EXPECT_EQ(Ink(image, Row(1, 10), Shade(1)) + Ink(image, Cell(5, 1, 3), Shade(1)), 0);
}

TEST_F(PaintTest, LongLinesAreClippedAndFailingLinesEndThePaint) {
  SetLines({std::string(400, 'x'), "short", "x"});
  const int visible = (editor_->GetClientSize().x - 10) / editor_->m_cellWidth;
  EXPECT_GT(Ink(Render("paint_long"), Cell(visible - 1, 0), Shade(0)), 0);
  editor_->m_firstCol = 10;  // "short" lies left of the first visible column: its row is only shade
  const wxImage scrolled = Render("paint_scrolled");
  EXPECT_EQ(Ink(scrolled, Row(1), Shade(1)) + Ink(scrolled, Row(0, 10), Shade(0)), 0);
  EXPECT_GT(Ink(scrolled, Cell(10, 0), Shade(0)), 0);
  // A line without a shade fails, and one with too few colours wherever the view starts.
  wxBitmap bitmap(50, 50, 24);
  wxMemoryDC dc(bitmap);
  EXPECT_THROW(editor_->DrawLine(dc, "x", {0}, 3, 0), InvalidArgumentError);
  for (editor_->m_firstCol = 0; editor_->m_firstCol < 3; ++editor_->m_firstCol)
    EXPECT_THROW(editor_->DrawLine(dc, "xyz", {0}, 2, 0), std::out_of_range) << editor_->m_firstCol;
  // In a paint a line with too few colours shows its coloured cells, then the paint ends.
  editor_->m_firstCol = 0;
  Colours(1).resize(2);
  const wxImage cut = Render("paint_cut");
  EXPECT_GT(Ink(cut, Cell(1, 1), Shade(1)), 0);
  EXPECT_EQ(Ink(cut, Cell(2, 1), Shade(1)) + Ink(cut, Row(2), kWhite), 0);
  for (editor_->m_firstLine = 3; editor_->m_firstLine < 6; editor_->m_firstLine += 2)  // at or past the end
    EXPECT_EQ(Ink(Render("paint_past"), wxRect(0, 0, 2000, 2000), kWhite), 0) << editor_->m_firstLine;
}

// The screen shows the picture after a paint and after sideways scrolls (no repaint); no erasing.
TEST_F(PaintTest, TheScreenShowsThePictureAfterAPaintAndAfterSidewaysScrolls) {
  std::string line;
  for (int i = 0; i < 400; ++i) line += char('!' + i % 90);
  SetLines({"CON", line, "PUB main", line});
  ColourLines(0x010000);
  EXPECT_EQ(ScreenDiffers(editor_, Render("paint_expected"), true, "paint_screen"), 0);
  for (wxEventType type : {wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_LINEUP,
                           wxEVT_SCROLLWIN_THUMBTRACK}) {
    wxScrollWinEvent scroll(type, 5, wxHORIZONTAL);  // line scrolls ignore the position
    editor_->ProcessWindowEvent(scroll);
  }
  EXPECT_EQ(editor_->m_firstCol, 5);
  EXPECT_EQ(ScreenDiffers(editor_, Render("scroll_expected"), false, "scroll_screen"), 0);
  wxEraseEvent erase(editor_->GetId(), nullptr);
  editor_->ProcessWindowEvent(erase);
  EXPECT_FALSE(erase.GetSkipped());
}

TEST_F(PaintTest, PicturesAreSavedWhenAFolderIsNamed) {
  const char* outer = std::getenv("QUILLMARK_SHOTS");
  const std::string saved = outer ? outer : "", folder = wxFileName::CreateTempFileName("qm").utf8_string();
  wxRemoveFile(folder);
  ASSERT_TRUE(wxMkdir(folder));
  setenv("QUILLMARK_SHOTS", folder.c_str(), 1);
  const wxImage painted = Render("saved");
  const wxImage loaded(folder + "/saved.png", wxBITMAP_TYPE_PNG);
  outer ? setenv("QUILLMARK_SHOTS", saved.c_str(), 1) : unsetenv("QUILLMARK_SHOTS");
  ASSERT_TRUE(loaded.IsOk() && loaded.GetSize() == painted.GetSize());
  EXPECT_EQ(FirstDifference(loaded, painted), -1);
  wxFileName::Rmdir(folder, wxPATH_RMDIR_RECURSIVE);
}

}  // namespace
