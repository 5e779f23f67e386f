// Base colouring of one line: keywords, assembly words, flow keywords,
// operators and the "#" of DAT sections, by section kind and language mode;
// and the sorting of a line's bytes that the colouring works from.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QM_SORT_SIXTEEN_BYTES 1
#endif

#include "platform/CharClass.h"
#include "textmodel/Colorizer.h"
#include "textmodel/LineMasks.h"
#include "textmodel/SectionShades.h"
#include "textmodel/WordIndex.h"

#if defined(__GNUC__) || defined(__clang__)
#define QM_ALWAYS_INLINE inline __attribute__((always_inline))
#define QM_ALWAYS_INLINE_LAMBDA __attribute__((always_inline))
#else
#define QM_ALWAYS_INLINE inline
#define QM_ALWAYS_INLINE_LAMBDA
#endif

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

// The byte kinds under one class table, worked out once per table and thread.
// `asciiAsUsual` says whether the table classes and upper-cases the bytes
// below 0x80 as both tables of the platform do, which the sixteen-byte
// sorting and the arithmetic folding take for granted.
struct ByteKinds {
  const platform::CharClassTable* table = nullptr;
  std::array<std::uint8_t, 256> kinds{};
  bool asciiAsUsual = false;
};

std::uint8_t KindOf(bool alnum, bool blank, bool white, unsigned char b) {
  return static_cast<std::uint8_t>(((alnum || b == '_') ? linemasks::kWordByte : 0) |
                                   ((!alnum && !blank) ? linemasks::kRunByte : 0) |
                                   (white ? linemasks::kWhiteByte : 0));
}

const ByteKinds& KindsOf(const platform::CharClassTable& table) {
  thread_local std::array<ByteKinds, 2> cache;
  thread_local std::size_t next = 0;
  for (const ByteKinds& k : cache) {
    if (k.table == &table) return k;
  }
  ByteKinds& fresh = cache[next];
  next = (next + 1) % cache.size();
  fresh.asciiAsUsual = true;
  for (int b = 0; b < 256; ++b) {
    const std::uint8_t c = table.classes[b];
    const auto byte = static_cast<unsigned char>(b);
    fresh.kinds[b] = KindOf((c & platform::CharClassTable::kAlnum) != 0,
                            (c & platform::CharClassTable::kBlank) != 0,
                            (c & platform::CharClassTable::kSpace) != 0, byte);
    if (b < 0x80) {
      const bool alnum = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
      const bool white = b == ' ' || (b >= '\t' && b <= '\r');
      const int upper = (b >= 'a' && b <= 'z') ? b - 'a' + 'A' : b;
      if (fresh.kinds[b] != KindOf(alnum, b == ' ' || b == '\t', white, byte) ||
          table.upper[b] != upper) {
        fresh.asciiAsUsual = false;
      }
    }
  }
  fresh.table = &table;
  return fresh;
}

constexpr std::uint8_t kWhiteRunByte = linemasks::kRunByte | linemasks::kWhiteByte;

#if (defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__) || defined(_M_X64) || \
    defined(_M_IX86) || defined(_M_ARM64)
// Eight bytes copied into a value have the first byte lowest.
constexpr bool kLittleEndian = true;
#else
constexpr bool kLittleEndian = false;
#endif

