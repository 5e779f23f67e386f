// The six section kinds and their two background shades each (0x00BBGGRR):
// the n-th header of a kind takes the odd shade when n is odd, else the even.
#pragma once

#include "textmodel/Types.h"

enum class SectionKind { Con, Var, Obj, Pub, Pri, Dat };

constexpr COLORREF kConOddShade = 0xA8F3FD;
constexpr COLORREF kConEvenShade = 0xC0F8FF;
constexpr COLORREF kVarOddShade = 0xBFDFFF;
constexpr COLORREF kVarEvenShade = 0xA7D2FD;
constexpr COLORREF kObjOddShade = 0xBFBFFF;
constexpr COLORREF kObjEvenShade = 0xA7A7FD;
constexpr COLORREF kPubOddShade = 0xFFDFBF;
constexpr COLORREF kPubEvenShade = 0xFDD2A7;
constexpr COLORREF kPriOddShade = 0xFFF8BF;
constexpr COLORREF kPriEvenShade = 0xFDF3A7;
constexpr COLORREF kDatOddShade = 0xC8FFBF;
constexpr COLORREF kDatEvenShade = 0xB3FDA7;

// Text before the first header is shaded as the first CON section.
constexpr COLORREF kShadeBeforeFirstHeader = kConOddShade;

struct SectionKindShades {
  SectionKind kind;
  const char* word;  // the header word, upper case
  COLORREF odd;
  COLORREF even;
};

// In the order of the model's running-count arrays.
constexpr SectionKindShades kSectionKinds[6] = {
    {SectionKind::Con, "CON", kConOddShade, kConEvenShade},
    {SectionKind::Var, "VAR", kVarOddShade, kVarEvenShade},
    {SectionKind::Obj, "OBJ", kObjOddShade, kObjEvenShade},
    {SectionKind::Pub, "PUB", kPubOddShade, kPubEvenShade},
    {SectionKind::Pri, "PRI", kPriOddShade, kPriEvenShade},
    {SectionKind::Dat, "DAT", kDatOddShade, kDatEvenShade},
};
