// Text coming in from the clipboard as the UTF-8 bytes the platform hands
// over, and those bytes turned into the editor's bytes in one pass.
#pragma once

#include <wx/dataobj.h>

#include <cstddef>
#include <string>

// Receives the clipboard's Unicode text (the platform's UTF-8 format) as the
// bytes that arrive, without conversion.
class Utf8ClipboardText : public wxDataObjectSimple {
 public:
  Utf8ClipboardText() : wxDataObjectSimple(wxDataFormat(wxDF_UNICODETEXT)) {}

  const std::string& Bytes() const { return bytes_; }

  size_t GetDataSize() const override { return bytes_.size(); }
  bool GetDataHere(void* buf) const override;
  bool SetData(size_t len, const void* buf) override;

 private:
  std::string bytes_;
};

// Decodes `size` bytes of UTF-8 as the toolkit's own conversion of clipboard
// text does, and maps each character to the editor's byte (ByteOfChar),
// leaving out characters without a byte. A NUL is a character like any other.
// The conversion accepts every lead byte C2..F4 followed by its count of
// continuation bytes, whatever value they give (overlong 3- and 4-byte forms,
// surrogates, values up to 0x13FFFF); any other sequence fails the whole text.
// Returns the number of characters decoded, or kNotUtf8 when the conversion
// fails; `bytes` then holds nothing. `leftOut` is set to the number of
// characters left out (0 when the conversion fails).
constexpr std::size_t kNotUtf8 = static_cast<std::size_t>(-1);
std::size_t MapUtf8ToBytes(const char* text, std::size_t size, std::string& bytes, std::size_t& leftOut);
