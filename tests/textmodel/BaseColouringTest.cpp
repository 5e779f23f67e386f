// Base colouring of a line: words by section kind and mode, operator runs,
// "#" in DAT lines, character classes of both tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/CharClass.h"
#include "textmodel/Colorizer.h"
#include "textmodel/SectionShades.h"

namespace {

constexpr COLORREF kPlain = 0x000000;
constexpr COLORREF kKeyword = 0x010000;
constexpr COLORREF kMnemonic = 0x000080;
constexpr COLORREF kFlow = 0x808080;
constexpr COLORREF kOperator = 0x008000;
constexpr COLORREF kDatHash = 0x800000;
constexpr COLORREF kNoShade = 0x123456;

const COLORREF kAllShades[] = {kConOddShade, kConEvenShade, kVarOddShade, kVarEvenShade,
                               kObjOddShade, kObjEvenShade, kPubOddShade, kPubEvenShade,
                               kPriOddShade, kPriEvenShade, kDatOddShade, kDatEvenShade,
                               kNoShade};
const COLORREF kConVarShades[] = {kConOddShade, kConEvenShade, kVarOddShade, kVarEvenShade};
const COLORREF kCodeShades[] = {kPubOddShade, kPubEvenShade, kPriOddShade, kPriEvenShade,
                                kNoShade, 0};

using Segments = std::vector<std::pair<std::size_t, COLORREF>>;

// Colours given as (length, colour) runs from the line's start.
std::vector<COLORREF> Expected(const Segments& segments) {
  std::vector<COLORREF> v;
  for (const auto& s : segments) v.insert(v.end(), s.first, s.second);
  return v;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

template <class Pred>
std::string Pick(const std::set<std::string>& set, Pred pred) {
  for (const auto& w : set) {
    if (pred(w)) return w;
  }
  return {};
}

bool IsSymbolic(const std::string& w) {
  return !w.empty() && std::none_of(w.begin(), w.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ' ' || c == '\t';
  });
}

class BaseColouringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::UseDefaultCharClasses();
    c.LoadKeywords(L"Keywords.ini");
    c.LoadOperators();
    c.LoadFlowKeywords();
    op = c.operators.count(":=") ? std::string(":=") : Pick(c.operators, IsSymbolic);
    ASSERT_FALSE(op.empty()) << "no symbolic operator loaded";
  }
  void TearDown() override { platform::UseDefaultCharClasses(); }

  COLORREF OperatorColour(const std::string& run) { return c.IsOperator(run) ? kOperator : kPlain; }

  bool InAnySet(const std::string& w) {
    return c.IsKeyword(w) || c.IsConVarKeyword(w) || c.IsObjKeyword(w) || c.IsDatMnemonic1(w) ||
           c.IsDatMnemonic2(w) || c.IsDatDirective1(w) || c.IsDatDirective2(w) ||
           c.IsFlowKeyword(w) || c.IsOperator(w);
  }

  std::vector<COLORREF> Colour(const std::string& line, COLORREF shade, int depth = 0) {
    std::vector<COLORREF> v;
    c.ColorLine(line, v, shade, depth);
    EXPECT_EQ(v.size(), line.size());
    return v;
  }

  CColorizer c;
  std::string op;  // a symbolic operator
};

TEST_F(BaseColouringTest, EmptyAndBlankLines) {
  for (COLORREF shade : kAllShades) {
    std::vector<COLORREF> v(7, 0xABCDEF);
    c.ColorLine("", v, shade, 3);
    EXPECT_TRUE(v.empty());

    v.assign(20, 0xABCDEF);
    c.ColorLine(" \t  \t", v, shade, 0);
    EXPECT_EQ(v, std::vector<COLORREF>(5, kPlain));
  }
  // A colorizer that was never loaded colours no word and no operator.
  CColorizer empty;
  std::vector<COLORREF> v;
  empty.ColorLine("PUB x := 1 # 2", v, kPubOddShade, 0);
  EXPECT_EQ(v, std::vector<COLORREF>(14, kPlain));
  empty.ColorLine("DAT #", v, kDatOddShade, 0);
  EXPECT_EQ(v, Expected({{3, kKeyword}, {1, kPlain}, {1, kDatHash}}));
}

TEST_F(BaseColouringTest, DatWordOnlyInExactCase) {
  for (const wchar_t* mode : {L"Vorn1", L"Vorn2"}) {
    c.mode = mode;
    for (COLORREF shade : {kDatOddShade, kDatEvenShade}) {
      EXPECT_EQ(Colour("DAT dat Dat", shade),
                Expected({{3, kKeyword}, {1, kPlain}, {3, kPlain}, {1, kPlain}, {3, kPlain}}));
    }
  }
}

