// Fonts asked for by pixel height: the same fonts wxFont makes from a pixel
// size, whatever the guess.
#include <gtest/gtest.h>
#include <wx/font.h>

#include <string>

#include "editor/PixelHeightFont.h"
#include "support/WxFixture.h"

namespace {

using PixelHeightFontTest = WxFixture;

wxFontInfo Described(wxFontFamily family, int weight) {
  wxFontInfo info;
  info.Family(family).Weight(weight);
  return info;
}

TEST_F(PixelHeightFontTest, EveryZoomHeightGivesTheFontOfWxFontsOwnSearch) {
  const struct {
    const char* name;
    wxFontFamily family;
    int weight;
  } kinds[] = {{"teletype normal", wxFONTFAMILY_TELETYPE, 500},
               {"teletype bold", wxFONTFAMILY_TELETYPE, 700},
               {"proportional", wxFONTFAMILY_SWISS, 400}};
  for (const auto& kind : kinds) {
    int guess = 0;
    for (int height = 12; height <= 74; ++height) {
      SCOPED_TRACE(std::string(kind.name) + " at " + std::to_string(height));
      const wxFont expected(wxFontInfo(wxSize(0, height)).Family(kind.family).Weight(kind.weight));
      // No guess, the size one pixel lower had (a zoom step), and guesses far off both ways.
      for (int g : {0, guess, 1, 3 * height}) {
        const wxFont made = MakeFontOfPixelHeight(Described(kind.family, kind.weight), height, g);
        EXPECT_EQ(made.GetNativeFontInfoDesc(), expected.GetNativeFontInfoDesc()) << "guess " << g;
        EXPECT_TRUE(made == expected) << "guess " << g;
      }
      guess = expected.GetPointSize();
    }
  }
}

}  // namespace
