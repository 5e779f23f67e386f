// Basic types shared by the text model, the editor and the shell.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// A colour as 0x00BBGGRR.
using COLORREF = std::uint32_t;

// Raised for a line index outside the lines, and other arguments a caller must
// never pass. The model and the editor report no other errors.
class InvalidArgumentError : public std::invalid_argument {
 public:
  explicit InvalidArgumentError(const std::string& what = "invalid argument")
      : std::invalid_argument(what) {}
};
