// The sample colorizer's additions: string literals, comments in tints of the shade, numerals.
#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "platform/CharClass.h"
#include "textmodel/SampleColorizer.h"
#include "textmodel/SectionShades.h"

namespace {

std::vector<COLORREF> Colour(const std::string& line, COLORREF shade, int depth) {
  CSampleColorizer c;
  c.LoadKeywords(L"Keywords.ini");
  c.LoadOperators();
  c.LoadFlowKeywords();
  platform::UseDefaultCharClasses();
  std::vector<COLORREF> v(3, 0x777777);
  c.ColorLine(line, v, shade, depth);
  return v;
}

// One colour per code letter: keyword, operator, DAT "#", string, numeral, comment, doc comment, plain.
std::vector<COLORREF> Expect(const std::string& codes, COLORREF comment, COLORREF doc) {
  const std::array<COLORREF, 8> colours = {0x010000, 0x8000, 0x800000, 0x3333F7, 0x808000, comment, doc, 0};
  std::vector<COLORREF> v;
  for (char k : codes) v.push_back(colours.at(std::string("KOHSNCD.").find(k)));
  return v;
}

TEST(SampleColorizerTest, StringsCommentsAndNumeralsInOrder) {
  struct Case { const char* line; int depth; const char* codes; };  // depth at the line's start
  const Case cases[] = {
      {"''", 0, "CD"}, {"x 'a b 'c d", 0, "..CCCCCDDDD"}, {"CON ' CON := 12", 0, "KKK.CCCCCCCCCCC"},
      {"x \"ab\" y \"c\"", 0, "..SSSS...SSS"}, {"\"\"\"\"", 0, "SSSS"}, {"\"CON 12\" 3", 0, "SSSSSSSS.N"},
      {"x \"ab CON", 0, "..SSSSSSS"}, {"x \"a'b\" c", 0, "..SSCCCCC"}, {"\"'\"'\"", 0, "SCCDD"}, {"'a\" b", 0, "CCCCC"},
      {"{a} CON", 0, "CCC.KKK"}, {"{{a}} x", 0, "CDDDC.."}, {"a b", 1, "CCC"}, {"a b", 2, "DDD"},
      {"ab} CON 7", 1, "CCC.KKK.N"}, {"a}b}c", 2, "DDCC."}, {"a{b", 1, "CDD"}, {"} {a} 5", 0, "..C...N"},
      {"{a} 5", -1, "C...N"}, {"\"{\" x", 0, "SCCCC"}, {"\"}\" x", 1, "CCS.."}, {"'' {a", 0, "CDDCC"},
      {"' }a", 2, "DDDC"}, {"{{a", INT_MAX, "DDD"}, {"}}a{", INT_MIN, "...C"}, {"x1 := 42", 0, ".N.OO.NN"},
      {"fill8 0", 0, "KKKKK.N"}, {"'''x", 0, "CDDD"}};
  for (const Case& t : cases)
    EXPECT_EQ(Colour(t.line, kPubOddShade, t.depth), Expect(t.codes, 0xA76F37, 0x694E32)) << t.line << " " << t.depth;
  // Outside the known shades comments look plain, so their digits become numerals.
  EXPECT_EQ(Colour("x '1 '2 {3}", 0x123456, 0), Expect("...N..N..N.", 0, 0));
  EXPECT_EQ(Colour("42", 0xA8F3FE, 1), Expect("NN", 0, 0));
  EXPECT_EQ(Colour("#12 '", kDatOddShade, 0), Expect("HNN.C", 0x47A737, 0));
}

}  // namespace
