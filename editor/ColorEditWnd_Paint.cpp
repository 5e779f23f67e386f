// Painting: every visible line in its section shade, every character in its
// own cell and colour, selected cells inverted, all through one off-screen
// picture per paint; and the geometry that turns lines into pixels.
#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/region.h>

#include <algorithm>
#include <stdexcept>

#include "editor/ColorEditWnd.h"
#include "editor/CellCache.h"
#include "editor/MemDCA.h"
#include "editor/PixelCanvas.h"

namespace {

constexpr int kMargin = 10;

wxColour ToColour(COLORREF c) { return wxColour(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

void FillRect(wxDC& dc, const wxRect& rect, const wxColour& colour) {
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(colour));
  dc.DrawRectangle(rect);
}

// The buffers every editor's paints share while any editor lives.
std::shared_ptr<PaintBuffers> SharedPaintBuffers() {
  static std::weak_ptr<PaintBuffers> shared;
  std::shared_ptr<PaintBuffers> buffers = shared.lock();
  if (!buffers) {
    buffers = std::make_shared<PaintBuffers>();
    shared = buffers;
  }
  return buffers;
}

bool IsPrivateUse(wchar_t c) { return c >= 0xF000 && c <= 0xF0FF; }

// How one cell is drawn: text colour, background and font.
struct CellLook {
  COLORREF text;
  COLORREF back;
  bool bold;
};

}  // namespace

void ColorEditWnd::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  // A fresh paint context's background is white, not the theme's colour:
  // the rows below the text show it.
  dc.SetBackground(*wxWHITE_BRUSH);
  // Only the invalid region reaches the screen, not all of its bounding box.
  m_paintingRegion = true;
  PaintTo(dc);
  m_paintingRegion = false;
}

void ColorEditWnd::OnEraseBackground(wxEraseEvent&) {
  // Nothing is erased: every paint covers its whole area.
}

void ColorEditWnd::PaintTo(wxDC& target) {
  if (!HasWindow()) return;
  if (!m_paintBuffers) m_paintBuffers = SharedPaintBuffers();
  CMemDCA memDC(&target, m_paintBuffers.get());
  wxDC& dc = memDC.DrawDC();
  // Only the target's clip box reaches it (in a paint, only the invalid
  // region): a line outside it is not drawn, but still ends the paint where
  // drawing it would have failed.
  const wxRect box = memDC.m_rect;
  const wxRegion region = m_paintingRegion ? GetUpdateRegion() : wxRegion(box);
  const wxRect client = GetClientRect();
  const auto seen = [&](const wxRect& row) {
    const wxRect part = row.Intersect(client);
    return part.IsEmpty() ? wxOutRegion : region.Contains(part);
  };
  const int end = PaintedLineEnd();
  int failedAt = end;
  // A line that cannot be drawn ends the paint quietly; what was drawn so far
  // still reaches the target.
  try {
    if (m_font.IsOk()) dc.SetFont(m_font);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    int y = 0;
    for (int line = m_firstLine; line < end; ++line, y += m_lineHeight) {
      failedAt = line;
      const wxRect row = GetLineRect(line);
      if (!row.Intersects(client)) continue;
      const std::string& text = m_textModel.lines.at(line);
      const std::vector<COLORREF>& colours = m_textModel.lineColours.at(line);
      if (row.Intersects(box) && seen(row) != wxOutRegion) {
        DrawLine(dc, text, colours, line, y);
        continue;
      }
      if (static_cast<std::size_t>(line) >= m_textModel.lineBackground.size())
        throw InvalidArgumentError("line without a background");
      m_lineBack = m_textModel.lineBackground[line];
      if (m_firstCol < static_cast<int>(text.size()) && colours.size() < text.size())
        throw std::out_of_range("colour vector shorter than its line");
    }
    failedAt = end;
  } catch (...) {
  }

  // What the screen now shows in the rows the box covers whole.
  if (target.GetWindow() != this || !memDC.m_bMemDC) return;
  const PaintedView view = CurrentPaintedView();
  const int rows = m_lineHeight > 0 ? (view.height + m_lineHeight - 1) / m_lineHeight : 0;
  if (!(view == m_paintedView) || static_cast<int>(m_paintedRows.size()) != rows) {
    m_paintedRows.assign(static_cast<std::size_t>(std::max(rows, 0)), PaintedRow());
    m_paintedView = view;
  }
  for (int r = 0; r < rows; ++r) {
    const wxRect row(0, r * m_lineHeight, view.width, m_lineHeight);
    const wxRegionContain shown = seen(row);
    if (shown == wxOutRegion) continue;
    PaintedRow& painted = m_paintedRows[r];
    if (m_firstLine + r >= failedAt && m_firstLine + r < end) {
      painted = PaintedRow();
      continue;
    }
    // A row painted in part still shows one picture when the part painted
    // now is of the same inputs as the rest.
    PaintedRow now = RowToPaint(r);
    if (shown == wxInRegion || now == painted)
      painted = std::move(now);
    else
      painted = PaintedRow();
  }
}

