// The whole-file recolouring against a plain reading of its rules: both
// colorizers on random lines under both character tables and with
// case-sensitive lookups, words of every length, element sets that hold
// numbers, marked operators and long words; and the brace depths of long
// lines.
#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/CharClass.h"
#include "textmodel/Colorizer.h"
#include "textmodel/SampleColorizer.h"
#include "textmodel/SectionShades.h"
#include "textmodel/TextModel.h"

namespace {

constexpr COLORREF kKeyword = 0x010000;
constexpr COLORREF kMnemonic = 0x000080;
constexpr COLORREF kFlow = 0x808080;
constexpr COLORREF kOperator = 0x008000;
constexpr COLORREF kDatHash = 0x800000;
constexpr COLORREF kString = 0x3333F7;
constexpr COLORREF kNumeral = 0x808000;

struct Tints {
  COLORREF shade;
  COLORREF comment;
  COLORREF doc;
};

const Tints kTints[] = {
    {kConOddShade, 0x389BA8, 0x33636A}, {kConEvenShade, 0x37909C, 0x315C62},
    {kVarOddShade, 0x376FA7, 0x324E69}, {kVarEvenShade, 0x37699B, 0x314962},
    {kObjOddShade, 0x3737A7, 0x323269}, {kObjEvenShade, 0x37379B, 0x313162},
    {kPubOddShade, 0xA76F37, 0x694E32}, {kPubEvenShade, 0x9B6937, 0x624931},
    {kPriOddShade, 0xA79B37, 0x696332}, {kPriEvenShade, 0x9B9037, 0x625C31},
    {kDatOddShade, 0x47A737, 0x326932}, {kDatEvenShade, 0x459B37, 0x376231},
    {0x123456, 0, 0},                   {0, 0, 0},
};

void LoadAll(CColorizer& c) {
  c.LoadKeywords(L"Keywords.ini");
  c.LoadOperators();
  c.LoadFlowKeywords();
}

// The base colouring read plainly: reset, words, operator runs, each byte
// classed one at a time and each word and run asked of the predicates.
std::vector<COLORREF> PlainBase(CColorizer& c, const std::string& line, COLORREF shade) {
  std::vector<COLORREF> v(line.size());
  const bool dat = shade == kDatOddShade || shade == kDatEvenShade;
  const bool conVar = shade == kConOddShade || shade == kConEvenShade ||
                      shade == kVarOddShade || shade == kVarEvenShade;
  const bool obj = shade == kObjOddShade || shade == kObjEvenShade;
  const bool second = c.mode == L"Vorn2";
  const auto byte = [&line](std::size_t i) { return static_cast<unsigned char>(line[i]); };
  const auto wordByte = [](unsigned char b) { return b == '_' || platform::IsAlnum(b); };
  const auto runByte = [](unsigned char b) {
    return !platform::IsBlank(b) && !platform::IsAlnum(b);
  };
  for (std::size_t i = 0; i < line.size(); ++i) v[i] = (dat && line[i] == '#') ? kDatHash : 0;
  for (std::size_t i = 0, e = 0; i < line.size(); i = e) {
    e = i + 1;
    if (!wordByte(byte(i))) continue;
    while (e < line.size() && wordByte(byte(e))) ++e;
    const std::string w = line.substr(i, e - i);
    const auto paint = [&](COLORREF colour) { std::fill(v.begin() + i, v.begin() + e, colour); };
    if (dat) {
      if (w == "DAT") paint(kKeyword);
      if (second ? c.IsDatMnemonic2(w) : c.IsDatMnemonic1(w)) paint(kMnemonic);
      if (second ? c.IsDatDirective2(w) : c.IsDatDirective1(w)) paint(kKeyword);
    } else if (conVar) {
      if (c.IsConVarKeyword(w)) paint(kKeyword);
    } else if (obj) {
      if (c.IsObjKeyword(w)) paint(kKeyword);
    } else {
      if (c.IsKeyword(w)) paint(kKeyword);
      if (c.IsFlowKeyword(w)) paint(kFlow);
    }
  }
  for (std::size_t i = 0, e = 0; i < line.size(); i = e) {
    e = i + 1;
    if (!runByte(byte(i))) continue;
    while (e < line.size() && runByte(byte(e))) ++e;
    std::string run = line.substr(i, e - i);
    const auto white = [](char ch) { return platform::IsSpace(static_cast<unsigned char>(ch)); };
    while (!run.empty() && white(run.back())) run.pop_back();
    while (!run.empty() && white(run.front())) run.erase(0, 1);
    if (c.IsOperator(run)) std::fill(v.begin() + i, v.begin() + e, kOperator);
  }
  return v;
}

// The sample colorizer read plainly: the additions as separate passes over
// the plain base colouring.
std::vector<COLORREF> PlainSample(CColorizer& c, const std::string& line, COLORREF shade,
                                  int depth) {
  std::vector<COLORREF> v = PlainBase(c, line, shade);
  const std::size_t n = line.size();
  for (std::size_t q = line.find('"'); q != std::string::npos;) {
    const std::size_t close = line.find('"', q + 1);
    const std::size_t end = close == std::string::npos ? n : close + 1;
    std::fill(v.begin() + q, v.begin() + end, kString);
    q = end < n ? line.find('"', end) : std::string::npos;
  }
  COLORREF comment = 0;
  COLORREF doc = 0;
  for (const Tints& t : kTints) {
    if (t.shade == shade) {
      comment = t.comment;
      doc = t.doc;
    }
  }
  const std::size_t first = line.find('\'');
  if (first != std::string::npos) {
    std::fill(v.begin() + first, v.end(), comment);
    for (std::size_t a = line.find('\'', first + 1); a != std::string::npos;
         a = line.find('\'', a + 1)) {
      std::fill(v.begin() + a, v.end(), doc);
    }
  }
  long long d = depth;
  for (std::size_t i = 0; i < n; ++i) {
    if (d > 0) v[i] = d > 1 ? doc : comment;
    if (line[i] == '}') --d;
    if (line[i] == '{') {
      v[i] = d < 1 ? comment : doc;
      ++d;
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (v[i] == 0 && line[i] >= '0' && line[i] <= '9') v[i] = kNumeral;
  }
  return v;
}

class RandomLines {
 public:
  explicit RandomLines(const CColorizer& c, unsigned seed) : random_(seed) {
    for (const auto* set : {&c.keywords, &c.conVarKeywords, &c.objKeywords, &c.datMnemonics1,
                            &c.datMnemonics2, &c.datDirectives1, &c.datDirectives2,
                            &c.operators, &c.flowKeywords}) {
      int k = 0;
      for (const std::string& w : *set) {
        if (k++ % 2 == 0) fragments_.push_back(w);
      }
    }
    for (const char* f : {"DAT", "x", "i", "0", "7", "42", "1_000", "$FF", "%1010", "9lives",
                          "_", "__", "#", "\"", "'", "{", "}", "{{", "}}", "(", ",", "[",
                          "\r", "\n", "\v", "\f", "\x7F", "\x01", "\x81", "\x9A", "\xE0",
                          "\xB0", "\xFF", "_crystalrate_crystalrate", "IF_NC_AND_NZ_",
                          "averyveryverylongidentifier", "waittick8"}) {
      fragments_.push_back(f);
    }
  }

  // Mostly short lines, some over several 64-byte blocks; letter case
  // mixed, fragments glued by every kind of separator or none.
  std::string Next(std::size_t round) {
    static const char* const kSeparators[] = {"", "", " ", "  ", "\t", "_", "#", "(", "'"};
    std::string line;
    const std::size_t count = Pick(round % 6 == 0 ? 70 : 12);
    for (std::size_t k = 0; k < count; ++k) {
      std::string f = fragments_[Pick(fragments_.size())];
      const std::size_t casing = Pick(4);
      for (char& ch : f) {
        if (casing == 0 || (casing == 1 && Pick(2) == 0))
          ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      }
      line += f;
      line += kSeparators[Pick(std::size(kSeparators))];
    }
    return line;
  }

  std::size_t Pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_);
  }

