// Byte character classes (letters/digits, blanks, white space, printable) and
// upper-casing, in one of two process-wide tables: the default table, which
// classes only ASCII, and the OEM table (code page 437), which the editor
// switches the whole process to when it handles its first typed character.
#pragma once

#include <array>
#include <cstdint>

namespace platform {

// One table: a class mask and the upper-case form of every byte. Hot loops may
// fetch the table in force once and index it directly.
struct CharClassTable {
  enum : std::uint8_t { kAlnum = 1, kBlank = 2, kSpace = 4, kPrint = 8 };
  std::array<std::uint8_t, 256> classes{};
  std::array<unsigned char, 256> upper{};
};

const CharClassTable& CurrentCharClasses();

bool IsAlnum(unsigned char b);
bool IsBlank(unsigned char b);   // space and tab, and OEM blanks
bool IsSpace(unsigned char b);   // white space for trimming
bool IsPrint(unsigned char b);
unsigned char ToUpper(unsigned char b);

// Switches every class test in the process to the OEM code page. It stays in
// force for the life of the process.
void UseOemCharClasses();
bool OemCharClassesInUse();

// Back to the default table; for tests that need a known starting point.
void UseDefaultCharClasses();

}  // namespace platform