inline std::uint64_t Load8(const unsigned char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// Up to eight bytes as one value, the first lowest on a little-endian
// processor (the only kind its callers use it on), zero beyond `count`; read
// without touching a byte outside them.
inline std::uint64_t LoadUpTo8(const unsigned char* p, std::size_t count) {
  std::uint32_t a = 0;
  std::uint32_t b = 0;
  std::uint64_t v = 0;
  if (count >= 8) {
    std::memcpy(&v, p, 8);
  } else if (count >= 4) {
    std::memcpy(&a, p, 4);
    std::memcpy(&b, p + count - 4, 4);
    v = a | (std::uint64_t{b} << (8 * (count - 4)));
  } else if (count > 0) {
    v = p[0] | (std::uint64_t{p[count / 2]} << (8 * (count / 2))) |
        (std::uint64_t{p[count - 1]} << (8 * (count - 1)));
  }
  return v;
}

// The bytes [start, start + length) of a line of `n` bytes, 1 <= length <=
// 16, as two values, the first byte lowest and zero beyond the bytes; read
// without touching a byte outside the line.
inline void PackBytes(const unsigned char* text, std::size_t n, std::size_t start,
                      std::size_t length, std::uint64_t& head0, std::uint64_t& head1) {
  if (length <= 8) {
    std::uint64_t v;
    if (start + 8 <= n) {
      v = Load8(text + start);
    } else if (n >= 8) {
      v = Load8(text + n - 8) >> (8 * (start + 8 - n));
    } else {
      v = LoadUpTo8(text, n) >> (8 * start);
    }
    head0 = v & (~std::uint64_t{0} >> (64 - 8 * length));
    head1 = 0;
  } else {
    head0 = Load8(text + start);
    head1 = Load8(text + start + length - 8) >> (8 * (16 - length));
  }
}

constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// Upper-cases the letters among eight bytes below 0x80 at once.
inline std::uint64_t UpperAscii(std::uint64_t x) {
  const std::uint64_t fromA = x + kEveryByte * (0x80 - 'a');        // high bit: at least "a"
  const std::uint64_t pastZ = x + kEveryByte * (0x80 - ('z' + 1));  // high bit: above "z"
  return x - (((fromA & ~pastZ) & kHighBits) >> 2);                 // "a" - "A" is 0x20
}

// The sorted kinds of up to 64 bytes, one bit per byte, the first lowest.
template <class Bits>
struct Sorted {
  Bits word, run, digit, special;
};

void Store(const Sorted<std::uint64_t>& block, std::uint64_t* m) {
  m[linemasks::kWord] = block.word;
  m[linemasks::kRun] = block.run;
  m[linemasks::kDigit] = block.digit;
  m[linemasks::kSpecial] = block.special;
}

// Sorts `count` bytes (at most 64) one at a time.
Sorted<std::uint64_t> SortBytes(const unsigned char* p, std::size_t count,
                                const std::uint8_t* kinds) {
  Sorted<std::uint64_t> block{};
  for (std::size_t j = 0; j < count; ++j) {
    const unsigned char b = p[j];
    const std::uint64_t bit = std::uint64_t{1} << j;
    if (kinds[b] & linemasks::kWordByte) block.word |= bit;
    if (kinds[b] & linemasks::kRunByte) block.run |= bit;
    if (b >= '0' && b <= '9') block.digit |= bit;
    if (b == '\'' || b == '"' || b == '{' || b == '}' || b == '#' ||
        (kinds[b] & kWhiteRunByte) == kWhiteRunByte) {
      block.special |= bit;
    }
  }
  return block;
}

#ifdef QM_SORT_SIXTEEN_BYTES

// Sorts the sixteen bytes in `v`. The bytes below 0x80 are sorted by
// comparisons; the others, rare in a source, by their kind in the table in
// force.
QM_ALWAYS_INLINE Sorted<std::uint32_t> SortSixteen(__m128i v, const std::uint8_t* kinds) {
  const auto is = [v](char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
  const auto bits = [](__m128i x) { return static_cast<std::uint32_t>(_mm_movemask_epi8(x)); };
  const auto within = [](__m128i x, char low, char high) {
    // Signed comparisons: a byte of 0x80 or above is below every bound here.
    return _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(static_cast<char>(low - 1))),
                         _mm_cmplt_epi8(x, _mm_set1_epi8(static_cast<char>(high + 1))));
  };
  const __m128i digit = within(v, '0', '9');
  const __m128i alnum = _mm_or_si128(digit, within(_mm_or_si128(v, _mm_set1_epi8(0x20)), 'a', 'z'));
  const __m128i blank = _mm_or_si128(is(' '), is('\t'));
  // Line feed to carriage return (not tab) are the white space among runs.
  const __m128i special = _mm_or_si128(
      _mm_or_si128(_mm_or_si128(is('\''), is('"')), _mm_or_si128(is('{'), is('}'))),
      _mm_or_si128(is('#'), within(v, '\n', '\r')));

  Sorted<std::uint32_t> out;
  const std::uint32_t high = bits(v);
  out.word = bits(_mm_or_si128(alnum, is('_')));
  out.run = ~bits(_mm_or_si128(alnum, blank)) & ~high & 0xFFFFu;
  out.digit = bits(digit);
  out.special = bits(special);
  if (high != 0) {
    alignas(16) unsigned char bytes[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(bytes), v);
    for (std::uint32_t h = high; h != 0; h &= h - 1) {
      const unsigned j = linemasks::LowestBit(h);
      const std::uint8_t kind = kinds[bytes[j]];
      if (kind & linemasks::kWordByte) out.word |= 1u << j;
      if (kind & linemasks::kRunByte) out.run |= 1u << j;
      if ((kind & kWhiteRunByte) == kWhiteRunByte) out.special |= 1u << j;
    }
  }
  return out;
}

