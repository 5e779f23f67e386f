// PixelCanvas: the pixels behind a device context, written directly where the
// platform keeps them in memory in a layout this code knows.
#pragma once

#include <wx/gdicmn.h>

#include <cstdint>

class wxDC;

// Open while a context draws into a 32-bit image in memory at one pixel per
// logical unit, moved by whole pixels, clipped to at most one rectangle (on
// wxGTK3, a cairo image surface); otherwise not open, and the caller draws
// through the context. Between wx drawing and direct writes the image is
// handed over with Open and Close.
class PixelCanvas {
 public:
  explicit PixelCanvas(wxDC& dc);
  ~PixelCanvas() { Close(); }
  PixelCanvas(const PixelCanvas&) = delete;
  PixelCanvas& operator=(const PixelCanvas&) = delete;

  bool IsOk() const { return m_data != nullptr; }
  // The layout of the pixels, the same for two canvases that store a pixel alike.
  int Format() const { return m_format; }
  // Takes the image from the context (before direct writes) and gives it back.
  void Open();
  void Close();
  // Fills a rectangle in logical coordinates with one pixel value, inside the clip.
  void Fill(const wxRect& rect, std::uint32_t pixel);
  // Copies a block of `width` x `height` pixels, row after row, to logical (x, y),
  // inside the clip.
  void Copy(int x, int y, const std::uint32_t* block, int width, int height);
  // Reads the block at a logical rectangle that lies inside the clip; false otherwise.
  bool Read(const wxRect& rect, std::uint32_t* block) const;

 private:
  // The part of `rect` (logical) inside the clip, in pixels of the image.
  wxRect ToPixels(const wxRect& rect) const;

  void* m_surface = nullptr;  // the platform's image
  unsigned char* m_data = nullptr;
  int m_stride = 0;
  int m_format = 0;
  int m_dx = 0, m_dy = 0;  // pixel = logical + (m_dx, m_dy)
  wxRect m_clip;           // the writable pixels
  bool m_open = false;
  bool m_written = false;
};