TEST_F(BaseColouringTest, SectionKeywordsBySectionClass) {
  const std::string line = "con Var OBJ pub Pri dAT";
  const std::vector<COLORREF> allKeywords =
      Expected({{3, kKeyword}, {1, 0}, {3, kKeyword}, {1, 0}, {3, kKeyword}, {1, 0},
                {3, kKeyword}, {1, 0}, {3, kKeyword}, {1, 0}, {3, kKeyword}});
  for (COLORREF shade : kConVarShades) EXPECT_EQ(Colour(line, shade), allKeywords) << shade;
  for (COLORREF shade : kCodeShades) EXPECT_EQ(Colour(line, shade), allKeywords) << shade;

  // OBJ lines colour only the few OBJ keywords; the section word OBJ is not one.
  const std::string objWord = Pick(c.objKeywords, [](const std::string&) { return true; });
  ASSERT_FALSE(objWord.empty());
  for (COLORREF shade : {kObjOddShade, kObjEvenShade}) {
    EXPECT_EQ(Colour("OBJ obj " + Lower(objWord) + " PUB", shade),
              Expected({{8, kPlain}, {objWord.size(), kKeyword}, {4, kPlain}}));
  }

  // A general keyword that CON and VAR sections do not colour.
  const std::string codeOnly =
      Pick(c.keywords, [this](const std::string& w) { return !c.conVarKeywords.count(w); });
  ASSERT_FALSE(codeOnly.empty());
  EXPECT_EQ(Colour(codeOnly, kVarEvenShade), std::vector<COLORREF>(codeOnly.size(), kPlain));
  EXPECT_EQ(Colour(codeOnly, kPriOddShade), std::vector<COLORREF>(codeOnly.size(), kKeyword));
}

TEST_F(BaseColouringTest, FirstGenerationDatWords) {
  c.mode = L"Vorn1";
  const std::string both =
      Pick(c.datMnemonics1, [this](const std::string& w) { return c.datDirectives1.count(w); });
  const std::string mnemonic = Pick(c.datMnemonics1, [this](const std::string& w) {
    return !c.datDirectives1.count(w) && !c.keywords.count(w) && !c.flowKeywords.count(w);
  });
  const std::string directive =
      Pick(c.datDirectives1, [this](const std::string& w) { return !c.datMnemonics1.count(w); });
  ASSERT_FALSE(both.empty());
  ASSERT_FALSE(mnemonic.empty());
  ASSERT_FALSE(directive.empty());

  // The directive rule comes after the mnemonic rule.
  const std::string line = Lower(both) + " " + Lower(mnemonic) + " " + directive;
  EXPECT_EQ(Colour(line, kDatOddShade),
            Expected({{both.size(), kKeyword}, {1, 0}, {mnemonic.size(), kMnemonic}, {1, 0},
                      {directive.size(), kKeyword}}));
  // Outside DAT sections a mnemonic is no keyword.
  EXPECT_EQ(Colour(mnemonic, kPubOddShade), std::vector<COLORREF>(mnemonic.size(), kPlain));
}

TEST_F(BaseColouringTest, FlowKeywordsGreyInCodeLinesOnly) {
  const std::string flow = Pick(c.flowKeywords, [](const std::string&) { return true; });
  ASSERT_FALSE(flow.empty());
  const std::string line = "  " + Lower(flow) + " PUB";
  for (COLORREF shade : kCodeShades) {
    EXPECT_EQ(Colour(line, shade), Expected({{2, 0}, {flow.size(), kFlow}, {1, 0}, {3, kKeyword}}));
  }
  EXPECT_EQ(Colour(line, kConOddShade), Expected({{2 + flow.size() + 1, 0}, {3, kKeyword}}));
  EXPECT_NE(Colour(line, kDatOddShade)[2], kFlow);
}