int ColorEditWnd::PaintedLineEnd() const {
  return std::min(GetLastVisibleLine() + 1, m_textModel.LineCount());
}

ColorEditWnd::PaintedView ColorEditWnd::CurrentPaintedView() const {
  PaintedView view;
  const wxSize size = GetClientSize();
  view.firstCol = m_firstCol;
  view.cellWidth = m_cellWidth;
  view.lineHeight = m_lineHeight;
  view.width = size.x;
  view.height = size.y;
  view.fontHeight = m_fontHeight;
  view.selBack = m_selBack;
  view.selText = m_selText;
  view.fontFace = m_fontFace;
  return view;
}

// A row shows only the cells from the first column to the window's right
// edge: its picture depends on them alone, whatever the line's length.
std::pair<std::size_t, std::size_t> ColorEditWnd::SeenPart(int line) const {
  const std::size_t length = m_textModel.lines[line].size();
  const int cellWidth = std::max(m_cellWidth, 1);
  const int seenCols = std::max(0, (GetClientSize().x - kMargin) / cellWidth + 2);
  const std::size_t begin = std::min(length, static_cast<std::size_t>(std::max(m_firstCol, 0)));
  return {begin, std::min(length, begin + static_cast<std::size_t>(seenCols))};
}

ColorEditWnd::PaintedRow ColorEditWnd::RowToPaint(int row) const {
  PaintedRow painted = RowLook(row);
  if (painted.known && painted.line >= 0) {
    const auto [begin, end] = SeenPart(painted.line);
    const std::string& text = m_textModel.lines[painted.line];
    const std::vector<COLORREF>& colours = m_textModel.lineColours[painted.line];
    painted.text.assign(text, begin, end - begin);
    const std::size_t coloured = std::min(colours.size(), end);
    if (coloured > begin) painted.colours.assign(colours.begin() + begin, colours.begin() + coloured);
  }
  return painted;
}

ColorEditWnd::PaintedRow ColorEditWnd::RowLook(int row) const {
  PaintedRow painted;
  painted.known = true;
  const int line = m_firstLine + row;
  if (line < m_firstLine || line >= PaintedLineEnd()) return painted;  // the background only
  const CTextModel& m = m_textModel;
  if (static_cast<std::size_t>(line) >= m.lineBackground.size() ||
      static_cast<std::size_t>(line) >= m.lineColours.size()) {
    painted.known = false;
    return painted;
  }
  painted.line = line;
  painted.back = m.lineBackground[line];
  const int length = static_cast<int>(m.lines[line].size());
  // The selected cells among those drawn, as IsInSelection finds them.
  if (m_anchorCol != m_caretCol || m_anchorLine != m_caretLine) {
    int startCol = m_anchorCol, startLine = m_anchorLine, endCol = m_caretCol, endLine = m_caretLine;
    if (endLine < startLine || (endLine == startLine && endCol < startCol)) {
      std::swap(startCol, endCol);
      std::swap(startLine, endLine);
    }
    if (line >= startLine && line <= endLine) {
      const int from = std::max(line == startLine ? startCol : 0, m_firstCol);
      const int to = std::min(line == endLine ? endCol : length, length);
      if (from < to) {
        painted.selFrom = from;
        painted.selTo = to;
      }
    }
  }
  return painted;
}

