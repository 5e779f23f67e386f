// Base colouring of one line: keywords, assembly words, flow keywords,
// operators and the "#" of DAT sections, by section kind and language mode.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

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

enum class SectionClass { kDat, kConVar, kObj, kCode };

SectionClass ClassOf(COLORREF background) {
  switch (background) {
    case kDatOddShade:
    case kDatEvenShade:
      return SectionClass::kDat;
    case kConOddShade:
    case kConEvenShade:
    case kVarOddShade:
    case kVarEvenShade:
      return SectionClass::kConVar;
    case kObjOddShade:
    case kObjEvenShade:
      return SectionClass::kObj;
    default:
      return SectionClass::kCode;
  }
}

// What a byte is to the colouring: bit 0 marks a word byte ("_" or
// alphanumeric), bit 1 a run byte (neither blank nor alphanumeric), bit 2 a
// white-space byte.
constexpr std::uint8_t kWordBit = 1;
constexpr std::uint8_t kRunBit = 2;
constexpr std::uint8_t kSpaceBit = 4;
using ByteKinds = std::array<std::uint8_t, 256>;

// The kinds under one class table, worked out once per table and thread.
const ByteKinds& KindsOf(const platform::CharClassTable& table) {
  struct Cached {
    const platform::CharClassTable* table = nullptr;
    ByteKinds kinds{};
  };
  thread_local std::array<Cached, 2> cache;
  thread_local std::size_t next = 0;
  for (const Cached& c : cache) {
    if (c.table == &table) return c.kinds;
  }
  Cached& fresh = cache[next];
  next = (next + 1) % cache.size();
  for (int b = 0; b < 256; ++b) {
    const std::uint8_t c = table.classes[b];
    const bool alnum = (c & platform::CharClassTable::kAlnum) != 0;
    const bool blank = (c & platform::CharClassTable::kBlank) != 0;
    const bool space = (c & platform::CharClassTable::kSpace) != 0;
    fresh.kinds[b] = static_cast<std::uint8_t>(((alnum || b == '_') ? kWordBit : 0) |
                                               ((!alnum && !blank) ? kRunBit : 0) |
                                               (space ? kSpaceBit : 0));
  }
  fresh.table = &table;
  return fresh.kinds;
}

inline unsigned LowestBit(std::uint64_t x) {
#if defined(__GNUC__) || defined(__clang__)
  return static_cast<unsigned>(__builtin_ctzll(x));
#else
  unsigned k = 0;
  while (!(x & 1)) {
    x >>= 1;
    ++k;
  }
  return k;
#endif
}

// The kinds of up to eight bytes, one to a byte lane, the first lowest.
inline std::uint64_t KindLanes(const ByteKinds& kinds, const char* bytes, std::size_t count) {
  const auto kind = [&kinds, bytes](std::size_t j) {
    return std::uint64_t{kinds[static_cast<unsigned char>(bytes[j])]} << (8 * j);
  };
  if (count == 8) {
    return (kind(0) | kind(1)) | (kind(2) | kind(3)) | (kind(4) | kind(5)) | (kind(6) | kind(7));
  }
  std::uint64_t lanes = 0;
  for (std::size_t j = 0; j < count; ++j) lanes |= kind(j);
  return lanes;
}

// Bit 0 of each byte lane, packed into the low eight bits (lane j to bit j).
inline std::uint64_t LaneBits(std::uint64_t lanes) {
  return ((lanes & 0x0101010101010101u) * 0x0102040810204080u) >> 56;
}

// One bit per byte of the line, 64 to an element.
struct ByteMask {
  // The first position from `from` on whose bit is `value`, or `limit`.
  std::size_t Next(bool value, std::size_t from, std::size_t limit) const {
    if (from >= limit) return limit;
    const std::uint64_t flip = value ? 0 : ~std::uint64_t{0};
    std::size_t w = from >> 6;
    std::uint64_t x = (bits[w] ^ flip) & (~std::uint64_t{0} << (from & 63));
    while (x == 0) {
      if (++w >= count) return limit;
      x = bits[w] ^ flip;
    }
    return std::min(limit, (w << 6) + LowestBit(x));
  }

  std::uint64_t* bits;
  std::size_t count;
};

}  // namespace

void CColorizer::ColorLine(const std::string& line, std::vector<COLORREF>& colours,
                           COLORREF background, int /*braceDepth*/) {
  colours.resize(line.size());
  if (!line.empty()) ColorWordsAndRuns(line, colours.data(), background, line.size(), 0);
}

