// The colorizer's word sets: loading, counts, sharing, letter case and lookups.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <sstream>

#include "textmodel/Colorizer.h"
#include "textmodel/KeywordTexts.h"

namespace {

namespace kt = keywordtexts;
using WordSet = std::set<std::string>;

std::string Cased(std::string s, int (*f)(int)) {
  for (char& ch : s) ch = static_cast<char>(f(static_cast<unsigned char>(ch)));
  return s;
}

WordSet UpperSet(const char* text) {
  WordSet set;
  std::istringstream in(text);
  for (std::string w; in >> w;) set.insert(Cased(w, std::toupper));
  return set;
}

WordSet Common(const WordSet& a, const WordSet& b) {
  WordSet out;
  std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::inserter(out, out.end()));
  return out;
}

bool Subset(const WordSet& a, const WordSet& b) { return Common(a, b) == a; }

void LoadAll(CColorizer& c) { c.LoadKeywords(L"Keywords.ini"); c.LoadOperators(); c.LoadFlowKeywords(); }

// The nine sets with their predicates, in the order of the counts below.
using C = CColorizer;
const std::pair<WordSet C::*, bool (C::*)(const std::string&)> kSets[] = {
    {&C::keywords, &C::IsKeyword},             {&C::conVarKeywords, &C::IsConVarKeyword},
    {&C::objKeywords, &C::IsObjKeyword},       {&C::datMnemonics1, &C::IsDatMnemonic1},
    {&C::datDirectives1, &C::IsDatDirective1}, {&C::datMnemonics2, &C::IsDatMnemonic2},
    {&C::datDirectives2, &C::IsDatDirective2}, {&C::operators, &C::IsOperator},
    {&C::flowKeywords, &C::IsFlowKeyword}};

bool InAnySet(C& c, const std::string& w) {
  return std::any_of(std::begin(kSets), std::end(kSets), [&](const auto& s) { return (c.*s.second)(w); });
}

TEST(KeywordSetsTest, LoadsFillTheirOwnSetsWithExactlyTheirDistinctWords) {
  CColorizer never, usual, missing, twice, ops, flow;
  EXPECT_TRUE(never.caseInsensitive == 1 && never.mode == L"Vorn1");
  never.LoadKeywords(L"");
  for (const char* w : {"CON", "dat", ":=", "and", ""}) EXPECT_FALSE(InAnySet(never, w)) << w;
  for (CColorizer* c : {&usual, &twice, &twice}) LoadAll(*c);
  twice.LoadKeywords(L"");
  missing.LoadKeywords(L"/no/such/folder/none.ini");  // no file is read
  ops.LoadOperators();
  flow.LoadFlowKeywords();
  const std::size_t counts[] = {86, 30, 3, 122, 23, 398, 59, 69, 14};
  for (std::size_t i = 0; i < 9; ++i) {
    const auto set = kSets[i].first;
    EXPECT_EQ((usual.*set).size(), counts[i]) << i;
    EXPECT_TRUE(twice.*set == usual.*set && missing.*set == (i < 7 ? usual.*set : WordSet())) << i;
    EXPECT_TRUE((ops.*set).empty() == (i != 7) && (flow.*set).empty() == (i != 8) && (never.*set).empty()) << i;
  }
}

TEST(KeywordSetsTest, SetsShareWordsAsTheLanguageDoesInTheirLetterCase) {
  CColorizer c;
  LoadAll(c);
  EXPECT_TRUE(Subset(c.conVarKeywords, c.keywords) && Subset(c.objKeywords, c.conVarKeywords));
  EXPECT_EQ(c.objKeywords, UpperSet(kt::kFloatConversionWords));
  EXPECT_TRUE(Subset(UpperSet(kt::kConstantWords), c.datMnemonics1));
  const WordSet sections = UpperSet("con var obj pub pri dat");
  EXPECT_TRUE(Subset(sections, c.keywords) && Subset(sections, c.conVarKeywords) && !c.objKeywords.count("OBJ"));
  for (const WordSet* dat : {&c.datMnemonics1, &c.datDirectives1, &c.datMnemonics2, &c.datDirectives2})
    EXPECT_EQ(dat->count("DAT"), 0u);
  // Only the reserve and fit-check directives are first-generation mnemonics too.
  EXPECT_EQ(Common(c.datDirectives1, c.datMnemonics1), UpperSet(kt::kAsm1MnemonicTexts[0]));
  EXPECT_TRUE(Common(c.datDirectives2, c.datMnemonics2).empty() && Common(c.flowKeywords, c.keywords).empty());
  // Every word upper-cased but the operators; five word operators in both
  // cases; 59 symbolic ones of up to three signs, 24 of them another one + "=".
  for (const auto& s : kSets) {
    for (const std::string& w : c.*s.first) {
      EXPECT_TRUE(!w.empty() && std::all_of(w.begin(), w.end(), [](char b) { return b > 0x20 && b < 0x7F; }));
      EXPECT_TRUE(s.first == &C::operators || w == Cased(w, std::toupper)) << w;
    }
  }
  int suffixes = 0, bothCases = 0, symbolic = 0, assigning = 0;
  for (const std::string& w : c.datDirectives2) suffixes += w[0] == '_';
  const auto sign = [](unsigned char b) { return !std::isalnum(b) && b != '_'; };
  for (const std::string& op : c.operators) {
    const bool word = std::isalpha(static_cast<unsigned char>(op[0]));
    bothCases += word && c.operators.count(Cased(op, std::tolower)) && c.operators.count(Cased(op, std::toupper));
    symbolic += !word;
    EXPECT_TRUE(word || (op.size() <= 3 && std::all_of(op.begin(), op.end(), sign))) << op;
    assigning += !word && op.size() > 1 && op.back() == '=' && c.operators.count(op.substr(0, op.size() - 1));
  }
  EXPECT_EQ(std::vector<int>({suffixes, bothCases, symbolic, assigning}), std::vector<int>({32, 10, 59, 24}));
}

TEST(KeywordSetsTest, QueriesMatchWholeWordsInAnyCaseWhileCaseInsensitive) {
  CColorizer c;
  LoadAll(c);
  std::string query = "con";
  EXPECT_TRUE(c.IsKeyword(query) && c.IsConVarKeyword("Con") && c.IsKeyword("dat") && !c.IsObjKeyword("obj"));
  EXPECT_TRUE(query == "con" && c.IsOperator("and") && c.IsOperator("Not") && c.IsOperator(":="));
  for (const char* w : {"", " ", " CON", "CON ", "CON VAR", "CON\t", "\r", "+ ", " :=", "CON\x84"})
    EXPECT_FALSE(InAnySet(c, w)) << '"' << w << '"';
  for (const auto& s : kSets) {
    for (const std::string& w : c.*s.first) EXPECT_TRUE((c.*s.second)(Cased(w, std::tolower))) << w;
  }
  c.caseInsensitive = 0;
  EXPECT_FALSE(c.IsKeyword("dat") || c.IsConVarKeyword("Con") || c.IsOperator("And"));
  EXPECT_TRUE(c.IsKeyword("DAT") && c.IsOperator("and") && c.IsOperator("AND"));
  c.caseInsensitive = -7;  // any non-zero value folds
  EXPECT_TRUE(c.IsKeyword("dat"));
}

}  // namespace