bool ColorEditWnd::RowShowsNow(int row) const {
  const PaintedRow& painted = m_paintedRows[row];
  const PaintedRow now = RowLook(row);
  if (!(now.known && painted.known && now.line == painted.line && now.back == painted.back &&
        now.selFrom == painted.selFrom && now.selTo == painted.selTo))
    return false;
  if (now.line < 0) return painted.text.empty() && painted.colours.empty();
  const auto [begin, end] = SeenPart(now.line);
  const std::string& text = m_textModel.lines[now.line];
  const std::vector<COLORREF>& colours = m_textModel.lineColours[now.line];
  const std::size_t coloured = std::min(colours.size(), end);
  const std::size_t colouredSeen = coloured > begin ? coloured - begin : 0;
  return text.compare(begin, end - begin, painted.text) == 0 && painted.colours.size() == colouredSeen &&
         std::equal(painted.colours.begin(), painted.colours.end(), colours.begin() + begin);
}

void ColorEditWnd::ForgetPaintedRows() { m_paintedRows.clear(); }

void ColorEditWnd::RefreshChangedRows() {
  if (!HasWindow()) return;
  const PaintedView view = CurrentPaintedView();
  const int rows = m_lineHeight > 0 ? (view.height + m_lineHeight - 1) / m_lineHeight : 0;
  if (!(view == m_paintedView) || static_cast<int>(m_paintedRows.size()) != rows) {
    Refresh(false);
    return;
  }
  const wxRect client = GetClientRect();
  for (int r = 0; r < rows; ++r) {
    if (!RowShowsNow(r))
      RefreshRect(wxRect(0, r * m_lineHeight, view.width, m_lineHeight).Intersect(client), false);
  }
}