QM_ALWAYS_INLINE void AddSixteen(Sorted<std::uint64_t>& block, const Sorted<std::uint32_t>& s,
                                 std::size_t at) {
  block.word |= std::uint64_t{s.word} << at;
  block.run |= std::uint64_t{s.run} << at;
  block.digit |= std::uint64_t{s.digit} << at;
  block.special |= std::uint64_t{s.special} << at;
}

// Sorts the block of the line's bytes from `base`, at most 64, sixteen at a
// time; the last piece of a block of sixteen bytes or more is moved back to
// end at the block's end (a byte read twice sorts the same both times). The
// last bytes of a long line are read as the line's final sixteen, and a line
// shorter than sixteen bytes in up to four overlapping pieces. No byte
// outside the line is read.
QM_ALWAYS_INLINE Sorted<std::uint64_t> SortBlock(const unsigned char* text, std::size_t n,
                                                 std::size_t base, const std::uint8_t* kinds) {
  Sorted<std::uint64_t> block{};
  const std::size_t count = std::min<std::size_t>(64, n - base);
  if (count >= 16) {
    for (std::size_t at = 0; at < count; at += 16) {
      const std::size_t from = std::min(at, count - 16);
      const auto* piece = reinterpret_cast<const __m128i*>(text + base + from);
      AddSixteen(block, SortSixteen(_mm_loadu_si128(piece), kinds), from);
    }
  } else {
    __m128i v;
    unsigned skip = 0;
    if (n >= 16) {
      v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + n - 16));
      skip = static_cast<unsigned>(16 - count);
    } else {
      const std::uint64_t low = LoadUpTo8(text, n);
      const std::uint64_t high = n > 8 ? LoadUpTo8(text + 8, n - 8) : 0;
      v = _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low));
    }
    const Sorted<std::uint32_t> s = SortSixteen(v, kinds);
    const std::uint32_t valid = (1u << count) - 1;
    block.word = (s.word >> skip) & valid;
    block.run = (s.run >> skip) & valid;
    block.digit = (s.digit >> skip) & valid;
    block.special = (s.special >> skip) & valid;
  }
  return block;
}
#endif

// Tells the special bytes apart, and marks the first byte of every word and
// every run, across the blocks of the line.
void DeriveKinds(const unsigned char* text, std::uint64_t* bits, std::size_t blocks) {
  for (std::size_t block = 0; block < blocks; ++block) {
    std::uint64_t* m = bits + block * linemasks::kKinds;
    std::uint64_t kind[6] = {};  // apostrophe, quote, open, close, hash, white run
    for (std::uint64_t s = m[linemasks::kSpecial]; s != 0; s &= s - 1) {
      const unsigned j = linemasks::LowestBit(s);
      const std::uint64_t bit = std::uint64_t{1} << j;
      switch (text[(block << 6) + j]) {
        case '\'': kind[0] |= bit; break;
        case '"': kind[1] |= bit; break;
        case '{': kind[2] |= bit; break;
        case '}': kind[3] |= bit; break;
        case '#': kind[4] |= bit; break;
        default: kind[5] |= bit; break;
      }
    }
    m[linemasks::kApostrophe] = kind[0];
    m[linemasks::kQuote] = kind[1];
    m[linemasks::kOpenBrace] = kind[2];
    m[linemasks::kCloseBrace] = kind[3];
    m[linemasks::kHash] = kind[4];
    m[linemasks::kWhiteRun] = kind[5];

    // The last bit of the same kind in the block before, counted from the
    // start of the masks (an offset back from `m` would wrap around).
    const auto markStarts = [m, bits, block](linemasks::Kind of, linemasks::Kind start) {
      const std::uint64_t x = m[of];
      const std::uint64_t before = block > 0 ? bits[(block - 1) * linemasks::kKinds + of] >> 63 : 0;
      m[start] = x & ~((x << 1) | before);
    };
    markStarts(linemasks::kWord, linemasks::kWordStart);
    markStarts(linemasks::kRun, linemasks::kRunStart);
  }
}

