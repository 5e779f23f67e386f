// Painting read back as pixels: section shades and the margin, cell
// backgrounds, inverted selection, bold colours, glyphs through the table
// and their stand-ins, the single copy of the clip box, and the real paint.
#include <wx/cmndata.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dcps.h>
#include <wx/filename.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/MemDCA.h"
#include "support/EditorFixture.h"
#include "textmodel/SampleColorizer.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

class PaintTest : public EditorFixture {
 protected:
  // The editor's picture, painted into a bitmap of its client size.
  wxImage Render(const std::string& shot = std::string()) {
    const wxSize size = editor_->GetClientSize();
    wxBitmap bitmap(size.x, size.y, 24);
    {
      wxMemoryDC dc(bitmap);
      editor_->PaintTo(dc);
    }
    if (!shot.empty()) SaveShot(bitmap, shot);
    return bitmap.ConvertToImage();
  }

  // How many pixels of the screen differ from the picture PaintTo gives,
  // away from the edges where GTK's scroll bars may shade the window. The
  // screen is read in a few rounds, as the X server may lag behind a paint.
  int ScreenDifference(const std::string& shot = std::string()) {
    const wxImage painted = Render();
    int differing = -1;
    for (int round = 0; round < 10 && differing != 0; ++round) {
      if (round > 0) wxMilliSleep(30);
      const wxBitmap screen = GrabClient(editor_);
      if (!shot.empty()) SaveShot(screen, shot);
      const wxImage image = screen.ConvertToImage();
      differing = 0;
      for (int y = 0; y < image.GetHeight() - 16; ++y)
        for (int x = 0; x < image.GetWidth() - 64; ++x) differing += At(image, x, y) != At(painted, x, y);
    }
    return differing;
  }

  static COLORREF At(const wxImage& image, int x, int y) {
    return image.GetRed(x, y) | (image.GetGreen(x, y) << 8) | (image.GetBlue(x, y) << 16);
  }
  int CellX(int col) const { return 10 + (col - editor_->m_firstCol) * editor_->m_cellWidth; }
  int RowY(int line) const { return (line - editor_->m_firstLine) * editor_->m_lineHeight; }

  // How much the cell's pixels differ from `back`, summed over the channels.
  int Ink(const wxImage& image, int col, int line, COLORREF back) const {
    int n = 0;
    for (int y = RowY(line); y < RowY(line) + editor_->m_lineHeight; ++y)
      for (int x = CellX(col); x < CellX(col) + editor_->m_cellWidth; ++x) {
        const COLORREF c = At(image, x, y);
        for (int shift = 0; shift < 24; shift += 8)
          n += std::abs(static_cast<int>((c >> shift) & 0xFF) - static_cast<int>((back >> shift) & 0xFF));
      }
    return n;
  }
  // Whether every pixel of the rectangle has colour c.
  static bool All(const wxImage& image, const wxRect& r, COLORREF c) {
    for (int y = r.y; y < r.GetBottom() + 1; ++y)
      for (int x = r.x; x < r.GetRight() + 1; ++x)
        if (At(image, x, y) != c) return false;
    return true;
  }
  void ColourLine(int line, COLORREF c) {
    auto& colours = editor_->m_textModel.lineColours[line];
    std::fill(colours.begin(), colours.end(), c);
  }
  COLORREF Shade(int line) const { return editor_->m_textModel.lineBackground[line]; }
};

