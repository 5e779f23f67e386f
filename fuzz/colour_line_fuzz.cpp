// One line of arbitrary bytes coloured at an arbitrary shade and start depth,
// by the base and the sample colorizer, in both language modes and under both
// character tables, compared with the plain reading of the colouring rules.
//
// Input: byte 0 picks the shade (below 224: one of the section shades or a
// value that is no shade; else bytes 1 to 3 are the shade itself); bytes 4 to
// 7 are the depth at the line's start (signed, first byte lowest); byte 8
// picks the keyword sets (low two bits: loaded, never loaded, loaded with
// extra elements that lead with a digit or hold marks), the letter case
// (bit 2 set: case-sensitive lookups) and the size of the stale colour vector
// the line is coloured into (the upper five bits); the rest is the line.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "platform/CharClass.h"
#include "support/PlainColouring.h"
#include "textmodel/SampleColorizer.h"

namespace {

struct Colorizers {
  CColorizer base;
  CSampleColorizer sample;
};

Colorizers& Set(int which) {
  static Colorizers sets[3];
  static bool loaded = false;
  if (!loaded) {
    loaded = true;
    plain::LoadAll(sets[0].base);
    plain::LoadAll(sets[0].sample);
    for (CColorizer* c : {&sets[2].base, static_cast<CColorizer*>(&sets[2].sample)}) {
      c->keywords.insert({"9LIVES", "AVERYLONGKEYWORDNAME", "WHEN"});
      c->flowKeywords.insert("0");
      c->operators.insert({"_+", "#", "{", "'", "\"}"});
      plain::LoadAll(*c);
    }
  }
  return sets[which];
}

std::string Describe(const std::vector<COLORREF>& v) {
  std::string s;
  char buf[12];
  for (COLORREF c : v) {
    std::snprintf(buf, sizeof buf, "%06X ", static_cast<unsigned>(c));
    s += buf;
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const std::uint8_t pick = in.Byte();
  const std::uint32_t raw = in.Byte() | (in.Byte() << 8) | (in.Byte() << 16);
  const COLORREF shade = pick < 224 ? plain::kTints[pick % std::size(plain::kTints)][0] : raw;
  const auto depth = static_cast<std::int32_t>(in.Word());
  const std::uint8_t flags = in.Byte();
  const std::string line = in.Rest();

  Colorizers& set = Set((flags & 3) == 3 ? 0 : flags & 3);
  const std::int32_t caseInsensitive = (flags & 4) ? 0 : 1;
  const std::size_t staleSize = flags >> 3;
  for (int table = 0; table < 2; ++table) {
    table ? platform::UseOemCharClasses() : platform::UseDefaultCharClasses();
    for (const wchar_t* mode : {L"Vorn1", L"Vorn2"}) {
      for (int sample = 0; sample < 2; ++sample) {
        CColorizer& c = sample ? static_cast<CColorizer&>(set.sample) : set.base;
        c.mode = mode;
        c.caseInsensitive = caseInsensitive;
        std::vector<COLORREF> colours(staleSize * 7, 0xDEAD);
        c.ColorLine(line, colours, shade, depth);
        const std::vector<COLORREF> expected =
            sample ? plain::Sample(c, line, shade, depth) : plain::Base(c, line, shade);
        if (colours != expected) {
          char head[160];
          std::snprintf(head, sizeof head, "%s colouring differs: table %d, mode %ls, shade %06X, depth %d, case-insensitive %d",
                        sample ? "sample" : "base", table, mode, static_cast<unsigned>(shade), depth,
                        caseInsensitive);
          fuzz::Fail(std::string(head) + "\nline     \"" + fuzz::Escaped(line) + "\"\ncoloured " + Describe(colours) +
                     "\nexpected " + Describe(expected));
        }
      }
    }
  }
  platform::UseDefaultCharClasses();
  return 0;
}
