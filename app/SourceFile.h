// The source file format on the way in: reading a file into a document's
// wide staging text, and the text of a new document.
#pragma once

#include <string>

namespace sourcefile {

// The staging text of a file's bytes. Files that begin with FF FE are
// UTF-16 little-endian: every unit becomes one character, the byte-order mark
// included, a last odd byte is ignored, and line ends become CR LF for CR and
// CR LF, LF for LF. Anything else is 8-bit text: each byte becomes the
// character of the same value (NUL and 0x1A included), each line, ended by LF
// or CR LF or by the end of the file, is followed by CR LF; a CR not followed
// by LF stays in its line as a character.
std::wstring DecodeSourceBytes(const std::string& bytes);

// Reads the whole file at `path` (in the file system's encoding). False when
// it cannot be opened or read; `error` then holds the system error number.
bool ReadFileBytes(const std::string& path, std::string& bytes, int& error);

// DecodeSourceBytes of the file's bytes; false as ReadFileBytes.
bool ReadSourceFile(const std::string& path, std::wstring& text, int& error);

// Each byte as the character of the same value.
std::wstring WidenBytes(const std::string& bytes);

// The text of a new document: 31 lines, each followed by LF.
const std::wstring& NewDocumentText();

}  // namespace sourcefile