// mode == L"Vorn2", without a library call.
inline bool IsVorn2(const std::wstring& mode) {
  return mode.size() == 5 && mode[0] == L'V' && mode[1] == L'o' && mode[2] == L'r' &&
         mode[3] == L'n' && mode[4] == L'2';
}

}  // namespace

CColorizer::LineMasks::LineMasks(const std::string& line) {
  const platform::CharClassTable& table = platform::CurrentCharClasses();
  const ByteKinds& kinds = KindsOf(table);
  byteKinds_ = kinds.kinds.data();
  classes_ = &table;
  asciiAsUsual_ = kinds.asciiAsUsual;
  length_ = line.size();
  blocks_ = (length_ + 63) / 64;

  std::uint64_t* bits = local_;
  if (blocks_ > kLocalBlocks) {
    thread_local std::vector<std::uint64_t> store;
    if (store.size() < blocks_ * linemasks::kKinds) store.resize(blocks_ * linemasks::kKinds);
    bits = store.data();
  }
  bits_ = bits;

  const auto* text = reinterpret_cast<const unsigned char*>(line.data());
  for (std::size_t block = 0; block < blocks_; ++block) {
    const std::size_t base = block * 64;
#ifdef QM_SORT_SIXTEEN_BYTES
    if (kinds.asciiAsUsual) {
      Store(SortBlock(text, length_, base, byteKinds_), bits + block * linemasks::kKinds);
      continue;
    }
#endif
    Store(SortBytes(text + base, std::min<std::size_t>(64, length_ - base), byteKinds_),
          bits + block * linemasks::kKinds);
  }
  DeriveKinds(text, bits, blocks_);
}

// The quick rejections of SetsHoldingMapped. A word that passes them mostly
// fits in two values read straight from the line and folded by arithmetic;
// one holding a byte of 0x80 or above, or a longer one, takes the
// byte-by-byte way.
QM_ALWAYS_INLINE std::uint16_t CColorizer::SetsOfLineWord(const unsigned char* text, std::size_t n,
                                                std::size_t start, std::size_t length,
                                                const unsigned char* map, bool fold,
                                                bool fast) const {
  if (length == 0 || length > m_longestWord) return 0;
  const unsigned char first = map[text[start]];
  if (length == 1) return m_byteSets[first];
  const std::size_t key =
      wordindex::FilterKey(length, first, map[text[start + 1]], map[text[start + length - 1]]);
  const bool candidate = ((m_keyFilter[key >> 6] >> (key & 63)) & 1) != 0;
  if (!candidate) return 0;
  if (!fast || length > wordindex::kHeadBytes) return SetsHoldingHashed(text + start, length, map);

  std::uint64_t head0;
  std::uint64_t head1;
  PackBytes(text, n, start, length, head0, head1);
  if ((head0 | head1) & kHighBits) return SetsHoldingHashed(text + start, length, map);
  if (fold) {
    head0 = UpperAscii(head0);
    head1 = UpperAscii(head1);
  }
  return SetsOfPacked(head0, head1, length, text + start, map);
}

void CColorizer::ColorLine(const std::string& line, std::vector<COLORREF>& colours,
                           COLORREF background, int /*braceDepth*/) {
  colours.resize(line.size());
  if (line.empty()) return;
  const LineMasks masks(line);
  ColorWordsAndRuns(line, masks, colours.data(), background, line.size());
}