TEST_F(BaseColouringTest, KeywordsMatchWholeWordsOnly) {
  for (const std::string word : {"CON_", "CONx", "CON1", "xCON"}) {
    ASSERT_FALSE(c.IsKeyword(word));
    EXPECT_EQ(Colour(word + " CON", kPubOddShade), Expected({{5, kPlain}, {3, kKeyword}})) << word;
  }
  // An underscore belongs to the word: a keyword that begins with one is
  // coloured whole.
  const std::string underscored =
      Pick(c.keywords, [](const std::string& w) { return w.size() > 1 && w[0] == '_'; });
  ASSERT_FALSE(underscored.empty());
  EXPECT_EQ(Colour(Lower(underscored) + "+", kPubOddShade),
            Expected({{underscored.size(), kKeyword}, {1, OperatorColour("+")}}));
  // Separated by punctuation, each keyword is a word of its own.
  EXPECT_EQ(Colour("CON,PUB(DAT)", kConOddShade),
            Expected({{3, kKeyword}, {1, OperatorColour(",")}, {3, kKeyword},
                      {1, OperatorColour("(")}, {3, kKeyword}, {1, OperatorColour(")")}}));
}

TEST_F(BaseColouringTest, HighBytesInDefaultAndOemTables) {
  // 0x81 is a letter of the OEM page, 0xFF its no-break space, 0xB0 a
  // shading block; the default table classes none of them.
  platform::UseDefaultCharClasses();
  EXPECT_EQ(Colour("CON\x81", kConOddShade), Expected({{3, kKeyword}, {1, 0}}));
  EXPECT_EQ(Colour(op + "\x81", kPubOddShade), std::vector<COLORREF>(op.size() + 1, kPlain));
  EXPECT_EQ(Colour(op + "\xFF" "CON", kPubOddShade), Expected({{op.size() + 1, 0}, {3, kKeyword}}));
  EXPECT_EQ(Colour("\xB0" + op, kPubOddShade), std::vector<COLORREF>(op.size() + 1, kPlain));

  platform::UseOemCharClasses();
  EXPECT_EQ(Colour("CON\x81", kConOddShade), std::vector<COLORREF>(4, kPlain));
  EXPECT_EQ(Colour("\x81" "CON", kConOddShade), std::vector<COLORREF>(4, kPlain));
  EXPECT_EQ(Colour(op + "\x81", kPubOddShade), Expected({{op.size(), kOperator}, {1, 0}}));
  EXPECT_EQ(Colour(op + "\xFF" "CON", kPubOddShade),
            Expected({{op.size(), kOperator}, {1, 0}, {3, kKeyword}}));
  EXPECT_EQ(Colour("\xB0" + op, kPubOddShade), std::vector<COLORREF>(op.size() + 1, kPlain));
  EXPECT_EQ(Colour("CON\xFF" "CON", kConOddShade), Expected({{3, kKeyword}, {1, 0}, {3, kKeyword}}));
}

TEST_F(BaseColouringTest, HashInDatAndOtherLines) {
  ASSERT_FALSE(c.IsOperator("#") || c.IsOperator("##") || InAnySet("x") || InAnySet("y"));
  EXPECT_EQ(Colour("# x#y ##", kDatOddShade),
            Expected({{1, kDatHash}, {2, 0}, {1, kDatHash}, {2, 0}, {2, kDatHash}}));
  EXPECT_EQ(Colour("# x#y ##", kDatEvenShade)[0], kDatHash);
  for (COLORREF shade : {kConOddShade, kObjOddShade, kPubOddShade, kNoShade}) {
    EXPECT_EQ(Colour("# x#y ##", shade), std::vector<COLORREF>(8, kPlain));
  }
  // "#" joined to an operator forms one run, which is not an operator.
  if (!c.IsOperator("#" + op)) {
    EXPECT_EQ(Colour("#" + op, kDatOddShade), Expected({{1, kDatHash}, {op.size(), 0}}));
  }
  // An operator that holds "#" takes the operator colour, "#" included.
  const std::string hashOp =
      Pick(c.operators, [](const std::string& w) { return w.find('#') != std::string::npos; });
  if (!hashOp.empty()) {
    EXPECT_EQ(Colour("x " + hashOp, kDatOddShade), Expected({{2, 0}, {hashOp.size(), kOperator}}));
    EXPECT_EQ(Colour("x " + hashOp, kPubOddShade), Expected({{2, 0}, {hashOp.size(), kOperator}}));
  }
}