// The colouring is three passes, each overwriting the one before: reset
// every byte, colour the words (longest sequences of "_" and alphanumerics),
// colour the operator runs (longest sequences of bytes neither blank nor
// alphanumeric; words and runs overlap only in "_"). Words and runs are found
// through one bit per byte for each, built without branching, so the passes
// jump from one boundary to the next instead of testing byte after byte. They
// are looked up through one combined query by pointer and length; nothing is
// allocated once the masks have grown to the longest line.
void CColorizer::ColorWordsAndRuns(const std::string& line, COLORREF* out, COLORREF background,
                                   std::size_t end, COLORREF plainDigit) const {
  const std::size_t n = line.size();
  const char* text = line.data();
  const platform::CharClassTable& table = platform::CurrentCharClasses();
  const ByteKinds& kinds = KindsOf(table);

  // The masks are built only as far as the words and runs that begin before
  // `end` need them; one that goes on past `built` is followed byte by byte.
  const std::size_t built = std::min(n, (end + 7) / 8 * 8);
  const auto tokenEnd = [&kinds, text, n, built](const ByteMask& mask, std::uint8_t bit,
                                                   std::size_t start) {
    std::size_t stop = mask.Next(false, start, built);
    if (stop == built) {
      while (stop < n && (kinds[static_cast<unsigned char>(text[stop])] & bit)) ++stop;
    }
    return stop;
  };
  thread_local std::vector<std::uint64_t> maskStore;
  const std::size_t maskLength = (built + 63) / 64;
  if (maskStore.size() < 2 * maskLength) maskStore.resize(2 * maskLength);
  ByteMask wordMask{maskStore.data(), maskLength};
  ByteMask runMask{maskStore.data() + maskLength, maskLength};
  for (std::size_t w = 0; w < maskLength; ++w) {
    std::uint64_t wordBits = 0;
    std::uint64_t runBits = 0;
    for (std::size_t group = 0; group < 8; ++group) {
      const std::size_t base = w * 64 + group * 8;
      if (base >= built) break;
      const std::uint64_t lanes =
          KindLanes(kinds, text + base, std::min<std::size_t>(8, built - base));
      wordBits |= LaneBits(lanes) << (group * 8);
      runBits |= LaneBits(lanes >> 1) << (group * 8);
    }
    wordMask.bits[w] = wordBits;
    runMask.bits[w] = runBits;
  }

  const SectionClass section = ClassOf(background);
  const bool datLine = section == SectionClass::kDat;
  std::uint16_t mnemonicSet = kInDatMnemonics1;
  std::uint16_t directiveSet = kInDatDirectives1;
  if (datLine && mode == L"Vorn2") {
    mnemonicSet = kInDatMnemonics2;
    directiveSet = kInDatDirectives2;
  }

  // Reset pass.
  if (datLine) {
    for (std::size_t k = 0; k < end; ++k) out[k] = text[k] == '#' ? kDatHash : kPlain;
  } else {
    std::fill(out, out + end, kPlain);
  }

  // Word pass: every word that begins before `end`, coloured whole.
  for (std::size_t start = wordMask.Next(true, 0, end); start < end;) {
    const std::size_t stop = tokenEnd(wordMask, kWordBit, start);
    const char* word = text + start;
    const std::size_t length = stop - start;
    const std::uint16_t sets = SetsHolding(word, length);
    COLORREF colour = kPlain;
    switch (section) {
      case SectionClass::kDat:
        if (length == 3 && std::memcmp(word, "DAT", 3) == 0) colour = kKeyword;
        if (sets & mnemonicSet) colour = kMnemonic;
        if (sets & directiveSet) colour = kKeyword;
        break;
      case SectionClass::kConVar:
        if (sets & kInConVarKeywords) colour = kKeyword;
        break;
      case SectionClass::kObj:
        if (sets & kInObjKeywords) colour = kKeyword;
        break;
      case SectionClass::kCode:
        if (sets & kInKeywords) colour = kKeyword;
        if (sets & kInFlowKeywords) colour = kFlow;
        break;
    }
    if (colour == kPlain && plainDigit != 0) {
      for (std::size_t k = start; k < stop; ++k) {
        out[k] = (text[k] >= '0' && text[k] <= '9') ? plainDigit : kPlain;
      }
    } else {
      std::fill(out + start, out + stop, colour);
    }
    start = wordMask.Next(true, stop, end);
  }

  // Operator pass: every run that begins before `end`, looked up with white
  // space trimmed off both ends but coloured whole. Runs hold no digits.
  const auto isSpace = [&kinds, text](std::size_t k) {
    return (kinds[static_cast<unsigned char>(text[k])] & kSpaceBit) != 0;
  };
  for (std::size_t start = runMask.Next(true, 0, end); start < end;) {
    const std::size_t stop = tokenEnd(runMask, kRunBit, start);
    std::size_t first = start;
    std::size_t last = stop;
    if (isSpace(first) || isSpace(last - 1)) {
      while (first < last && isSpace(first)) ++first;
      while (last > first && isSpace(last - 1)) --last;
    }
    if (last > first && (SetsHolding(text + first, last - first) & kInOperators)) {
      std::fill(out + start, out + stop, kOperator);
    }
    start = runMask.Next(true, stop, end);
  }
}
