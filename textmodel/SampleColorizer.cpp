// (placeholder body until this concern is written)
#include "textmodel/SampleColorizer.h"
void CSampleColorizer::ColorLine(const std::string& line, std::vector<COLORREF>& colours, COLORREF background, int depth) {
  CColorizer::ColorLine(line, colours, background, depth);
}
