// The default and OEM byte-class tables, byte by byte above 0x7F.
#include "platform/CharClass.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(CharClassTest, BothTablesAboveAndBelow0x80) {
  using namespace platform;
  using T = CharClassTable;
  UseDefaultCharClasses();
  const T defaults = CurrentCharClasses();
  EXPECT_TRUE(!OemCharClassesInUse() && IsAlnum('z') && IsAlnum('0') && !IsAlnum('_') && IsBlank('\t') &&
              !IsBlank('\n') && IsSpace('\v') && IsPrint(' ') && !IsPrint(0x7F) && ToUpper('q') == 'Q');
  UseOemCharClasses();
  const T& oem = CurrentCharClasses();
  EXPECT_TRUE(OemCharClassesInUse() && IsAlnum(0x81) && IsBlank(0xFF) && ToUpper(0x81) == 0x9A);
  // Code page 437: accented Latin letters, the florin, Greek letters and the superscript n are letters, 0xFF
  // is the no-break space, all print. The default table classes no byte from 0x80 up; ASCII is the same in both.
  const std::map<int, int> upper = {{0x81, 0x9A}, {0x82, 0x90}, {0x84, 0x8E}, {0x86, 0x8F},
                                    {0x87, 0x80}, {0x91, 0x92}, {0x94, 0x99}, {0xA4, 0xA5}};
  for (int b = 0; b < 256; ++b) {
    const bool high = b >= 0x80, letter = (high && b <= 0x9A) || b == 0x9F || (b >= 0xA0 && b <= 0xA7) ||
                                          (b >= 0xE0 && b <= 0xEB) || b == 0xED || b == 0xEE || b == 0xFC;
    EXPECT_EQ(defaults.classes[b], high ? 0 : oem.classes[b]) << b;
    EXPECT_EQ(defaults.upper[b], high ? b : oem.upper[b]) << b;
    if (!high) continue;
    EXPECT_EQ(oem.classes[b], (letter ? T::kAlnum : 0) | (b == 0xFF ? T::kBlank | T::kSpace : 0) | T::kPrint) << b;
    EXPECT_EQ(oem.upper[b], upper.count(b) ? upper.at(b) : b) << b;
  }
  UseDefaultCharClasses();
}

}  // namespace
