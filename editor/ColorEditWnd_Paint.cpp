// Painting: every visible line in its section shade, every character in its
// own cell and colour, selected cells inverted, all through one off-screen
// picture per paint; and the geometry that turns lines into pixels.
#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <algorithm>
#include <stdexcept>

#include "editor/ColorEditWnd.h"
#include "editor/MemDCA.h"

namespace {

constexpr int kMargin = 10;

wxColour ToColour(COLORREF c) { return wxColour(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

void FillRect(wxDC& dc, const wxRect& rect, const wxColour& colour) {
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(colour));
  dc.DrawRectangle(rect);
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
  PaintTo(dc);
}

void ColorEditWnd::OnEraseBackground(wxEraseEvent&) {
  // Nothing is erased: every paint covers its whole area.
}

void ColorEditWnd::PaintTo(wxDC& target) {
  if (!HasWindow()) return;
  CMemDCA memDC(&target);
  wxDC& dc = memDC.DrawDC();
  // A line that cannot be drawn ends the paint quietly; what was drawn so far
  // still reaches the target.
  try {
    if (m_font.IsOk()) dc.SetFont(m_font);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const wxRect client = GetClientRect();
    const int end = std::min(GetLastVisibleLine() + 1, m_textModel.LineCount());
    int y = 0;
    for (int line = m_firstLine; line < end; ++line, y += m_lineHeight) {
      if (!GetLineRect(line).Intersects(client)) continue;
      const std::string text = m_textModel.lines.at(line);
      const std::vector<COLORREF> colours = m_textModel.lineColours.at(line);
      DrawLine(dc, text, colours, line, y);
    }
  } catch (...) {
  }
}

// The picture is that of one background fill and one glyph per cell, drawn
// left to right. Cells beyond the picture's right edge are skipped, cells of
// the row's own shade are not filled again, and when both fonts advance by
// exactly one cell, consecutive printable ASCII cells of one colour, font and
// background are drawn with one text call (a space, which draws nothing,
// joins any run of its background).
wxPoint ColorEditWnd::DrawLine(wxDC& dc, const std::string& text, const std::vector<COLORREF>& colours,
                               int line, int y) {
  if (line < 0 || static_cast<std::size_t>(line) >= m_textModel.lineBackground.size())
    throw InvalidArgumentError("line without a background");
  m_lineBack = m_textModel.lineBackground[line];

  const wxRect client = GetClientRect();
  FillRect(dc, wxRect(client.x, y, client.width, m_lineHeight), ToColour(m_lineBack));

  const int length = static_cast<int>(text.size());
  const int endX = kMargin + (length - m_firstCol) * m_cellWidth;
  if (m_firstCol >= length) return wxPoint(kMargin, y);

  // Only cells that start left of the picture's right edge can be seen.
  const int rightEdge = std::max(client.GetRight() + 1, dc.DeviceToLogicalX(dc.GetSize().x));
  const int cellWidth = std::max(m_cellWidth, 1);
  const int seenCols = (rightEdge - kMargin + cellWidth - 1) / cellWidth;
  const int coloured = static_cast<int>(std::min<std::size_t>(colours.size(), text.size()));
  const int last = std::min({length, coloured, m_firstCol + std::max(seenCols, 0)});

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
  auto lookOf = [&](int col) {
    const bool selected = IsInSelection(col, line);
    const COLORREF own = colours[col];
    return CellLook{selected ? m_selText : own, selected ? m_selBack : m_lineBack, IsBoldColour(own)};
  };
  auto cellX = [&](int col) { return kMargin + (col - m_firstCol) * m_cellWidth; };

  // The run being collected: cells [runStart, runEnd) with one background,
  // and, once a visible character joined, one text colour and font.
  int runStart = m_firstCol, runEnd = m_firstCol;
  CellLook runLook{0, m_lineBack, false};
  bool runHasInk = false;
  auto flushRun = [&]() {
    if (runEnd == runStart) return;
    const int x = cellX(runStart);
    if (runLook.back != m_lineBack)
      FillRect(dc, wxRect(x, y, (runEnd - runStart) * m_cellWidth, m_lineHeight), ToColour(runLook.back));
    if (runHasInk) {
      int from = runStart, to = runEnd;
      while (text[from] == ' ') ++from;
      while (text[to - 1] == ' ') --to;
      selectLook(runLook);
      dc.DrawText(wxString::FromAscii(text.c_str() + from, to - from), cellX(from), y);
    }
    runStart = runEnd;
    runHasInk = false;
  };

  for (int col = m_firstCol; col < last; ++col) {
    const unsigned char byte = static_cast<unsigned char>(text[col]);
    const CellLook look = lookOf(col);
    const bool ascii = byte >= 32 && byte <= 126;
    // A glyph reaching into the next cell is drawn alone, cut at its cell.
    const bool overhangs = ascii && m_overhangs[look.bold ? 1 : 0][byte] && col + 1 < length;
    if (ascii && m_runsFitCells && !overhangs) {
      const bool joins =
          look.back == runLook.back &&
          (byte == ' ' || !runHasInk || (look.text == runLook.text && look.bold == runLook.bold));
      if (!joins) {
        flushRun();
        runLook = CellLook{0, look.back, false};
      }
      if (byte != ' ' && !runHasInk) {
        runLook = look;
        runHasInk = true;
      }
      runEnd = col + 1;
      continue;
    }

    // A cell drawn on its own, exactly as the reference picture has it.
    flushRun();
    runStart = runEnd = col + 1;
    runLook = CellLook{0, m_lineBack, false};
    const int x = cellX(col);
    FillRect(dc, wxRect(x, y, m_cellWidth, m_lineHeight), ToColour(look.back));
    const wchar_t glyph = ascii ? static_cast<wchar_t>(byte) : m_glyphs[byte][0];
    if (IsPrivateUse(glyph) && !m_privateGlyphsInFont) {
      DrawStandIn(dc, byte, x, y, ToColour(look.text));
      fontInDc = -1;
      colourInDc = 0xFFFFFFFF;
      continue;
    }
    selectLook(look);
    if (byte == ' ') continue;
    // The next cell's fill would cover whatever this glyph draws beyond its
    // cell on the right.
    const bool clip = (!ascii && col + 1 < length) || overhangs;
    if (clip)
      dc.SetClippingRegion(wxRect(x - 4 * m_cellWidth, y - m_lineHeight, 5 * m_cellWidth, 3 * m_lineHeight));
    dc.DrawText(wxString(glyph), x, y);
    if (clip) dc.DestroyClippingRegion();
  }
  flushRun();

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
