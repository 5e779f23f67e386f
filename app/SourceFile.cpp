// Reading source files into staging text, byte for byte whatever the locale,
// the compact store of that text, and the new-document text.
#include "app/SourceFile.h"

#include "platform/SafeFile.h"

#include <algorithm>
#include <cstdint>

namespace sourcefile {
namespace {

constexpr wchar_t kCR = L'\r';
constexpr wchar_t kLF = L'\n';

// Copies bytes [from, to) into `out` as characters of the same value.
wchar_t* WidenInto(const unsigned char* from, const unsigned char* to, wchar_t* out) {
  while (from != to) *out++ = static_cast<wchar_t>(*from++);
  return out;
}

// True when every character of `text` is below U+0100.
bool FitsInBytes(const std::wstring& text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return static_cast<std::uint32_t>(c) < 0x100; });
}

// 8-bit text: a line ends at LF, at CR LF or at a lone CR; every line, the
// last one without a line end included, is followed by CR LF. Each character
// keeps its byte, so the result is stored a byte per character.
std::string DecodeEightBit(const std::string& bytes) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  // Each line end may grow by one character (LF or CR to CR LF); a last line
  // without one by two.
  const auto isLineEnd = [](char c) { return c == '\n' || c == '\r'; };
  const std::size_t lineEnds = static_cast<std::size_t>(std::count_if(p, end, isLineEnd));
  std::string text(bytes.size() + lineEnds + 2, '\0');
  char* out = &text[0];
  while (p != end) {
    const char* lineEnd = std::find_if(p, end, isLineEnd);
    out = std::copy(p, lineEnd, out);
    *out++ = '\r';
    *out++ = '\n';
    if (lineEnd == end) break;
    p = lineEnd + 1;
    if (*lineEnd == '\r' && p != end && *p == '\n') ++p;
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
  return text;
}

// UTF-16 little-endian, byte-order mark included: every CR becomes CR LF and
// swallows one LF right after it, so CR LF stays CR LF, a lone CR becomes
// CR LF and a lone LF stays LF.
std::wstring DecodeUtf16(const std::string& bytes) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t units = bytes.size() / 2;  // a last odd byte is ignored
  std::wstring text(units * 2, L'\0');
  wchar_t* out = &text[0];
  for (std::size_t i = 0; i < units; ++i) {
    const wchar_t unit = static_cast<wchar_t>(p[2 * i] | (p[2 * i + 1] << 8));
    *out++ = unit;
    if (unit != kCR) continue;
    *out++ = kLF;
    if (i + 1 < units && p[2 * i + 2] == '\n' && p[2 * i + 3] == 0) ++i;
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
  return text;
}

}  // namespace

StagingText& StagingText::operator=(const std::wstring& text) { return *this = std::wstring(text); }

StagingText& StagingText::operator=(std::wstring&& text) {
  if (FitsInBytes(text)) {
    std::string bytes(text.size(), '\0');
    std::transform(text.begin(), text.end(), bytes.begin(), [](wchar_t c) { return static_cast<char>(c); });
    AssignBytes(std::move(bytes));
  } else {
    wide_ = true;
    wideText_ = std::move(text);
    wideText_.shrink_to_fit();
    std::string().swap(bytes_);
  }
  return *this;
}

void StagingText::AssignBytes(std::string bytes) {
  wide_ = false;
  bytes_ = std::move(bytes);
  std::wstring().swap(wideText_);
}

std::wstring StagingText::Wide() const { return wide_ ? wideText_ : WidenBytes(bytes_); }

bool StagingText::operator==(const std::wstring& text) const {
  if (wide_) return wideText_ == text;
  if (bytes_.size() != text.size()) return false;
  for (std::size_t i = 0; i < bytes_.size(); ++i) {
    if (static_cast<wchar_t>(static_cast<unsigned char>(bytes_[i])) != text[i]) return false;
  }
  return true;
}

StagingText DecodeSourceBytes(const std::string& bytes) {
  const bool utf16 =
      bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE;
  StagingText text;
  if (utf16) {
    text = DecodeUtf16(bytes);
  } else {
    text.AssignBytes(DecodeEightBit(bytes));
  }
  return text;
}

bool ReadSourceFile(const std::string& path, StagingText& text, int& error) {
  std::string bytes;
  if (!platform::ReadRegularFile(path, bytes, error)) return false;
  text = DecodeSourceBytes(bytes);
  return true;
}

std::wstring WidenBytes(const std::string& bytes) {
  std::wstring text(bytes.size(), L'\0');
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
  if (!bytes.empty()) WidenInto(p, p + bytes.size(), &text[0]);
  return text;
}

// Six pieces, one per section kind, each ending with an empty line. Line 5
// sets the clock mode from a crystal source and the largest multiplier.
const std::wstring& NewDocumentText() {
  static const std::wstring text =
      L"'Vorn colorizer test\n"
      L"CON 'Constants section \n"
      L"\n"
      L"CON regular text\n"
      L"   _TICKMODE = XTLOW + MUL16 \n"
      L"\n"
      // objects
      L"OBJ 'This is an object section\n"
      L"\n"
      L"OBJ 'test objects \n"
      L"     vga     : \"Ostravel\" \n"
      L"\n"
      // variables
      L"VAR 'a variable section\n"
      L"\n"
      L"VAR 'test vars \n"
      L"    long touch_x\n"
      L"\n"
      // public methods
      L"PUB 'a public section\n"
      L"\n"
      L"PUB 'Test pub \n"
      L"     bTestSD:=true \n"
      L"\n"
      // private methods
      L"PRI 'a private section\n"
      L"\n"
      L"PRI  'Test pri\n"
      L"   Ser.start(24,30,0,9600)\n"
      L"\n"
      // data
      L"DAT'a dat section\n"
      L"\n"
      L"DAT  'Test dat\n"
      L"     bPlaying byte false\n"
      L"\n";
  return text;
}

}  // namespace sourcefile
