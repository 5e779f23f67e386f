// Reads a fuzz input from the front: fixed fields first, so that hand-written
// seeds stay readable. Past the end every read gives zero bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Empty() const { return at_ >= size_; }
  std::size_t Left() const { return at_ < size_ ? size_ - at_ : 0; }

  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

  // Four bytes, the first lowest.
  std::uint32_t Word() {
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k) v |= std::uint32_t{Byte()} << (8 * k);
    return v;
  }

  // Up to `n` bytes, fewer at the end of the input.
  std::string Bytes(std::size_t n) {
    if (n > Left()) n = Left();
    std::string s(reinterpret_cast<const char*>(data_ + at_), n);
    at_ += n;
    return s;
  }

  std::string Rest() { return Bytes(Left()); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Reports a broken rule and stops the run, which libFuzzer records as a finding.
[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "\n*** %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

// The bytes of s with everything outside printable ASCII written as \xNN.
inline std::string Escaped(const std::string& s) {
  std::string out;
  char buf[8];
  for (unsigned char b : s) {
    if (b >= 0x20 && b < 0x7F && b != '\\' && b != '"') {
      out += static_cast<char>(b);
    } else {
      std::snprintf(buf, sizeof buf, "\\x%02X", b);
      out += buf;
    }
  }
  return out;
}

}  // namespace fuzz
