// The editor's 8-bit character set: the one constant byte-to-character table
// and the reverse mapping for characters coming in.
#include "editor/GlyphTable.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// One character per byte. Bytes without a character of their own are the
// private-use character U+F000 plus the byte, which the display font draws.
// clang-format off
const wchar_t kGlyphs[256][2] = {
    L"\xF000", L"\xF001", L"\x2190", L"\x2192", L"\x2191", L"\x2193", L"\x25C0", L"\x25B6",  // 0-7
    L"\xF008", L"\xF009", L"\xF00A", L"\xF00B", L"\xF00C", L"\xF00D", L"\x2023", L"\x2022",  // 8-15
    L"\x0394", L"\x03C0", L"\x03A3", L"\x03A9", L"\x2248", L"\x221A", L"\xF016", L"\xF017",  // 16-23
    L"\xF018", L"\xF019", L"\xF01A", L"\xF01B", L"\xF01C", L"\xF01D", L"\xF01E", L"\xF01F",  // 24-31
    L" ", L"!", L"\"", L"#", L"$", L"%", L"&", L"'",  // 32-39
    L"(", L")", L"*", L"+", L",", L"-", L".", L"/",  // 40-47
    L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7",  // 48-55
    L"8", L"9", L":", L";", L"<", L"=", L">", L"?",  // 56-63
    L"@", L"A", L"B", L"C", L"D", L"E", L"F", L"G",  // 64-71
    L"H", L"I", L"J", L"K", L"L", L"M", L"N", L"O",  // 72-79
    L"P", L"Q", L"R", L"S", L"T", L"U", L"V", L"W",  // 80-87
    L"X", L"Y", L"Z", L"[", L"\\", L"]", L"^", L"_",  // 88-95
    L"`", L"a", L"b", L"c", L"d", L"e", L"f", L"g",  // 96-103
    L"h", L"i", L"j", L"k", L"l", L"m", L"n", L"o",  // 104-111
    L"p", L"q", L"r", L"s", L"t", L"u", L"v", L"w",  // 112-119
    L"x", L"y", L"z", L"{", L"|", L"}", L"~", L"\xF07F",  // 120-127
    L"\xF080", L"\xF081", L"\xF082", L"\xF083", L"\xF084", L"\xF085", L"\xF086", L"\xF087",  // 128-135
    L"\xF088", L"\xF089", L"\xF08A", L"\xF08B", L"\xF08C", L"\xF08D", L"\xF08E", L"\xF08F",  // 136-143
    L"\x2500", L"\x2502", L"\x253C", L"\x254B", L"\x2524", L"\x251C", L"\x2534", L"\x252C",  // 144-151
    L"\x252B", L"\x2523", L"\x253B", L"\x2533", L"\x2518", L"\x2514", L"\x2510", L"\x250C",  // 152-159
    L"\xF0A0", L"\x00A1", L"\xF0A2", L"\x00A3", L"\x20AC", L"\x00A5", L"\xF0A6", L"\xF0A7",  // 160-167
    L"\xF0A8", L"\xF0A9", L"\xF0AA", L"\xF0AB", L"\xF0AC", L"\xF0AD", L"\xF0AE", L"\xF0AF",  // 168-175
    L"\x00B0", L"\x00B1", L"\x00B2", L"\x00B3", L"\xF0B4", L"\x00B5", L"\xF0B6", L"\xF0B7",  // 176-183
    L"\xF0B8", L"\x00B9", L"\xF0BA", L"\xF0BB", L"\xF0BC", L"\xF0BD", L"\xF0BE", L"\x00BF",  // 184-191
    L"\x00C0", L"\x00C1", L"\x00C2", L"\x00C3", L"\x00C4", L"\x00C5", L"\x00C6", L"\x00C7",  // 192-199
    L"\x00C8", L"\x00C9", L"\x00CA", L"\x00CB", L"\x00CC", L"\x00CD", L"\x00CE", L"\x00CF",  // 200-207
    L"\x00D0", L"\x00D1", L"\x00D2", L"\x00D3", L"\x00D4", L"\x00D5", L"\x00D6", L"\x00D7",  // 208-215
    L"\x00D8", L"\x00D9", L"\x00DA", L"\x00DB", L"\x00DC", L"\x00DD", L"\x00DE", L"\x00DF",  // 216-223
    L"\x00E0", L"\x00E1", L"\x00E2", L"\x00E3", L"\x00E4", L"\x00E5", L"\x00E6", L"\x00E7",  // 224-231
    L"\x00E8", L"\x00E9", L"\x00EA", L"\x00EB", L"\x00EC", L"\x00ED", L"\x00EE", L"\x00EF",  // 232-239
    L"\x00F0", L"\x00F1", L"\x00F2", L"\x00F3", L"\x00F4", L"\x00F5", L"\x00F6", L"\x00F7",  // 240-247
    L"\x00F8", L"\x00F9", L"\x00FA", L"\x00FB", L"\x00FC", L"\x00FD", L"\x00FE", L"\x221E",  // 248-255
};
// clang-format on

}  // namespace

const GlyphTable& SystemGlyphTable() {
  static const GlyphTable table = [] {
    GlyphTable t{};
    for (int b = 0; b < 256; ++b) t[b] = kGlyphs[b];
    return t;
  }();
  return table;
}

wchar_t GlyphOfByte(unsigned char b) { return kGlyphs[b][0]; }

int ByteOfChar(wchar_t unit) {
  if (static_cast<unsigned long>(unit) <= 0xFF) return static_cast<int>(unit);
  // Characters above U+00FF, sorted, each with its byte.
  static const std::vector<std::pair<wchar_t, unsigned char>> reverse = [] {
    std::vector<std::pair<wchar_t, unsigned char>> r;
    for (int b = 0; b < 256; ++b)
      if (static_cast<unsigned long>(kGlyphs[b][0]) > 0xFF)
        r.emplace_back(kGlyphs[b][0], static_cast<unsigned char>(b));
    std::sort(r.begin(), r.end());
    return r;
  }();
  auto it =
      std::lower_bound(reverse.begin(), reverse.end(), std::make_pair(unit, static_cast<unsigned char>(0)));
  if (it == reverse.end() || it->first != unit) return -1;
  return it->second;
}

namespace {

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Calls `take` with the byte of each unit that has one; returns the number of
// characters without one, a surrogate pair counted once.
template <typename Take>
std::size_t MapText(const wchar_t* text, std::size_t size, Take take) {
  std::size_t leftOut = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const int mapped = ByteOfChar(text[i]);
    if (mapped >= 0) {
      take(static_cast<char>(mapped));
      continue;
    }
    ++leftOut;
    if (IsHighSurrogate(text[i]) && i + 1 < size && IsLowSurrogate(text[i + 1])) ++i;
  }
  return leftOut;
}

}  // namespace

std::size_t AppendBytesOfText(const wchar_t* text, std::size_t size, std::string& bytes) {
  bytes.reserve(bytes.size() + size);
  return MapText(text, size, [&bytes](char b) { bytes += b; });
}

std::size_t CountCharactersWithoutByte(const wchar_t* text, std::size_t size) {
  return MapText(text, size, [](char) {});
}
