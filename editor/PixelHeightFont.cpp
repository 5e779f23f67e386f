// Fonts asked for by the height of their line in pixels.
#include "editor/PixelHeightFont.h"

#include <wx/dcscreen.h>

#include <algorithm>

namespace {

// Steps the search may take from its first guess before it leaves the
// answer to wxFont's own search.
constexpr int kMaxSteps = 6;

}  // namespace

// wxFont finds the size by halving and doubling from its default size,
// measuring the line at every size it tries; each new size costs a font
// lookup. A line never gets lower as the point size grows, so the answer is
// the one size that fits while the next does not. From a guess (or a
// proportional estimate from one measurement) a step or two reaches it.
wxFont MakeFontOfPixelHeight(const wxFontInfo& info, int pixelHeight, int guess) {
  const wxFont base(info);
  if (!base.IsOk() || pixelHeight <= 0) {
    wxFont font = base;
    font.SetPixelSize(wxSize(0, pixelHeight));
    return font;
  }
  wxScreenDC dc;
  wxFont font = base;
  auto lineAt = [&](int points) {
    font.SetPointSize(points);
    dc.SetFont(font);
    return dc.GetCharHeight();
  };
  int points = guess;
  if (points <= 0) {
    const int start = std::max(base.GetPointSize(), 1);
    const int line = lineAt(start);
    points = line > 0 ? start * pixelHeight / line : start;
  }
  points = std::max(points, 1);
  bool found = false;
  if (lineAt(points) <= pixelHeight) {
    for (int step = 0; step < kMaxSteps && !found; ++step) {
      if (lineAt(points + 1) > pixelHeight)
        found = true;
      else
        ++points;
    }
  } else {
    for (int step = 0; step < kMaxSteps && !found && points > 1; ++step) {
      --points;
      found = lineAt(points) <= pixelHeight;
    }
  }
  if (!found) {
    font = base;
    font.SetPixelSize(wxSize(0, pixelHeight));
    return font;
  }
  font.SetPointSize(points);
  return font;
}
