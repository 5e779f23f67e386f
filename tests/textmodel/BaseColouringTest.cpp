// Base colouring: words by section kind and mode, operator runs, "#" in DAT lines, high bytes.
#include <gtest/gtest.h>

#include <array>

#include "platform/CharClass.h"
#include "textmodel/Colorizer.h"
#include "textmodel/SectionShades.h"

namespace {

// One colour per code letter: keyword, mnemonic, flow, operator, DAT "#", plain.
std::vector<COLORREF> Expect(const std::string& codes) {
  const std::array<COLORREF, 6> colours = {0x010000, 0x80, 0x808080, 0x8000, 0x800000, 0};
  std::vector<COLORREF> v;
  for (char k : codes) v.push_back(colours.at(std::string("KMFOH.").find(k)));
  return v;
}

TEST(BaseColouringTest, WordsRunsAndHashByClassModeAndTable) {
  constexpr COLORREF Co = kConOddShade, Pu = kPubOddShade, Da = kDatOddShade, kNoShade = 0x123456;
  struct Case { const wchar_t* mode; bool oem; COLORREF shade; const char* line; const char* codes; };
  const wchar_t *v1 = L"Vorn1", *v2 = L"Vorn2";
  const char *sections = "con Var OBJ pub Pri dAT", *all = "KKK.KKK.KKK.KKK.KKK.KKK", *dat = "addw add alignw";
  const Case cases[] = {
      {v1, 0, Da, "DAT dat Dat", "KKK........"}, {v2, 0, kDatEvenShade, "DAT dat Dat", "KKK........"},
      {v1, 0, Co, sections, all}, {v1, 0, kVarEvenShade, sections, all}, {v1, 0, kPriEvenShade, sections, all},
      {v1, 0, kNoShade, sections, all}, {v1, 0, kObjOddShade, "OBJ obj asreal PUB", "........KKKKKK...."},
      {v1, 0, kVarEvenShade, "leave", "....."}, {v1, 0, kPubEvenShade, "leave", "KKKKK"},
      // The directive rule comes after the mnemonic rule; "Vorn2" exactly selects the second generation.
      {v1, 0, Da, "reserve add origin", "KKKKKKK.MMM.KKKKKK"}, {v1, 0, Pu, "add", "..."},
      {v2, 0, kDatEvenShade, dat, "MMMM.....KKKKKK"}, {L"vorn2", 0, kDatEvenShade, dat, ".....MMM......."},
      {L"Vorn2 ", 0, Da, dat, ".....MMM......."}, {L"", 0, Da, dat, ".....MMM......."},
      {v1, 0, Pu, "  loop PUB", "..FFFF.KKK"}, {v1, 0, kNoShade, "  loop PUB", "..FFFF.KKK"},
      {v1, 0, Co, "  loop PUB", ".......KKK"}, {v1, 0, Da, "  loop PUB", ".........."},
      // Whole words only; "_" belongs to the word.
      {v1, 0, Pu, "CON_ CONx CON", "..........KKK"}, {v1, 0, Pu, "CON1 xCON", "........."},
      {v1, 0, Pu, "_tickmode+", "KKKKKKKKKO"}, {v1, 0, Co, "CON,PUB(DAT)", "KKK.KKK.KKK."},
      // A high byte ends a word and joins a run, unless the OEM table has it a letter or blank.
      {v1, 0, Co, "CON\x81", "KKK."}, {v1, 0, Pu, ":=\x81", "..."}, {v1, 0, Pu, ":=\xFF" "CON", "...KKK"},
      {v1, 1, Co, "CON\x81", "...."}, {v1, 1, Co, "\x81" "CON", "...."}, {v1, 1, Pu, ":=\x81", "OO."},
      {v1, 1, Pu, ":=\xFF" "CON", "OO.KKK"}, {v1, 1, Pu, "\xB0:=", "..."}, {v1, 1, Co, "CON\xFF" "CON", "KKK.KKK"},
      // "#" only in DAT lines; a run is looked up whole, trimmed of white space.
      {v1, 0, Da, "# x#y ##", "H..H..HH"}, {v2, 0, kDatEvenShade, "# x#y ##", "H..H..HH"},
      {v1, 0, Co, "# x#y ##", "........"}, {v1, 0, kNoShade, "# x#y ##", "........"},
      {v1, 0, Da, "#:= x", "H...."}, {v1, 0, Da, "x := y", "..OO.."}, {v1, 0, kObjEvenShade, "x := y", "..OO.."},
      {v1, 0, Pu, "x :=\r", "..OOO"}, {v1, 0, Pu, "x\v:=\f", ".OOOO"}, {v1, 0, Pu, "x\r\r", "..."},
      {v1, 0, Pu, "x+-y", "...."}, {v1, 0, Pu, "x :=_y", "......"}, {v1, 0, Pu, "x and y", "......."},
      {v1, 0, Pu, "\tPUB\tloop\t:=\t#", ".KKK.FFFF.OO.."}, {v1, 0, Da, "add\t#", "MMM.H"}, {v1, 0, Pu, " \t ", "..."},
  };
  CColorizer c;
  c.LoadKeywords(L"Keywords.ini");
  c.LoadOperators();
  c.LoadFlowKeywords();
  for (const Case& t : cases) {
    SCOPED_TRACE(std::string(t.line) + " shade " + std::to_string(t.shade));
    c.mode = t.mode;
    t.oem ? platform::UseOemCharClasses() : platform::UseDefaultCharClasses();
    std::vector<COLORREF> v(40, 0xABCDEF);
    c.ColorLine(t.line, v, t.shade, 0);
    EXPECT_EQ(v, Expect(t.codes));
  }
  platform::UseDefaultCharClasses();
}

}  // namespace

// The line is sorted in blocks of 64 bytes: a word or run that crosses from one block into the next is
// still one word or run, and one that starts a block after a block ending in another is not.
TEST(BaseColouringTest, WordsAndRunsAcrossBlocks) {
  CColorizer c;
  c.LoadKeywords(L"Keywords.ini");
  c.LoadOperators();
  const struct { std::string line, codes; } cases[] = {
      {std::string(62, ' ') + "CON", std::string(62, '.') + "KKK"},
      {std::string(63, 'x') + "CON", std::string(66, '.')},
      {std::string(63, 'x') + " CON", std::string(64, '.') + "KKK"},
      {std::string(63, ' ') + ":=", std::string(63, '.') + "OO"},
      {std::string(62, ' ') + "x:=" + std::string(125, ' ') + "x:=", std::string(63, '.') + "OO" + std::string(126, '.') + "OO"},
      {std::string(63, ' ') + "-:=", std::string(66, '.')},
  };
  for (const auto& t : cases) {
    std::vector<COLORREF> v;
    c.ColorLine(t.line, v, kPubOddShade, 0);
    EXPECT_EQ(v, Expect(t.codes)) << t.line.size();
  }
}