TEST_F(PaintTest, RowsShowTheirShadeWithTheMarginAndWhiteBelowTheText) {
  CSampleColorizer colorizer;
  colorizer.LoadKeywords(L"Keywords.ini");
  colorizer.LoadOperators();
  colorizer.LoadFlowKeywords();
  editor_->m_textModel.colorizer = &colorizer;
  SetLines({"CON", "  _clkmode = xtal1 + pll16x", "VAR", "  long stack[32]", "OBJ", "  ser : \"serial\"",
            "PUB main | i", "  repeat i from 0 to 9   ' count", "    ser.dec(i)", "PRI wait(ms)",
            "  waitcnt(clkfreq / 1000 * ms + cnt)", "DAT", "  table long $1F, %1010, 42", "  mov x, #3"});
  const int lines = editor_->m_textModel.LineCount();
  const wxImage image = Render("paint_source");
  const int width = image.GetWidth();
  const int h = editor_->m_lineHeight;

  bool sawBold = false;
  for (int line = 0; line < lines; ++line) {
    SCOPED_TRACE(line);
    // The left 10 pixels show the shade and nothing else.
    EXPECT_TRUE(All(image, wxRect(0, RowY(line), 10, h), Shade(line)));
    // Right of the text too.
    EXPECT_TRUE(All(image, wxRect(width - 20, RowY(line), 20, h), Shade(line)));
    for (COLORREF c : editor_->m_textModel.lineColours[line]) sawBold |= ColorEditWnd::IsBoldColour(c);
  }
  EXPECT_TRUE(sawBold);
  // Six kinds, six different shades.
  EXPECT_NE(Shade(0), Shade(2));
  EXPECT_NE(Shade(2), Shade(4));
  EXPECT_NE(Shade(6), Shade(9));
  // Below the last line the picture is white, not a shade.
  EXPECT_TRUE(All(image, wxRect(0, RowY(lines), width, image.GetHeight() - RowY(lines)), kWhite));
}

TEST_F(PaintTest, CellsShowTheirColourAndSelectedCellsAreInverted) {
  SetLines({"a b cdef", "ghij"});
  ColourLine(0, 0x0000C0);  // dark red, not bold
  ColourLine(1, 0x0000C0);
  SetAnchor(2, 0);
  SetCaret(5, 0);
  const wxImage image = Render("paint_selection");
  const int h = editor_->m_lineHeight;
  const int w = editor_->m_cellWidth;
  const COLORREF shade = Shade(0);

  // The space cell 1 shows only the shade, cell 0 its red glyph over it.
  EXPECT_TRUE(All(image, wxRect(CellX(1), 0, w, h), shade));
  EXPECT_GT(Ink(image, 0, 0, shade), 0);
  bool red = false;
  for (int y = 0; y < h; ++y)
    for (int x = CellX(0); x < CellX(1); ++x) {
      const COLORREF c = At(image, x, y);
      red |= (c & 0xFF) > 0x80 && ((c >> 8) & 0xFF) < 0x60;
    }
  EXPECT_TRUE(red);

  // Cells 2..4 are selected: white on black; the space among them is black.
  for (int col = 2; col < 5; ++col) {
    SCOPED_TRACE(col);
    EXPECT_TRUE(All(image, wxRect(CellX(col), 0, w, 1), 0x000000));
    EXPECT_TRUE(All(image, wxRect(CellX(col), h - 1, w, 1), 0x000000));
  }
  EXPECT_TRUE(All(image, wxRect(CellX(3), 0, w, h), 0x000000));
  int white = 0;
  for (int y = 0; y < h; ++y)
    for (int x = CellX(2); x < CellX(3); ++x) white += At(image, x, y) == kWhite;
  EXPECT_GT(white, 0);
  // The selection is half open: cell 5 is not selected.
  EXPECT_TRUE(All(image, wxRect(CellX(5), 0, w, 1), shade));
  // Other lines are untouched by it.
  EXPECT_TRUE(All(image, wxRect(CellX(0), RowY(1), w, 1), Shade(1)));

  // A different selection colour shows through.
  editor_->m_selBack = 0x00FF00;
  const wxImage green = Render();
  EXPECT_TRUE(All(green, wxRect(CellX(3), 0, w, h), 0x00FF00));
}

