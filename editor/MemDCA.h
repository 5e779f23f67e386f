// CMemDCA: an off-screen device context that stands in for a target context
// during one paint and copies its whole picture to the target in one piece.
#pragma once

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/gdicmn.h>

// Drawing goes into a bitmap of the target's clip box, at the target's own
// logical coordinates; the destructor copies it to the same place of the
// target. A printer context gets no bitmap: drawing goes straight to it.
class CMemDCA : public wxMemoryDC {
 public:
  explicit CMemDCA(wxDC* target);
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
};
