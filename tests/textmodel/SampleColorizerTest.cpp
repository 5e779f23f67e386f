// The sample colorizer's additions: string literals, apostrophe and brace
// comments in tints of the section shade, and numerals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/CharClass.h"
#include "textmodel/SampleColorizer.h"
#include "textmodel/SectionShades.h"

namespace {

constexpr COLORREF kPlain = 0x000000;
constexpr COLORREF kKeyword = 0x010000;
constexpr COLORREF kOperator = 0x008000;
constexpr COLORREF kString = 0x3333F7;
constexpr COLORREF kNumeral = 0x808000;
constexpr COLORREF kComment = 0x389BA8;  // of the odd CON shade
constexpr COLORREF kDoc = 0x33636A;

struct ShadeTints {
  COLORREF shade;
  COLORREF comment;
  COLORREF doc;
};

const ShadeTints kTints[] = {
    {kConOddShade, 0x389BA8, 0x33636A}, {kConEvenShade, 0x37909C, 0x315C62},
    {kVarOddShade, 0x376FA7, 0x324E69}, {kVarEvenShade, 0x37699B, 0x314962},
    {kObjOddShade, 0x3737A7, 0x323269}, {kObjEvenShade, 0x37379B, 0x313162},
    {kPubOddShade, 0xA76F37, 0x694E32}, {kPubEvenShade, 0x9B6937, 0x624931},
    {kPriOddShade, 0xA79B37, 0x696332}, {kPriEvenShade, 0x9B9037, 0x625C31},
    {kDatOddShade, 0x47A737, 0x326932}, {kDatEvenShade, 0x459B37, 0x376231},
    {0x123456, 0, 0},                   {0, 0, 0},
};

using Segments = std::vector<std::pair<std::size_t, COLORREF>>;

std::vector<COLORREF> Expected(const Segments& segments) {
  std::vector<COLORREF> v;
  for (const auto& s : segments) v.insert(v.end(), s.first, s.second);
  return v;
}

class SampleColorizerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::UseDefaultCharClasses();
    c.LoadKeywords(L"Keywords.ini");
    c.LoadOperators();
    c.LoadFlowKeywords();
    // The letters used as plain text below must be in no set.
    for (const char* w : {"a", "b", "c", "x", "y", "ab", "x1"}) {
      ASSERT_FALSE(c.IsKeyword(w) || c.IsConVarKeyword(w) || c.IsObjKeyword(w) ||
                   c.IsDatMnemonic1(w) || c.IsDatMnemonic2(w) || c.IsDatDirective1(w) ||
                   c.IsDatDirective2(w) || c.IsFlowKeyword(w))
          << w;
    }
  }
  void TearDown() override { platform::UseDefaultCharClasses(); }

  std::vector<COLORREF> Colour(const std::string& line, COLORREF shade = kConOddShade,
                               int depth = 0) {
    std::vector<COLORREF> v;
    c.ColorLine(line, v, shade, depth);
    EXPECT_EQ(v.size(), line.size());
    return v;
  }

  CSampleColorizer c;
};

TEST_F(SampleColorizerTest, EmptyLineEmptiesTheVector) {
  for (const auto& t : kTints) {
    for (int depth : {0, 1, 2, -1}) {
      std::vector<COLORREF> v(9, 0x777777);
      c.ColorLine("", v, t.shade, depth);
      EXPECT_TRUE(v.empty());
    }
  }
}

TEST_F(SampleColorizerTest, CommentColoursFollowTheShade) {
  for (const auto& t : kTints) {
    SCOPED_TRACE(t.shade);
    EXPECT_EQ(Colour("x 'a 'b", t.shade), Expected({{2, 0}, {3, t.comment}, {2, t.doc}}));
    EXPECT_EQ(Colour("{a{b}c} x", t.shade),
              Expected({{2, t.comment}, {3, t.doc}, {2, t.comment}, {2, kPlain}}));
    EXPECT_EQ(Colour("ab", t.shade, 1), Expected({{2, t.comment}}));
    EXPECT_EQ(Colour("ab", t.shade, 2), Expected({{2, t.doc}}));
  }
  // Outside the known shades comments look like plain text, so the digits in
  // them become numerals.
  EXPECT_EQ(Colour("x '1 '2 {3}", 0x123456),
            Expected({{3, 0}, {1, kNumeral}, {2, 0}, {1, kNumeral}, {2, 0}, {1, kNumeral}, {1, 0}}));
  EXPECT_EQ(Colour("42", 0x123456, 1), Expected({{2, kNumeral}}));
}