TEST_F(PaintTest, BoldColoursAreDrawnWithTheBoldFontAlsoWhenSelected) {
  // Each bold colour against a neighbouring colour that is not bold.
  const COLORREF bold[] = {0x010000, 0x808080, 0x000080, 0x800000};
  const COLORREF plain[] = {0x010001, 0x808081, 0x000081, 0x800001};
  std::vector<std::string> lines(8, "WHMW");
  SetLines(lines);
  for (int i = 0; i < 4; ++i) {
    ColourLine(2 * i, bold[i]);
    ColourLine(2 * i + 1, plain[i]);
    EXPECT_TRUE(ColorEditWnd::IsBoldColour(bold[i]));
    EXPECT_FALSE(ColorEditWnd::IsBoldColour(plain[i]));
  }
  EXPECT_FALSE(ColorEditWnd::IsBoldColour(0));
  EXPECT_FALSE(ColorEditWnd::IsBoldColour(0xFFFFFF));
  const wxImage image = Render("paint_bold");
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    int boldInk = 0, plainInk = 0;
    for (int col = 0; col < 4; ++col) {
      boldInk += Ink(image, col, 2 * i, Shade(2 * i));
      plainInk += Ink(image, col, 2 * i + 1, Shade(2 * i + 1));
    }
    EXPECT_GT(boldInk, plainInk + plainInk / 8);
  }

  // Selected: the cell's own colour still decides the font.
  SetAnchor(0, 0);
  SetCaret(4, 1);
  const wxImage selected = Render("paint_bold_selected");
  int boldInk = 0, plainInk = 0;
  for (int col = 0; col < 4; ++col) {
    boldInk += Ink(selected, col, 0, 0x000000);
    plainInk += Ink(selected, col, 1, 0x000000);
  }
  EXPECT_GT(boldInk, plainInk + plainInk / 8);
}

TEST_F(PaintTest, BytesOutsideAsciiAreDrawnThroughTheTableAndStandIns) {
  // A, euro, box line, private-use 0x01, space, e acute, private-use 0x7F, infinity.
  SetLines({std::string("A\xA4\x90\x01 \xE9\x7F\xFF", 8), "\x01\x02\x7F\xA0\xBE"});
  ColourLine(0, 0x000000);
  ColourLine(1, 0x000000);
  const wxImage image = Render("paint_glyphs");
  for (int col = 0; col < 8; ++col) {
    SCOPED_TRACE(col);
    if (col == 4)
      EXPECT_EQ(Ink(image, col, 0, Shade(0)), 0);  // the space
    else
      EXPECT_GT(Ink(image, col, 0, Shade(0)), 3);
  }
  // Every private-use byte shows something, and different bytes look different.
  std::vector<std::vector<COLORREF>> cells;
  for (int col = 0; col < 5; ++col) {
    EXPECT_GT(Ink(image, col, 1, Shade(1)), 3) << col;
    std::vector<COLORREF> pixels;
    for (int y = RowY(1); y < RowY(1) + editor_->m_lineHeight; ++y)
      for (int x = CellX(col); x < CellX(col) + editor_->m_cellWidth; ++x) pixels.push_back(At(image, x, y));
    cells.push_back(pixels);
  }
  EXPECT_NE(cells[0], cells[2]);
  EXPECT_NE(cells[2], cells[3]);
  EXPECT_NE(cells[3], cells[4]);
  // The stand-in stays inside its cell: the margin and the next row are clean.
  EXPECT_TRUE(All(image, wxRect(0, RowY(1), 10, editor_->m_lineHeight), Shade(1)));
  EXPECT_TRUE(All(image, wxRect(CellX(5), RowY(1), 30, editor_->m_lineHeight), Shade(1)));
}

