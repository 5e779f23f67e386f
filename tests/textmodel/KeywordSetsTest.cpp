// The colorizer's word sets: loading, their contents and sharing, the
// predicates and the all-sets lookup.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/CharClass.h"
#include "textmodel/Colorizer.h"
#include "textmodel/KeywordTexts.h"

namespace {

using WordSet = std::set<std::string>;
namespace kt = keywordtexts;

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::size_t pos = 0;
  while ((pos = text.find_first_not_of(' ', pos)) != std::string::npos) {
    const std::size_t end = std::min(text.find(' ', pos), text.size());
    words.push_back(text.substr(pos, end - pos));
    pos = end;
  }
  return words;
}

template <std::size_t N>
std::vector<std::string> Words(const char* const (&texts)[N]) {
  std::string joined;
  for (const char* text : texts) joined += text;
  return Words(joined);
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

WordSet UpperSet(const std::vector<std::string>& words) {
  WordSet set;
  for (const auto& w : words) set.insert(Upper(w));
  return set;
}

bool Subset(const WordSet& a, const WordSet& b) {
  return std::includes(b.begin(), b.end(), a.begin(), a.end());
}

WordSet Common(const WordSet& a, const WordSet& b) {
  WordSet out;
  std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::inserter(out, out.end()));
  return out;
}

std::vector<const WordSet*> AllSets(const CColorizer& c) {
  return {&c.keywords,       &c.conVarKeywords, &c.objKeywords,
          &c.datMnemonics1,  &c.datMnemonics2,  &c.datDirectives1,
          &c.datDirectives2, &c.operators,      &c.flowKeywords};
}

void LoadAll(CColorizer& c) {
  c.LoadKeywords(L"Keywords.ini");
  c.LoadOperators();
  c.LoadFlowKeywords();
}

// The SetsHolding mask the nine predicates give for `word`.
std::uint16_t MaskFromPredicates(CColorizer& c, const std::string& w) {
  std::uint16_t mask = 0;
  if (c.IsKeyword(w)) mask |= CColorizer::kInKeywords;
  if (c.IsConVarKeyword(w)) mask |= CColorizer::kInConVarKeywords;
  if (c.IsObjKeyword(w)) mask |= CColorizer::kInObjKeywords;
  if (c.IsDatMnemonic1(w)) mask |= CColorizer::kInDatMnemonics1;
  if (c.IsDatDirective1(w)) mask |= CColorizer::kInDatDirectives1;
  if (c.IsDatMnemonic2(w)) mask |= CColorizer::kInDatMnemonics2;
  if (c.IsDatDirective2(w)) mask |= CColorizer::kInDatDirectives2;
  if (c.IsOperator(w)) mask |= CColorizer::kInOperators;
  if (c.IsFlowKeyword(w)) mask |= CColorizer::kInFlowKeywords;
  return mask;
}

// Every element of every set in its stored form, lower case and mixed case,
// plus near misses and words no set holds.
std::vector<std::string> Probes(const CColorizer& c) {
  std::vector<std::string> probes = {"",       " ",        "_",     "#",       "CONX",   "XCON",
                                     "CON ",   " CON",     "C",     "if_",     "==",     "===",
                                     "+ ",     "and ",     "AnD",   "\x84",    "CON\x84", "DAT\xE9",
                                     "\tCON",  "CON\r",    "Dat",   "dAT",     "obj",    std::string(40, 'A')};
  for (const WordSet* set : AllSets(c)) {
    for (const std::string& w : *set) {
      std::string mixed = w;
      for (std::size_t i = 0; i < mixed.size(); i += 2)
        mixed[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(mixed[i])));
      probes.insert(probes.end(), {w, Lower(w), mixed, w + "X", w.substr(1), w.substr(0, w.size() - 1)});
    }
  }
  return probes;
}

class KeywordSetsTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::UseDefaultCharClasses(); }
  void TearDown() override { platform::UseDefaultCharClasses(); }
};

TEST_F(KeywordSetsTest, NeverLoadedColorizerHoldsNothing) {
  CColorizer c;
  EXPECT_EQ(c.caseInsensitive, 1);
  EXPECT_EQ(c.mode, L"Vorn1");
  for (const WordSet* set : AllSets(c)) EXPECT_TRUE(set->empty());
  for (const std::string w : {"CON", "dat", "DAT", "+", ":=", "and", "AND", "RESERVE", ""}) {
    EXPECT_EQ(MaskFromPredicates(c, w), 0) << w;
    EXPECT_EQ(c.SetsHolding(w.data(), w.size()), 0) << w;
  }
}

