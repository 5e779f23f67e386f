// CViewPrintout: lays the editor's lines out on pages and draws them.
#include "app/ViewPrintout.h"

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/dcmemory.h>

#include <algorithm>
#include <cmath>

#include "editor/ColorEditWnd.h"
#include "editor/GlyphTable.h"

namespace {

// The margin on every side of the page when page setup gives none.
constexpr int kDefaultMarginMm = 15;
constexpr double kMmPerInch = 25.4;

// The character the editor shows for a byte.
wxString ShownChar(unsigned char byte) { return wxString(wxUniChar(GlyphOfByte(byte))); }

}  // namespace

CViewPrintout::CViewPrintout(const ColorEditWnd* editor, const wxString& title, wxPoint marginTopLeft,
                             wxPoint marginBottomRight)
    : wxPrintout(title), m_marginTopLeft(marginTopLeft), m_marginBottomRight(marginBottomRight) {
  if (m_marginTopLeft == wxPoint() && m_marginBottomRight == wxPoint()) {
    m_marginTopLeft = wxPoint(kDefaultMarginMm, kDefaultMarginMm);
    m_marginBottomRight = wxPoint(kDefaultMarginMm, kDefaultMarginMm);
  }
  if (editor) {
    m_lines = editor->m_textModel.lines;
    m_font = editor->m_font;
    m_cellWidth = editor->m_cellWidth;
    m_lineHeight = editor->m_lineHeight;
  }
  if (!m_font.IsOk()) m_font = wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE));
  if (m_cellWidth <= 0 || m_lineHeight <= 0) {
    // Without an editor: the font's cell as the screen shows it.
    wxBitmap scratch(8, 8);
    wxMemoryDC dc(scratch);
    dc.SetFont(m_font);
    wxCoord w = 0, h = 0;
    dc.GetTextExtent(wxString('M', 40), &w, &h);
    m_cellWidth = std::max(1, static_cast<int>((w + 20) / 40));
    m_lineHeight = std::max(1, static_cast<int>(dc.GetCharHeight()));
  }
}

void CViewPrintout::Layout() {
  // The paper in screen pixels, from what both a preview and a printout are
  // told of the printer: its paper in printer pixels and its resolution.
  int ppiScreenX = 0, ppiScreenY = 0, ppiPrinterX = 0, ppiPrinterY = 0;
  GetPPIScreen(&ppiScreenX, &ppiScreenY);
  GetPPIPrinter(&ppiPrinterX, &ppiPrinterY);
  if (ppiScreenX <= 0) ppiScreenX = 96;
  if (ppiScreenY <= 0) ppiScreenY = 96;
  double paperW = 0, paperH = 0;
  const wxRect paper = GetPaperRectPixels();
  if (!paper.IsEmpty() && ppiPrinterX > 0 && ppiPrinterY > 0) {
    paperW = paper.width * double(ppiScreenX) / ppiPrinterX;
    paperH = paper.height * double(ppiScreenY) / ppiPrinterY;
  } else {
    int mmW = 0, mmH = 0;
    GetPageSizeMM(&mmW, &mmH);
    paperW = (mmW > 0 ? mmW : 210) * ppiScreenX / kMmPerInch;
    paperH = (mmH > 0 ? mmH : 297) * ppiScreenY / kMmPerInch;
  }
  // Margins from the paper's edges, at most a quarter of the paper each.
  auto marginX = [&](int mm) { return std::min(mm * ppiScreenX / kMmPerInch, paperW / 4); };
  auto marginY = [&](int mm) { return std::min(mm * ppiScreenY / kMmPerInch, paperH / 4); };
  const int left = static_cast<int>(marginX(m_marginTopLeft.x));
  const int top = static_cast<int>(marginY(m_marginTopLeft.y));
  const int right = static_cast<int>(marginX(m_marginBottomRight.x));
  const int bottom = static_cast<int>(marginY(m_marginBottomRight.y));
  m_textRect = wxRect(left, top, std::max(1, static_cast<int>(paperW) - left - right),
                      std::max(1, static_cast<int>(paperH) - top - bottom));
  m_linesPerPage = std::max(1, m_textRect.height / m_lineHeight);
  m_columns = std::max(kMarkCells + 1, m_textRect.width / m_cellWidth);
}