TEST_F(PaintTest, LongLinesAreClippedAndScrolledColumnsLeaveOnlyTheShade) {
  SetLines({std::string(400, 'x'), "short", "x"});
  ColourLine(0, 0);
  ColourLine(1, 0);
  const wxImage image = Render();
  const int width = image.GetWidth();
  // The long line reaches the right edge; its last visible cell has ink.
  const int lastCol = (width - 10) / editor_->m_cellWidth - 1;
  EXPECT_GT(Ink(image, lastCol, 0, Shade(0)), 0);

  editor_->m_firstCol = 10;
  const wxImage scrolled = Render();
  // "short" lies left of the first visible column: its row is only shade.
  EXPECT_TRUE(All(scrolled, wxRect(0, RowY(1), width, editor_->m_lineHeight), Shade(1)));
  EXPECT_GT(Ink(scrolled, 10, 0, Shade(0)), 0);
  EXPECT_TRUE(All(scrolled, wxRect(0, 0, 10, editor_->m_lineHeight), Shade(0)));

  // DrawLine answers the x after the last cell of the whole line.
  wxBitmap bitmap(50, 50, 24);
  wxMemoryDC dc(bitmap);
  const std::vector<COLORREF> colours(400, 0);
  EXPECT_EQ(editor_->DrawLine(dc, std::string(400, 'x'), colours, 0, 7),
            wxPoint(10 + 390 * editor_->m_cellWidth, 7));
  EXPECT_EQ(editor_->DrawLine(dc, "short", std::vector<COLORREF>(5, 0), 1, 3), wxPoint(10, 3));
  EXPECT_EQ(editor_->m_lineBack, Shade(1));
  editor_->m_firstCol = 0;
  EXPECT_THROW(editor_->DrawLine(dc, "x", {0}, 3, 0), InvalidArgumentError);
  EXPECT_THROW(editor_->DrawLine(dc, "xyz", {0}, 2, 0), std::out_of_range);
  // Also when the colours end at or before the first visible column.
  editor_->m_firstCol = 1;
  EXPECT_THROW(editor_->DrawLine(dc, "xyz", {0}, 2, 0), std::out_of_range);
  editor_->m_firstCol = 2;
  EXPECT_THROW(editor_->DrawLine(dc, "xyz", {0}, 2, 0), std::out_of_range);
  editor_->m_firstCol = 0;
}

TEST_F(PaintTest, AFirstLineAtOrPastTheEndPaintsOnlyWhite) {
  SetLines({"CON", "x"});
  for (int first : {2, 5}) {
    editor_->m_firstLine = first;
    const wxImage image = Render();
    EXPECT_TRUE(All(image, wxRect(0, 0, image.GetWidth(), image.GetHeight()), kWhite)) << first;
  }
}

TEST_F(PaintTest, AShortColourVectorEndsThePaintWithWhatWasDrawn) {
  SetLines({"abc", "defgh", "ijk", "lmn"});
  editor_->m_textModel.lineColours[1].resize(2);
  const wxImage image = Render();
  const int h = editor_->m_lineHeight;
  EXPECT_GT(Ink(image, 0, 0, Shade(0)), 0);
  // Line 1: its row and the two coloured cells are drawn, then the paint ends.
  EXPECT_GT(Ink(image, 1, 1, Shade(1)), 0);
  EXPECT_EQ(Ink(image, 2, 1, Shade(1)), 0);
  EXPECT_TRUE(All(image, wxRect(0, RowY(2), image.GetWidth(), 2 * h), kWhite));
}

TEST_F(PaintTest, BatchedTextGivesThePictureOfOneGlyphPerCell) {
  SetLines({"PUB main | i, j   ' the loop", "  repeat i from 0 to 9", "    j := i * 2 + $1F",
            "DAT  mov x, #3", "    ' comment with  two  spaces"});
  const COLORREF palette[] = {0x000000, 0x010000, 0x808080, 0x008000, 0x000080, 0xFF0000, 0x800000};
  for (int line = 0; line < 5; ++line) {
    auto& colours = editor_->m_textModel.lineColours[line];
    for (std::size_t c = 0; c < colours.size(); ++c) colours[c] = palette[(c / 3 + line) % 7];
  }
  SetAnchor(5, 1);
  SetCaret(7, 3);
  const wxImage batched = Render("paint_batched");

  // The reference: every cell filled and its glyph drawn on its own.
  const wxSize size = editor_->GetClientSize();
  wxBitmap bitmap(size.x, size.y, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetPen(*wxTRANSPARENT_PEN);
    auto colour = [](COLORREF c) { return wxColour(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); };
    const int w = editor_->m_cellWidth, h = editor_->m_lineHeight;
    for (int line = 0; line < 5; ++line) {
      const std::string& text = editor_->m_textModel.lines[line];
      const auto& colours = editor_->m_textModel.lineColours[line];
      dc.SetBrush(wxBrush(colour(Shade(line))));
      dc.DrawRectangle(0, line * h, size.x, h);
      for (std::size_t c = 0; c < text.size(); ++c) {
        const bool selected = editor_->IsInSelection(static_cast<int>(c), line);
        dc.SetBrush(wxBrush(colour(selected ? 0x000000 : Shade(line))));
        dc.DrawRectangle(10 + c * w, line * h, w, h);
        dc.SetFont(ColorEditWnd::IsBoldColour(colours[c]) ? editor_->m_boldFont : editor_->m_font);
        dc.SetTextForeground(colour(selected ? 0xFFFFFF : colours[c]));
        dc.DrawText(wxString(static_cast<wchar_t>(text[c])), 10 + c * w, line * h);
      }
    }
  }
  SaveShot(bitmap, "paint_reference");
  const wxImage reference = bitmap.ConvertToImage();
  int differing = 0;
  for (int y = 0; y < size.y; ++y)
    for (int x = 0; x < size.x; ++x)
      if (At(batched, x, y) != At(reference, x, y)) {
        ++differing;
        printf("diff at %d,%d: %06x vs %06x\n", x, y, At(batched, x, y), At(reference, x, y));
      }
  EXPECT_EQ(differing, 0);
}