// The picture is that of the row's fill, then one background fill and one
// glyph per cell from left to right. It is built in passes that give the
// same pixels: where the picture's pixels can be written directly, the
// cells whose glyph keeps its ink inside the cell (and that lie inside the
// row's fill) are copied whole, background and glyph, from the cell cache;
// then the row's fill and the backgrounds other than the row's shade around
// them; then, when both fonts advance by exactly one cell, every other
// printable ASCII glyph whose ink stays inside its cell, one text call per
// colour and font for the whole line (spaces stand in the other cells; they
// draw nothing); then every other glyph on its own, left to right, cut at
// its cell's right edge where the next cell's fill would have covered it.
// Cells right of the picture are skipped. A copied cell and the fills touch
// no pixel in common, and the glyphs drawn after them may cover both.
wxPoint ColorEditWnd::DrawLine(wxDC& dc, const std::string& text, const std::vector<COLORREF>& colours,
                               int line, int y) {
  if (line < 0 || static_cast<std::size_t>(line) >= m_textModel.lineBackground.size())
    throw InvalidArgumentError("line without a background");
  m_lineBack = m_textModel.lineBackground[line];

  // Fills and cached cells go straight into the picture's pixels when it has
  // them in memory; everything else is drawn through the context.
  PixelCanvas canvas(dc);
  CellCache* cache = nullptr;
  if (m_paintCellsFromCache && canvas.IsOk()) {
    if (!m_cellCache) m_cellCache = std::make_shared<CellCache>();
    if (m_cellCache->Prepare(m_font, m_boldFont, m_cellWidth, m_lineHeight, canvas.Format(), m_glyphs))
      cache = m_cellCache.get();
  }
  auto fill = [&](const wxRect& rect, COLORREF colour) {
    if (cache)
      canvas.Fill(rect, cache->Pixel(colour));
    else
      FillRect(dc, rect, ToColour(colour));
  };

  const wxRect client = GetClientRect();
  const int length = static_cast<int>(text.size());
  const int endX = kMargin + (length - m_firstCol) * m_cellWidth;
  if (m_firstCol >= length) {
    fill(wxRect(client.x, y, client.width, m_lineHeight), m_lineBack);
    return wxPoint(kMargin, y);
  }

  // Only cells that start left of the picture's right edge can be seen.
  const int rightEdge = std::max(client.GetRight() + 1, dc.DeviceToLogicalX(dc.GetSize().x));
  const int cellWidth = std::max(m_cellWidth, 1);
  const int seenCols = (rightEdge - kMargin + cellWidth - 1) / cellWidth;
  const int coloured = static_cast<int>(std::min<std::size_t>(colours.size(), text.size()));
  const int last = std::min({length, coloured, m_firstCol + std::max(seenCols, 0)});
  auto cellX = [&](int col) { return kMargin + (col - m_firstCol) * m_cellWidth; };

  // What the dc holds, so that unchanged fonts and colours are not set again.
  int fontInDc = -1;  // 0 normal, 1 bold, -1 unknown
  COLORREF colourInDc = 0xFFFFFFFF;
  auto selectLook = [&](const CellLook& look) {
    const int wanted = look.bold ? 1 : 0;
    if (wanted != fontInDc) {
      const wxFont& font = look.bold ? m_boldFont : m_font;
      if (font.IsOk()) dc.SetFont(font);
      fontInDc = wanted;
    }
    if (look.text != colourInDc) {
      dc.SetTextForeground(ToColour(look.text));
      colourInDc = look.text;
    }
  };

  // The look of every cell to draw.
  const int count = std::max(last - m_firstCol, 0);
  std::vector<CellLook> looks(count);
  for (int col = m_firstCol; col < last; ++col) {
    const bool selected = IsInSelection(col, line);
    const COLORREF own = colours[col];
    looks[col - m_firstCol] =
        CellLook{selected ? m_selText : own, selected ? m_selBack : m_lineBack, IsBoldColour(own)};
  }

  auto inGroup = [&](int col) {
    const unsigned char byte = static_cast<unsigned char>(text[col]);
    return m_runsFitCells && byte >= 32 && byte <= 126 &&
           !m_overhangs[looks[col - m_firstCol].bold ? 1 : 0][byte];
  };
  auto glyphOf = [&](unsigned char byte) {
    return byte >= 32 && byte <= 126 ? static_cast<wchar_t>(byte) : m_glyphs[byte][0];
  };

  // The cells copied from the cache, each whole inside the row's fill; the
  // fills and the passes below leave them out.
  std::vector<char> copied(count, 0);
  if (cache) {
    for (int col = m_firstCol; col < last; ++col) {
      const unsigned char byte = static_cast<unsigned char>(text[col]);
      if (byte == ' ') continue;
      if (cellX(col) < client.x || cellX(col) + m_cellWidth > client.GetRight() + 1) continue;
      if (IsPrivateUse(glyphOf(byte)) && !m_privateGlyphsInFont) continue;  // a stand-in
      const CellLook& look = looks[col - m_firstCol];
      if (inGroup(col) && !cache->RunsMatchCells(look.bold)) continue;
      const std::uint32_t* cell = cache->Cell(byte, look.bold, look.text, look.back);
      if (!cell) continue;
      canvas.Copy(cellX(col), y, cell, m_cellWidth, m_lineHeight);
      copied[col - m_firstCol] = 1;
    }
  }

  // The row's fill, then the backgrounds other than the row's shade, runs of
  // equal background filled together.
  const int rowEnd = client.GetRight() + 1;
  int rowFrom = client.x;
  auto fillRow = [&](int to) {
    if (to > rowFrom) fill(wxRect(rowFrom, y, to - rowFrom, m_lineHeight), m_lineBack);
  };
  for (int col = m_firstCol; col < last; ++col)
    if (copied[col - m_firstCol]) {
      fillRow(cellX(col));
      rowFrom = cellX(col + 1);
    }
  fillRow(rowEnd);
  int spanStart = -1;
  for (int col = m_firstCol; col <= last; ++col) {
    const bool open = col < last && !copied[col - m_firstCol];
    if (spanStart >= 0 && (!open || looks[col - m_firstCol].back != looks[spanStart - m_firstCol].back)) {
      const COLORREF spanBack = looks[spanStart - m_firstCol].back;
      if (spanBack != m_lineBack)
        fill(wxRect(cellX(spanStart), y, (col - spanStart) * m_cellWidth, m_lineHeight), spanBack);
      spanStart = -1;
    }
    if (open && spanStart < 0) spanStart = col;
  }
  canvas.Close();

  // One text call per colour and font: the cells of the group keep their
  // characters, all others become spaces.
  struct Group {
    CellLook look;
    int first;
    std::string chars;
  };
  std::vector<Group> groups;
  for (int col = m_firstCol; col < last; ++col) {
    if (text[col] == ' ' || copied[col - m_firstCol] || !inGroup(col)) continue;
    const CellLook& look = looks[col - m_firstCol];
    auto group = std::find_if(groups.begin(), groups.end(), [&](const Group& g) {
      return g.look.text == look.text && g.look.bold == look.bold;
    });
    if (group == groups.end()) group = groups.insert(groups.end(), Group{look, col, std::string()});
    group->chars.resize(col - group->first, ' ');
    group->chars += text[col];
  }
  for (const Group& group : groups) {
    selectLook(group.look);
    dc.DrawText(wxString::FromAscii(group.chars.data(), group.chars.size()), cellX(group.first), y);
  }

  // The other glyphs, each on its own.
  for (int col = m_firstCol; col < last; ++col) {
    if (copied[col - m_firstCol] || inGroup(col)) continue;
    const unsigned char byte = static_cast<unsigned char>(text[col]);
    if (byte == ' ') continue;
    const CellLook& look = looks[col - m_firstCol];
    const int x = cellX(col);
    const wchar_t glyph = glyphOf(byte);
    if (IsPrivateUse(glyph) && !m_privateGlyphsInFont) {
      DrawStandIn(dc, byte, x, y, ToColour(look.text));
      fontInDc = -1;
      colourInDc = 0xFFFFFFFF;
      continue;
    }
    selectLook(look);
    // The next cell's fill would cover whatever this glyph draws beyond its
    // cell on the right.
    const bool clip = col + 1 < length;
    if (clip)
      dc.SetClippingRegion(wxRect(x - 4 * m_cellWidth, y - m_lineHeight, 5 * m_cellWidth, 3 * m_lineHeight));
    dc.DrawText(wxString(glyph), x, y);
    if (clip) dc.DestroyClippingRegion();
  }

  // The colour vector must reach every character; a short one fails the line
  // where the first uncoloured character stands.
  if (coloured < length) throw std::out_of_range("colour vector shorter than its line");
  return wxPoint(endX, y);
}

