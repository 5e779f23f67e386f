// Which printable ASCII glyphs of a font draw outside their cell.
#pragma once

#include <bitset>

class wxFont;

// Draws the characters 33..126 of `font` on white, each with the top left of
// its cell (`cellWidth` x `lineHeight`) in the middle of a slot of 3 x 3
// cells in a grid of 16 slots a row, and returns those with ink in the
// columns of their slot left or right of their cell. Empty for an invalid
// font or an empty cell.
std::bitset<128> FindGlyphOverhangs(const wxFont& font, int cellWidth, int lineHeight);
