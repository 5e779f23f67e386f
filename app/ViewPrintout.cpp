// CViewPrintout: lays the editor's lines out on pages and draws them.
#include "app/ViewPrintout.h"

#include <wx/dc.h>

#include <algorithm>

#include "editor/ColorEditWnd.h"
#include "editor/GlyphTable.h"

namespace {

// The margin on every side of the page when page setup gives none.
constexpr int kDefaultMarginMm = 15;

// The characters the editor shows for a line's bytes.
wxString ShownText(const std::string& bytes) {
  wxString text;
  text.reserve(bytes.size());
  for (unsigned char byte : bytes) text += wxUniChar(GlyphOfByte(byte));
  return text;
}

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
  }
  if (!m_font.IsOk()) m_font = wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE));
}

void CViewPrintout::Layout() {
  wxDC* dc = GetDC();
  if (!dc) return;
  // The font is sized in screen pixels: print it at its size on the screen.
  MapScreenSizeToPage();
  const wxRect page = GetLogicalPageRect();
  // Millimetres of margin in the page's logical units.
  int ppiX = 0, ppiY = 0;
  GetPPIPrinter(&ppiX, &ppiY);
  double scaleX = 1.0, scaleY = 1.0;
  dc->GetUserScale(&scaleX, &scaleY);
  const double unitsPerMmX = (ppiX > 0 ? ppiX : 72) / 25.4 / (scaleX > 0 ? scaleX : 1);
  const double unitsPerMmY = (ppiY > 0 ? ppiY : 72) / 25.4 / (scaleY > 0 ? scaleY : 1);
  auto clampX = [&page](double units) { return std::min(static_cast<int>(units), page.width / 4); };
  auto clampY = [&page](double units) { return std::min(static_cast<int>(units), page.height / 4); };
  const int left = clampX(m_marginTopLeft.x * unitsPerMmX);
  const int top = clampY(m_marginTopLeft.y * unitsPerMmY);
  const int right = clampX(m_marginBottomRight.x * unitsPerMmX);
  const int bottom = clampY(m_marginBottomRight.y * unitsPerMmY);
  m_textRect = wxRect(page.x + left, page.y + top, page.width - left - right, page.height - top - bottom);

  dc->SetFont(m_font);
  wxCoord w = 0, h = 0;
  dc->GetTextExtent(wxString('M', 40), &w, &h);
  m_cellWidth = std::max(1, static_cast<int>((w + 20) / 40));
  m_lineHeight = std::max(1, static_cast<int>(dc->GetCharHeight()));
  m_linesPerPage = std::max(1, m_textRect.height / m_lineHeight);
  m_columns = std::max(1, m_textRect.width / m_cellWidth);
}

void CViewPrintout::OnPreparePrinting() {
  Layout();
  const int lines = static_cast<int>(m_lines.size());
  m_pageCount = std::max(1, (lines + m_linesPerPage - 1) / m_linesPerPage);
}

bool CViewPrintout::HasPage(int page) { return page >= 1 && page <= m_pageCount; }

void CViewPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
  *minPage = 1;
  *maxPage = m_pageCount;
  *pageFrom = 1;
  *pageTo = m_pageCount;
}

bool CViewPrintout::OnPrintPage(int page) {
  wxDC* dc = GetDC();
  if (!dc || !HasPage(page)) return false;
  // The pages keep the lines given to them when printing was prepared; a
  // preview at another zoom may measure the font a pixel differently, so the
  // rows are squeezed to fit rather than moved to another page.
  const int perPage = m_linesPerPage;
  Layout();
  m_linesPerPage = perPage;
  const int step = std::max(1, std::min(m_lineHeight, m_textRect.height / perPage));
  dc->SetFont(m_font);
  dc->SetTextForeground(*wxBLACK);
  dc->SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  wxDCClipper clip(*dc, m_textRect);
  const std::size_t first = static_cast<std::size_t>(page - 1) * static_cast<std::size_t>(perPage);
  const std::size_t end = std::min(m_lines.size(), first + static_cast<std::size_t>(perPage));
  int y = m_textRect.y;
  for (std::size_t i = first; i < end; ++i, y += step) {
    const std::string& line = m_lines[i];
    // Cut at the right margin: only the columns that fit are drawn.
    const std::string shown = line.size() > static_cast<std::size_t>(m_columns) ? line.substr(0, m_columns) : line;
    if (!shown.empty()) dc->DrawText(ShownText(shown), m_textRect.x, y);
  }
  return true;
}