 private:
  std::mt19937 random_;
  std::vector<std::string> fragments_;
};

class RecolourAgreementTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::UseDefaultCharClasses(); }
  void TearDown() override { platform::UseDefaultCharClasses(); }

  // Colours random lines with both colorizers under both tables, with
  // case-insensitive and case-sensitive lookups, against the plain readings.
  void CheckRandomLines(CColorizer& base, CSampleColorizer& sample, unsigned seed, int rounds) {
    RandomLines lines(base, seed);
    const std::wstring modes[] = {L"Vorn1", L"Vorn2", L"vorn2", L"Vorn2 "};
    for (int table = 0; table < 2; ++table) {
      if (table == 1) platform::UseOemCharClasses();
      for (int round = 0; round < rounds; ++round) {
        const std::string line = lines.Next(static_cast<std::size_t>(round));
        const COLORREF shade = lines.Pick(20) == 0 ? static_cast<COLORREF>(lines.Pick(1u << 24))
                                                   : kTints[lines.Pick(std::size(kTints))].shade;
        const int depths[] = {0, 0, 1, 2, 3, -1, INT_MAX, INT_MIN};
        const int depth = depths[lines.Pick(std::size(depths))];
        const std::int32_t caseInsensitive = lines.Pick(3) == 0 ? 0 : 1;
        base.mode = sample.mode = modes[lines.Pick(std::size(modes))];
        base.caseInsensitive = sample.caseInsensitive = caseInsensitive;

        std::vector<COLORREF> colours(lines.Pick(8), 0xDEAD);
        base.ColorLine(line, colours, shade, depth);
        ASSERT_EQ(colours, PlainBase(base, line, shade))
            << "base, table " << table << ", case-insensitive " << caseInsensitive << ", shade "
            << std::hex << shade << ", line \"" << line << '"';
        colours.assign(lines.Pick(300), 0xBEEF);
        sample.ColorLine(line, colours, shade, depth);
        ASSERT_EQ(colours, PlainSample(sample, line, shade, depth))
            << "sample, table " << table << ", case-insensitive " << caseInsensitive
            << ", depth " << std::dec << depth << ", shade " << std::hex << shade << ", line \""
            << line << '"';
      }
    }
    platform::UseDefaultCharClasses();
  }
};