TEST_F(KeywordSetsTest, LoadKeywordsNeedsOnlyANonEmptyName) {
  CColorizer empty;
  empty.LoadKeywords(L"");
  for (const WordSet* set : AllSets(empty)) EXPECT_TRUE(set->empty());

  CColorizer usual, missing;
  usual.LoadKeywords(L"Keywords.ini");
  missing.LoadKeywords(L"/no/such/folder/none.ini");
  for (std::size_t i = 0; i < AllSets(usual).size(); ++i)
    EXPECT_EQ(*AllSets(usual)[i], *AllSets(missing)[i]) << i;
  EXPECT_FALSE(usual.keywords.empty());
  EXPECT_FALSE(usual.datDirectives2.empty());
  // The operators and flow keywords have loads of their own.
  EXPECT_TRUE(usual.operators.empty());
  EXPECT_TRUE(usual.flowKeywords.empty());

  // An empty name after a load leaves the sets as they were.
  const WordSet before = usual.keywords;
  usual.LoadKeywords(L"");
  EXPECT_EQ(usual.keywords, before);
  EXPECT_EQ(usual.datMnemonics2, missing.datMnemonics2);
}

TEST_F(KeywordSetsTest, EachLoadFillsOnlyItsOwnSetsAndRepeatingChangesNothing) {
  CColorizer ops;
  ops.LoadOperators();
  CColorizer flow;
  flow.LoadFlowKeywords();
  for (const CColorizer* c : {&ops, &flow}) {
    for (const WordSet* set : AllSets(*c)) {
      const bool own = (c == &ops && set == &c->operators) || (c == &flow && set == &c->flowKeywords);
      EXPECT_EQ(set->empty(), !own);
    }
  }

  CColorizer once, twice;
  LoadAll(once);
  LoadAll(twice);
  LoadAll(twice);
  for (std::size_t i = 0; i < AllSets(once).size(); ++i)
    EXPECT_EQ(*AllSets(once)[i], *AllSets(twice)[i]) << i;
  EXPECT_EQ(twice.keywords.size(), 86u);
  EXPECT_EQ(twice.operators.size(), 69u);
}

TEST_F(KeywordSetsTest, EachSetHoldsItsNumberOfDistinctWords) {
  CColorizer c;
  LoadAll(c);
  EXPECT_EQ(c.keywords.size(), 86u);
  EXPECT_EQ(c.conVarKeywords.size(), 30u);
  EXPECT_EQ(c.objKeywords.size(), 3u);
  EXPECT_EQ(c.datMnemonics1.size(), 122u);
  EXPECT_EQ(c.datDirectives1.size(), 23u);
  EXPECT_EQ(c.datMnemonics2.size(), 398u);
  EXPECT_EQ(c.datDirectives2.size(), 59u);
  EXPECT_EQ(c.operators.size(), 69u);
  EXPECT_EQ(c.flowKeywords.size(), 14u);
}

