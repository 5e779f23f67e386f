// The editor's character set: every byte's character, their distinctness and
// the mapping of characters back to bytes.
#include <gtest/gtest.h>

#include <cwchar>
#include <set>

#include "editor/GlyphTable.h"

namespace {

// The table as its ranges describe it, built independently of the code.
wchar_t Expected(int b) {
  static const wchar_t arrows[] = {0x2190, 0x2192, 0x2191, 0x2193, 0x25C0, 0x25B6};
  static const wchar_t signs[] = {0x0394, 0x03C0, 0x03A3, 0x03A9, 0x2248, 0x221A};
  static const wchar_t boxes[] = {0x2500, 0x2502, 0x253C, 0x254B, 0x2524, 0x251C, 0x2534, 0x252C,
                                  0x252B, 0x2523, 0x253B, 0x2533, 0x2518, 0x2514, 0x2510, 0x250C};
  const wchar_t privateUse = static_cast<wchar_t>(0xF000 + b);
  if (b <= 1) return privateUse;
  if (b <= 7) return arrows[b - 2];
  if (b <= 13) return privateUse;
  if (b == 14) return 0x2023;
  if (b == 15) return 0x2022;
  if (b <= 21) return signs[b - 16];
  if (b <= 31) return privateUse;
  if (b <= 126) return static_cast<wchar_t>(b);
  if (b <= 143) return privateUse;
  if (b <= 159) return boxes[b - 144];
  if (b == 164) return 0x20AC;
  if (b == 161 || b == 163 || b == 165 || (b >= 176 && b <= 179) || b == 181 || b == 185)
    return static_cast<wchar_t>(b);
  if (b <= 190) return privateUse;
  if (b <= 254) return static_cast<wchar_t>(b);
  return 0x221E;
}

TEST(GlyphTable, EveryByteHasItsOneCharacter) {
  const GlyphTable& table = SystemGlyphTable();
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    ASSERT_NE(table[b], nullptr);
    EXPECT_EQ(std::wcslen(table[b]), 1u);
    EXPECT_EQ(table[b][0], Expected(b));
    EXPECT_EQ(GlyphOfByte(static_cast<unsigned char>(b)), Expected(b));
  }
  // The examples users see most.
  EXPECT_EQ(table[65][0], L'A');
  EXPECT_EQ(table[164][0], static_cast<wchar_t>(0x20AC));
  EXPECT_EQ(table[255][0], static_cast<wchar_t>(0x221E));
  EXPECT_EQ(table[0][0], static_cast<wchar_t>(0xF000));
  EXPECT_EQ(table[160][0], static_cast<wchar_t>(0xF0A0));
  // One table for the whole program.
  EXPECT_EQ(&SystemGlyphTable(), &table);
}

TEST(GlyphTable, CharactersAreDistinctAndPrivateUseOnlyWhereListed) {
  std::set<wchar_t> seen;
  int privateUse = 0, ownLatin1 = 0;
  for (int b = 0; b < 256; ++b) {
    const wchar_t c = GlyphOfByte(static_cast<unsigned char>(b));
    EXPECT_TRUE(seen.insert(c).second) << "byte " << b << " repeats a character";
    if (c == static_cast<wchar_t>(0xF000 + b)) ++privateUse;
    if (c == static_cast<wchar_t>(b)) ++ownLatin1;
  }
  EXPECT_EQ(privateUse, 2 + 6 + 10 + 17 + 1 + 1 + 10 + 1 + 3 + 5);
  EXPECT_EQ(ownLatin1, 95 + 3 + 4 + 1 + 1 + 64);
  EXPECT_EQ(256 - privateUse - ownLatin1, 32);
}

TEST(GlyphTable, CharactersMapBackToTheirBytes) {
  for (int b = 0; b < 256; ++b) EXPECT_EQ(ByteOfChar(GlyphOfByte(static_cast<unsigned char>(b))), b) << b;
  // Up to U+00FF a character is the byte of the same value, also where the
  // byte shows as another character.
  EXPECT_EQ(ByteOfChar(L'\x00A0'), 160);
  EXPECT_EQ(ByteOfChar(L'\x00A4'), 164);
  EXPECT_EQ(ByteOfChar(L'\0'), 0);
  EXPECT_EQ(ByteOfChar(L'\x00FF'), 255);
  // Above, only the table's characters have a byte.
  EXPECT_EQ(ByteOfChar(static_cast<wchar_t>(0x20AC)), 164);
  EXPECT_EQ(ByteOfChar(static_cast<wchar_t>(0x2500)), 144);
  EXPECT_EQ(ByteOfChar(static_cast<wchar_t>(0xF0BE)), 190);
  EXPECT_EQ(ByteOfChar(static_cast<wchar_t>(0x2014)), -1);
  EXPECT_EQ(ByteOfChar(static_cast<wchar_t>(0xF041)), -1);  // 'A' has its own character
  EXPECT_EQ(ByteOfChar(static_cast<wchar_t>(0xF100)), -1);
  EXPECT_EQ(ByteOfChar(static_cast<wchar_t>(0x0100)), -1);
}

}  // namespace
