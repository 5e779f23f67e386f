// The source file format on the way in: reading a file into a document's
// staging text, the compact store of that text, and the text of a new document.
#pragma once

#include <cstddef>
#include <string>

namespace sourcefile {

// A document's staging text, stored compactly: as one byte per character
// when every character is below U+0100 (always so for 8-bit files and after a
// save), wide only when some character needs it. Reads as a std::wstring.
class StagingText {
 public:
  StagingText& operator=(const std::wstring& text);
  StagingText& operator=(std::wstring&& text);
  // Each byte as the character of the same value.
  void AssignBytes(std::string bytes);

  // Whether the text is stored a byte per character; Bytes() is then the
  // text, each byte the character of the same value.
  bool InBytes() const { return !wide_; }
  const std::string& Bytes() const { return bytes_; }

  // The text as wide characters (built on each call when stored compactly).
  std::wstring Wide() const;
  // The text as stored wide, without a copy; empty when InBytes().
  const std::wstring& WideStore() const { return wideText_; }
  operator std::wstring() const { return Wide(); }  // NOLINT: reads as the wide text it stores

  bool empty() const { return wide_ ? wideText_.empty() : bytes_.empty(); }
  // Characters.
  std::size_t size() const { return wide_ ? wideText_.size() : bytes_.size(); }
  // The first stored unit (a byte or a wide character, as stored).
  const void* data() const { return wide_ ? static_cast<const void*>(wideText_.data()) : bytes_.data(); }

  bool operator==(const std::wstring& text) const;
  bool operator!=(const std::wstring& text) const { return !(*this == text); }

 private:
  bool wide_ = false;
  std::string bytes_;       // the text when !wide_
  std::wstring wideText_;   // the text when wide_
};

inline bool operator==(const std::wstring& text, const StagingText& staging) { return staging == text; }
inline bool operator!=(const std::wstring& text, const StagingText& staging) { return staging != text; }

// The staging text of a file's bytes. Files that begin with FF FE are
// UTF-16 little-endian: every unit becomes one character, the byte-order mark
// included, a last odd byte is ignored, and line ends become CR LF for CR and
// CR LF, LF for LF. Anything else is 8-bit text: each byte becomes the
// character of the same value (NUL and 0x1A included); a line ends at LF, at
// CR LF or at a CR not followed by LF, or at the end of the file, and each
// line is followed by CR LF.
StagingText DecodeSourceBytes(const std::string& bytes);

// DecodeSourceBytes of the bytes of the file at `path` (in the file system's
// encoding). False when it cannot be read, also when it is no regular file
// (a pipe, socket, device or folder is refused at once, never waited on);
// `error` then holds the system error number.
bool ReadSourceFile(const std::string& path, StagingText& text, int& error);

// Each byte as the character of the same value.
std::wstring WidenBytes(const std::string& bytes);

// The text of a new document: 31 lines, each followed by LF.
const std::wstring& NewDocumentText();

}  // namespace sourcefile
