// The editor's 8-bit character set: one Unicode character per byte value, used
// to show a byte, to put it on the clipboard, and to map characters back.
#pragma once

#include <array>
#include <cstddef>
#include <string>

// 256 pointers to one-character wide strings, indexed by byte.
using GlyphTable = std::array<const wchar_t*, 256>;

// The one constant table of the system.
const GlyphTable& SystemGlyphTable();

// The character shown for byte b.
wchar_t GlyphOfByte(unsigned char b);

// The byte for an incoming UTF-16 unit: units up to U+00FF are the byte of the
// same value; above, the byte whose glyph is that unit; -1 when there is none.
int ByteOfChar(wchar_t unit);

// Appends the bytes of `size` units of wide text to `bytes` (ByteOfChar of
// each), leaving out the characters that have none. Returns how many
// characters were left out; a surrogate pair, as UTF-16 text holds a
// character above U+FFFF, counts as one.
std::size_t AppendBytesOfText(const wchar_t* text, std::size_t size, std::string& bytes);

// How many characters AppendBytesOfText would leave out of the text.
std::size_t CountCharactersWithoutByte(const wchar_t* text, std::size_t size);
