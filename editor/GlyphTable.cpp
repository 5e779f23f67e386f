// The glyph table. (placeholder until this concern is written)
#include "editor/GlyphTable.h"
namespace { const wchar_t kChars[256][2] = {}; }
const GlyphTable& SystemGlyphTable() {
  static const GlyphTable table = [] { GlyphTable t{}; for (int b = 0; b < 256; ++b) t[b] = kChars[b]; return t; }();
  return table;
}
wchar_t GlyphOfByte(unsigned char b) { return static_cast<wchar_t>(b); }
int ByteOfChar(wchar_t unit) { return unit <= 0xFF ? static_cast<int>(unit) : -1; }