// The stand-in for a private-use character the font cannot draw: a frame in
// the cell with the byte's two hex digits one above the other.
void ColorEditWnd::DrawStandIn(wxDC& dc, unsigned char byte, int x, int y, const wxColour& colour) {
  if (!m_standInFont.IsOk()) PrepareStandIn();
  dc.SetPen(wxPen(colour));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(x, y + 1, std::max(m_cellWidth - 1, 1), std::max(m_lineHeight - 2, 1));
  if (!m_standInFont.IsOk()) return;
  static const char kHex[] = "0123456789ABCDEF";
  dc.SetFont(m_standInFont);
  dc.SetTextForeground(colour);
  const int digitX = x + (m_cellWidth - m_standInAdvance) / 2;
  dc.DrawText(wxString(wxUniChar(kHex[byte >> 4])), digitX, y + m_standInTop);
  dc.DrawText(wxString(wxUniChar(kHex[byte & 15])), digitX, y + m_standInTop + m_standInStep);
}

// Sizes the stand-in's digits to the cell: the ink of one digit is measured
// once on a large rendering, then the largest font whose two digits fit the
// cell's frame is taken.
void ColorEditWnd::PrepareStandIn() {
  static double inkTop = 0, inkHeight = 0, advance = 0;
  constexpr int kProbe = 64;
  if (inkHeight == 0) {
    wxBitmap probe(kProbe * 10, kProbe * 2, 24);
    wxMemoryDC mdc(probe);
    mdc.SetBackground(*wxWHITE_BRUSH);
    mdc.Clear();
    wxFont font(wxFontInfo(wxSize(0, kProbe)).Family(wxFONTFAMILY_TELETYPE).Weight(wxFONTWEIGHT_BOLD));
    mdc.SetFont(font);
    mdc.SetTextForeground(*wxBLACK);
    mdc.DrawText("0123456789ABCDEF", 0, 0);
    wxCoord w = 0, h = 0;
    mdc.GetTextExtent("0", &w, &h);
    mdc.SelectObject(wxNullBitmap);
    const wxImage image = probe.ConvertToImage();
    int top = -1, bottom = -1;
    for (int row = 0; row < image.GetHeight(); ++row)
      for (int col = 0; col < image.GetWidth(); ++col)
        if (image.GetRed(col, row) < 128) {
          if (top < 0) top = row;
          bottom = row;
          break;
        }
    const int pixel = std::max(font.GetPixelSize().y, 1);
    if (top < 0) return;
    inkTop = static_cast<double>(top) / pixel;
    inkHeight = static_cast<double>(bottom - top + 1) / pixel;
    advance = static_cast<double>(w) / pixel;
  }
  const int roomX = m_cellWidth - 2;
  const int roomY = m_lineHeight - 5;
  const int height = std::max(4, static_cast<int>(std::min(roomX / advance, roomY / (2 * inkHeight))));
  m_standInFont =
      wxFont(wxFontInfo(wxSize(0, height)).Family(wxFONTFAMILY_TELETYPE).Weight(wxFONTWEIGHT_BOLD));
  const int pixel = m_standInFont.GetPixelSize().y > 0 ? m_standInFont.GetPixelSize().y : height;
  const int digitInk = static_cast<int>(inkHeight * pixel + 0.5);
  m_standInAdvance = static_cast<int>(advance * pixel + 0.5);
  m_standInStep = digitInk + 1;
  const int block = 2 * digitInk + 1;
  m_standInTop = (m_lineHeight - block) / 2 - static_cast<int>(inkTop * pixel + 0.5);
}

