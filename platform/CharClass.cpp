// The two byte-class tables. Bytes below 0x80 class the same in both.
#include "platform/CharClass.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace platform {
namespace {

using ClassTable = CharClassTable;
constexpr std::uint8_t kAlnum = CharClassTable::kAlnum;
constexpr std::uint8_t kBlank = CharClassTable::kBlank;
constexpr std::uint8_t kSpace = CharClassTable::kSpace;
constexpr std::uint8_t kPrint = CharClassTable::kPrint;

void FillAscii(ClassTable& t) {
  for (int b = 0; b < 256; ++b) t.upper[b] = static_cast<unsigned char>(b);
  for (int b = 0; b < 128; ++b) {
    std::uint8_t c = 0;
    if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) c |= kAlnum;
    if (b == ' ' || b == '\t') c |= kBlank;
    if (b == ' ' || (b >= 9 && b <= 13)) c |= kSpace;
    if (b >= 0x20 && b <= 0x7E) c |= kPrint;
    t.classes[b] = c;
    if (b >= 'a' && b <= 'z') t.upper[b] = static_cast<unsigned char>(b - 'a' + 'A');
  }
}

ClassTable MakeDefaultTable() {
  ClassTable t;
  FillAscii(t);
  return t;
}

// Code page 437: the accented Latin letters 0x80-0x9A and 0xA0-0xA7 (with the
// ordinal indicators), the florin 0x9F, the Greek letters 0xE0-0xEB, 0xED and
// 0xEE and the superscript n 0xFC are letters; 0xFF is the no-break space.
// Every byte from 0x80 up is printable. Lower-case letters with an upper-case
// partner in the page upper-case to it.
ClassTable MakeOemTable() {
  ClassTable t;
  FillAscii(t);
  auto letters = [&t](int from, int to) {
    for (int b = from; b <= to; ++b) t.classes[b] |= kAlnum;
  };
  for (int b = 0x80; b <= 0xFF; ++b) t.classes[b] |= kPrint;
  letters(0x80, 0x9A);
  letters(0x9F, 0x9F);
  letters(0xA0, 0xA7);
  letters(0xE0, 0xEB);
  letters(0xED, 0xEE);
  letters(0xFC, 0xFC);
  t.classes[0xFF] |= kBlank | kSpace;
  const unsigned char pairs[][2] = {
      {0x81, 0x9A}, {0x82, 0x90}, {0x84, 0x8E}, {0x86, 0x8F},
      {0x87, 0x80}, {0x91, 0x92}, {0x94, 0x99}, {0xA4, 0xA5},
  };
  for (const auto& p : pairs) t.upper[p[0]] = p[1];
  return t;
}

const ClassTable kDefaultTable = MakeDefaultTable();
const ClassTable kOemTable = MakeOemTable();
std::atomic<const ClassTable*> g_table{&kDefaultTable};

inline const ClassTable& Table() { return *g_table.load(std::memory_order_relaxed); }

}  // namespace

const CharClassTable& CurrentCharClasses() { return Table(); }

bool IsAlnum(unsigned char b) { return Table().classes[b] & kAlnum; }
bool IsBlank(unsigned char b) { return Table().classes[b] & kBlank; }
bool IsSpace(unsigned char b) { return Table().classes[b] & kSpace; }
bool IsPrint(unsigned char b) { return Table().classes[b] & kPrint; }
unsigned char ToUpper(unsigned char b) { return Table().upper[b]; }

void UseOemCharClasses() { g_table.store(&kOemTable, std::memory_order_relaxed); }
bool OemCharClassesInUse() { return g_table.load(std::memory_order_relaxed) == &kOemTable; }
void UseDefaultCharClasses() { g_table.store(&kDefaultTable, std::memory_order_relaxed); }

}  // namespace platform
