// Both colorizers against plain readings of their rules on random lines, under both character tables, in
// every mode and letter-case setting, also with sets that hold numbers and marked runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <random>

#include "platform/CharClass.h"
#include "support/PlainColouring.h"
#include "textmodel/SampleColorizer.h"
#include "textmodel/SectionShades.h"

namespace {

using plain::kTints;
using plain::LoadAll;

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
      ASSERT_TRUE(colours == plain::Base(base, line, shade) && more == plain::Sample(sample, line, shade, depth))
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