void CViewPrintout::BreakIntoRows() {
  m_rows.clear();
  const std::size_t first = static_cast<std::size_t>(m_columns);
  const std::size_t more = static_cast<std::size_t>(m_columns - kMarkCells);
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    const std::size_t length = m_lines[i].size();
    std::size_t begin = 0;
    std::size_t end = std::min(length, first);
    m_rows.push_back({i, begin, end, false});
    while (end < length) {
      begin = end;
      end = std::min(length, begin + more);
      m_rows.push_back({i, begin, end, true});
    }
  }
}

void CViewPrintout::OnPreparePrinting() {
  Layout();
  BreakIntoRows();
  const std::size_t perPage = static_cast<std::size_t>(m_linesPerPage);
  m_pageCount = std::max<int>(1, static_cast<int>((m_rows.size() + perPage - 1) / perPage));
}

bool CViewPrintout::HasPage(int page) { return page >= 1 && page <= m_pageCount; }

void CViewPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
  *minPage = 1;
  *maxPage = m_pageCount;
  *pageFrom = 1;
  *pageTo = m_pageCount;
}

void CViewPrintout::DrawContinuationMark(wxDC& dc, int x, int y) const {
  // A hooked arrow: down from the top of the first cell, then right to the text.
  const int w = m_cellWidth, h = m_lineHeight;
  const int stem = x + w / 2;
  const int bend = y + h * 3 / 5;
  const int tip = x + kMarkCells * w - std::max(1, w / 4);
  const int head = std::max(2, h / 6);
  dc.SetPen(wxPen(*wxBLACK, std::max(1, h / 14)));
  dc.DrawLine(stem, y + h / 5, stem, bend);
  dc.DrawLine(stem, bend, tip, bend);
  dc.DrawLine(tip, bend, tip - head, bend - head);
  dc.DrawLine(tip, bend, tip - head, bend + head);
  dc.SetPen(wxNullPen);
}

bool CViewPrintout::OnPrintPage(int page) {
  wxDC* dc = GetDC();
  if (!dc || !HasPage(page)) return false;
  // One logical unit is one screen pixel at the paper's real size, the origin
  // the paper's top left corner; a preview's smaller picture scales along.
  int pageW = 0, pageH = 0, dcW = 0, dcH = 0;
  GetPageSizePixels(&pageW, &pageH);
  dc->GetSize(&dcW, &dcH);
  int ppiScreenX = 0, ppiScreenY = 0, ppiPrinterX = 0, ppiPrinterY = 0;
  GetPPIScreen(&ppiScreenX, &ppiScreenY);
  GetPPIPrinter(&ppiPrinterX, &ppiPrinterY);
  const double deviceX = pageW > 0 ? double(dcW) / pageW : 1.0;
  const double deviceY = pageH > 0 ? double(dcH) / pageH : 1.0;
  const double scaleX = (ppiScreenX > 0 && ppiPrinterX > 0 ? double(ppiPrinterX) / ppiScreenX : 1.0) * deviceX;
  const double scaleY = (ppiScreenY > 0 && ppiPrinterY > 0 ? double(ppiPrinterY) / ppiScreenY : 1.0) * deviceY;
  const wxRect paper = GetPaperRectPixels();
  dc->SetUserScale(scaleX, scaleY);
  dc->SetLogicalOrigin(0, 0);
  dc->SetDeviceOrigin(static_cast<wxCoord>(std::lround(paper.x * deviceX)),
                      static_cast<wxCoord>(std::lround(paper.y * deviceY)));

  dc->SetFont(m_font);
  dc->SetTextForeground(*wxBLACK);
  dc->SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  const std::size_t perPage = static_cast<std::size_t>(m_linesPerPage);
  const std::size_t first = static_cast<std::size_t>(page - 1) * perPage;
  const std::size_t end = std::min(m_rows.size(), first + perPage);
  int y = m_textRect.y;
  for (std::size_t r = first; r < end; ++r, y += m_lineHeight) {
    const PrintRow& row = m_rows[r];
    int x = m_textRect.x;
    if (row.continued) {
      DrawContinuationMark(*dc, x, y);
      x += kMarkCells * m_cellWidth;
    }
    // Each character in its own cell, so the row never runs past the margin
    // however the printer's font measures.
    const std::string& line = m_lines[row.line];
    for (std::size_t i = row.begin; i < row.end; ++i, x += m_cellWidth) {
      const unsigned char byte = static_cast<unsigned char>(line[i]);
      if (byte != ' ') dc->DrawText(ShownChar(byte), x, y);
    }
  }
  return true;
}
