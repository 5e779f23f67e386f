// CellCache: the exact pixels of single character cells, each rendered once by
// the text call that draws it in place and then copied wherever it recurs.
#pragma once

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/font.h>

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "editor/GlyphTable.h"
#include "textmodel/Types.h"

// A cell's picture is its background fill with one glyph drawn over it, and
// so depends only on the byte, the text colour, the background and the font,
// as long as the glyph's ink stays inside the cell. Cells are rendered on
// demand in a scratch picture at whole-pixel positions, as in place, with the
// same fill and text calls; a glyph whose ink leaves its cell is never kept.
class CellCache {
 public:
  // Keeps what it holds while the fonts, the cell, the pixel format and the
  // glyph table stay those given; starts empty otherwise. False when cells
  // cannot be rendered in that format here.
  bool Prepare(const wxFont& normal, const wxFont& bold, int cellWidth, int lineHeight, int format,
               const GlyphTable& glyphs);
  // The pixel a fill of `colour` leaves.
  std::uint32_t Pixel(COLORREF colour);
  // The cellWidth x lineHeight pixels of `byte` in the text colour over the
  // background, in the bold or the normal font; nullptr when the glyph's ink
  // leaves its cell.
  const std::uint32_t* Cell(unsigned char byte, bool bold, COLORREF text, COLORREF back);
  // Whether one text call drawing a run of the printable ASCII characters
  // that stay in their cells (the others as spaces) gives the same pixels as
  // their cells side by side: when not, such runs are drawn as runs.
  bool RunsMatchCells(bool bold);
  // How many cells it holds.
  std::size_t Size() const { return m_cells; }

 private:
  // The cells of one font and colour pair, by byte.
  struct Palette {
    std::array<std::int32_t, 256> at;  // offset in pixels, kUnknown or kOutside
    std::vector<std::uint32_t> pixels;
  };
  static constexpr std::int32_t kUnknown = -2, kOutside = -1;
  static constexpr int kSideCells = 4, kSideRows = 2;  // room around the scratch cell
  static constexpr std::size_t kMaxCells = 16384;     // more, and the next Prepare starts afresh

  void Clear();
  wxRect ScratchCell() const;
  // Fills the scratch cell with `back` and draws the glyph of `byte` over it.
  void RenderScratch(unsigned char byte, bool bold, COLORREF text, COLORREF back);
  // Whether the glyph of `byte` leaves no ink outside its cell.
  bool StaysInCell(unsigned char byte, bool bold);

  wxFont m_fonts[2];
  int m_cellWidth = 0, m_lineHeight = 0, m_format = 0;
  std::array<wchar_t, 256> m_glyphs{};
  bool m_prepared = false;  // the settings above are those of the last Prepare
  bool m_usable = false;
  wxBitmap m_scratch;
  std::unique_ptr<wxMemoryDC> m_dc;
  std::int8_t m_inCell[2][256];   // -1 unknown, else whether the glyph stays in its cell
  std::int8_t m_runsMatch[2] = {-1, -1};
  std::unordered_map<std::uint64_t, Palette> m_palettes;
  std::uint64_t m_lastKey = ~std::uint64_t(0);
  Palette* m_last = nullptr;
  std::unordered_map<COLORREF, std::uint32_t> m_pixels;
  std::size_t m_cells = 0;
};
