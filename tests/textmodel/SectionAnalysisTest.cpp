// The section analysis: brace depths, shades, header counts and the section list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "support/PlainAnalysis.h"
#include "textmodel/SectionShades.h"
#include "textmodel/TextModel.h"

namespace {

using Ints = std::vector<std::int32_t>;
using Shades = std::vector<COLORREF>;

void Fill(CTextModel& model, const std::vector<std::string>& text) {
  for (std::size_t i = 0; i < text.size(); ++i) model.InsertLine(text[i], static_cast<std::int32_t>(i), false);
}

Ints HeaderLines(const CTextModel& m) { return {m.sectionLines.begin(), m.sectionLines.end()}; }

TEST(SectionAnalysisTest, DepthsShadesAndHeadersOfWholeTexts) {
  constexpr COLORREF Co = kConOddShade, Ce = kConEvenShade, Pu = kPubOddShade, Pr = kPriOddShade;
  struct Case { std::vector<std::string> lines; Ints depths; Shades shades; Ints headers; };
  const Case cases[] = {
      {{"' just a comment", "x := 1", "", "  repeat"}, {0, 0, 0, 0}, {Co, Co, Co, Co}, {}},
      {{""}, {0}, {Co}, {}},
      // Each kind alternates on its own; lines below a header carry its shade.
      {{"' before", "CON", "  a = 1", "", "CON", "CON", "PUB go", "  x", "PRI helper", "PUB stop", "", "CON"},
       Ints(12, 0), {Co, Co, Co, Co, Ce, Co, Pu, Pu, Pr, kPubEvenShade, kPubEvenShade, Ce}, {1, 4, 5, 6, 8, 9, 11}},
      // Inside a comment nothing counts; after its closing brace, or before an opening one, it does.
      {{"PUB a", "{ comment", "CON inside", "DAT", "} CON after", "PRI b {", "  text", "}}VAR no"},
       {0, 1, 1, 1, 0, 1, 1, -1}, {Pu, Pu, Pu, Pu, Co, Pr, Pr, Pr}, {0, 4, 5}},
      {{"{{", "x", "} } DAT"}, {2, 2, 0}, {Co, Co, kDatOddShade}, {2}},
      // An apostrophe hides the braces after it.
      {{"{ ' }", "PUB x", "' }", "a } b", "PUB y", "x ' {", "PRI z"}, {1, 1, 1, 0, 0, 0, 0},
       {Co, Co, Co, Co, Pu, Pu, Pr}, {4, 6}},
      // A stray "}" makes the depth negative; a later "{" only brings it back to 0.
      {{"x }", "CON", "{ y", "PUB z", "VAR"}, {-1, -1, 0, 0, 0}, {Co, Co, Co, Pu, kVarOddShade}, {1, 3, 4}},
      // Header words in any case after white space, alone or before a blank or "'"; no longer words.
      {{"PUB(x)", "DAT{ d }", "PUBLIC x", "' PUB", "'PUB", "  ' DAT", "", "PU B", "x PUB", "dat\t", "pub lower(x)",
        "PrI Mixed", "   VAR", "\t DAT  ' t", "DAT", "OBJ'o"},
       Ints(16, 0), {Co, Co, Co, Co, Co, Co, Co, Co, Co, Co, Pu, Pr, kVarOddShade, kDatOddShade, kDatEvenShade,
                     kObjOddShade}, {10, 11, 12, 13, 14, 15}},
      // Long comments do not interrupt the alternation.
      {{"CON", "a", "CON", "{", "CON", "note", "CON", "}", "CON", "{{ doc", "}}", "CON"},
       {0, 0, 0, 1, 1, 1, 1, 0, 0, 2, 0, 0}, {Co, Co, Ce, Ce, Ce, Ce, Ce, Ce, Co, Co, Co, Ce}, {0, 2, 8, 11}},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.lines.front());
    CTextModel m;
    Fill(m, t.lines);
    EXPECT_TRUE(m.AnalyzeSections());  // the arrays had to grow
    EXPECT_EQ(m.braceDepth, t.depths);
    EXPECT_EQ(m.lineBackground, t.shades);
    EXPECT_EQ(HeaderLines(m), t.headers);
  }
  CTextModel m;  // names are the whole lines, widened byte for byte; each analysis rebuilds the list
  Fill(m, {"  PUB start(pin) | t   ' starts it", "x", "CON caf\xE9"});
  for (int pass = 0; pass < 2; ++pass) m.AnalyzeSections();
  EXPECT_EQ(m.sectionNames, (std::list<std::wstring>{L"  PUB start(pin) | t   ' starts it", L"CON caf\u00E9"}));
}