TEST_F(BaseColouringTest, OperatorRunsLookedUpWhole) {
  ASSERT_FALSE(InAnySet("x") || InAnySet("y") || InAnySet("_y"));
  for (COLORREF shade : kAllShades) {
    EXPECT_EQ(Colour("x " + op + " y", shade), Expected({{2, 0}, {op.size(), kOperator}, {2, 0}}));
  }
  // Trailing carriage return: trimmed off the lookup, coloured with the run.
  EXPECT_EQ(Colour("x " + op + "\r", kPubOddShade), Expected({{2, 0}, {op.size() + 1, kOperator}}));
  EXPECT_EQ(Colour("x\v" + op + "\f", kPubOddShade), Expected({{1, 0}, {op.size() + 2, kOperator}}));
  // A run of white space alone is no operator.
  EXPECT_EQ(Colour("x\r\r", kPubOddShade), std::vector<COLORREF>(3, kPlain));

  // Two operators written together are one run.
  std::string pair;
  for (const auto& a : c.operators) {
    if (IsSymbolic(a) && !c.IsOperator(a + op)) {
      pair = a + op;
      break;
    }
  }
  ASSERT_FALSE(pair.empty());
  EXPECT_EQ(Colour("x" + pair + "y", kPubOddShade), std::vector<COLORREF>(pair.size() + 2, kPlain));
  // An operator touching "_" is a run with it.
  if (!c.IsOperator(op + "_")) {
    EXPECT_EQ(Colour("x " + op + "_y", kPubOddShade),
              std::vector<COLORREF>(op.size() + 4, kPlain));
  }
  // Word operators are words, never runs.
  const std::string wordOp = Pick(c.operators, [](const std::string& w) {
    return !w.empty() && std::isalpha(static_cast<unsigned char>(w[0]));
  });
  ASSERT_FALSE(wordOp.empty());
  const std::vector<COLORREF> wordOpColours = Colour(wordOp, kConOddShade);
  EXPECT_EQ(std::count(wordOpColours.begin(), wordOpColours.end(), kOperator), 0);
}

TEST_F(BaseColouringTest, TabSeparatesLikeSpace) {
  const std::string flow = Pick(c.flowKeywords, [](const std::string&) { return true; });
  const std::string spaced = "PUB " + flow + " x " + op + " 5 #";
  std::string tabbed = spaced;
  std::replace(tabbed.begin(), tabbed.end(), ' ', '\t');
  for (COLORREF shade : kAllShades) EXPECT_EQ(Colour(tabbed, shade), Colour(spaced, shade));
  EXPECT_EQ(Colour("\tPUB\t", kPubOddShade), Expected({{1, 0}, {3, kKeyword}, {1, 0}}));
}

TEST_F(BaseColouringTest, ModeSelectsDatSetsCaseSensitively) {
  const std::string second = Pick(c.datMnemonics2, [this](const std::string& w) {
    return !c.datMnemonics1.count(w) && !c.datDirectives1.count(w);
  });
  const std::string first = Pick(c.datMnemonics1, [this](const std::string& w) {
    return !c.datMnemonics2.count(w) && !c.datDirectives2.count(w) && !c.datDirectives1.count(w);
  });
  const std::string directive2 = Pick(c.datDirectives2, [this](const std::string& w) {
    return !c.datMnemonics1.count(w) && !c.datDirectives1.count(w);
  });
  ASSERT_FALSE(second.empty());
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(directive2.empty());
  const std::string line = Lower(second) + " " + Lower(first) + " " + Lower(directive2);
  const std::string codeLine = "PUB " + line + " " + op;

  c.mode = L"Vorn2";
  EXPECT_EQ(Colour(line, kDatEvenShade),
            Expected({{second.size(), kMnemonic}, {1, 0}, {first.size(), 0}, {1, 0},
                      {directive2.size(), kKeyword}}));
  std::vector<std::vector<COLORREF>> otherLines;
  for (COLORREF shade : kAllShades) otherLines.push_back(Colour(codeLine, shade));

  for (const wchar_t* mode : {L"vorn2", L"VORN2", L"Vorn1", L"Vorn2 ", L"", L"other"}) {
    c.mode = mode;
    EXPECT_EQ(Colour(line, kDatEvenShade),
              Expected({{second.size(), 0}, {1, 0}, {first.size(), kMnemonic}, {1, 0},
                        {directive2.size(), 0}}));
    std::vector<std::vector<COLORREF>> lines;
    for (COLORREF shade : kAllShades) lines.push_back(Colour(codeLine, shade));
    for (std::size_t k = 0; k < std::size(kAllShades); ++k) {
      if (kAllShades[k] == kDatOddShade || kAllShades[k] == kDatEvenShade) continue;
      EXPECT_EQ(lines[k], otherLines[k]) << std::hex << kAllShades[k];
    }
  }
}