TEST_F(KeywordSetsTest, TextsHaveTheirWordCountsAndBlanks) {
  EXPECT_EQ(Words(kt::kSectionAndClockWords).size(), 22u);
  EXPECT_EQ(Words(kt::kControlAndMemoryWords).size(), 13u);
  EXPECT_EQ(Words(kt::kLookupStringFloatAndLockWords).size(), 16u);
  EXPECT_EQ(Words(kt::kChipSetupAndRegisterWords).size(), 26u);
  EXPECT_EQ(Words(kt::kWaitAndCoreWords).size(), 9u);
  EXPECT_EQ(Words(kt::kFloatConversionWords).size(), 3u);
  EXPECT_EQ(Words(kt::kSystemConstantWords).size(), 5u);
  EXPECT_EQ(Words(kt::kConstantWords).size(), 5u);
  EXPECT_EQ(Words(kt::kObjectWords).size(), 3u);
  EXPECT_EQ(Words(kt::kAsm1MnemonicTexts).size(), 118u);
  EXPECT_EQ(Words(kt::kAsm1DirectiveTexts).size(), 23u);
  EXPECT_EQ(Words(kt::kAsm2MnemonicTexts).size(), 419u);
  EXPECT_EQ(Words(kt::kAsm2DirectiveTexts).size(), 59u);
  EXPECT_EQ(Words(kt::kOperatorTexts).size(), 71u);
  EXPECT_EQ(Words(kt::kFlowWords).size(), 14u);

  // Texts that open a set begin with a word, texts joined behind another
  // with a blank; words are single-blank separated but in two operator texts.
  struct Text {
    const char* text;
    bool joinedBehind;
    bool wideSpacing;
  };
  std::vector<Text> texts = {{kt::kSectionAndClockWords, false, false},
                             {kt::kControlAndMemoryWords, true, false},
                             {kt::kLookupStringFloatAndLockWords, true, false},
                             {kt::kChipSetupAndRegisterWords, true, false},
                             {kt::kWaitAndCoreWords, true, false},
                             {kt::kFloatConversionWords, true, false},
                             {kt::kSystemConstantWords, true, false},
                             {kt::kConstantWords, true, false},
                             {kt::kObjectWords, false, false},
                             {kt::kFlowWords, false, false}};
  auto addArray = [&texts](const char* const* array, std::size_t n, std::size_t wide) {
    for (std::size_t i = 0; i < n; ++i) texts.push_back({array[i], i > 0, i < wide});
  };
  addArray(kt::kAsm1MnemonicTexts, 18, 0);
  addArray(kt::kAsm1DirectiveTexts, 3, 0);
  addArray(kt::kAsm2MnemonicTexts, 9, 0);
  addArray(kt::kAsm2DirectiveTexts, 3, 0);
  addArray(kt::kOperatorTexts, 3, 2);
  for (const Text& t : texts) {
    const std::string s = t.text;
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(s.front() == ' ', t.joinedBehind) << s;
    EXPECT_NE(s.back(), ' ') << s;
    EXPECT_EQ(s.find("  ") != std::string::npos, t.wideSpacing) << s;
    for (unsigned char b : s) EXPECT_TRUE(b >= 0x20 && b < 0x7F) << s;
  }

  // Second generation: 374 mnemonic words naming 353 mnemonics, then a text
  // of 45 condition prefixes that no mnemonic text names.
  std::vector<std::string> mnemonicWords;
  for (std::size_t i = 0; i + 1 < 9; ++i) {
    const auto w = Words(kt::kAsm2MnemonicTexts[i]);
    mnemonicWords.insert(mnemonicWords.end(), w.begin(), w.end());
  }
  const WordSet mnemonics(mnemonicWords.begin(), mnemonicWords.end());
  const auto prefixWords = Words(kt::kAsm2MnemonicTexts[8]);
  const WordSet prefixes(prefixWords.begin(), prefixWords.end());
  EXPECT_EQ(mnemonicWords.size(), 374u);
  EXPECT_EQ(mnemonics.size(), 353u);
  EXPECT_EQ(prefixWords.size(), 45u);
  EXPECT_EQ(prefixes.size(), 45u);
  EXPECT_TRUE(Common(mnemonics, prefixes).empty());
  for (const auto& w : mnemonicWords) EXPECT_EQ(w, Upper(w));
}

TEST_F(KeywordSetsTest, SetsShareWordsAsTheLanguageDoes) {
  CColorizer c;
  LoadAll(c);
  EXPECT_TRUE(Subset(c.conVarKeywords, c.keywords));
  EXPECT_TRUE(Subset(c.objKeywords, c.keywords));
  EXPECT_TRUE(Subset(c.objKeywords, c.conVarKeywords));

  // The three float conversions of the general keywords, twice over.
  const WordSet floats = UpperSet(Words(kt::kFloatConversionWords));
  EXPECT_EQ(floats, UpperSet(Words(kt::kObjectWords)));
  EXPECT_EQ(c.objKeywords, floats);
  EXPECT_TRUE(Subset(floats, UpperSet(Words(kt::kLookupStringFloatAndLockWords))));

  // The five constants come from the first general text and reach the
  // first-generation mnemonics too.
  const WordSet constants = UpperSet(Words(kt::kConstantWords));
  EXPECT_EQ(constants.size(), 5u);
  EXPECT_TRUE(Subset(constants, UpperSet(Words(kt::kSectionAndClockWords))));
  EXPECT_TRUE(Subset(constants, c.datMnemonics1));

  // The system constants are exactly the underscore-prefixed chip set-up names.
  WordSet underscored;
  for (const auto& w : Words(kt::kChipSetupAndRegisterWords))
    if (w[0] == '_') underscored.insert(Upper(w));
  EXPECT_EQ(underscored, UpperSet(Words(kt::kSystemConstantWords)));
  EXPECT_EQ(underscored.size(), 5u);
  EXPECT_TRUE(Subset(underscored, c.conVarKeywords));

  for (const char* section : {"CON", "VAR", "OBJ", "PUB", "PRI", "DAT"}) {
    EXPECT_EQ(c.keywords.count(section), 1u) << section;
    EXPECT_EQ(c.conVarKeywords.count(section), 1u) << section;
  }
  EXPECT_EQ(c.objKeywords.count("OBJ"), 0u);
  for (const WordSet* dat : {&c.datMnemonics1, &c.datDirectives1, &c.datMnemonics2, &c.datDirectives2})
    EXPECT_EQ(dat->count("DAT"), 0u);

  // Only the reserve and fit-check directives are first-generation
  // mnemonics as well; the second generation keeps the two apart.
  const WordSet sharedDirectives = Common(c.datDirectives1, c.datMnemonics1);
  EXPECT_EQ(sharedDirectives.size(), 2u);
  EXPECT_TRUE(Subset(sharedDirectives, UpperSet(Words(kt::kAsm1MnemonicTexts[0]))));
  EXPECT_TRUE(Common(c.datDirectives2, c.datMnemonics2).empty());
  EXPECT_TRUE(Common(c.flowKeywords, c.keywords).empty());
}

