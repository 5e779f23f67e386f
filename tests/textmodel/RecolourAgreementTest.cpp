// Both colorizers against plain readings of their rules on random lines, under both character tables, in
// every mode and letter-case setting, also with sets that hold numbers and marked runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <random>

#include "platform/CharClass.h"
#include "textmodel/SampleColorizer.h"
#include "textmodel/SectionShades.h"

namespace {

// Each shade with its comment and doc-comment colours.
const COLORREF kTints[][3] = {
    {kConOddShade, 0x389BA8, 0x33636A}, {kConEvenShade, 0x37909C, 0x315C62}, {kVarOddShade, 0x376FA7, 0x324E69},
    {kVarEvenShade, 0x37699B, 0x314962}, {kObjOddShade, 0x3737A7, 0x323269}, {kObjEvenShade, 0x37379B, 0x313162},
    {kPubOddShade, 0xA76F37, 0x694E32}, {kPubEvenShade, 0x9B6937, 0x624931}, {kPriOddShade, 0xA79B37, 0x696332},
    {kPriEvenShade, 0x9B9037, 0x625C31}, {kDatOddShade, 0x47A737, 0x326932}, {kDatEvenShade, 0x459B37, 0x376231},
    {0x123456, 0, 0},                    {0, 0, 0}};

void LoadAll(CColorizer& c) { c.LoadKeywords(L"Keywords.ini"); c.LoadOperators(); c.LoadFlowKeywords(); }

// Calls paint(s, e) for each longest run [s, e) of bytes that `in` accepts.
template <class In, class Paint>
void ForEachRun(const std::string& line, In in, Paint paint) {
  for (std::size_t s = 0, e = 0; s < line.size(); s = e) {
    for (e = s; e < line.size() && in(static_cast<unsigned char>(line[e]));) ++e;
    if (e > s) paint(s, e); else ++e;
  }
}

// The base colouring read plainly: reset, words, operator runs, each asked of the predicates.
std::vector<COLORREF> PlainBase(CColorizer& c, const std::string& line, COLORREF shade) {
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
std::vector<COLORREF> PlainSample(CColorizer& c, const std::string& line, COLORREF shade, int depth) {
  std::vector<COLORREF> v = PlainBase(c, line, shade);
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

// Lines of set elements and odd bytes in mixed letter case, glued by every kind of separator or none, some
// over several 64-byte blocks, coloured into stale vectors of any size under both tables.
void CheckRandomLines(CColorizer& base, CSampleColorizer& sample, unsigned seed, int rounds) {
  std::mt19937 random(seed);
  const auto pick = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  std::vector<std::string> fragments = {"DAT", "x", "0", "42", "1_000", "9lives", "_", "__", "#", "\"", "'", "{", "}",
                                        "(", "\r", "\n", "\v", "\x7F", "\x01", "\x81", "\x9A", "\xE0", "\xB0", "\xFF",
                                        "_crystalrate_crystalrate", "averyverylongword"};
  for (const auto* set : {&base.keywords, &base.conVarKeywords, &base.objKeywords, &base.datMnemonics1,
                          &base.datMnemonics2, &base.datDirectives1, &base.datDirectives2, &base.operators,
                          &base.flowKeywords})
    fragments.insert(fragments.end(), set->begin(), set->end());
  const char* const separators[] = {"", "", " ", "  ", "\t", "_", "#", "(", "'"};
  const wchar_t* const modes[] = {L"Vorn1", L"Vorn2", L"vorn2", L"Vorn2 "};
  const int depths[] = {0, 0, 1, 2, 3, -1, INT_MAX, INT_MIN};
  for (int table = 0; table < 2; ++table) {
    table ? platform::UseOemCharClasses() : platform::UseDefaultCharClasses();
    for (int round = 0; round < rounds; ++round) {
      std::string line;
      for (std::size_t k = pick(round % 6 ? 12 : 70); k > 0; --k) {
        std::string f = fragments[pick(fragments.size())];
        const std::size_t casing = pick(4);
        for (char& ch : f) if (casing == 0 || (casing == 1 && pick(2))) ch = static_cast<char>(std::tolower(ch));
        line += f + separators[pick(std::size(separators))];
      }
      const COLORREF shade = pick(20) ? kTints[pick(std::size(kTints))][0] : static_cast<COLORREF>(pick(1 << 24));
      const int depth = depths[pick(std::size(depths))];
      base.mode = sample.mode = modes[pick(std::size(modes))];
      base.caseInsensitive = sample.caseInsensitive = pick(3) ? 1 : 0;
      std::vector<COLORREF> colours(pick(8), 0xDEAD), more(pick(300), 0xBEEF);
      base.ColorLine(line, colours, shade, depth);
      sample.ColorLine(line, more, shade, depth);
      ASSERT_TRUE(colours == PlainBase(base, line, shade) && more == PlainSample(sample, line, shade, depth))
          << "table " << table << " case-insensitive " << base.caseInsensitive << " depth " << depth << " shade "
          << std::hex << shade << " line \"" << line << '"';
    }
  }
  platform::UseDefaultCharClasses();
}

TEST(RecolourAgreementTest, RandomLinesOfLoadedNeverLoadedAndExtendedColorizers) {
  CColorizer base, emptyBase, extended;
  CSampleColorizer sample, emptySample, extendedSample;
  LoadAll(base);
  LoadAll(sample);
  CheckRandomLines(base, sample, 20240611, 4000);
  CheckRandomLines(emptyBase, emptySample, 7, 500);  // only "DAT", "#" and the additions remain
  for (const auto& t : kTints) {  // each shade's comment and doc-comment colours, one by one
    std::vector<COLORREF> v;
    sample.ColorLine("''", v, t[0], 0);
    EXPECT_EQ(v, (std::vector<COLORREF>{t[1], t[2]})) << std::hex << t[0];
  }
  // Numbers and runs that hold "_", "#" or a brace are passed over only while no element could match
  // them; a word in two sets takes the later rule's colour.
  for (CColorizer* c : {&extended, static_cast<CColorizer*>(&extendedSample)}) {
    c->keywords.insert({"9LIVES", "AVERYLONGKEYWORDNAME", "WHEN"});
    c->flowKeywords.insert("0");
    c->operators.insert({"_+", "#", "{"});
    LoadAll(*c);
  }
  std::vector<COLORREF> v, expected(25, 0);
  std::fill_n(expected.begin(), 4, 0x808080);  // long words that differ late are different words
  extended.ColorLine("when averylongkeywordnxme", v, kPubOddShade, 0);
  EXPECT_EQ(v, expected);
  CheckRandomLines(extended, extendedSample, 99, 2000);
}

}  // namespace
