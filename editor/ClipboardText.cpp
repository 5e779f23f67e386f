// The clipboard's UTF-8 text received as bytes, and its decoding into the
// editor's bytes.
#include "editor/ClipboardText.h"

#include <cstring>

#include "editor/GlyphTable.h"

bool Utf8ClipboardText::GetDataHere(void* buf) const {
  if (!buf) return false;
  if (!bytes_.empty()) std::memcpy(buf, bytes_.data(), bytes_.size());
  return true;
}

bool Utf8ClipboardText::SetData(size_t len, const void* buf) {
  if (!buf) return false;
  bytes_.assign(static_cast<const char*>(buf), len);
  return true;
}

namespace {

// The length of the sequence a lead byte opens: 1 for ASCII, 0 for a byte
// that cannot open one (continuation bytes, C0, C1, F5..FF).
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xC2) return 0;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  if (lead < 0xF5) return 4;
  return 0;
}

}  // namespace

std::size_t MapUtf8ToBytes(const char* text, std::size_t size, std::string& bytes, std::size_t& leftOut) {
  bytes.clear();
  leftOut = 0;
  if (size == 0) return 0;
  // Every character takes at least one input byte and gives at most one.
  bytes.resize(size);
  char* out = &bytes[0];
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* const end = p + size;
  std::size_t characters = 0;
  while (p != end) {
    // Runs of ASCII are their own bytes.
    if (*p < 0x80) {
      const unsigned char* run = p;
      while (run != end && *run < 0x80) ++run;
      const std::size_t n = static_cast<std::size_t>(run - p);
      std::memcpy(out, p, n);
      out += n;
      characters += n;
      p = run;
      continue;
    }
    const std::size_t length = SequenceLength(*p);
    if (length == 0 || static_cast<std::size_t>(end - p) < length) {
      bytes.clear();
      leftOut = 0;
      return kNotUtf8;
    }
    static const unsigned char kLeadBits[] = {0, 0, 0x1F, 0x0F, 0x07};
    unsigned long code = *p & kLeadBits[length];
    for (std::size_t k = 1; k < length; ++k) {
      if ((p[k] & 0xC0) != 0x80) {
        bytes.clear();
        leftOut = 0;
        return kNotUtf8;
      }
      code = (code << 6) | (p[k] & 0x3F);
    }
    p += length;
    ++characters;
    const int mapped = ByteOfChar(static_cast<wchar_t>(code));
    if (mapped >= 0) *out++ = static_cast<char>(mapped);
    else ++leftOut;
  }
  bytes.resize(static_cast<std::size_t>(out - bytes.data()));
  return characters;
}