TEST_F(KeywordSetsTest, WordsAreStoredUpperCasedButOperators) {
  CColorizer c;
  LoadAll(c);
  for (const WordSet* set : AllSets(c)) {
    for (const std::string& w : *set) {
      ASSERT_FALSE(w.empty());
      for (unsigned char b : w) EXPECT_TRUE(b > 0x20 && b < 0x7F) << w;
      if (set != &c.operators) {
        EXPECT_EQ(w, Upper(w));
      }
    }
  }

  // Sixteen mixed-case register names, held upper-cased only.
  int mixedCase = 0;
  for (const auto& w : Words(kt::kAsm2DirectiveTexts)) {
    if (w == Upper(w) || w == Lower(w)) continue;
    ++mixedCase;
    EXPECT_EQ(c.datDirectives2.count(w), 0u) << w;
    EXPECT_EQ(c.datDirectives2.count(Upper(w)), 1u) << w;
  }
  EXPECT_EQ(mixedCase, 16);

  // Condition suffixes: upper case, underscore first.
  int suffixes = 0;
  for (const auto& w : c.datDirectives2) suffixes += w[0] == '_';
  EXPECT_EQ(suffixes, 32);

  // Five word operators in both cases; 59 symbolic operators of one to
  // three signs, 24 of them another operator followed by "=".
  int lowerWords = 0, upperWords = 0, symbolic = 0, assigning = 0;
  for (const std::string& op : c.operators) {
    if (std::isalpha(static_cast<unsigned char>(op[0]))) {
      for (unsigned char b : op) ASSERT_TRUE(std::isalpha(b)) << op;
      if (op == Lower(op)) {
        ++lowerWords;
        EXPECT_EQ(c.operators.count(Upper(op)), 1u) << op;
      } else {
        EXPECT_EQ(op, Upper(op));
        ++upperWords;
      }
      continue;
    }
    ++symbolic;
    EXPECT_GE(op.size(), 1u);
    EXPECT_LE(op.size(), 3u);
    for (unsigned char b : op) EXPECT_FALSE(std::isalnum(b) || b == '_') << op;
    if (op.size() > 1 && op.back() == '=' && c.operators.count(op.substr(0, op.size() - 1))) ++assigning;
  }
  EXPECT_EQ(lowerWords, 5);
  EXPECT_EQ(upperWords, 5);
  EXPECT_EQ(symbolic, 59);
  EXPECT_EQ(assigning, 24);
}

TEST_F(KeywordSetsTest, QueriesMatchWholeWordsInAnyLetterCase) {
  CColorizer c;
  LoadAll(c);
  EXPECT_TRUE(c.IsKeyword("dat"));
  EXPECT_TRUE(c.IsKeyword("Pub"));
  EXPECT_TRUE(c.IsConVarKeyword("Con"));
  EXPECT_TRUE(c.IsConVarKeyword("vAR"));
  EXPECT_FALSE(c.IsObjKeyword("obj"));
  EXPECT_TRUE(c.IsOperator(":="));
  EXPECT_TRUE(c.IsOperator("and"));  // found through its upper-case form
  EXPECT_TRUE(c.IsOperator("Not"));
  for (const std::string& w : c.datDirectives2) EXPECT_TRUE(c.IsDatDirective2(Lower(w))) << w;
  for (const std::string& w : c.datMnemonics2) EXPECT_TRUE(c.IsDatMnemonic2(Lower(w))) << w;
  for (const std::string& w : c.flowKeywords) EXPECT_TRUE(c.IsFlowKeyword(Lower(w))) << w;

  // Nothing is trimmed or split.
  std::string query = "con";
  EXPECT_TRUE(c.IsKeyword(query));
  EXPECT_EQ(query, "con");
  for (const std::string w : {"", " ", " CON", "CON ", "CON VAR", "CON\t", "\r", "+ ", " :="}) {
    EXPECT_EQ(MaskFromPredicates(c, w), 0) << '"' << w << '"';
    EXPECT_EQ(c.SetsHolding(w.data(), w.size()), 0) << '"' << w << '"';
  }
}

