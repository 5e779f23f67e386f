// Rendering single cells once and keeping their pixels.
#include "editor/CellCache.h"

#include <wx/brush.h>
#include <wx/pen.h>

#include <algorithm>
#include <cstring>

#include "editor/PixelCanvas.h"

namespace {

constexpr COLORREF kBlack = 0x000000, kWhite = 0xFFFFFF;

wxColour ToColour(COLORREF c) { return wxColour(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// The same fill as a paint's: no outline, the brush over the whole rectangle.
void FillRect(wxDC& dc, const wxRect& rect, COLORREF colour) {
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(ToColour(colour)));
  dc.DrawRectangle(rect);
}

}  // namespace

bool CellCache::Prepare(const wxFont& normal, const wxFont& bold, int cellWidth, int lineHeight, int format,
                        const GlyphTable& glyphs) {
  std::array<wchar_t, 256> table;
  for (int b = 0; b < 256; ++b) table[b] = b >= 32 && b <= 126 ? static_cast<wchar_t>(b) : glyphs[b][0];
  const bool same = m_prepared && format == m_format && cellWidth == m_cellWidth && lineHeight == m_lineHeight &&
                    table == m_glyphs && m_fonts[0] == normal && m_fonts[1] == bold;
  if (same) {
    if (m_cells > kMaxCells) {
      m_palettes.clear();
      m_last = nullptr;
      m_lastKey = ~std::uint64_t(0);
      m_cells = 0;
    }
    return m_usable;
  }
  Clear();
  m_fonts[0] = normal;
  m_fonts[1] = bold;
  m_cellWidth = cellWidth;
  m_lineHeight = lineHeight;
  m_format = format;
  m_glyphs = table;
  m_usable = false;
  m_prepared = true;
  m_dc.reset();
  m_scratch = wxBitmap();
  if (!normal.IsOk() || !bold.IsOk() || cellWidth <= 0 || lineHeight <= 0) {
    return false;
  }
  // A scratch picture whose pixels are stored like the target's.
  for (int depth : {24, 32}) {
    m_scratch = wxBitmap((2 * kSideCells + 1) * cellWidth, (2 * kSideRows + 1) * lineHeight, depth);
    m_dc = std::make_unique<wxMemoryDC>(m_scratch);
    m_dc->SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    PixelCanvas canvas(*m_dc);
    if (canvas.IsOk() && canvas.Format() == format) {
      m_usable = true;
      break;
    }
  }
  return m_usable;
}

void CellCache::Clear() {
  m_palettes.clear();
  m_last = nullptr;
  m_lastKey = ~std::uint64_t(0);
  m_pixels.clear();
  m_cells = 0;
  std::memset(m_inCell, -1, sizeof m_inCell);
  m_runsMatch[0] = m_runsMatch[1] = -1;
}

wxRect CellCache::ScratchCell() const {
  return wxRect(kSideCells * m_cellWidth, kSideRows * m_lineHeight, m_cellWidth, m_lineHeight);
}

std::uint32_t CellCache::Pixel(COLORREF colour) {
  colour &= 0xFFFFFF;
  const auto known = m_pixels.find(colour);
  if (known != m_pixels.end()) return known->second;
  std::uint32_t pixel = 0;
  if (m_usable) {
    FillRect(*m_dc, ScratchCell(), colour);
    PixelCanvas canvas(*m_dc);
    canvas.Read(wxRect(ScratchCell().GetPosition(), wxSize(1, 1)), &pixel);
  }
  m_pixels.emplace(colour, pixel);
  return pixel;
}

void CellCache::RenderScratch(unsigned char byte, bool bold, COLORREF text, COLORREF back) {
  const wxRect cell = ScratchCell();
  FillRect(*m_dc, cell, back);
  m_dc->SetFont(m_fonts[bold ? 1 : 0]);
  m_dc->SetTextForeground(ToColour(text));
  m_dc->DrawText(wxString(m_glyphs[byte]), cell.x, cell.y);
}

// Black on white shows every pixel the glyph touches at all; the glyph's
// coverage is the same in every colour.
bool CellCache::StaysInCell(unsigned char byte, bool bold) {
  std::int8_t& known = m_inCell[bold ? 1 : 0][byte];
  if (known >= 0) return known != 0;
  known = 0;
  if (!m_usable) return false;
  const std::uint32_t white = Pixel(kWhite);
  const wxSize size = m_scratch.GetSize();
  FillRect(*m_dc, wxRect(size), kWhite);
  RenderScratch(byte, bold, kBlack, kWhite);
  std::vector<std::uint32_t> pixels(std::size_t(size.x) * size.y);
  PixelCanvas canvas(*m_dc);
  if (!canvas.Read(wxRect(size), pixels.data())) return false;
  const wxRect cell = ScratchCell();
  for (int y = 0; y < size.y; ++y)
    for (int x = 0; x < size.x; ++x)
      if (!cell.Contains(x, y) && pixels[std::size_t(y) * size.x + x] != white) return false;
  known = 1;
  return true;
}

const std::uint32_t* CellCache::Cell(unsigned char byte, bool bold, COLORREF text, COLORREF back) {
  if (!m_usable) return nullptr;
  const std::uint64_t key =
      (text & 0xFFFFFF) | std::uint64_t(back & 0xFFFFFF) << 24 | std::uint64_t(bold ? 1 : 0) << 48;
  if (key != m_lastKey) {
    auto found = m_palettes.find(key);
    if (found == m_palettes.end()) {
      found = m_palettes.emplace(key, Palette()).first;
      found->second.at.fill(kUnknown);
    }
    m_last = &found->second;
    m_lastKey = key;
  }
  Palette& palette = *m_last;
  std::int32_t& at = palette.at[byte];
  if (at == kUnknown) {
    at = kOutside;
    if (StaysInCell(byte, bold)) {
      RenderScratch(byte, bold, text, back);
      const std::size_t size = std::size_t(m_cellWidth) * m_lineHeight;
      const std::size_t offset = palette.pixels.size();
      palette.pixels.resize(offset + size);
      PixelCanvas canvas(*m_dc);
      if (canvas.Read(ScratchCell(), palette.pixels.data() + offset)) {
        at = static_cast<std::int32_t>(offset);
        ++m_cells;
      } else {
        palette.pixels.resize(offset);
      }
    }
  }
  return at >= 0 ? palette.pixels.data() + at : nullptr;
}

bool CellCache::RunsMatchCells(bool bold) {
  std::int8_t& known = m_runsMatch[bold ? 1 : 0];
  if (known >= 0) return known != 0;
  known = 0;
  if (!m_usable) return false;
  // The run and the cells it should equal: white where a character is a space.
  std::string run;
  for (int c = 33; c < 127; ++c) run += StaysInCell(static_cast<unsigned char>(c), bold) ? char(c) : ' ';
  const int n = static_cast<int>(run.size());
  const wxSize size((n + 2 * kSideCells) * m_cellWidth, (2 * kSideRows + 1) * m_lineHeight);
  const int top = kSideRows * m_lineHeight;
  const std::uint32_t white = Pixel(kWhite);
  std::vector<std::uint32_t> expected(std::size_t(size.x) * size.y, white);
  for (int i = 0; i < n; ++i) {
    if (run[i] == ' ') continue;
    const std::uint32_t* cell = Cell(static_cast<unsigned char>(run[i]), bold, kBlack, kWhite);
    if (!cell) return false;
    const int left = (kSideCells + i) * m_cellWidth;
    for (int y = 0; y < m_lineHeight; ++y)
      std::copy(cell + std::size_t(y) * m_cellWidth, cell + std::size_t(y + 1) * m_cellWidth,
                expected.begin() + std::size_t(top + y) * size.x + left);
  }
  wxBitmap strip(size, m_scratch.GetDepth());
  wxMemoryDC dc(strip);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  FillRect(dc, wxRect(size), kWhite);
  dc.SetFont(m_fonts[bold ? 1 : 0]);
  dc.SetTextForeground(ToColour(kBlack));
  dc.DrawText(wxString::FromAscii(run.data(), run.size()), kSideCells * m_cellWidth, top);
  std::vector<std::uint32_t> drawn(expected.size());
  PixelCanvas canvas(dc);
  if (!canvas.IsOk() || canvas.Format() != m_format || !canvas.Read(wxRect(size), drawn.data())) return false;
  known = drawn == expected ? 1 : 0;
  return known != 0;
}
