// CMemDCA: an off-screen device context that stands in for a target context
// during one paint and copies its whole picture to the target in one piece.
#pragma once

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/gdicmn.h>

#include <vector>

// What paints keep for the next ones, so that a paint of a size painted
// before makes no new picture: the off-screen bitmaps of the last few sizes
// and, for a screen target, an image in memory shared with the display
// through which the picture reaches the screen.
class PaintBuffers {
 public:
  PaintBuffers() = default;
  ~PaintBuffers();
  PaintBuffers(const PaintBuffers&) = delete;
  PaintBuffers& operator=(const PaintBuffers&) = delete;

 private:
  friend class CMemDCA;
  struct Kept {
    wxSize size;
    double scale;
    wxBitmap bitmap;
  };
  // A kept bitmap of that size and scale, taken out of the store; or none.
  wxBitmap Take(const wxSize& size, double scale);
  void Keep(const wxSize& size, double scale, const wxBitmap& bitmap);

  std::vector<Kept> m_bitmaps;  // the most recently used first
  void* m_shared = nullptr;     // the display's shared image (platform type), or none
};

// Drawing goes into a bitmap of the target's clip box, at the target's own
// logical coordinates; the destructor copies it to the same place of the
// target. A printer context gets no bitmap: drawing goes straight to it.
// With `buffers`, the bitmap and the way to the screen are reused.
class CMemDCA : public wxMemoryDC {
 public:
  explicit CMemDCA(wxDC* target, PaintBuffers* buffers = nullptr);
  ~CMemDCA() override;
  CMemDCA(const CMemDCA&) = delete;
  CMemDCA& operator=(const CMemDCA&) = delete;

  // The context to draw into: this one off screen, else the target itself.
  wxDC& DrawDC() { return m_bMemDC ? static_cast<wxDC&>(*this) : *m_pDC; }

  wxBitmap m_bitmap;     // the off-screen picture, compatible with the target
  wxBitmap m_oldBitmap;  // what was selected before m_bitmap (none in a fresh context)
  wxDC* m_pDC;           // the target, not owned
  wxRect m_rect;         // the target's clip box, in its logical coordinates
  bool m_bMemDC;         // drawing goes off screen (the target is not printing)

 private:
  // Copies the picture to a screen target through the shared image; false
  // (nothing done) where that way does not apply.
  bool CopyThroughSharedImage();

  PaintBuffers* m_buffers;  // not owned; may be null
  wxSize m_size;            // of m_bitmap, in device units
  double m_scale = 1;       // the target's content scale, m_bitmap's
};