TEST_F(KeywordSetsTest, SetsHoldingAgreesWithEveryPredicate) {
  CColorizer c;
  LoadAll(c);
  const auto probes = Probes(c);
  for (const std::string& w : probes)
    ASSERT_EQ(c.SetsHolding(w.data(), w.size()), MaskFromPredicates(c, w)) << '"' << w << '"';

  // Under the OEM table bytes above 0x7F upper-case differently; still no
  // set holds one.
  platform::UseOemCharClasses();
  for (const std::string& w : probes)
    ASSERT_EQ(c.SetsHolding(w.data(), w.size()), MaskFromPredicates(c, w)) << '"' << w << '"';
  platform::UseDefaultCharClasses();

  // A copy answers the same.
  CColorizer copy(c);
  for (const std::string& w : probes) ASSERT_EQ(copy.SetsHolding(w.data(), w.size()), MaskFromPredicates(c, w));

  // Known members, and a word taken from inside a longer line.
  EXPECT_EQ(c.SetsHolding("con", 3), CColorizer::kInKeywords | CColorizer::kInConVarKeywords);
  const std::uint16_t reserve = c.SetsHolding("Reserve", 7);
  EXPECT_TRUE(reserve & CColorizer::kInDatMnemonics1);
  EXPECT_TRUE(reserve & CColorizer::kInDatDirectives1);
  EXPECT_TRUE(reserve & CColorizer::kInDatDirectives2);
  EXPECT_FALSE(reserve & CColorizer::kInDatMnemonics2);
  const char line[] = "CONVAR  := rest";
  EXPECT_EQ(c.SetsHolding(line, 3), c.SetsHolding("CON", 3));
  EXPECT_EQ(c.SetsHolding(line + 8, 2), CColorizer::kInOperators);
  EXPECT_EQ(c.SetsHolding(line, 6), 0);
}

TEST_F(KeywordSetsTest, IndexFollowsEachLoad) {
  CColorizer c;
  c.LoadOperators();
  EXPECT_EQ(c.SetsHolding("+=", 2), CColorizer::kInOperators);
  EXPECT_EQ(c.SetsHolding("CON", 3), 0);
  c.LoadFlowKeywords();
  const std::string flow = *c.flowKeywords.begin();
  EXPECT_EQ(c.SetsHolding(flow.data(), flow.size()), CColorizer::kInFlowKeywords);
  c.LoadKeywords(L"Keywords.ini");
  EXPECT_EQ(c.SetsHolding("CON", 3), CColorizer::kInKeywords | CColorizer::kInConVarKeywords);
  EXPECT_EQ(c.SetsHolding("+=", 2), CColorizer::kInOperators);
  for (const std::string& w : Probes(c))
    ASSERT_EQ(c.SetsHolding(w.data(), w.size()), MaskFromPredicates(c, w)) << '"' << w << '"';
}

TEST_F(KeywordSetsTest, CaseSensitiveQueriesWhenTheFlagIsCleared) {
  CColorizer c;
  LoadAll(c);
  c.caseInsensitive = 0;
  EXPECT_FALSE(c.IsKeyword("dat"));
  EXPECT_TRUE(c.IsKeyword("DAT"));
  EXPECT_FALSE(c.IsConVarKeyword("Con"));
  EXPECT_TRUE(c.IsOperator("and"));  // the lower-case element itself
  EXPECT_TRUE(c.IsOperator("AND"));
  EXPECT_FALSE(c.IsOperator("And"));
  EXPECT_EQ(c.SetsHolding("dat", 3), 0);
  EXPECT_EQ(c.SetsHolding("and", 3), CColorizer::kInOperators);
  for (const std::string& w : Probes(c))
    ASSERT_EQ(c.SetsHolding(w.data(), w.size()), MaskFromPredicates(c, w)) << '"' << w << '"';

  c.caseInsensitive = -7;  // any non-zero value upper-cases
  EXPECT_TRUE(c.IsKeyword("dat"));
  EXPECT_EQ(c.SetsHolding("dat", 3), c.SetsHolding("DAT", 3));
}

}  // namespace
