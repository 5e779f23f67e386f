// Fonts asked for by the height of their line in pixels.
#pragma once

#include <wx/font.h>

// The font of `info` (its size left out) at the largest whole point size
// whose line is at most `pixelHeight` pixels high on the screen: the font
// wxFont makes from a pixel size, found with fewer measurements. A point
// size near the answer (`guess`, 0 when none) shortens the search further.
wxFont MakeFontOfPixelHeight(const wxFontInfo& info, int pixelHeight, int guess = 0);