bool ColorEditWnd::IsBoldColour(COLORREF colour) {
  return colour == 0x010000 || colour == 0x808080 || colour == 0x000080 || colour == 0x800000;
}

int ColorEditWnd::GetVisibleColumnCount() const {
  if (!HasWindow()) return -1;
  return GetClientSize().x / m_cellWidth - 1;
}

int ColorEditWnd::GetFirstVisibleLine() const {
  if (!HasWindow()) return -1;
  return m_firstLine;
}

int ColorEditWnd::GetVisibleLineCount(bool unclamped) const {
  if (!HasWindow()) return 0;
  const int rows = GetClientSize().y / m_lineHeight;
  return unclamped ? rows : std::min(rows, m_textModel.LineCount());
}

int ColorEditWnd::GetLastVisibleLine() const {
  if (!HasWindow()) return -1;
  return std::min(m_textModel.LineCount(), m_firstLine + GetVisibleLineCount(false));
}

wxRect ColorEditWnd::GetLineRect(int line) const {
  if (!HasWindow()) return wxRect(-1, -1, 0, 0);
  const wxRect client = GetClientRect();
  const int top = (line - GetFirstVisibleLine()) * m_lineHeight;
  return wxRect(client.x, top, client.width, m_lineHeight);
}

wxRect ColorEditWnd::GetLinesRect(int a, int b) const {
  if (!HasWindow()) return wxRect(-1, -1, 0, 0);
  const wxRect client = GetClientRect();
  const int lo = std::min(a, b), hi = std::max(a, b);
  const int top = (lo - GetFirstVisibleLine()) * m_lineHeight;
  const int bottom = (hi - GetFirstVisibleLine() + 1) * m_lineHeight;
  return wxRect(client.x, top, client.width, bottom - top);
}

void ColorEditWnd::BindPaintEvents() {
  Bind(wxEVT_PAINT, &ColorEditWnd::OnPaint, this);
  Bind(wxEVT_ERASE_BACKGROUND, &ColorEditWnd::OnEraseBackground, this);
}