TEST_F(BaseColouringTest, DepthAndStaleColoursChangeNothing) {
  const std::string line = "PUB x " + op + " CON # 12 \"s\" ' c {";
  for (COLORREF shade : kAllShades) {
    const std::vector<COLORREF> fresh = Colour(line, shade, 0);
    for (int depth : {-3, 1, 2, 1000}) EXPECT_EQ(Colour(line, shade, depth), fresh);
    std::vector<COLORREF> stale(3, 0xFFFFFF);
    c.ColorLine(line, stale, shade, 0);
    EXPECT_EQ(stale, fresh);
    stale.assign(200, 0xFFFFFF);
    c.ColorLine(line, stale, shade, 0);
    EXPECT_EQ(stale, fresh);
  }
}

// The colouring written as the three separate passes over the predicates.
std::vector<COLORREF> ReferenceColours(CColorizer& c, const std::string& line, COLORREF shade) {
  std::vector<COLORREF> v(line.size());
  const bool dat = shade == kDatOddShade || shade == kDatEvenShade;
  const bool conVar = shade == kConOddShade || shade == kConEvenShade ||
                      shade == kVarOddShade || shade == kVarEvenShade;
  const bool obj = shade == kObjOddShade || shade == kObjEvenShade;
  const bool second = c.mode == L"Vorn2";
  const auto at = [&line](std::size_t i) { return static_cast<unsigned char>(line[i]); };
  const auto wordByte = [](unsigned char b) { return b == '_' || platform::IsAlnum(b); };
  const auto runByte = [](unsigned char b) { return !platform::IsBlank(b) && !platform::IsAlnum(b); };
  for (std::size_t i = 0; i < line.size(); ++i) v[i] = (dat && line[i] == '#') ? kDatHash : 0;
  for (std::size_t i = 0; i < line.size();) {
    if (!wordByte(at(i))) { ++i; continue; }
    std::size_t e = i;
    while (e < line.size() && wordByte(at(e))) ++e;
    const std::string w = line.substr(i, e - i);
    auto paint = [&](COLORREF col) { std::fill(v.begin() + i, v.begin() + e, col); };
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
    i = e;
  }
  for (std::size_t i = 0; i < line.size();) {
    if (!runByte(at(i))) { ++i; continue; }
    std::size_t e = i;
    while (e < line.size() && runByte(at(e))) ++e;
    std::string run = line.substr(i, e - i);
    while (!run.empty() && platform::IsSpace(static_cast<unsigned char>(run.back()))) run.pop_back();
    while (!run.empty() && platform::IsSpace(static_cast<unsigned char>(run.front()))) run.erase(0, 1);
    if (c.IsOperator(run)) std::fill(v.begin() + i, v.begin() + e, kOperator);
    i = e;
  }
  return v;
}

// Random lines built from the loaded words and operators in mixed case, glued
// by every kind of separator and byte class.
TEST_F(BaseColouringTest, AgreesWithSeparatePassesOverPredicates) {
  std::vector<std::string> fragments = {"DAT", "dat", "x", "y1", "_", "__", "#", "12", "\"", "'",
                                     "{", "}", "(", ")", ",", "@", "\x81", "\xFF", "\xB0", "\xE0",
                                     "\r", "\v", "\x7F", "\x01"};
  for (const auto* set : {&c.keywords, &c.conVarKeywords, &c.objKeywords, &c.datMnemonics1,
                          &c.datMnemonics2, &c.datDirectives1, &c.datDirectives2, &c.operators,
                          &c.flowKeywords}) {
    int k = 0;
    for (const auto& w : *set) {
      if (k++ % 3 == 0) fragments.push_back(w);
    }
  }
  const std::string separators[] = {"", "", " ", "\t", "  ", "_", "#"};
  std::mt19937 random(20240611);
  auto pick = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  for (int table = 0; table < 2; ++table) {
    if (table == 1) platform::UseOemCharClasses();
    for (int round = 0; round < 3000; ++round) {
      std::string line;
      // Mostly short lines, some longer than several 64-byte blocks.
      const std::size_t count = pick(round % 5 == 0 ? 60 : 10);
      for (std::size_t k = 0; k < count; ++k) {
        std::string fragment = fragments[pick(fragments.size())];
        if (pick(3) == 0) fragment = Lower(fragment);
        line += fragment + separators[pick(std::size(separators))];
      }
      c.mode = pick(2) ? L"Vorn2" : L"Vorn1";
      const COLORREF shade = kAllShades[pick(std::size(kAllShades))];
      ASSERT_EQ(Colour(line, shade, static_cast<int>(pick(3))), ReferenceColours(c, line, shade))
          << "line \"" << line << "\" shade " << std::hex << shade;
    }
  }
}

}  // namespace
