// The colourings read plainly off their rules, for comparison with the colorizers: the base
// colouring as a reset, a word pass and an operator pass, each asking the colorizer's predicates;
// the sample colorizer's additions as passes over that. Standard C++ only; shared by the tests and
// the fuzz targets.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/CharClass.h"
#include "textmodel/Colorizer.h"
#include "textmodel/SectionShades.h"

namespace plain {

// Each shade with its comment and doc-comment colours, then two values that are no shade.
inline constexpr COLORREF kTints[][3] = {
    {kConOddShade, 0x389BA8, 0x33636A}, {kConEvenShade, 0x37909C, 0x315C62}, {kVarOddShade, 0x376FA7, 0x324E69},
    {kVarEvenShade, 0x37699B, 0x314962}, {kObjOddShade, 0x3737A7, 0x323269}, {kObjEvenShade, 0x37379B, 0x313162},
    {kPubOddShade, 0xA76F37, 0x694E32}, {kPubEvenShade, 0x9B6937, 0x624931}, {kPriOddShade, 0xA79B37, 0x696332},
    {kPriEvenShade, 0x9B9037, 0x625C31}, {kDatOddShade, 0x47A737, 0x326932}, {kDatEvenShade, 0x459B37, 0x376231},
    {0x123456, 0, 0},                    {0, 0, 0}};

inline void LoadAll(CColorizer& c) {
  c.LoadKeywords(L"Keywords.ini");
  c.LoadOperators();
  c.LoadFlowKeywords();
}

// Calls paint(s, e) for each longest run [s, e) of bytes that `in` accepts.
template <class In, class Paint>
void ForEachRun(const std::string& line, In in, Paint paint) {
  for (std::size_t s = 0, e = 0; s < line.size(); s = e) {
    for (e = s; e < line.size() && in(static_cast<unsigned char>(line[e]));) ++e;
    if (e > s) paint(s, e); else ++e;
  }
}

// The base colouring read plainly: reset, words, operator runs, each asked of the predicates.
inline std::vector<COLORREF> Base(CColorizer& c, const std::string& line, COLORREF shade) {
  const auto is = [shade](int odd) { return shade == kTints[odd][0] || shade == kTints[odd + 1][0]; };
  const bool dat = is(10), conVar = is(0) || is(2), obj = is(4), code = !dat && !conVar && !obj;
  const bool second = c.mode == L"Vorn2";
  std::vector<COLORREF> v(line.size());
  for (std::size_t i = 0; i < line.size(); ++i) v[i] = (dat && line[i] == '#') ? 0x800000 : 0;
  ForEachRun(line, [](unsigned char b) { return b == '_' || platform::IsAlnum(b); }, [&](std::size_t s, std::size_t e) {
    const std::string w = line.substr(s, e - s);
    const auto paint = [&](bool holds, COLORREF colour) { if (holds) std::fill(v.begin() + s, v.begin() + e, colour); };
    paint(dat && w == "DAT", 0x010000);
    paint(dat && (second ? c.IsDatMnemonic2(w) : c.IsDatMnemonic1(w)), 0x000080);
    paint(dat && (second ? c.IsDatDirective2(w) : c.IsDatDirective1(w)), 0x010000);
    paint((conVar && c.IsConVarKeyword(w)) || (obj && c.IsObjKeyword(w)) || (code && c.IsKeyword(w)), 0x010000);
    paint(code && c.IsFlowKeyword(w), 0x808080);
  });
  ForEachRun(line, [](unsigned char b) { return !platform::IsBlank(b) && !platform::IsAlnum(b); },
             [&](std::size_t s, std::size_t e) {
               std::string run = line.substr(s, e - s);
               while (!run.empty() && platform::IsSpace(static_cast<unsigned char>(run.back()))) run.pop_back();
               while (!run.empty() && platform::IsSpace(static_cast<unsigned char>(run.front()))) run.erase(0, 1);
               if (c.IsOperator(run)) std::fill(v.begin() + s, v.begin() + e, 0x008000);
             });
  return v;
}

// The sample colorizer read plainly: its additions as passes over the plain base.
inline std::vector<COLORREF> Sample(CColorizer& c, const std::string& line, COLORREF shade, int depth) {
  std::vector<COLORREF> v = Base(c, line, shade);
  for (std::size_t q = line.find('"'); q != std::string::npos;) {
    const std::size_t close = line.find('"', q + 1), end = close == std::string::npos ? line.size() : close + 1;
    std::fill(v.begin() + q, v.begin() + end, 0x3333F7);
    q = line.find('"', end);
  }
  COLORREF comment = 0, doc = 0;
  for (const auto& t : kTints) if (t[0] == shade) comment = t[1], doc = t[2];
  const std::size_t first = line.find('\'');
  for (std::size_t a = first; a != std::string::npos; a = line.find('\'', a + 1))
    std::fill(v.begin() + a, v.end(), a == first ? comment : doc);
  long long d = depth;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (d > 0) v[i] = d > 1 ? doc : comment;
    if (line[i] == '}') --d;
    if (line[i] == '{') v[i] = d++ < 1 ? comment : doc;
  }
  for (std::size_t i = 0; i < line.size(); ++i) if (v[i] == 0 && line[i] >= '0' && line[i] <= '9') v[i] = 0x808000;
  return v;
}

}  // namespace plain
