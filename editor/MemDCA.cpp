// The off-screen context of one paint and its single copy to the target.
#include "editor/MemDCA.h"

#include <algorithm>

#include <wx/brush.h>
#include <wx/dcprint.h>
#include <wx/dcps.h>
#include <wx/pen.h>

namespace {

// The platform's printer context, or the PostScript one of wx's own printing.
bool IsPrinting(const wxDC& dc) {
  bool printing = false;
#if wxUSE_PRINTING_ARCHITECTURE
  printing = printing || dc.IsKindOf(wxCLASSINFO(wxPrinterDC));
#endif
#if wxUSE_POSTSCRIPT
  printing = printing || dc.IsKindOf(wxCLASSINFO(wxPostScriptDC));
#endif
  return printing;
}

}  // namespace

CMemDCA::CMemDCA(wxDC* target) : m_pDC(target), m_bMemDC(!IsPrinting(*target)) {
  wxCoord x = 0, y = 0, w = 0, h = 0;
  m_pDC->GetClippingBox(&x, &y, &w, &h);
  m_rect = wxRect(x, y, w, h);

  const wxBrush background = m_pDC->GetBackground().IsOk() ? m_pDC->GetBackground() : *wxWHITE_BRUSH;
  if (m_bMemDC) {
    // The bitmap covers the clip box in device units.
    const wxPoint topLeft = m_pDC->LogicalToDevice(m_rect.GetTopLeft());
    const wxPoint bottomRight =
        m_pDC->LogicalToDevice(wxPoint(m_rect.GetRight() + 1, m_rect.GetBottom() + 1));
    const int width = std::max(1, bottomRight.x - topLeft.x);
    const int height = std::max(1, bottomRight.y - topLeft.y);
    m_oldBitmap = GetSelectedBitmap();
    m_bitmap.Create(width, height, *m_pDC);
    SelectObject(m_bitmap);
    SetMapMode(m_pDC->GetMapMode());
    double sx = 1, sy = 1;
    m_pDC->GetUserScale(&sx, &sy);
    SetUserScale(sx, sy);
    m_pDC->GetLogicalScale(&sx, &sy);
    SetLogicalScale(sx, sy);
    // The clip box's top left corner is the bitmap's origin.
    SetLogicalOrigin(m_rect.x, m_rect.y);
    SetBackground(background);
  }
  wxDC& dc = DrawDC();
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(background);
  dc.DrawRectangle(m_rect);
}

CMemDCA::~CMemDCA() {
  if (m_bMemDC) {
    m_pDC->Blit(m_rect.x, m_rect.y, m_rect.width, m_rect.height, this, m_rect.x, m_rect.y, wxCOPY);
    SelectObject(m_oldBitmap.IsOk() ? m_oldBitmap : wxNullBitmap);
  }
}
