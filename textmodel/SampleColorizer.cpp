// The sample colorizer: the base colouring, then string literals, apostrophe
// and brace comments in darker tints of the section shade, and numerals.
#include "textmodel/SampleColorizer.h"

#include <algorithm>
#include <cstdint>

#include "textmodel/LineMasks.h"
#include "textmodel/SectionShades.h"

namespace {

constexpr COLORREF kString = 0x3333F7;
constexpr COLORREF kNumeral = 0x808000;

struct CommentColours {
  COLORREF comment;
  COLORREF doc;
};

CommentColours CommentColoursFor(COLORREF background) {
  switch (background) {
    case kConOddShade: return {0x389BA8, 0x33636A};
    case kConEvenShade: return {0x37909C, 0x315C62};
    case kVarOddShade: return {0x376FA7, 0x324E69};
    case kVarEvenShade: return {0x37699B, 0x314962};
    case kObjOddShade: return {0x3737A7, 0x323269};
    case kObjEvenShade: return {0x37379B, 0x313162};
    case kPubOddShade: return {0xA76F37, 0x694E32};
    case kPubEvenShade: return {0x9B6937, 0x624931};
    case kPriOddShade: return {0xA79B37, 0x696332};
    case kPriEvenShade: return {0x9B9037, 0x625C31};
    case kDatOddShade: return {0x47A737, 0x326932};
    case kDatEvenShade: return {0x459B37, 0x376231};
    default: return {0x000000, 0x000000};
  }
}

}  // namespace

// The additions run in order, each overriding the one before: string
// literals, apostrophe comments (the first apostrophe starts the comment
// colour, every further one the doc-comment colour), brace comments (a
// running depth from the depth at the line's start; nesting level 1 in the
// comment colour, deeper in the doc-comment colour), and numerals on digits
// still plain. The line is sorted once; every step then jumps from one of its
// quotes, apostrophes, braces or digits to the next.
//
// Everything from the first apostrophe on ends in a comment colour whatever
// the base colouring and the literals gave it, so both are worked out only
// for the bytes before it (a word or run that begins before it is still
// looked up whole).
void CSampleColorizer::ColorLine(const std::string& line, std::vector<COLORREF>& colours,
                                 COLORREF background, int braceDepth) {
  const std::size_t n = line.size();
  if (n == 0) {
    colours.clear();
    return;
  }
  colours.resize(n);
  const CommentColours tint = CommentColoursFor(background);
  COLORREF* out = colours.data();
  const LineMasks masks(line);

  const std::size_t comment = masks.Find(linemasks::kApostrophe, 0);
  ColorWordsAndRuns(line, masks, out, background, comment);

  for (std::size_t quote = masks.Find(linemasks::kQuote, 0); quote < comment;) {
    const std::size_t close = masks.Find(linemasks::kQuote, quote + 1);
    const std::size_t end = std::min(close < n ? close + 1 : n, comment);
    std::fill(out + quote, out + end, kString);
    quote = end < comment ? masks.Find(linemasks::kQuote, end) : comment;
  }

  if (comment < n) {
    const std::size_t doc = masks.Find(linemasks::kApostrophe, comment + 1);
    linemasks::Fill(out + comment, out + doc, tint.comment);
    linemasks::Fill(out + doc, out + n, tint.doc);
  }

  // Brace comments. Outside a comment and without a "{", a "}" changes no
  // colour, so such a line needs no walk at all.
  std::size_t open = masks.Find(linemasks::kOpenBrace, 0);
  if (braceDepth > 0 || open < n) {
    // Wider than the depth so that no count of braces can overflow it.
    std::int64_t depth = braceDepth;
    std::size_t close = masks.Find(linemasks::kCloseBrace, 0);
    std::size_t from = 0;
    while (true) {
      const std::size_t brace = std::min(open, close);
      if (depth > 0) std::fill(out + from, out + brace, depth > 1 ? tint.doc : tint.comment);
      if (brace == n) break;
      if (brace == close) {
        if (depth > 0) out[brace] = depth > 1 ? tint.doc : tint.comment;
        --depth;
        close = masks.Find(linemasks::kCloseBrace, brace + 1);
      } else {
        out[brace] = depth < 1 ? tint.comment : tint.doc;
        ++depth;
        open = masks.Find(linemasks::kOpenBrace, brace + 1);
      }
      from = brace + 1;
    }
  }

  masks.ForEachByte(linemasks::kDigit, n, [out](std::size_t k) {
    out[k] = out[k] == 0 ? kNumeral : out[k];
  });
}