TEST(SectionAnalysisTest, AnalyzeAroundAndTheChangesReported) {
  CTextModel a;
  Fill(a, {"PUB a", "  x", "DAT", "PUB b", "  z"});
  EXPECT_TRUE(a.AnalyzeSections());
  // A header word alone on its line after another kind: nothing differs, nothing is reported.
  EXPECT_FALSE(a.AnalyzeSections());
  for (std::int32_t line : {2, 2, 3, 0}) EXPECT_FALSE(a.AnalyzeAround(line)) << line;
  a.InsertLine("x", 5, false);  // lengthening and shortening the arrays are changes
  EXPECT_TRUE(a.AnalyzeSections());
  a.RemoveLine(5);
  EXPECT_TRUE(a.AnalyzeAround(0) && a.lineBackground.size() == 5 && a.datCount.size() == 5);
  // Only the given line and the one above it, from the stored shade and depth above them.
  a.SetLine("  plain", 0);  // the first line edited from a header into a plain line
  EXPECT_TRUE(a.AnalyzeAround(0));
  EXPECT_EQ(a.lineBackground, (Shades{kConOddShade, kPubOddShade, kDatOddShade, kPubEvenShade, kPubEvenShade}));
  EXPECT_TRUE(!a.AnalyzeAround(0) && a.sectionNames.size() == 3u);  // the lists are left alone
  a.SetLine("PUB c", 0);  // the line above the given one is analysed too
  EXPECT_TRUE(a.AnalyzeAround(1) && a.lineBackground[0] == kPubOddShade && a.lineBackground[1] == kPubOddShade);
  a.SetLine("  x {", 1);
  EXPECT_TRUE(a.AnalyzeAround(1) && a.braceDepth == (Ints{0, 1, 0, 0, 0}));
  EXPECT_TRUE(a.pubCount[1] == 1 && a.datCount[2] == 1 && a.lineBackground[2] == kDatOddShade);
  // A header added where the shade does not change still shifts the alternation below it.
  CTextModel c;
  Fill(c, {"x", "CON", "y", "CON b"});
  c.AnalyzeSections();
  c.SetLine("CON a", 0);
  EXPECT_TRUE(c.AnalyzeAround(0));
  CTextModel empty;  // no lines, or a line outside them: nothing changes
  EXPECT_THROW(empty.AnalyzeSections(), InvalidArgumentError);
  EXPECT_THROW(empty.AnalyzeAround(0), InvalidArgumentError);
  a.InsertLine("y", 5, false);
  for (std::int32_t bad : {-1, 6}) EXPECT_THROW(a.AnalyzeAround(bad), InvalidArgumentError);
  EXPECT_EQ(a.lineBackground.size(), 5u);
}

TEST(SectionAnalysisTest, AgreesWithAPlainReadingOnRandomTexts) {
  std::mt19937 random(12345);
  const char* const tokens[] = {"{", "}", "'", " ", "  ", "\t", "PUB", "dat", "Con", "VAR", "obj", "pri", "x", "("};
  for (int round = 0; round < 500; ++round) {
    std::vector<std::string> lines(1 + random() % 30);
    for (std::string& line : lines) {
      for (std::size_t k = random() % (round % 4 ? 8 : 40); k > 0; --k) line += tokens[random() % std::size(tokens)];
    }
    CTextModel m;
    Fill(m, lines);
    m.AnalyzeSections();
    // Nothing changed since; the lists are rebuilt, not added to.
    ASSERT_FALSE(m.AnalyzeSections() || m.AnalyzeAround(static_cast<std::int32_t>(random() % lines.size())));
    ASSERT_EQ(plain::Rows(m), plain::Analyse(lines)) << round;
  }
}

}  // namespace
