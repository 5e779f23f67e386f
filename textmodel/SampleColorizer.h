// CSampleColorizer: the base colouring plus string literals, apostrophe and
// brace comments in tints of the section shade, and numerals.
#pragma once

#include "textmodel/Colorizer.h"

class CSampleColorizer : public CColorizer {
 public:
  void ColorLine(const std::string& line, std::vector<COLORREF>& colours,
                 COLORREF background, int braceDepth) override;
};
