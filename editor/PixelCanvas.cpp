// Direct pixel access to a device context's image, where the platform has one.
#include "editor/PixelCanvas.h"

#include <wx/dc.h>
#include <wx/graphics.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__WXGTK3__) && defined(QM_HAVE_CAIRO)
#include <cairo.h>
#define QM_PIXEL_CANVAS 1
#endif

#ifdef QM_PIXEL_CANVAS

namespace {

bool IsWhole(double v) { return v == std::floor(v) && std::abs(v) < 1e8; }

}  // namespace

PixelCanvas::PixelCanvas(wxDC& dc) {
  wxGraphicsContext* gc = dc.GetGraphicsContext();
  if (!gc || gc->GetRenderer() != wxGraphicsRenderer::GetCairoRenderer()) return;
  cairo_t* cr = static_cast<cairo_t*>(gc->GetNativeContext());
  if (!cr || cairo_status(cr) != CAIRO_STATUS_SUCCESS) return;
  cairo_surface_t* surface = cairo_get_target(cr);
  if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return;
  const cairo_format_t format = cairo_image_surface_get_format(surface);
  if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) return;
  // One logical unit per pixel, moved by whole pixels only.
  double sx = 0, sy = 0, ox = 0, oy = 0;
  cairo_surface_get_device_scale(surface, &sx, &sy);
  cairo_surface_get_device_offset(surface, &ox, &oy);
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  if (sx != 1 || sy != 1 || m.xx != 1 || m.yy != 1 || m.xy != 0 || m.yx != 0) return;
  if (!IsWhole(m.x0 + ox) || !IsWhole(m.y0 + oy)) return;
  m_dx = static_cast<int>(m.x0 + ox);
  m_dy = static_cast<int>(m.y0 + oy);
  // The clip must be one rectangle of whole pixels, or none at all (cairo
  // cannot list "no clip": then wx must know of none either).
  wxRect clip(0, 0, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
  cairo_rectangle_list_t* list = cairo_copy_clip_rectangle_list(cr);
  bool usable = false;
  if (list->status == CAIRO_STATUS_SUCCESS && list->num_rectangles == 0) {
    clip = wxRect();  // everything clipped away
    usable = true;
  } else if (list->status == CAIRO_STATUS_SUCCESS && list->num_rectangles == 1) {
    const cairo_rectangle_t& r = list->rectangles[0];
    double x0 = r.x, y0 = r.y, x1 = r.x + r.width, y1 = r.y + r.height;
    cairo_user_to_device(cr, &x0, &y0);
    cairo_user_to_device(cr, &x1, &y1);
    x0 += ox, x1 += ox, y0 += oy, y1 += oy;
    usable = IsWhole(x0) && IsWhole(y0) && IsWhole(x1) && IsWhole(y1) && x0 <= x1 && y0 <= y1;
    if (usable) clip.Intersect(wxRect(int(x0), int(y0), int(x1 - x0), int(y1 - y0)));
  } else if (list->status == CAIRO_STATUS_CLIP_NOT_REPRESENTABLE) {
    wxRect box;
    usable = !dc.GetClippingBox(box);
  }
  cairo_rectangle_list_destroy(list);
  if (!usable) return;
  m_clip = clip;
  m_surface = surface;
  m_format = static_cast<int>(format) + 1;
  Open();
  m_data = cairo_image_surface_get_data(surface);
  m_stride = cairo_image_surface_get_stride(surface);
  if (!m_data) m_open = false;
}

void PixelCanvas::Open() {
  if (m_open || !m_surface) return;
  cairo_surface_flush(static_cast<cairo_surface_t*>(m_surface));
  m_open = true;
}

void PixelCanvas::Close() {
  if (!m_open) return;
  if (m_written) cairo_surface_mark_dirty(static_cast<cairo_surface_t*>(m_surface));
  m_open = m_written = false;
}

#else  // no image in memory on this platform: never open

PixelCanvas::PixelCanvas(wxDC&) {}
void PixelCanvas::Open() {}
void PixelCanvas::Close() {}

#endif

wxRect PixelCanvas::ToPixels(const wxRect& rect) const {
  return wxRect(rect.x + m_dx, rect.y + m_dy, rect.width, rect.height).Intersect(m_clip);
}

void PixelCanvas::Fill(const wxRect& rect, std::uint32_t pixel) {
  if (!IsOk() || rect.width <= 0 || rect.height <= 0) return;
  Open();
  const wxRect r = ToPixels(rect);
  if (r.IsEmpty()) return;
  m_written = true;
  // The first row pixel by pixel, the others copied from it.
  auto rowAt = [&](int y) { return reinterpret_cast<std::uint32_t*>(m_data + std::ptrdiff_t(y) * m_stride) + r.x; };
  std::uint32_t* first = rowAt(r.y);
  std::fill(first, first + r.width, pixel);
  for (int y = r.y + 1; y < r.y + r.height; ++y) std::memcpy(rowAt(y), first, sizeof(std::uint32_t) * r.width);
}

void PixelCanvas::Copy(int x, int y, const std::uint32_t* block, int width, int height) {
  if (!IsOk() || width <= 0 || height <= 0) return;
  Open();
  const wxRect r = ToPixels(wxRect(x, y, width, height));
  if (r.IsEmpty()) return;
  m_written = true;
  const int skipX = r.x - (x + m_dx), skipY = r.y - (y + m_dy);
  for (int row = 0; row < r.height; ++row) {
    const std::uint32_t* from = block + std::ptrdiff_t(skipY + row) * width + skipX;
    auto* to = reinterpret_cast<std::uint32_t*>(m_data + std::ptrdiff_t(r.y + row) * m_stride) + r.x;
    std::memcpy(to, from, sizeof(std::uint32_t) * r.width);
  }
}

bool PixelCanvas::Read(const wxRect& rect, std::uint32_t* block) const {
  if (!IsOk() || !m_open) return false;
  const wxRect r = ToPixels(rect);
  if (r.width != rect.width || r.height != rect.height) return false;
  for (int row = 0; row < r.height; ++row) {
    const auto* from = reinterpret_cast<const std::uint32_t*>(m_data + std::ptrdiff_t(r.y + row) * m_stride) + r.x;
    std::memcpy(block + std::ptrdiff_t(row) * r.width, from, sizeof(std::uint32_t) * r.width);
  }
  return true;
}
