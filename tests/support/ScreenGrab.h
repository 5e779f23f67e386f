// What a window shows on the screen, read back after a paint, and how many
// pixels two such pictures differ in.
#pragma once

#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/window.h>

#include <algorithm>

#include "support/ShellFixture.h"

namespace screengrab {

// What `window` shows in `rect` (all of it when empty) after a paint, read
// from the screen. `idle` false: no idle time (and so no update-UI) between
// the paint and the reading.
inline wxImage Grab(wxWindow* window, wxRect rect = wxRect(), bool idle = true) {
  window->Refresh();
  window->Update();
  if (idle) shelltest::Pump();
  if (rect.IsEmpty()) rect = wxRect(window->GetClientSize());
  wxBitmap bitmap(rect.width, rect.height, 24);
  wxMemoryDC dc(bitmap);
  wxClientDC client(window);
  dc.Blit(0, 0, rect.width, rect.height, &client, rect.x, rect.y);
  dc.SelectObject(wxNullBitmap);
  return bitmap.ConvertToImage();
}

// How many pixels differ where the two pictures overlap.
inline int Differing(const wxImage& a, const wxImage& b) {
  int count = 0;
  for (int y = 0; y < std::min(a.GetHeight(), b.GetHeight()); ++y)
    for (int x = 0; x < std::min(a.GetWidth(), b.GetWidth()); ++x)
      count += a.GetRed(x, y) != b.GetRed(x, y) || a.GetGreen(x, y) != b.GetGreen(x, y) ||
               a.GetBlue(x, y) != b.GetBlue(x, y);
  return count;
}

}  // namespace screengrab
