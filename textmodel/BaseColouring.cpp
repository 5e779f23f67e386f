// (placeholder body until this concern is written)
#include "textmodel/Colorizer.h"
void CColorizer::ColorLine(const std::string& line, std::vector<COLORREF>& colours, COLORREF, int) {
  colours.assign(line.size(), 0);
}
