// The default and OEM byte-class tables, especially above 0x7F.
#include "platform/CharClass.h"

#include <gtest/gtest.h>

namespace {

class CharClassTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::UseDefaultCharClasses(); }
};

TEST_F(CharClassTest, DefaultTableClassesOnlyAscii) {
  platform::UseDefaultCharClasses();
  EXPECT_FALSE(platform::OemCharClassesInUse());
  for (int b = 0x80; b <= 0xFF; ++b) {
    const auto u = static_cast<unsigned char>(b);
    EXPECT_FALSE(platform::IsAlnum(u)) << b;
    EXPECT_FALSE(platform::IsBlank(u)) << b;
    EXPECT_FALSE(platform::IsSpace(u)) << b;
    EXPECT_FALSE(platform::IsPrint(u)) << b;
    EXPECT_EQ(platform::ToUpper(u), u) << b;
  }
  EXPECT_TRUE(platform::IsAlnum('z'));
  EXPECT_TRUE(platform::IsAlnum('0'));
  EXPECT_FALSE(platform::IsAlnum('_'));
  EXPECT_TRUE(platform::IsBlank('\t'));
  EXPECT_FALSE(platform::IsBlank('\n'));
  EXPECT_TRUE(platform::IsSpace('\r'));
  EXPECT_TRUE(platform::IsSpace('\v'));
  EXPECT_FALSE(platform::IsPrint(0x7F));
  EXPECT_TRUE(platform::IsPrint(' '));
  EXPECT_EQ(platform::ToUpper('q'), 'Q');
}

TEST_F(CharClassTest, OemTableAddsCodePage437Letters) {
  platform::UseOemCharClasses();
  EXPECT_TRUE(platform::OemCharClassesInUse());
  // Letters: Ç ü é ... Ü, á í ó ú ñ Ñ ª º, the Greek block, ⁿ.
  for (int b : {0x80, 0x81, 0x8E, 0x9A, 0x9F, 0xA0, 0xA5, 0xA7, 0xE0, 0xE1, 0xEB, 0xED, 0xEE, 0xFC})
    EXPECT_TRUE(platform::IsAlnum(static_cast<unsigned char>(b))) << b;
  // Not letters: currency signs, box drawing, shading, maths.
  for (int b : {0x9B, 0x9C, 0x9D, 0x9E, 0xA8, 0xB0, 0xB3, 0xC4, 0xDB, 0xEC, 0xF1, 0xFD, 0xFE, 0xFF})
    EXPECT_FALSE(platform::IsAlnum(static_cast<unsigned char>(b))) << b;
  for (int b = 0x80; b <= 0xFF; ++b) EXPECT_TRUE(platform::IsPrint(static_cast<unsigned char>(b))) << b;
  EXPECT_TRUE(platform::IsBlank(0xFF));
  EXPECT_TRUE(platform::IsSpace(0xFF));
  EXPECT_FALSE(platform::IsBlank(0xFE));
  // Upper-casing pairs within the page; upper-case and caseless bytes stay.
  EXPECT_EQ(platform::ToUpper(0x81), 0x9A);  // ü -> Ü
  EXPECT_EQ(platform::ToUpper(0x87), 0x80);  // ç -> Ç
  EXPECT_EQ(platform::ToUpper(0xA4), 0xA5);  // ñ -> Ñ
  EXPECT_EQ(platform::ToUpper(0x9A), 0x9A);
  EXPECT_EQ(platform::ToUpper(0xE0), 0xE0);
  // ASCII is classed the same in both tables.
  EXPECT_TRUE(platform::IsAlnum('a'));
  EXPECT_FALSE(platform::IsPrint(0x1F));
  EXPECT_EQ(platform::ToUpper('a'), 'A');
}

}  // namespace