TEST_F(RecolourAgreementTest, RandomLinesUnderBothTablesAndLetterCaseModes) {
  CColorizer base;
  CSampleColorizer sample;
  LoadAll(base);
  LoadAll(sample);
  CheckRandomLines(base, sample, 20240611, 4000);

  // Never loaded: nothing is a keyword or operator, "#" and the additions
  // remain.
  CColorizer emptyBase;
  CSampleColorizer emptySample;
  CheckRandomLines(emptyBase, emptySample, 7, 500);
}

// The colouring passes over numbers and over runs that begin with "_", a
// quote, an apostrophe, a brace or "#" only while no element could match
// them; elements added to the sets before a load make them count.
TEST_F(RecolourAgreementTest, NumbersMarkedRunsAndLongWordsCountWhenTheSetsHoldThem) {
  CColorizer base;
  CSampleColorizer sample;
  for (CColorizer* c : {static_cast<CColorizer*>(&base), static_cast<CColorizer*>(&sample)}) {
    c->keywords.insert("9LIVES");
    c->keywords.insert("AVERYLONGKEYWORDNAME");
    c->flowKeywords.insert("0");
    c->operators.insert("_+");
    c->operators.insert("#");
    c->operators.insert("{");
    LoadAll(*c);
  }

  std::vector<COLORREF> colours;
  base.ColorLine("x 9lives _+ # 0 averylongkeywordname averylongkeywordnxme", colours,
                 kPubOddShade, 0);
  const std::vector<COLORREF> expected = [] {
    std::vector<COLORREF> v;
    const auto add = [&v](std::size_t count, COLORREF colour) {
      v.insert(v.end(), count, colour);
    };
    add(2, 0);                  // "x "
    add(6, kKeyword);           // "9lives"
    add(1, 0);                  // " "
    add(2, kOperator);          // "_+": the run, over the word "_"
    add(1, 0);                  // " "
    add(1, kOperator);          // "#"
    add(1, 0);                  // " "
    add(1, kFlow);              // "0"
    add(1, 0);                  // " "
    add(20, kKeyword);          // the long keyword in lower case
    add(21, 0);                 // " " and a word differing in its eighteenth byte
    return v;
  }();
  EXPECT_EQ(colours, expected);
  EXPECT_EQ(base.SetsHolding("AveryLongKeywordName", 20), CColorizer::kInKeywords);
  EXPECT_EQ(base.SetsHolding("AveryLongKeywordNxme", 20), 0);
  EXPECT_EQ(base.SetsHolding("AveryLongKeywordNamf", 20), 0);
  EXPECT_EQ(base.SetsHolding("AveryLongKeywordNam", 19), 0);

  CheckRandomLines(base, sample, 99, 2000);
}

// Lines long enough to be read in several pieces, braces and apostrophes
// anywhere, against a count of the braces before each line's first "'".
TEST_F(RecolourAgreementTest, BraceDepthsOfLongLines) {
  std::mt19937 random(4242);
  const std::string alphabet = "{}'  abc\t";
  for (int round = 0; round < 200; ++round) {
    CTextModel model;
    std::vector<std::int32_t> expected;
    std::int32_t depth = 0;
    for (int i = 0; i < 20; ++i) {
      std::string line;
      const std::size_t length = random() % 90;
      while (line.size() < length) line += alphabet[random() % alphabet.size()];
      for (char ch : line.substr(0, line.find('\''))) depth += (ch == '{') - (ch == '}');
      expected.push_back(depth);
      model.InsertLine(line, i, false);
    }
    model.AnalyzeSections();
    ASSERT_EQ(model.braceDepth, expected) << "round " << round;
  }
}

}  // namespace
