// The section analysis: brace depths, section shades, running header counts
// and the section list, over whole texts and around one line.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <algorithm>
#include <cctype>
#include <list>
#include <random>
#include <string>
#include <vector>

#include "textmodel/SectionShades.h"
#include "textmodel/TextModel.h"

namespace {

// Fills `model` with `text` without colouring or analysing it.
void Fill(CTextModel& model, std::initializer_list<const char*> text) {
  std::int32_t index = 0;
  for (const char* line : text) model.InsertLine(line, index++, false);
}

std::vector<COLORREF> Shades(const CTextModel& model) { return model.lineBackground; }
std::vector<std::int32_t> Depths(const CTextModel& model) { return model.braceDepth; }
std::vector<std::wstring> Names(const CTextModel& model) {
  return {model.sectionNames.begin(), model.sectionNames.end()};
}
std::vector<std::int32_t> HeaderLines(const CTextModel& model) {
  return {model.sectionLines.begin(), model.sectionLines.end()};
}

TEST(SectionAnalysisTest, TextWithoutHeadersIsOneConSection) {
  CTextModel model;
  Fill(model, {"' just a comment", "x := 1", "", "  repeat"});
  EXPECT_TRUE(model.AnalyzeSections());  // the arrays had to grow
  EXPECT_EQ(Shades(model), std::vector<COLORREF>(4, 0xA8F3FD));
  EXPECT_EQ(Depths(model), std::vector<std::int32_t>(4, 0));
  EXPECT_TRUE(model.sectionNames.empty());
  EXPECT_TRUE(model.sectionLines.empty());
  for (auto* counts : {&model.conCount, &model.varCount, &model.objCount, &model.pubCount,
                       &model.priCount, &model.datCount})
    EXPECT_EQ(*counts, std::vector<std::int32_t>(4, 0));
}

TEST(SectionAnalysisTest, OneEmptyLine) {
  CTextModel model;
  Fill(model, {""});
  model.AnalyzeSections();
  EXPECT_EQ(Depths(model), std::vector<std::int32_t>{0});
  EXPECT_EQ(Shades(model), std::vector<COLORREF>{0xA8F3FD});
  EXPECT_TRUE(model.sectionNames.empty());
  EXPECT_FALSE(model.AnalyzeSections());
}

TEST(SectionAnalysisTest, ShadesAlternatePerKindAndCarryToTheLinesBelow) {
  CTextModel model;
  Fill(model, {"' before", "CON", "  a = 1", "", "CON", "CON", "PUB go", "  x", "PRI helper",
               "PUB stop", "", "CON"});
  model.AnalyzeSections();
  const std::vector<COLORREF> expected = {
      0xA8F3FD,                      // text before the first header
      0xA8F3FD, 0xA8F3FD, 0xA8F3FD,  // first CON shares that shade, lines below carry it
      0xC0F8FF,                      // second CON
      0xA8F3FD,                      // third CON
      0xFFDFBF, 0xFFDFBF,            // first PUB
      0xFFF8BF,                      // first PRI
      0xFDD2A7, 0xFDD2A7,            // second PUB, and the empty line below it
      0xC0F8FF,                      // fourth CON
  };
  EXPECT_EQ(Shades(model), expected);
  EXPECT_EQ(HeaderLines(model), (std::vector<std::int32_t>{1, 4, 5, 6, 8, 9, 11}));
  EXPECT_EQ(model.conCount, (std::vector<std::int32_t>{0, 1, 1, 1, 2, 3, 3, 3, 3, 3, 3, 4}));
  EXPECT_EQ(model.pubCount, (std::vector<std::int32_t>{0, 0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2}));
  EXPECT_EQ(model.priCount, (std::vector<std::int32_t>{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1}));
}

TEST(SectionAnalysisTest, RunningCountsAndShadesOfEveryKind) {
  CTextModel model;
  Fill(model, {"CON", "VAR", "OBJ", "PUB a", "PRI b", "DAT", "CON", "VAR", "OBJ", "PUB c",
               "PRI d", "DAT"});
  model.AnalyzeSections();
  EXPECT_EQ(Shades(model),
            (std::vector<COLORREF>{kConOddShade, kVarOddShade, kObjOddShade, kPubOddShade,
                                   kPriOddShade, kDatOddShade, kConEvenShade, kVarEvenShade,
                                   kObjEvenShade, kPubEvenShade, kPriEvenShade, kDatEvenShade}));
  EXPECT_EQ(model.conCount, (std::vector<std::int32_t>{1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2}));
  EXPECT_EQ(model.varCount, (std::vector<std::int32_t>{0, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2}));
  EXPECT_EQ(model.objCount, (std::vector<std::int32_t>{0, 0, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2}));
  EXPECT_EQ(model.pubCount, (std::vector<std::int32_t>{0, 0, 0, 1, 1, 1, 1, 1, 1, 2, 2, 2}));
  EXPECT_EQ(model.priCount, (std::vector<std::int32_t>{0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2, 2}));
  EXPECT_EQ(model.datCount, (std::vector<std::int32_t>{0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2}));
  EXPECT_EQ(model.sectionNames.size(), 12u);
}

TEST(SectionAnalysisTest, WhichLinesOpenASection) {
  struct Case {
    const char* line;
    bool opens;
  };
  const Case cases[] = {
      {"pub lower(x)", true},      {"PrI Mixed", true},        {"   VAR", true},
      {"\t DAT  ' table", true},   {"DAT", true},              {"OBJ'objects", true},
      {"PUB(x)", false},           {"DAT{ data }", false},     {"PUBLIC x", false},
      {"CONST = 1", false},        {"' PUB commented", false}, {"'PUB", false},
      {"  ' DAT", false},          {"", false},                {"PU B", false},
      {"DA", false},               {"x PUB", false},           {"dat\t", false},
  };
  for (const Case& c : cases) {
    CTextModel model;
    Fill(model, {"PRI before", c.line});
    model.AnalyzeSections();
    EXPECT_EQ(model.sectionNames.size(), c.opens ? 2u : 1u) << c.line;
    if (!c.opens) EXPECT_EQ(model.lineBackground[1], kPriOddShade) << c.line;
    else EXPECT_NE(model.lineBackground[1], kPriOddShade) << c.line;
  }
}

TEST(SectionAnalysisTest, SectionNamesAreTheWholeLines) {
  CTextModel model;
  Fill(model, {"  PUB start(pin) | t   ' starts the driver", "x", "DAT", "CON caf\xE9"});
  model.AnalyzeSections();
  EXPECT_EQ(Names(model), (std::vector<std::wstring>{L"  PUB start(pin) | t   ' starts the driver",
                                                     L"DAT", L"CON caf\u00E9"}));
  EXPECT_EQ(HeaderLines(model), (std::vector<std::int32_t>{0, 2, 3}));

  // A second analysis rebuilds the lists from scratch.
  model.SetLine("VAR", 1);
  model.RemoveLine(3);
  model.AnalyzeSections();
  EXPECT_EQ(Names(model),
            (std::vector<std::wstring>{L"  PUB start(pin) | t   ' starts the driver", L"VAR", L"DAT"}));
  EXPECT_EQ(HeaderLines(model), (std::vector<std::int32_t>{0, 1, 2}));
}

TEST(SectionAnalysisTest, HeadersAndBraceComments) {
  CTextModel model;
  Fill(model, {
                  "PUB a",          // 0
                  "{ comment",      // 1: opens a comment
                  "CON inside",     // 2: wholly inside: not a header
                  "DAT",            // 3: wholly inside
                  "} CON after",    // 4: closes the comment, then a header
                  "PRI b {",        // 5: header, then a comment opens
                  "  text",         // 6
                  "}}VAR no",       // 7: depth 1 -> -1: not a close to 0, and the word is "}}VAR"
              });
  model.AnalyzeSections();
  EXPECT_EQ(Depths(model), (std::vector<std::int32_t>{0, 1, 1, 1, 0, 1, 1, -1}));
  EXPECT_EQ(HeaderLines(model), (std::vector<std::int32_t>{0, 4, 5}));
  EXPECT_EQ(Shades(model), (std::vector<COLORREF>{kPubOddShade, kPubOddShade, kPubOddShade,
                                                  kPubOddShade, kConOddShade, kPriOddShade,
                                                  kPriOddShade, kPriOddShade}));
  // Lines wholly inside a comment keep the counts of the line above.
  EXPECT_EQ(model.conCount, (std::vector<std::int32_t>{0, 0, 0, 0, 1, 1, 1, 1}));
  EXPECT_EQ(model.datCount, (std::vector<std::int32_t>{0, 0, 0, 0, 0, 0, 0, 0}));

  // A comment nested two deep closes with the second "}"; the header follows it.
  CTextModel nested;
  Fill(nested, {"{{", "x", "} } DAT"});
  nested.AnalyzeSections();
  EXPECT_EQ(Depths(nested), (std::vector<std::int32_t>{2, 2, 0}));
  EXPECT_EQ(HeaderLines(nested), (std::vector<std::int32_t>{2}));
  EXPECT_EQ(nested.lineBackground[2], kDatOddShade);
}

TEST(SectionAnalysisTest, ApostropheHidesBraces) {
  CTextModel model;
  Fill(model, {
                  "{ ' }",    // 0: the "}" after the apostrophe closes nothing: depth 1
                  "PUB x",    // 1: inside
                  "' }",      // 2: still inside
                  "a } b",    // 3: closes
                  "PUB y",    // 4: a header again
                  "x ' {",    // 5: opens nothing
                  "PRI z",    // 6
              });
  model.AnalyzeSections();
  EXPECT_EQ(Depths(model), (std::vector<std::int32_t>{1, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(HeaderLines(model), (std::vector<std::int32_t>{4, 6}));
  EXPECT_EQ(model.lineBackground[4], kPubOddShade);
}

TEST(SectionAnalysisTest, StrayClosingBraceMakesTheDepthNegative) {
  CTextModel model;
  Fill(model, {"x }", "CON", "{ y", "PUB z", "VAR"});
  model.AnalyzeSections();
  EXPECT_EQ(Depths(model), (std::vector<std::int32_t>{-1, -1, 0, 0, 0}));
  EXPECT_EQ(HeaderLines(model), (std::vector<std::int32_t>{1, 3, 4}));
}

TEST(SectionAnalysisTest, LongBraceCommentsDoNotBreakTheAlternation) {
  CTextModel model;
  Fill(model, {"CON", "a = 1", "CON", "{", "CON", "note", "CON", "}", "CON", "{{ doc", "}}",
               "CON"});
  model.AnalyzeSections();
  EXPECT_EQ(HeaderLines(model), (std::vector<std::int32_t>{0, 2, 8, 11}));
  EXPECT_EQ(model.lineBackground[2], kConEvenShade);
  EXPECT_EQ(model.lineBackground[5], kConEvenShade);  // inside the comment
  EXPECT_EQ(model.lineBackground[8], kConOddShade);
  EXPECT_EQ(model.lineBackground[11], kConEvenShade);
}

TEST(SectionAnalysisTest, ChangesAreReportedOnlyWhenSomethingDiffers) {
  CTextModel model;
  Fill(model, {"PUB a", "  x := 1", "DAT", "  long 0", "CON"});
  EXPECT_TRUE(model.AnalyzeSections());
  // A header word alone on its line after another kind's section: nothing
  // differs at the end, so nothing is reported.
  EXPECT_FALSE(model.AnalyzeSections());
  EXPECT_FALSE(model.AnalyzeAround(2));
  EXPECT_FALSE(model.AnalyzeAround(2));
  EXPECT_FALSE(model.AnalyzeAround(4));
  EXPECT_FALSE(model.AnalyzeAround(0));

  // Renaming a header changes no shade or depth.
  model.SetLine("PUB b", 0);
  EXPECT_FALSE(model.AnalyzeSections());
  EXPECT_EQ(model.sectionNames.front(), L"PUB b");

  // Lengthening and shortening the arrays are changes.
  model.InsertLine("x", 5, false);
  EXPECT_TRUE(model.AnalyzeSections());
  model.RemoveLine(5);
  EXPECT_TRUE(model.AnalyzeAround(0));
  EXPECT_EQ(model.lineBackground.size(), 5u);
  EXPECT_EQ(model.datCount.size(), 5u);

  // A changed depth is a change.
  model.SetLine("  x := 1 {", 1);
  EXPECT_TRUE(model.AnalyzeAround(1));
  EXPECT_EQ(model.braceDepth[1], 1);
}

TEST(SectionAnalysisTest, AnalyzeAroundLooksAtTwoLinesOnly) {
  CTextModel model;
  Fill(model, {"PUB a", "  x", "  y", "PUB b", "  z"});
  model.AnalyzeSections();

  // The first line edited from a header into a plain line.
  model.SetLine("  plain", 0);
  EXPECT_TRUE(model.AnalyzeAround(0));
  EXPECT_EQ(model.lineBackground[0], 0xA8F3FD);
  EXPECT_EQ(model.lineBackground[1], kPubOddShade);  // below: left alone
  EXPECT_EQ(model.sectionNames.size(), 2u);          // lists: left alone
  EXPECT_FALSE(model.AnalyzeAround(0));

  // Line 1 starts from the stored shade and depth of line 0.
  EXPECT_TRUE(model.AnalyzeAround(1));
  EXPECT_EQ(model.lineBackground[1], 0xA8F3FD);
  EXPECT_EQ(model.lineBackground[2], kPubOddShade);

  // Around a line that opens a comment: only it and the line above change.
  model.SetLine("  y {", 2);
  EXPECT_TRUE(model.AnalyzeAround(2));
  EXPECT_EQ(Depths(model), (std::vector<std::int32_t>{0, 0, 1, 0, 0}));
  EXPECT_EQ(model.pubCount[2], 0);  // the counts of line 1
  EXPECT_EQ(model.pubCount[3], 2);  // below: not yet updated
  model.AnalyzeSections();
  EXPECT_EQ(Depths(model), (std::vector<std::int32_t>{0, 0, 1, 1, 1}));
  EXPECT_EQ(HeaderLines(model), (std::vector<std::int32_t>{}));
  EXPECT_EQ(model.pubCount, (std::vector<std::int32_t>{0, 0, 0, 0, 0}));
}

TEST(SectionAnalysisTest, BadLinesAreInvalidArguments) {
  CTextModel empty;
  EXPECT_THROW(empty.AnalyzeSections(), InvalidArgumentError);
  EXPECT_THROW(empty.AnalyzeAround(0), InvalidArgumentError);

  CTextModel model;
  Fill(model, {"PUB a", "x"});
  model.AnalyzeSections();
  const std::vector<COLORREF> shades = model.lineBackground;
  model.InsertLine("y", 2, false);
  EXPECT_THROW(model.AnalyzeAround(-1), InvalidArgumentError);
  EXPECT_THROW(model.AnalyzeAround(3), InvalidArgumentError);
  EXPECT_EQ(model.lineBackground, shades);  // nothing changed
}

// The analysis read straight off its rules, one byte at a time: depths,
// shades and header lines of a whole text.
struct PlainAnalysis {
  std::vector<std::int32_t> depths;
  std::vector<COLORREF> shades;
  std::vector<std::int32_t> headers;
};

PlainAnalysis AnalysePlainly(const std::vector<std::string>& lines) {
  PlainAnalysis result;
  std::int32_t depth = 0;
  for (const std::string& line : lines) {
    for (char ch : line.substr(0, line.find('\''))) depth += (ch == '{') - (ch == '}');
    result.depths.push_back(depth);
  }
  int counts[6] = {};
  COLORREF shade = 0xA8F3FD;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::int32_t before = i > 0 ? result.depths[i - 1] : 0;
    const std::int32_t after = result.depths[i];
    if (!(i > 0 && before > 0 && after > 0)) {
      std::string text = lines[i];
      if (before > 0 && after == 0) {
        std::size_t pos = std::string::npos;
        for (std::int32_t k = 0; k < before; ++k) {
          pos = text.find('}', pos == std::string::npos ? 0 : pos + 1);
          if (pos == std::string::npos) break;
        }
        if (pos != std::string::npos) text = text.substr(pos + 1);
      }
      text = text.substr(std::min(text.size(), text.find_first_not_of(" \t\n\v\f\r")));
      const std::size_t end = text.find_first_of(" '");
      std::string word = (end == std::string::npos || end == 0) ? text : text.substr(0, end);
      for (char& ch : word) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      for (int kind = 0; kind < 6; ++kind) {
        if (word == kSectionKinds[kind].word) {
          ++counts[kind];
          shade = counts[kind] % 2 ? kSectionKinds[kind].odd : kSectionKinds[kind].even;
          result.headers.push_back(static_cast<std::int32_t>(i));
        }
      }
    }
    result.shades.push_back(shade);
  }
  return result;
}

TEST(SectionAnalysisTest, AgreesWithAPlainReadingOnRandomTexts) {
  std::mt19937 random(12345);
  const std::string alphabet = "{}' PUBDATconvarx";
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> lines(1 + random() % 30);
    for (std::string& line : lines) {
      const std::size_t length = random() % 26;
      if (random() % 4 == 0) {
        line = kSectionKinds[random() % 6].word;
        line += random() % 2 ? " x" : "";
      }
      while (line.size() < length) line += alphabet[random() % alphabet.size()];
    }
    CTextModel model;
    for (std::size_t i = 0; i < lines.size(); ++i)
      model.InsertLine(lines[i], static_cast<std::int32_t>(i), false);
    model.AnalyzeSections();
    const PlainAnalysis expected = AnalysePlainly(lines);
    ASSERT_EQ(model.braceDepth, expected.depths) << "round " << round;
    ASSERT_EQ(model.lineBackground, expected.shades) << "round " << round;
    ASSERT_EQ(HeaderLines(model), expected.headers) << "round " << round;
  }
}

}  // namespace
