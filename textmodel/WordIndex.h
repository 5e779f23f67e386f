// The all-sets word index behind CColorizer::SetsHolding: how a word is keyed,
// hashed and looked up, shared by the code that builds the index and the
// colouring loops that query it once per word and run.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "textmodel/Colorizer.h"

namespace wordindex {

// Up to this many leading bytes of a word are packed into two 64-bit values,
// the first byte lowest, zero beyond the word; they give the hash, and most
// comparisons need nothing else.
constexpr std::size_t kHeadBytes = 16;

// The bit of the pre-filter for a word of `length` bytes, two or more, from
// its first, second and last byte: kFilterKeyBits bits of a multiplicative
// hash.
constexpr unsigned kFilterKeyBits = 14;
inline std::size_t FilterKey(std::size_t length, unsigned char first, unsigned char second,
                             unsigned char last) {
  const std::uint32_t packed = first | (std::uint32_t{second} << 8) |
                               (std::uint32_t{last} << 16) |
                               (static_cast<std::uint32_t>(length & 0xFF) << 24);
  return (packed * 0x9E3779B1u) >> (32 - kFilterKeyBits);
}

inline std::size_t HashOf(std::uint64_t head0, std::uint64_t head1, std::size_t length) {
  std::uint64_t h = (head0 ^ (head1 * 0xC2B2AE3D27D4EB4Full) ^ length) * 0x9E3779B97F4A7C15ull;
  return static_cast<std::size_t>(h ^ (h >> 29));
}

// Maps every byte to itself: the folding of case-sensitive queries.
struct IdentityMap {
  std::array<unsigned char, 256> bytes;
  constexpr IdentityMap() : bytes() {
    for (int b = 0; b < 256; ++b) bytes[b] = static_cast<unsigned char>(b);
  }
};
inline constexpr IdentityMap kIdentity{};

}  // namespace wordindex

// A word is rejected by its one-byte table or its filter bit in a few
// instructions; only a word that passes is folded whole, hashed and compared.
inline std::uint16_t CColorizer::SetsHoldingMapped(const unsigned char* word, std::size_t length,
                                                   const unsigned char* map) const {
  using namespace wordindex;
  if (length == 0 || length > m_longestWord) return 0;
  const unsigned char first = map[word[0]];
  if (length == 1) return m_byteSets[first];
  const std::size_t key = FilterKey(length, first, map[word[1]], map[word[length - 1]]);
  if (((m_keyFilter[key >> 6] >> (key & 63)) & 1) == 0) return 0;
  return SetsHoldingHashed(word, length, map);
}

// Compares the query with the slots from its hash on until an empty one.
inline std::uint16_t CColorizer::SetsOfPacked(std::uint64_t head0, std::uint64_t head1,
                                              std::size_t length, const unsigned char* word,
                                              const unsigned char* map) const {
  using namespace wordindex;
  const std::size_t slotMask = m_wordSlots.size() - 1;
  for (std::size_t s = HashOf(head0, head1, length) & slotMask;; s = (s + 1) & slotMask) {
    const WordSlot& slot = m_wordSlots[s];
    if (slot.length == 0) return 0;
    if (slot.length != length || slot.head != head0) continue;
    if (length <= 8) return slot.sets;
    // The further bytes follow eight to a value.
    const std::uint64_t* rest = m_wordPool.data() + slot.rest;
    bool same = rest[0] == head1;
    for (std::size_t i = kHeadBytes; same && i < length; ++i) {
      same = static_cast<unsigned char>(rest[(i >> 3) - 1] >> (8 * (i & 7))) == map[word[i]];
    }
    if (same) return slot.sets;
  }
}

