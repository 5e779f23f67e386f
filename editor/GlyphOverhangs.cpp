// Which printable ASCII glyphs of a font draw outside their cell: all of them
// drawn into one picture, which is then read once.
#include "editor/GlyphOverhangs.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <algorithm>

namespace {

constexpr int kFirstChar = 33;
constexpr int kEndChar = 127;
constexpr int kPerRow = 16;
constexpr int kRows = 6;

// The slot of a character: the space (32) would have the first one.
int SlotOf(int c) { return c - 32; }

// Whether `text` laid out in one piece puts its k-th character exactly k
// cells right of its start, in a line as high as a glyph of the font alone
// (no glyph of it comes from another font). Each glyph of such a text lands
// on the pixels it would cover drawn by itself at its cell.
bool TextKeepsCells(wxDC& dc, const wxString& text, int cellWidth, int glyphHeight) {
  wxArrayInt ends;
  if (!dc.GetPartialTextExtents(text, ends) || ends.size() != text.length()) return false;
  for (size_t k = 0; k < ends.size(); ++k)
    if (ends[k] != static_cast<int>(k + 1) * cellWidth) return false;
  wxCoord width = 0, height = 0;
  dc.GetTextExtent(text, &width, &height);
  return height == glyphHeight;
}

// Draws the glyphs of one row of slots. The glyphs three cells apart are one
// text of the glyphs with two spaces between them, drawn with one call when
// it keeps the cells; otherwise each glyph is drawn by itself.
void DrawRow(wxDC& dc, int row, int cellWidth, int lineHeight, int glyphHeight) {
  const int firstSlot = std::max(row * kPerRow, SlotOf(kFirstChar));
  const int endSlot = std::min((row + 1) * kPerRow, SlotOf(kEndChar));
  if (firstSlot >= endSlot) return;
  const int y = row * 3 * lineHeight + lineHeight;
  auto cellX = [cellWidth](int slot) { return (slot % kPerRow) * 3 * cellWidth + cellWidth; };
  wxString text;
  for (int slot = firstSlot; slot < endSlot; ++slot) {
    if (slot > firstSlot) text += wxT("  ");
    text += static_cast<wxChar>(slot + 32);
  }
  if (TextKeepsCells(dc, text, cellWidth, glyphHeight)) {
    dc.DrawText(text, cellX(firstSlot), y);
    return;
  }
  for (int slot = firstSlot; slot < endSlot; ++slot)
    dc.DrawText(wxString(static_cast<wxChar>(slot + 32)), cellX(slot), y);
}

}  // namespace

std::bitset<128> FindGlyphOverhangs(const wxFont& font, int cellWidth, int lineHeight) {
  std::bitset<128> overhangs;
  if (!font.IsOk() || cellWidth <= 0 || lineHeight <= 0) return overhangs;
  const int cell = cellWidth, height = lineHeight;
  wxBitmap bitmap(kPerRow * 3 * cell, kRows * 3 * height, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetFont(font);
    dc.SetTextForeground(*wxBLACK);
    wxCoord spaceWidth = 0, glyphHeight = 0;
    dc.GetTextExtent(wxT(" "), &spaceWidth, &glyphHeight);
    for (int row = 0; row < kRows; ++row) DrawRow(dc, row, cell, height, glyphHeight);
  }

  // Ink is any pixel that is not white in the columns of the slot beside the
  // glyph's own cell, from the slot's top to its bottom.
  const wxImage image = bitmap.ConvertToImage();
  const unsigned char* data = image.GetData();
  const int stride = image.GetWidth() * 3;
  auto inkIn = [&](int left, int right, int top, int bottom) {
    for (int y = top; y < bottom; ++y) {
      const unsigned char* p = data + y * stride + left * 3;
      const unsigned char* end = data + y * stride + right * 3;
      for (; p != end; ++p)
        if (*p != 255) return true;
    }
    return false;
  };
  for (int c = kFirstChar; c < kEndChar; ++c) {
    const int left = (SlotOf(c) % kPerRow) * 3 * cell;
    const int top = (SlotOf(c) / kPerRow) * 3 * height;
    overhangs[c] = inkIn(left, left + cell, top, top + 3 * height) ||
                   inkIn(left + 2 * cell, left + 3 * cell, top, top + 3 * height);
  }
  return overhangs;
}
