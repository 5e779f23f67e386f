// Where a tab of a wx AUI notebook is on the screen, for real clicks on it.
#pragma once

#include <wx/aui/auibook.h>
#include <wx/gdicmn.h>

#include <algorithm>

namespace auitabs {

// A screen point on `page`'s tab, near its left end (a tab cut off at the
// right end of a narrow strip is still hit); wxDefaultPosition when the
// notebook shows no tab for it.
inline wxPoint TabPoint(wxAuiNotebook* notebook, wxWindow* page) {
  wxAuiTabCtrl* strip = nullptr;
  int index = -1;
  if (!notebook || !notebook->FindTab(page, &strip, &index) || !strip) return wxDefaultPosition;
  const wxRect tab = strip->GetPage(static_cast<size_t>(index)).rect;
  return strip->ClientToScreen(wxPoint(tab.x + std::min(12, tab.width / 2), tab.y + tab.height / 2));
}

}  // namespace auitabs
