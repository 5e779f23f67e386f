// CColorizer's word sets: filling them from the built-in texts, the
// membership predicates, and the all-sets lookup the colouring loops use.
#include "textmodel/Colorizer.h"

#include <utility>

#include "platform/CharClass.h"
#include "textmodel/KeywordTexts.h"

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

bool Holds(const std::set<std::string>& set, const std::string& word, std::int32_t caseInsensitive) {
  if (caseInsensitive == 0) return set.count(word) != 0;
  std::string copy(word);
  UpperCase(copy);
  return set.count(copy) != 0;
}

// FNV-1a over the bytes of a word, with a final fold of the high bits into
// the low ones that pick the slot.
constexpr std::uint32_t kHashSeed = 2166136261u;
inline std::uint32_t HashStep(std::uint32_t hash, unsigned char b) { return (hash ^ b) * 16777619u; }
inline std::size_t HashFinish(std::uint32_t hash) { return hash ^ (hash >> 15); }

}  // namespace

CColorizer::CColorizer() : caseInsensitive(1), mode(L"Vorn1") {}

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
// probing). It follows the loads: they are the only code that fills the sets,
// and each rebuilds it when done.
void CColorizer::RebuildWordIndex() {
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
  const std::size_t slotMask = capacity - 1;
  for (const auto& entry : sets) {
    for (const std::string& word : *entry.first) {
      std::uint32_t hash = kHashSeed;
      for (char c : word) hash = HashStep(hash, static_cast<unsigned char>(c));
      for (std::size_t s = HashFinish(hash) & slotMask;; s = (s + 1) & slotMask) {
        WordSlot& slot = m_wordSlots[s];
        if (slot.length == 0) {
          slot.offset = static_cast<std::uint32_t>(m_wordPool.size());
          slot.length = static_cast<std::uint16_t>(word.size());
          slot.sets = entry.second;
          m_wordPool += word;
          break;
        }
        if (slot.length == word.size() && m_wordPool.compare(slot.offset, slot.length, word) == 0) {
          slot.sets |= entry.second;
          break;
        }
      }
      if (word.size() > m_longestWord) m_longestWord = word.size();
    }
  }
}

// The query is upper-cased byte by byte while it is hashed and again while it
// is compared, so nothing is copied. No element holds a byte of 0x80 or above,
// so a query holding one (after upper-casing) is in no set.
std::uint16_t CColorizer::SetsHolding(const char* word, std::size_t length) const {
  if (length == 0 || length > m_longestWord) return 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(word);
  const auto& upper = platform::CurrentCharClasses().upper;
  const bool fold = caseInsensitive != 0;

  std::uint32_t hash = kHashSeed;
  unsigned char seen = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char b = fold ? upper[bytes[i]] : bytes[i];
    seen |= b;
    hash = HashStep(hash, b);
  }
  if (seen & 0x80) return 0;

  const std::size_t slotMask = m_wordSlots.size() - 1;
  for (std::size_t s = HashFinish(hash) & slotMask;; s = (s + 1) & slotMask) {
    const WordSlot& slot = m_wordSlots[s];
    if (slot.length == 0) return 0;
    if (slot.length != length) continue;
    const auto* element = reinterpret_cast<const unsigned char*>(m_wordPool.data()) + slot.offset;
    std::size_t i = 0;
    while (i < length && (fold ? upper[bytes[i]] : bytes[i]) == element[i]) ++i;
    if (i == length) return slot.sets;
  }
}
