// CColorizer's word sets: filling them from the built-in texts, the
// membership predicates, and the all-sets lookup the colouring loops use.
#include "textmodel/Colorizer.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <utility>

#include "platform/CharClass.h"
#include "textmodel/KeywordTexts.h"
#include "textmodel/WordIndex.h"

namespace {

void UpperCase(std::string& text) {
  for (char& c : text) c = static_cast<char>(platform::ToUpper(static_cast<unsigned char>(c)));
}

template <std::size_t N>
void AppendAll(std::string& joined, const char* const (&texts)[N]) {
  for (const char* text : texts) joined += text;
}

// Splits `text` at blanks and inserts every word; runs of blanks give no
// empty word. Words already in the set stay as they are.
void InsertWords(std::set<std::string>& set, const std::string& text) {
  std::size_t pos = 0;
  while ((pos = text.find_first_not_of(' ', pos)) != std::string::npos) {
    std::size_t end = text.find(' ', pos);
    if (end == std::string::npos) end = text.size();
    set.insert(text.substr(pos, end - pos));
    pos = end;
  }
}

void FillUpperCased(std::set<std::string>& set, std::string text) {
  UpperCase(text);
  InsertWords(set, text);
}

// Word index stamps, never the same twice in one process.
std::uint64_t NextIndexStamp() {
  static std::atomic<std::uint64_t> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

bool Holds(const std::set<std::string>& set, const std::string& word, std::int32_t caseInsensitive) {
  if (caseInsensitive == 0) return set.count(word) != 0;
  std::string copy(word);
  UpperCase(copy);
  return set.count(copy) != 0;
}

}  // namespace

CColorizer::CColorizer() : caseInsensitive(1), mode(L"Vorn1"), m_indexStamp(NextIndexStamp()) {}

CColorizer::~CColorizer() = default;

void CColorizer::LoadKeywords(const std::wstring& name) {
  using namespace keywordtexts;
  if (name.empty()) return;

  const std::string general = std::string(kSectionAndClockWords) + kControlAndMemoryWords +
                              kLookupStringFloatAndLockWords + kChipSetupAndRegisterWords +
                              kWaitAndCoreWords;
  FillUpperCased(keywords, general);
  FillUpperCased(conVarKeywords, std::string(kSectionAndClockWords) + kFloatConversionWords +
                                     kSystemConstantWords + kConstantWords);
  FillUpperCased(objKeywords, kObjectWords);

  std::string text;
  AppendAll(text, kAsm1MnemonicTexts);
  text += kConstantWords;
  FillUpperCased(datMnemonics1, std::move(text));

  text.clear();
  AppendAll(text, kAsm1DirectiveTexts);
  FillUpperCased(datDirectives1, std::move(text));

  text.clear();
  AppendAll(text, kAsm2MnemonicTexts);
  FillUpperCased(datMnemonics2, std::move(text));

  text.clear();
  AppendAll(text, kAsm2DirectiveTexts);
  FillUpperCased(datDirectives2, std::move(text));

  RebuildWordIndex();
}

void CColorizer::LoadOperators() {
  std::string text;
  AppendAll(text, keywordtexts::kOperatorTexts);
  InsertWords(operators, text);
  RebuildWordIndex();
}

void CColorizer::LoadFlowKeywords() {
  FillUpperCased(flowKeywords, keywordtexts::kFlowWords);
  RebuildWordIndex();
}

bool CColorizer::IsDatMnemonic1(const std::string& word) { return Holds(datMnemonics1, word, caseInsensitive); }
bool CColorizer::IsKeyword(const std::string& word) { return Holds(keywords, word, caseInsensitive); }
bool CColorizer::IsDatDirective1(const std::string& word) { return Holds(datDirectives1, word, caseInsensitive); }
bool CColorizer::IsDatMnemonic2(const std::string& word) { return Holds(datMnemonics2, word, caseInsensitive); }
bool CColorizer::IsDatDirective2(const std::string& word) { return Holds(datDirectives2, word, caseInsensitive); }
bool CColorizer::IsOperator(const std::string& word) { return Holds(operators, word, caseInsensitive); }
bool CColorizer::IsFlowKeyword(const std::string& word) { return Holds(flowKeywords, word, caseInsensitive); }
bool CColorizer::IsConVarKeyword(const std::string& word) { return Holds(conVarKeywords, word, caseInsensitive); }
bool CColorizer::IsObjKeyword(const std::string& word) { return Holds(objKeywords, word, caseInsensitive); }

// The index holds every element of the nine sets once, with the mask of the
// sets that hold it, in an open-addressing table at most half full (linear
// probing), beside the one-byte table and the pre-filter. It follows the
// loads: they are the only code that fills the sets, and each rebuilds it
// when done. An element holding a byte of 0x80 or above could never be found
// (see SetsHoldingHashed) and stays out of the table and the filter.
void CColorizer::RebuildWordIndex() {
  using namespace wordindex;
  static_assert(sizeof(m_keyFilter) * 8 == std::size_t{1} << kFilterKeyBits, "filter size");
  const std::pair<const std::set<std::string>*, SetBit> sets[] = {
      {&keywords, kInKeywords},           {&conVarKeywords, kInConVarKeywords},
      {&objKeywords, kInObjKeywords},     {&datMnemonics1, kInDatMnemonics1},
      {&datDirectives1, kInDatDirectives1}, {&datMnemonics2, kInDatMnemonics2},
      {&datDirectives2, kInDatDirectives2}, {&operators, kInOperators},
      {&flowKeywords, kInFlowKeywords},
  };
  std::size_t elements = 0;
  for (const auto& entry : sets) elements += entry.first->size();
  std::size_t capacity = 16;
  while (capacity < 2 * elements) capacity *= 2;

  m_wordSlots.assign(capacity, WordSlot{});
  m_wordPool.clear();
  m_longestWord = 0;
  std::fill(std::begin(m_byteSets), std::end(m_byteSets), std::uint16_t{0});
  std::fill(std::begin(m_keyFilter), std::end(m_keyFilter), std::uint64_t{0});
  m_elementLedByDigit = false;
  m_operatorHoldsMark = false;
  for (const auto& entry : sets) {
    for (const std::string& word : *entry.first) {
      if (!word.empty() && word[0] >= '0' && word[0] <= '9') m_elementLedByDigit = true;
    }
  }
  for (const std::string& word : operators) {
    if (word.find_first_of("_'\"{}#") != std::string::npos) m_operatorHoldsMark = true;
  }
  m_indexStamp = NextIndexStamp();
  const std::size_t slotMask = capacity - 1;
  std::vector<std::uint64_t> packed;
  for (const auto& entry : sets) {
    for (const std::string& word : *entry.first) {
      if (word.size() > m_longestWord) m_longestWord = word.size();
      bool high = false;
      for (char c : word) high = high || (static_cast<unsigned char>(c) & 0x80) != 0;
      if (word.empty() || high) continue;

      const auto* bytes = reinterpret_cast<const unsigned char*>(word.data());
      if (word.size() == 1) m_byteSets[bytes[0]] |= entry.second;
      if (word.size() > 1) {
        const std::size_t key = FilterKey(word.size(), bytes[0], bytes[1], bytes[word.size() - 1]);
        m_keyFilter[key >> 6] |= std::uint64_t{1} << (key & 63);
      }

      packed.assign(std::max<std::size_t>(2, (word.size() + 7) / 8), 0);
      for (std::size_t i = 0; i < word.size(); ++i) {
        packed[i >> 3] |= std::uint64_t{bytes[i]} << (8 * (i & 7));
      }
      for (std::size_t s = HashOf(packed[0], packed[1], word.size()) & slotMask;;
           s = (s + 1) & slotMask) {
        WordSlot& slot = m_wordSlots[s];
        if (slot.length == 0) {
          slot.head = packed[0];
          slot.rest = static_cast<std::uint32_t>(m_wordPool.size());
          slot.length = static_cast<std::uint16_t>(word.size());
          slot.sets = entry.second;
          if (word.size() > 8) {
            m_wordPool.insert(m_wordPool.end(), packed.begin() + 1, packed.end());
          }
          break;
        }
        const bool same =
            slot.length == word.size() && slot.head == packed[0] &&
            (word.size() <= 8 ||
             std::equal(packed.begin() + 1, packed.end(), m_wordPool.begin() + slot.rest));
        if (same) {
          slot.sets |= entry.second;
          break;
        }
      }
    }
  }
}

// The query is folded and packed as the elements are, then looked up. No
// element holds a byte of 0x80 or above, so a query holding one (after
// folding) is in no set.
std::uint16_t CColorizer::SetsHoldingHashed(const unsigned char* word, std::size_t length,
                                            const unsigned char* map) const {
  using namespace wordindex;
  std::uint64_t head[2] = {0, 0};
  unsigned char seen = 0;
  const std::size_t inHead = std::min(length, kHeadBytes);
  for (std::size_t i = 0; i < inHead; ++i) {
    const unsigned char b = map[word[i]];
    seen |= b;
    head[i >> 3] |= std::uint64_t{b} << (8 * (i & 7));
  }
  for (std::size_t i = inHead; i < length; ++i) seen |= map[word[i]];
  if (seen & 0x80) return 0;

  return SetsOfPacked(head[0], head[1], length, word, map);
}

std::uint16_t CColorizer::SetsHolding(const char* word, std::size_t length) const {
  const unsigned char* map = caseInsensitive != 0 ? platform::CurrentCharClasses().upper.data()
                                                  : wordindex::kIdentity.bytes.data();
  return SetsHoldingMapped(reinterpret_cast<const unsigned char*>(word), length, map);
}