TEST_F(SampleColorizerTest, ApostropheComments) {
  EXPECT_EQ(Colour("''"), Expected({{1, kComment}, {1, kDoc}}));
  EXPECT_EQ(Colour("'''x"), Expected({{1, kComment}, {3, kDoc}}));
  // A later second apostrophe switches the rest to the doc colour.
  EXPECT_EQ(Colour("x 'a b 'c d"), Expected({{2, 0}, {5, kComment}, {4, kDoc}}));
  // Keywords, operators and digits after the apostrophe are comment.
  EXPECT_EQ(Colour("CON ' CON := 12", kConOddShade), Expected({{3, kKeyword}, {1, 0}, {11, kComment}}));
  EXPECT_EQ(Colour("PUB '' 12", kPubOddShade),
            Expected({{3, kKeyword}, {1, 0}, {1, 0xA76F37}, {4, 0x694E32}}));
}

TEST_F(SampleColorizerTest, StringLiterals) {
  EXPECT_EQ(Colour("x \"ab\" y \"c\""),
            Expected({{2, 0}, {4, kString}, {3, 0}, {3, kString}}));
  EXPECT_EQ(Colour("\"\"\"\""), Expected({{4, kString}}));
  // Keywords and digits inside a literal take its colour.
  EXPECT_EQ(Colour("\"CON 12\" 3"), Expected({{8, kString}, {1, 0}, {1, kNumeral}}));
  // An unclosed literal runs to the end of the line.
  EXPECT_EQ(Colour("x \"ab CON"), Expected({{2, 0}, {7, kString}}));
  // An apostrophe inside a literal starts a comment over the rest of it.
  EXPECT_EQ(Colour("x \"a'b\" c"), Expected({{2, 0}, {2, kString}, {5, kComment}}));
  EXPECT_EQ(Colour("\"'\"'\""), Expected({{1, kString}, {2, kComment}, {2, kDoc}}));
  // A quote inside a comment still opens a literal, but the comment wins.
  EXPECT_EQ(Colour("'a\" b"), Expected({{5, kComment}}));
}

TEST_F(SampleColorizerTest, BraceComments) {
  EXPECT_EQ(Colour("{a} CON"), Expected({{3, kComment}, {1, 0}, {3, kKeyword}}));
  EXPECT_EQ(Colour("{{a}} x"),
            Expected({{1, kComment}, {1, kDoc}, {1, kDoc}, {1, kDoc}, {1, kComment}, {2, 0}}));
  // Opened on an earlier line.
  EXPECT_EQ(Colour("a b", kConOddShade, 1), Expected({{3, kComment}}));
  EXPECT_EQ(Colour("a b", kConOddShade, 2), Expected({{3, kDoc}}));
  EXPECT_EQ(Colour("ab} CON 7", kConOddShade, 1),
            Expected({{3, kComment}, {1, 0}, {3, kKeyword}, {1, 0}, {1, kNumeral}}));
  EXPECT_EQ(Colour("a}b}c", kConOddShade, 2),
            Expected({{2, kDoc}, {2, kComment}, {1, kPlain}}));
  EXPECT_EQ(Colour("a{b", kConOddShade, 1), Expected({{1, kComment}, {2, kDoc}}));
  // A stray "}" makes the depth negative; an opening brace then only takes
  // the comment colour itself.
  EXPECT_EQ(Colour("} {a} 5"), Expected({{2, 0}, {1, kComment}, {3, 0}, {1, kNumeral}}));
  EXPECT_EQ(Colour("{a} 5", kConOddShade, -1), Expected({{1, kComment}, {3, 0}, {1, kNumeral}}));
  // Braces count inside literals and after apostrophes.
  EXPECT_EQ(Colour("\"{\" x"), Expected({{1, kString}, {4, kComment}}));
  EXPECT_EQ(Colour("\"}\" x", kConOddShade, 1), Expected({{2, kComment}, {1, kString}, {2, 0}}));
  EXPECT_EQ(Colour("'' {a"), Expected({{1, kComment}, {2, kDoc}, {2, kComment}}));
  EXPECT_EQ(Colour("' }a", kConOddShade, 2), Expected({{3, kDoc}, {1, kComment}}));
  // No depth at the line's start can overflow the running depth.
  EXPECT_EQ(Colour("{{a", kConOddShade, INT_MAX), Expected({{3, kDoc}}));
  EXPECT_EQ(Colour("}}a{", kConOddShade, INT_MIN), Expected({{3, 0}, {1, kComment}}));
}

