// Recolouring that reuses the stored analysis: after random line replacements, local analyses,
// insertions, removals, wholesale replacements and context changes, everything RecolourAll leaves
// (depths, shades, counts, section list, section flag, colours, longest line) is what a model that
// analyses and colours the same lines from scratch gives.
#include <gtest/gtest.h>

#include <exception>
#include <random>
#include <string>
#include <vector>

#include "platform/CharClass.h"
#include "support/RandomLines.h"
#include "textmodel/SampleColorizer.h"
#include "textmodel/TextModel.h"

namespace {

const char* const kPieces[] = {"PUB main", "PRI go", "CON", "VAR", "DAT", "OBJ", "  repeat", "{", "}", "{{", "}}",
                               "'", "' c {", "x := 1", "  ", "$FF", "\xE9t\xE9", "dat", "pub", "con ' c"};

struct Random : RandomLines {
  explicit Random(unsigned seed) : RandomLines(seed, {std::begin(kPieces), std::end(kPieces)}, 3) {}
};

// What RecolourAll gives on a model that has never analysed or coloured: the stored results of `m`
// taken over, so that its flag tells whether a whole analysis finds them changed.
struct FromScratch {
  CTextModel m;
  explicit FromScratch(const CTextModel& from) {
    m.colorizer = from.colorizer;
    m.lines = from.lines;
    m.lineColours.assign(from.lines.size(), {});
    m.lineBackground = from.lineBackground;
    m.braceDepth = from.braceDepth;
    m.conCount = from.conCount;
    m.varCount = from.varCount;
    m.objCount = from.objCount;
    m.pubCount = from.pubCount;
    m.priCount = from.priCount;
    m.datCount = from.datCount;
    m.sectionNames = from.sectionNames;
    m.sectionLines = from.sectionLines;
    m.RecolourAll();
  }
};

std::string Unlike(const CTextModel& m, const CTextModel& fresh) {
  if (fresh.braceDepth != m.braceDepth) return "depths";
  if (fresh.lineBackground != m.lineBackground) return "shades";
  if (fresh.conCount != m.conCount || fresh.varCount != m.varCount || fresh.objCount != m.objCount ||
      fresh.pubCount != m.pubCount || fresh.priCount != m.priCount || fresh.datCount != m.datCount)
    return "counts";
  if (fresh.sectionNames != m.sectionNames || fresh.sectionLines != m.sectionLines) return "section list";
  if (fresh.sectionsChanged != m.sectionsChanged) return "section flag";
  for (std::size_t i = 0; i < m.lines.size(); ++i)
    if (fresh.lineColours[i] != m.lineColours[i]) return "colours of line " + std::to_string(i);
  if (fresh.maxLineLength != m.maxLineLength) return "longest line";
  return {};
}

TEST(AnalysisReuseTest, RecolouringAfterRandomOperationsGivesWhatAWholeAnalysisGives) {
  CSampleColorizer colorizer;
  colorizer.LoadKeywords(L"Keywords.ini");
  colorizer.LoadOperators();
  for (unsigned seed = 1; seed <= 60; ++seed) {
    Random r(seed);
    CTextModel m;
    m.colorizer = &colorizer;
    for (int i = 0; i < 40; ++i) m.InsertLine(r.Line(), i, false);
    m.lineColours.assign(m.lines.size(), {});
    m.RecolourAll();
    for (int step = 0; step < 150; ++step) {
      const int n = m.LineCount();
      // A few operations between recolourings, mostly line replacements.
      for (int k = r.Pick(4) + 1; k > 0; --k) {
        const int at = r.Pick(m.LineCount());
        // An operation may be refused (a line inserted without analysis has no shade yet to be
        // coloured with); the model goes on from where it left off.
        try {
        switch (r.Pick(12)) {
          case 0: m.InsertLine(r.Line(), at, r.Pick(2) == 0); break;
          case 1: if (m.LineCount() > 1) m.RemoveLine(at); break;
          case 2: m.AnalyzeAround(at); break;
          case 3:  // the lines replaced wholesale, their colours emptied
            for (std::string& line : m.lines) if (r.Pick(8) == 0) line = r.Line();
            m.lineColours.assign(m.lines.size(), {});
            break;
          case 4: colorizer.mode = colorizer.mode == L"Vorn2" ? L"" : L"Vorn2"; break;
          case 5:
            if (r.Pick(2)) platform::UseOemCharClasses(); else platform::UseDefaultCharClasses();
            break;
          case 6: m.AnalyzeSections(); break;
          default:  // as the editor types: the line replaced, then often analysed around
            m.SetLine(r.Line(), at);
            if (r.Pick(2)) m.AnalyzeAround(at);
            break;
        }
        } catch (const std::exception&) {
        }
      }
      const FromScratch fresh(m);
      m.sectionsChanged = false;
      m.RecolourAll();
      ASSERT_EQ(Unlike(m, fresh.m), "") << "seed " << seed << " step " << step << " lines " << n;
    }
  }
  platform::UseDefaultCharClasses();
}

}  // namespace
