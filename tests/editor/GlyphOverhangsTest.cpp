// Glyphs that leave their cell: found with whole rows drawn at once, the same
// as with every glyph drawn by itself.
#include <wx/font.h>

#include <bitset>
#include <string>

#include "editor/GlyphOverhangs.h"
#include "support/EditorFixture.h"

namespace {

using GlyphOverhangsTest = EditorFixture;

// Every glyph drawn by itself in its slot of the grid, then the columns of
// each slot beside its cell searched pixel by pixel.
std::bitset<128> OverhangsGlyphByGlyph(const wxFont& font, int cell, int height) {
  std::bitset<128> overhangs;
  if (!font.IsOk() || cell <= 0 || height <= 0) return overhangs;
  wxBitmap bitmap(16 * 3 * cell, 6 * 3 * height, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetFont(font);
    dc.SetTextForeground(*wxBLACK);
    for (int c = 33; c < 127; ++c)
      dc.DrawText(wxString(static_cast<wxChar>(c)), ((c - 32) % 16) * 3 * cell + cell, ((c - 32) / 16) * 3 * height + height);
  }
  const wxImage image = bitmap.ConvertToImage();
  for (int c = 33; c < 127; ++c) {
    const int left = ((c - 32) % 16) * 3 * cell, top = ((c - 32) / 16) * 3 * height;
    for (int y = top; y < top + 3 * height && !overhangs[c]; ++y)
      for (int x = left; x < left + 3 * cell && !overhangs[c]; ++x)
        if (x < left + cell || x >= left + 2 * cell)
          overhangs[c] = image.GetRed(x, y) != 255 || image.GetGreen(x, y) != 255 || image.GetBlue(x, y) != 255;
  }
  return overhangs;
}

wxFont Font(int pixelHeight, wxFontFamily family, int weight, wxFontStyle style) {
  return wxFont(wxFontInfo(wxSize(0, pixelHeight)).Family(family).Weight(weight).Style(style));
}

// The advance of a letter of `font` and the height of its line.
wxSize CellOf(const wxFont& font) {
  wxBitmap bitmap(8, 8, 24);
  wxMemoryDC dc(bitmap);
  dc.SetFont(font);
  return dc.GetTextExtent(wxT("M"));
}

TEST_F(GlyphOverhangsTest, RowsDrawnAtOnceFindWhatGlyphsDrawnAloneFind) {
  ColorEditWnd& e = *editor_;
  // The smallest and the largest zoom, in their own cells.
  const wxFont small = Font(12, wxFONTFAMILY_TELETYPE, 500, wxFONTSTYLE_NORMAL);
  const wxFont largeBold = Font(74, wxFONTFAMILY_TELETYPE, 700, wxFONTSTYLE_NORMAL);
  const struct {
    const char* name;
    wxFont font;
    int cell, height;
  } cases[] = {
      {"editor normal", e.m_font, e.m_cellWidth, e.m_lineHeight},
      {"editor bold", e.m_boldFont, e.m_cellWidth, e.m_lineHeight},
      // Cells narrower than the glyphs: every glyph with ink beside its cell.
      {"narrow cells", e.m_font, e.m_cellWidth / 2, e.m_lineHeight},
      {"small", small, CellOf(small).x, CellOf(small).y},
      {"large bold", largeBold, CellOf(largeBold).x, CellOf(largeBold).y},
      {"italic", Font(18, wxFONTFAMILY_TELETYPE, 500, wxFONTSTYLE_ITALIC), e.m_cellWidth, e.m_lineHeight},
      // Proportional glyphs leave the cells of a run: each is drawn alone.
      {"proportional", Font(18, wxFONTFAMILY_SWISS, 500, wxFONTSTYLE_NORMAL), e.m_cellWidth, e.m_lineHeight},
      {"invalid font", wxFont(), 10, 18},
      {"no cell", e.m_font, 0, e.m_lineHeight},
  };
  int withOverhangs = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::bitset<128> found = FindGlyphOverhangs(c.font, c.cell, c.height);
    EXPECT_EQ(found, OverhangsGlyphByGlyph(c.font, c.cell, c.height));
    withOverhangs += found.any();
  }
  // The table reaches glyphs that overhang, not only fonts without any.
  EXPECT_GE(withOverhangs, 2);
}

}  // namespace