TEST_F(PaintTest, TheRealPaintShowsThePictureWithoutErasing) {
  SetLines({"CON", "  x = 1", "PUB main", "  x++"});
  ColourLine(2, 0x010000);
  SetCaret(3, 2);
  EXPECT_EQ(ScreenDifference("paint_screen"), 0);
  // Below the text the paint leaves white, not the theme's background.
  const wxImage screen = GrabClient(editor_).ConvertToImage();
  EXPECT_EQ(At(screen, 100, screen.GetHeight() / 2), kWhite);

  // Erasing is answered and does nothing.
  wxEraseEvent erase(editor_->GetId(), nullptr);
  editor_->ProcessWindowEvent(erase);
  EXPECT_FALSE(erase.GetSkipped());
}

TEST_F(PaintTest, OnlyTheClipBoxReachesTheTarget) {
  SetLines({"CON", "  x = 1", "VAR", "  long y"});
  const wxImage full = Render();
  const wxSize size = editor_->GetClientSize();
  wxBitmap bitmap(size.x, size.y, 24);
  const wxRect clip(30, 5, 120, 40);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(wxBrush(wxColour(255, 0, 255)));
    dc.Clear();
    dc.SetClippingRegion(clip);
    CMemDCA probe(&dc);
    EXPECT_TRUE(probe.m_bMemDC);
    EXPECT_EQ(probe.m_rect, clip);
    EXPECT_EQ(probe.m_bitmap.GetSize(), clip.GetSize());
  }
  {
    wxMemoryDC dc(bitmap);
    dc.SetClippingRegion(clip);
    editor_->PaintTo(dc);
  }
  const wxImage image = bitmap.ConvertToImage();
  for (int y = 0; y < size.y; y += 3)
    for (int x = 0; x < size.x; x += 3) {
      if (clip.Contains(x, y))
        ASSERT_EQ(At(image, x, y), At(full, x, y)) << x << "," << y;
      else
        ASSERT_EQ(At(image, x, y), 0xFF00FFu) << x << "," << y;
    }
}

TEST_F(PaintTest, PrintingDrawsStraightIntoThePrinterContext) {
  wxPrintData data;
  const wxString file = wxFileName::CreateTempFileName("qmprint");
  data.SetFilename(file);
  data.SetPrintMode(wxPRINT_MODE_FILE);
  wxPostScriptDC printer(data);
  ASSERT_TRUE(printer.IsOk());
  ASSERT_TRUE(printer.StartDoc("test"));
  printer.StartPage();
  {
    CMemDCA dc(&printer);
    EXPECT_FALSE(dc.m_bMemDC);
    EXPECT_FALSE(dc.m_bitmap.IsOk());
    EXPECT_EQ(&dc.DrawDC(), &printer);
    dc.DrawDC().SetFont(editor_->m_font);
    dc.DrawDC().DrawText("x", 10, 10);
  }
  printer.EndPage();
  printer.EndDoc();
  EXPECT_GT(wxFileName::GetSize(file), 0u);
  wxRemoveFile(file);
}

}  // namespace