TEST_F(SampleColorizerTest, NumeralsOnlyWherePlain) {
  const std::string op = c.operators.count(":=") ? ":=" : "";
  EXPECT_EQ(Colour("x1 " + op + " 42", kPubOddShade),
            Expected({{1, 0}, {1, kNumeral}, {1, 0}, {op.size(), kOperator}, {1, 0}, {2, kNumeral}}));
  // A keyword that holds a digit keeps the keyword colour on it.
  std::string keyword;
  for (const auto& w : c.keywords) {
    if (std::any_of(w.begin(), w.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
      keyword = w;
      break;
    }
  }
  ASSERT_FALSE(keyword.empty());
  EXPECT_EQ(Colour(keyword + " 0", kPubOddShade),
            Expected({{keyword.size(), kKeyword}, {1, 0}, {1, kNumeral}}));
  // Digits in a DAT line, next to "#".
  EXPECT_EQ(Colour("#12", kDatOddShade), Expected({{1, 0x800000}, {2, kNumeral}}));
}

// The additions written as separate passes over the base colouring.
std::vector<COLORREF> ReferenceColours(CSampleColorizer& c, const std::string& line,
                                       COLORREF shade, int depth) {
  std::vector<COLORREF> v;
  c.CColorizer::ColorLine(line, v, shade, depth);
  const std::size_t n = line.size();
  for (std::size_t q = line.find('"'); q != std::string::npos;) {
    const std::size_t close = line.find('"', q + 1);
    const std::size_t end = close == std::string::npos ? n : close + 1;
    std::fill(v.begin() + q, v.begin() + end, kString);
    q = end < n ? line.find('"', end) : std::string::npos;
  }
  COLORREF comment = 0;
  COLORREF doc = 0;
  for (const auto& t : kTints) {
    if (t.shade == shade) {
      comment = t.comment;
      doc = t.doc;
    }
  }
  const std::size_t first = line.find('\'');
  if (first != std::string::npos) {
    std::fill(v.begin() + first, v.end(), comment);
    for (std::size_t a = line.find('\'', first + 1); a != std::string::npos; a = line.find('\'', a + 1)) {
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
    if (v[i] == 0 && std::isdigit(static_cast<unsigned char>(line[i]))) v[i] = kNumeral;
  }
  return v;
}

TEST_F(SampleColorizerTest, AgreesWithSeparatePasses) {
  const std::vector<std::string> fragments = {"\"", "'", "{", "}", "x", "CON", "pub", "DAT", "7", "42",
                                           "a1", ":=", "#", "_", " ", "\t", "\xE0", "\r", "if",
                                           "long_identifier_9", "+=", "(", ")"};
  std::mt19937 random(77);
  auto pick = [&random](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  for (int round = 0; round < 20000; ++round) {
    std::string line;
    const std::size_t count = pick(round % 5 == 0 ? 90 : 14);
    for (std::size_t k = 0; k < count; ++k) line += fragments[pick(fragments.size())];
    const COLORREF shade = kTints[pick(std::size(kTints))].shade;
    const int depth = static_cast<int>(pick(5)) - 1;
    c.mode = pick(2) ? L"Vorn2" : L"Vorn1";
    ASSERT_EQ(Colour(line, shade, depth), ReferenceColours(c, line, shade, depth))
        << "line \"" << line << "\" shade " << std::hex << shade << " depth " << depth;
  }
}

}  // namespace
