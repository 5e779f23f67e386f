// (placeholder until this concern is written)
#include "bench/SourceGenerator.h"
std::vector<std::string> GenerateVornSource(int lineCount) {
  return std::vector<std::string>(lineCount, "PUB main | x, y");
}
std::wstring GenerateVornText(int lineCount) {
  std::wstring text;
  for (const auto& l : GenerateVornSource(lineCount)) { text.append(l.begin(), l.end()); text += L'\n'; }
  return text;
}
