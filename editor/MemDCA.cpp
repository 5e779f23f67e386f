// The off-screen context of one paint and its single copy to the target.
#include "editor/MemDCA.h"

#include <algorithm>
#include <cstring>

#include <wx/brush.h>
#include <wx/dcprint.h>
#include <wx/dcps.h>
#include <wx/graphics.h>
#include <wx/pen.h>

#if defined(__WXGTK3__) && defined(QM_HAVE_CAIRO)
#include <cairo.h>
#define QM_SHARED_IMAGE 1
#endif

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

constexpr std::size_t kKeptBitmaps = 3;

#ifdef QM_SHARED_IMAGE
// The cairo context behind a wx context, if it has one.
cairo_t* CairoOf(const wxDC& dc) {
  wxGraphicsContext* gc = dc.GetGraphicsContext();
  if (!gc || gc->GetRenderer() != wxGraphicsRenderer::GetCairoRenderer()) return nullptr;
  cairo_t* cr = static_cast<cairo_t*>(gc->GetNativeContext());
  return cr && cairo_status(cr) == CAIRO_STATUS_SUCCESS ? cr : nullptr;
}

// Whether user space is device space moved by whole units.
bool UnscaledWhole(cairo_t* cr) {
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  double sx = 0, sy = 0;
  cairo_surface_get_device_scale(cairo_get_target(cr), &sx, &sy);
  return m.xx == 1 && m.yy == 1 && m.xy == 0 && m.yx == 0 && sx == 1 && sy == 1 && m.x0 == int(m.x0) &&
         m.y0 == int(m.y0);
}
#endif

}  // namespace

PaintBuffers::~PaintBuffers() {
#ifdef QM_SHARED_IMAGE
  if (m_shared) cairo_surface_destroy(static_cast<cairo_surface_t*>(m_shared));
#endif
}

wxBitmap PaintBuffers::Take(const wxSize& size, double scale) {
  for (auto kept = m_bitmaps.begin(); kept != m_bitmaps.end(); ++kept)
    if (kept->size == size && kept->scale == scale) {
      wxBitmap bitmap = kept->bitmap;
      m_bitmaps.erase(kept);
      return bitmap;
    }
  return wxBitmap();
}

void PaintBuffers::Keep(const wxSize& size, double scale, const wxBitmap& bitmap) {
  m_bitmaps.insert(m_bitmaps.begin(), Kept{size, scale, bitmap});
  if (m_bitmaps.size() > kKeptBitmaps) m_bitmaps.pop_back();
}

CMemDCA::CMemDCA(wxDC* target, PaintBuffers* buffers)
    : m_pDC(target), m_bMemDC(!IsPrinting(*target)), m_buffers(buffers) {
  wxCoord x = 0, y = 0, w = 0, h = 0;
  m_pDC->GetClippingBox(&x, &y, &w, &h);
  m_rect = wxRect(x, y, w, h);

  const wxBrush background = m_pDC->GetBackground().IsOk() ? m_pDC->GetBackground() : *wxWHITE_BRUSH;
  if (m_bMemDC) {
    // The bitmap covers the clip box in device units.
    const wxPoint topLeft = m_pDC->LogicalToDevice(m_rect.GetTopLeft());
    const wxPoint bottomRight =
        m_pDC->LogicalToDevice(wxPoint(m_rect.GetRight() + 1, m_rect.GetBottom() + 1));
    m_size = wxSize(std::max(1, bottomRight.x - topLeft.x), std::max(1, bottomRight.y - topLeft.y));
    m_scale = m_pDC->GetContentScaleFactor();
    m_oldBitmap = GetSelectedBitmap();
    // A kept bitmap is painted over whole below, like a new one.
    if (m_buffers) m_bitmap = m_buffers->Take(m_size, m_scale);
    if (!m_bitmap.IsOk()) m_bitmap.Create(m_size.x, m_size.y, *m_pDC);
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
    if (!CopyThroughSharedImage())
      m_pDC->Blit(m_rect.x, m_rect.y, m_rect.width, m_rect.height, this, m_rect.x, m_rect.y, wxCOPY);
    SelectObject(m_oldBitmap.IsOk() ? m_oldBitmap : wxNullBitmap);
    if (m_buffers && m_bitmap.IsOk()) m_buffers->Keep(m_size, m_scale, m_bitmap);
  }
}

// A picture drawn to a window goes to the display, which copies it out of
// memory it shares with the program. cairo would take a new piece of such
// memory for every paint (and have every page of it cleared and mapped
// again); the kept image is mapped once. The picture's rows are copied into
// it and it is drawn at the target's clip box as the copy above would draw
// the bitmap: unscaled, at whole pixels, replacing what was there.
bool CMemDCA::CopyThroughSharedImage() {
#ifdef QM_SHARED_IMAGE
  if (!m_buffers) return false;
  cairo_t* cr = CairoOf(*m_pDC);
  cairo_t* own = CairoOf(*this);
  if (!cr || !own || !UnscaledWhole(cr) || !UnscaledWhole(own)) return false;
  cairo_surface_t* target = cairo_get_target(cr);
  cairo_surface_t* picture = cairo_get_target(own);
  if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_XLIB ||
      cairo_surface_get_type(picture) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(picture) != CAIRO_FORMAT_RGB24)
    return false;
  const int width = cairo_image_surface_get_width(picture), height = cairo_image_surface_get_height(picture);
  if (width != m_size.x || height != m_size.y || m_rect.width != width || m_rect.height != height) return false;

  // One shared image, as large as the largest picture yet. (A window's
  // surface may be part of another and name no display of its own; an image
  // shared with another display would only be copied the slow way.)
  auto* shared = static_cast<cairo_surface_t*>(m_buffers->m_shared);
  if (!shared || cairo_image_surface_get_width(shared) < width || cairo_image_surface_get_height(shared) < height) {
    const int w = shared ? std::max(width, cairo_image_surface_get_width(shared)) : width;
    const int h = shared ? std::max(height, cairo_image_surface_get_height(shared)) : height;
    if (shared) cairo_surface_destroy(shared);
    shared = cairo_surface_create_similar_image(target, CAIRO_FORMAT_RGB24, w, h);
    m_buffers->m_shared = shared;
  }
  if (cairo_surface_status(shared) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_get_type(shared) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(shared) != CAIRO_FORMAT_RGB24) {
    cairo_surface_destroy(shared);
    m_buffers->m_shared = nullptr;
    return false;
  }

  // Both images settled (the display done reading the shared one), then the rows.
  cairo_surface_flush(picture);
  cairo_surface_flush(shared);
  const unsigned char* from = cairo_image_surface_get_data(picture);
  unsigned char* to = cairo_image_surface_get_data(shared);
  if (!from || !to) return false;
  const int fromStride = cairo_image_surface_get_stride(picture), toStride = cairo_image_surface_get_stride(shared);
  for (int row = 0; row < height; ++row)
    std::memcpy(to + std::ptrdiff_t(row) * toStride, from + std::ptrdiff_t(row) * fromStride, std::size_t(width) * 4);
  cairo_surface_mark_dirty(shared);

  cairo_save(cr);
  cairo_translate(cr, m_rect.x, m_rect.y);
  cairo_rectangle(cr, 0, 0, width, height);
  cairo_set_source_surface(cr, shared, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_fill(cr);
  cairo_restore(cr);
  return true;
#else
  return false;
#endif
}
