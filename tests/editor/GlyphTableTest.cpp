// The editor's character set: every byte's character, their distinctness and the mapping back.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "editor/GlyphTable.h"

namespace {

// The table as its ranges describe it, independently of the code; 0 marks private use (U+F000 + b).
wchar_t Expected(int b) {
  static const wchar_t low[] = {0x2190, 0x2192, 0x2191, 0x2193, 0x25C0, 0x25B6, 0, 0, 0, 0, 0, 0,
                                0x2023, 0x2022, 0x0394, 0x03C0, 0x03A3, 0x03A9, 0x2248, 0x221A};  // 2..21
  static const wchar_t boxes[] = {0x2500, 0x2502, 0x253C, 0x254B, 0x2524, 0x251C, 0x2534, 0x252C,
                                  0x252B, 0x2523, 0x253B, 0x2533, 0x2518, 0x2514, 0x2510, 0x250C};
  wchar_t c = 0;
  if (b >= 2 && b <= 21) c = low[b - 2];
  if ((b >= 32 && b <= 126) || b == 161 || b == 163 || b == 165 || (b >= 176 && b <= 179) || b == 181 ||
      b == 185 || (b >= 191 && b <= 254))
    c = static_cast<wchar_t>(b);
  if (b >= 144 && b <= 159) c = boxes[b - 144];
  if (b == 164) c = 0x20AC;
  if (b == 255) c = 0x221E;
  return c ? c : static_cast<wchar_t>(0xF000 + b);
}

TEST(GlyphTable, EveryByteHasItsOwnDistinctCharacterThatMapsBack) {
  const GlyphTable& table = SystemGlyphTable();
  std::set<wchar_t> seen;
  for (int b = 0; b < 256; ++b) {
    ASSERT_TRUE(table[b] != nullptr) << b;
    const wchar_t glyph = GlyphOfByte(static_cast<unsigned char>(b));
    EXPECT_EQ(table[b] + std::wstring(1, glyph), std::wstring(2, Expected(b))) << b;  // one, the same
    EXPECT_TRUE(seen.insert(table[b][0]).second) << b << " repeats a character";
    EXPECT_EQ(ByteOfChar(table[b][0]), b);
  }
  // Up to U+00FF a unit is its own byte; above, only the table's characters have one (not U+F041).
  const int cases[][2] = {{0xA0, 160},  {0xA4, 164},  {0, 0},       {0xFF, 255},
                          {0x2014, -1}, {0xF041, -1}, {0xF100, -1}, {0x100, -1}};
  for (const auto& c : cases) EXPECT_EQ(ByteOfChar(static_cast<wchar_t>(c[0])), c[1]) << c[0];
}

}  // namespace