// The colouring is three passes, each overwriting the one before: reset
// every byte, colour the words (longest sequences of "_" and alphanumerics),
// colour the operator runs (longest sequences of bytes neither blank nor
// alphanumeric; words and runs overlap only in "_"). The passes jump from one
// boundary to the next through the line's masks, and look each word and run
// up through one combined query by pointer and length, which rejects most
// words that are in no set before hashing them. Nothing is allocated.
void CColorizer::ColorWordsAndRuns(const std::string& line, const LineMasks& masks,
                                   COLORREF* out, COLORREF background, std::size_t end) const {
  const auto* text = reinterpret_cast<const unsigned char*>(line.data());
  const std::size_t n = line.size();
  const bool fold = caseInsensitive != 0;
  const unsigned char* map =
      fold ? masks.classes_->upper.data() : wordindex::kIdentity.bytes.data();
  const bool fast = kLittleEndian && masks.asciiAsUsual_;

  // The word rules of the line's class: a word of `first` takes
  // `firstColour`, then one of `second` takes `secondColour`; in DAT lines
  // the word "DAT" itself comes before both.
  const SectionClass section = ClassOf(background);
  const bool datLine = section == SectionClass::kDat;
  std::uint16_t first = 0;
  COLORREF firstColour = kPlain;
  std::uint16_t second = 0;
  COLORREF secondColour = kKeyword;
  switch (section) {
    case SectionClass::kDat: {
      const bool vorn2 = IsVorn2(mode);
      first = vorn2 ? kInDatMnemonics2 : kInDatMnemonics1;
      firstColour = kMnemonic;
      second = vorn2 ? kInDatDirectives2 : kInDatDirectives1;
      break;
    }
    case SectionClass::kConVar:
      second = kInConVarKeywords;
      break;
    case SectionClass::kObj:
      second = kInObjKeywords;
      break;
    case SectionClass::kCode:
      first = kInKeywords;
      firstColour = kKeyword;
      second = kInFlowKeywords;
      secondColour = kFlow;
      break;
  }

  // Reset pass.
  std::fill(out, out + end, kPlain);
  if (datLine) {
    masks.ForEachByte(linemasks::kHash, end, [out](std::size_t k) { out[k] = kDatHash; });
  }

  // Word pass: every word that begins before `end`, coloured whole. A word
  // left plain keeps the reset colour: it holds no "#". When no element
  // begins with a digit, a word that does (a number) is in no set.
  const bool skipNumbers = fast && !m_elementLedByDigit;
  const auto numbers = [&masks, skipNumbers](std::size_t block) {
    return skipNumbers ? masks.Bits(linemasks::kDigit, block) : 0;
  };
  masks.ForEach(linemasks::kWord, linemasks::kWordStart, end, numbers,
                [&](std::size_t start, std::size_t stop) QM_ALWAYS_INLINE_LAMBDA {
    const std::size_t length = stop - start;
    const std::uint16_t sets = SetsOfLineWord(text, n, start, length, map, fold, fast);
    COLORREF colour = kPlain;
    if (datLine && length == 3 && std::memcmp(text + start, "DAT", 3) == 0) colour = kKeyword;
    colour = (sets & first) ? firstColour : colour;
    colour = (sets & second) ? secondColour : colour;
    if (colour != kPlain) linemasks::Fill(out + start, out + stop, colour);
  });

  // Operator pass: every run that begins before `end`, looked up with white
  // space trimmed off both ends but coloured whole. When no operator holds
  // "_", an apostrophe, a double quote, a brace or "#", a run that begins
  // with one is no operator.
  const bool skipMarked = fast && !m_operatorHoldsMark;
  const auto marked = [&masks, skipMarked](std::size_t block) {
    if (!skipMarked) return std::uint64_t{0};
    const std::uint64_t underscores =
        masks.Bits(linemasks::kWord, block) & masks.Bits(linemasks::kRun, block);
    const std::uint64_t others =
        masks.Bits(linemasks::kSpecial, block) & ~masks.Bits(linemasks::kWhiteRun, block);
    return underscores | others;
  };
  masks.ForEach(linemasks::kRun, linemasks::kRunStart, end, marked,
                [&](std::size_t start, std::size_t stop) QM_ALWAYS_INLINE_LAMBDA {
    std::size_t from = start;
    std::size_t to = stop;
    if (masks.Has(linemasks::kWhiteRun, from) || masks.Has(linemasks::kWhiteRun, to - 1)) {
      while (from < to && masks.Has(linemasks::kWhiteRun, from)) ++from;
      while (to > from && masks.Has(linemasks::kWhiteRun, to - 1)) --to;
    }
    if (SetsOfLineWord(text, n, from, to - from, map, fold, fast) & kInOperators) {
      linemasks::Fill(out + start, out + stop, kOperator);
    }
  });
}
