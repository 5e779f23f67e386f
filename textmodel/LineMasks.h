// One source line's bytes sorted by what they are to the colouring, one bit
// per byte and kind, so that the colorizers jump from one word, run or
// special byte to the next instead of testing byte after byte; and the span
// writes both colorizers use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "platform/CharClass.h"
#include "textmodel/Colorizer.h"
#include "textmodel/Types.h"

namespace linemasks {

enum Kind : std::size_t {
  // Sorted from the bytes themselves:
  kWord,        // "_" or alphanumeric
  kRun,         // neither blank nor alphanumeric ("_" is both a word and a run byte)
  kDigit,       // "0" to "9"
  kSpecial,     // one of the five kinds below, or a run byte that is white space
  // Told apart among the special bytes:
  kApostrophe,  // "'"
  kQuote,       // '"'
  kOpenBrace,   // "{"
  kCloseBrace,  // "}"
  kHash,        // "#"
  kWhiteRun,    // a run byte that is white space, trimmed before a run's lookup
  // Worked out from the words and runs:
  kWordStart,   // the first byte of a word (a longest sequence of word bytes)
  kRunStart,    // the first byte of a run (a longest sequence of run bytes)
  kKinds
};

// What a byte value is to the base colouring under one class table.
enum ByteKind : std::uint8_t { kWordByte = 1, kRunByte = 2, kWhiteByte = 4 };

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

// Writes `colour` to [from, to): four at a time where the span holds four or
// more, the last four from its end (overlapping the piece before), else in
// up to three writes that cover it, so that a short span costs no loop.
inline void Fill(COLORREF* from, COLORREF* to, COLORREF colour) {
  const std::size_t length = static_cast<std::size_t>(to - from);
  if (length >= 4) {
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i four = _mm_set1_epi32(static_cast<int>(colour));
    for (COLORREF* p = from; p + 4 < to; p += 4) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(p), four);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to - 4), four);
#else
    for (; from != to; ++from) *from = colour;
#endif
  } else if (length > 0) {
    from[0] = colour;
    from[length / 2] = colour;
    from[length - 1] = colour;
  }
}

}  // namespace linemasks

struct CColorizer::LineMasks {
  using Kind = linemasks::Kind;

  // Sorts every byte of `line`, under the character classes in force. Bits
  // past the line's end are clear. The masks of a long line live in storage
  // of the calling thread and stay valid until its next long line.
  explicit LineMasks(const std::string& line);
  LineMasks(const LineMasks&) = delete;
  LineMasks& operator=(const LineMasks&) = delete;

  // The bits of one kind for bytes 64 * block to 64 * block + 63, the first
  // byte lowest.
  std::uint64_t Bits(Kind kind, std::size_t block) const {
    return bits_[block * linemasks::kKinds + kind];
  }

  bool Has(Kind kind, std::size_t position) const {
    return (Bits(kind, position >> 6) >> (position & 63)) & 1;
  }

  // The first byte of `kind` from `from` on, or the line's length.
  std::size_t Find(Kind kind, std::size_t from) const {
    if (from >= length_) return length_;
    std::size_t block = from >> 6;
    std::uint64_t x = Bits(kind, block) & (~std::uint64_t{0} << (from & 63));
    while (x == 0) {
      if (++block >= blocks_) return length_;
      x = Bits(kind, block);
    }
    return (block << 6) + linemasks::LowestBit(x);
  }

  // Calls f(start, stop) for every longest sequence [start, stop) of bytes
  // of `kind` that begins before `end`, from the first, given the kind that
  // marks their first bytes; but not for those whose first byte is marked in
  // skip(block), a mask of the block's bytes.
  template <class Skip, class F>
  void ForEach(Kind kind, Kind starts, std::size_t end, Skip skip, F f) const {
    const std::size_t blocks = (end + 63) >> 6;
    for (std::size_t block = 0; block < blocks; ++block) {
      const std::size_t base = block << 6;
      std::uint64_t first = Bits(starts, block) & ~skip(block);
      if (end - base < 64) first &= (std::uint64_t{1} << (end - base)) - 1;
      for (; first != 0; first &= first - 1) {
        const std::size_t start = base + linemasks::LowestBit(first);
        f(start, EndOf(kind, start));
      }
    }
  }

  // The end of the sequence of bytes of `kind` that holds `position`.
  std::size_t EndOf(Kind kind, std::size_t position) const {
    std::size_t block = position >> 6;
    std::uint64_t x = ~Bits(kind, block) & (~std::uint64_t{0} << (position & 63));
    while (x == 0) {
      if (++block >= blocks_) return length_;
      x = ~Bits(kind, block);
    }
    return (block << 6) + linemasks::LowestBit(x);
  }

  // Calls f(position) for every byte of `kind` before `end`, from the first.
  template <class F>
  void ForEachByte(Kind kind, std::size_t end, F f) const {
    const std::size_t blocks = (end + 63) >> 6;
    for (std::size_t block = 0; block < blocks; ++block) {
      const std::size_t base = block << 6;
      std::uint64_t bits = Bits(kind, block);
      if (end - base < 64) bits &= (std::uint64_t{1} << (end - base)) - 1;
      for (; bits != 0; bits &= bits - 1) f(base + linemasks::LowestBit(bits));
    }
  }

  // The ByteKind bits of every byte value under the classes the line was
  // sorted with, and those classes.
  const std::uint8_t* byteKinds_;
  const platform::CharClassTable* classes_;
  // Whether those classes sort and upper-case the bytes below 0x80 as usual.
  bool asciiAsUsual_;

  std::size_t length_;
  std::size_t blocks_;
  const std::uint64_t* bits_;

  static constexpr std::size_t kLocalBlocks = 2;
  std::uint64_t local_[kLocalBlocks * linemasks::kKinds];
};
