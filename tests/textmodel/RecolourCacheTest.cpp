// Recolouring only what changed: after random edits, mode and word-set changes, colorizer and
// character-table switches, the model's colours, shades, depths, lists, flag and longest line are those
// of a recolour from scratch; the bulk insertions and removals match the one-line operations.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/CharClass.h"
#include "support/RandomLines.h"
#include "textmodel/SampleColorizer.h"
#include "textmodel/SectionShades.h"
#include "textmodel/TextModel.h"

namespace {

using Lines_t = std::vector<std::string>;

void LoadAll(CColorizer& c) { c.LoadKeywords(L"Keywords.ini"); c.LoadOperators(); c.LoadFlowKeywords(); }

// A sample colorizer that counts its colouring calls.
class CountingColorizer : public CSampleColorizer {
 public:
  void ColorLine(const std::string& line, std::vector<COLORREF>& colours, COLORREF background,
                 int depth) override {
    ++calls;
    CSampleColorizer::ColorLine(line, colours, background, depth);
  }
  int calls = 0;
};

const char* const kWords[] = {"PUB main", "PRI go", "CON", "VAR", "DAT", "OBJ", "  repeat", "{", "}", "{{", "'",
                              "' c {", "x := 1", "\"s{\"", "mov a, #1", "waitcnt(cnt)", "  ", "$FF", "\xE9t\xE9",
                              "if", "dat", "pub"};

struct Random : RandomLines {
  explicit Random(unsigned seed) : RandomLines(seed, {std::begin(kWords), std::end(kWords)}, 4) {}
};

std::int32_t Longest(const CTextModel& m) {
  std::size_t longest = 0;
  for (const std::string& line : m.lines) longest = std::max(longest, line.size());
  return static_cast<std::int32_t>(longest);
}

// Everything a recolour from scratch of the same lines with the same colorizer gives; empty when equal.
std::string UnlikeFromScratch(const CTextModel& m) {
  CTextModel fresh;
  fresh.colorizer = m.colorizer;
  fresh.lines = m.lines;
  fresh.lineColours.assign(m.lines.size(), {});
  fresh.RecolourAll();
  for (std::size_t i = 0; i < m.lines.size(); ++i)
    if (fresh.lineColours[i] != m.lineColours[i]) return "colours of line " + std::to_string(i);
  if (fresh.lineBackground != m.lineBackground || fresh.braceDepth != m.braceDepth) return "shades or depths";
  if (fresh.conCount != m.conCount || fresh.pubCount != m.pubCount || fresh.datCount != m.datCount) return "counts";
  if (fresh.sectionNames != m.sectionNames || fresh.sectionLines != m.sectionLines) return "section lists";
  if (fresh.maxLineLength != m.maxLineLength) return "longest line";
  return {};
}

TEST(RecolourCacheTest, RandomEditsAndContextChangesGiveTheColoursOfARecolourFromScratch) {
  CSampleColorizer first, second;
  LoadAll(first);
  LoadAll(second);
  second.mode = L"Vorn2";
  for (unsigned seed = 1; seed <= 60; ++seed) {
    Random r(seed);
    platform::UseDefaultCharClasses();
    first.mode = L"Vorn1";
    first.caseInsensitive = 1;
    CTextModel m;
    m.colorizer = &first;
    m.InsertLine("", 0, true);
    for (const std::string& line : r.Lines(1 + r.Pick(40))) m.InsertLine(line, m.LineCount(), false);
    m.RecolourAll();
    for (int step = 0; step < 60; ++step) {
      const int n = m.LineCount();
      const int at = r.Pick(n);
      // A line inserted without colouring cannot be set before a recolour: the text is replaced but the
      // line not coloured, which the next recolour makes up for.
      try {
      switch (r.Pick(12)) {
        case 0: m.SetLine(r.Line(), at); break;
        case 1: m.SetLine((r.Pick(2) ? "{" : "}") + m.lines[at], at); break;  // every depth below moves
        case 2: m.InsertLine(r.Line(), r.Pick(n + 1), r.Pick(2) == 0); break;
        case 3: if (n > 1) m.RemoveLine(at); break;
        case 4: m.InsertLines(r.Pick(n + 1), r.Lines(r.Pick(6))); break;
        case 5: if (n > 1) m.RemoveLines(at, 1 + r.Pick(std::min(n - at, n - 1))); break;
        case 6: m.InsertLinesBeforeRecolour(r.Pick(n + 1), r.Lines(1 + r.Pick(5))); break;
        case 7: first.mode = first.mode == L"Vorn1" ? L"Vorn2" : L"Vorn1"; break;
        case 8: first.caseInsensitive = 1 - first.caseInsensitive; break;
        case 9: m.colorizer = m.colorizer == &first ? &second : &first; break;
        case 10:
          if (r.Pick(2)) platform::UseOemCharClasses(); else platform::UseDefaultCharClasses();
          break;
        default:  // new word sets under the same mode
          first.keywords.insert("GO");
          first.LoadKeywords(L"Keywords.ini");
          break;
      }
      } catch (const InvalidArgumentError&) {
      }
      if (r.Pick(3) == 0) continue;  // several changes before the next recolour
      m.RecolourAll();
      ASSERT_EQ(UnlikeFromScratch(m), "") << "seed " << seed << " step " << step;
    }
  }
  platform::UseDefaultCharClasses();
}

// A recolour of many lines (shared out among threads) colours each line as one call would.
TEST(RecolourCacheTest, ManyLinesAreColouredAsOneByOne) {
  CSampleColorizer c;
  LoadAll(c);
  Random r(11);
  CTextModel m;
  m.colorizer = &c;
  m.lines = r.Lines(30000);
  m.lineColours.assign(m.lines.size(), {});
  m.RecolourAll();
  for (const char* opening : {"{", ""}) {
    m.SetLine(opening, 0);  // every line's depth moves
    m.RecolourAll();
    for (std::size_t i = 0; i < m.lines.size(); ++i) {
      std::vector<COLORREF> one;
      c.ColorLine(m.lines[i], one, m.lineBackground[i], i ? m.braceDepth[i - 1] : 0);
      ASSERT_EQ(one, m.lineColours[i]) << i;
    }
  }
}

// Only the lines whose inputs changed are coloured again.
TEST(RecolourCacheTest, OnlyLinesWhoseInputsChangedAreColouredAgain) {
  CountingColorizer c;
  LoadAll(c);
  CTextModel m;
  m.colorizer = &c;
  Random r(5);
  m.InsertLine("CON", 0, true);
  for (const std::string& line : Lines_t{"  a = 1", "' note", "PUB main", "  x := 2", "  y := 3", "DAT", "  long 1"})
    m.InsertLine(line, m.LineCount(), false);
  m.RecolourAll();
  const struct {
    const char* what;
    std::function<void(CTextModel&)> change;
    int calls;  // colouring calls of the change and the recolour after it
  } cases[] = {
      {"nothing", [](CTextModel&) {}, 0},
      {"one line's bytes (coloured by SetLine)", [](CTextModel& t) { t.SetLine("  x := 22", 4); }, 1},
      {"a line moved down, its inputs kept", [](CTextModel& t) { t.InsertLine("  z", 5, false); }, 1},
      {"a removed line", [](CTextModel& t) { t.RemoveLine(5); }, 0},
      {"a comment opened above three lines", [](CTextModel& t) { t.SetLine("  x := 2 {", 4); }, 1 + 3},
      {"the comment closed again", [](CTextModel& t) { t.SetLine("  x := 2", 4); }, 1 + 3},
      // SetLine colours the header with the shade before the analysis; the recolour gives it its own.
      {"a header changes its shade and those below it", [](CTextModel& t) { t.SetLine("PRI p", 3); }, 1 + 3},
      {"the mode", [&c](CTextModel&) { c.mode = L"Vorn2"; }, 8},
      {"the word sets", [&c](CTextModel&) { c.LoadFlowKeywords(); }, 8},
      {"the letter case", [&c](CTextModel&) { c.caseInsensitive = 0; }, 8},
      {"the character table", [](CTextModel&) { platform::UseOemCharClasses(); }, 8},
      {"lines replaced wholesale with their colours",
       [](CTextModel& t) { t.lineColours.assign(t.lines.size(), {}); }, 8},
  };
  for (const auto& k : cases) {
    c.calls = 0;
    k.change(m);
    m.RecolourAll();
    EXPECT_EQ(c.calls, k.calls) << k.what;
    EXPECT_EQ(UnlikeFromScratch(m), "") << k.what;
  }
  platform::UseDefaultCharClasses();
}

// The longest line follows every operation as a rescan would, without one; inserting without
// recolouring leaves it as it was.
TEST(RecolourCacheTest, TheLongestLineFollowsEachOperationAsARescanWould) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    Random r(seed);
    CTextModel m;
    m.InsertLine("", 0, true);
    for (int step = 0; step < 200; ++step) {
      const int n = m.LineCount();
      const std::int32_t before = m.maxLineLength;
      const int at = r.Pick(n);
      const std::string text(static_cast<std::size_t>(r.Pick(3) ? r.Pick(12) : 40 + r.Pick(20)), 'x');
      bool rescans = true;
      switch (r.Pick(6)) {
        case 0:
          try {
            m.SetLine(text, at);
          } catch (const InvalidArgumentError&) {
            rescans = false;  // a line not analysed yet: set, but not coloured or measured
          }
          break;
        case 1:
          rescans = r.Pick(2) == 0;
          m.InsertLine(text, r.Pick(n + 1), rescans);
          break;
        case 2: if (n > 1) m.RemoveLine(at); break;
        case 3: if (n > 1) m.RemoveLines(at, 1 + r.Pick(std::min(n - at, n - 1))); break;
        case 4: m.InsertLines(r.Pick(n + 1), Lines_t(1 + r.Pick(4), text)); rescans = false; break;
        default: m.RecolourAll(); break;
      }
      ASSERT_EQ(m.maxLineLength, rescans ? Longest(m) : before) << "seed " << seed << " step " << step;
    }
  }
}

// Bulk operations against the one-line operations they stand for, from states whose per-line
// arrays fit the lines or not and whose section flag is raised or lowered.
TEST(RecolourCacheTest, BulkInsertionsAndRemovalsMatchTheOneLineOperations) {
  CSampleColorizer c;
  LoadAll(c);
  for (unsigned seed = 1; seed <= 200; ++seed) {
    Random r(seed);
    CTextModel bulk, single;
    bulk.colorizer = single.colorizer = &c;
    const Lines_t start = r.Lines(1 + r.Pick(12));
    const bool raised = r.Pick(2) == 0;
    const bool longer = r.Pick(3) == 0 && start.size() > 1;
    for (CTextModel* m : {&bulk, &single}) {
      m->lines = start;
      m->lineColours.assign(start.size(), {});
      m->RecolourAll();
      m->sectionsChanged = raised;
      if (longer) m->RemoveLine(0);  // arrays one longer than the lines
    }
    const int n = bulk.LineCount();
    const int at = r.Pick(n + 1);
    const Lines_t texts = r.Lines(1 + r.Pick(6));
    const std::string where = "seed " + std::to_string(seed);
    if (r.Pick(2)) {
      bulk.InsertLinesBeforeRecolour(at, texts);
      for (std::size_t k = texts.size(); k-- > 0;) single.InsertLine(texts[k], at, true);
      EXPECT_EQ(bulk.sectionsChanged, single.sectionsChanged) << where;
    } else if (at < n) {
      const int count = 1 + r.Pick(std::max(std::min(n - at, n - 1), 1));
      if (count >= n) continue;
      bulk.RemoveLines(at, count);
      for (int k = 0; k < count; ++k) single.RemoveLine(at);
    } else {
      bulk.InsertLines(at, texts);
      for (std::size_t k = 0; k < texts.size(); ++k) single.InsertLine(texts[k], at + static_cast<int>(k), false);
    }
    EXPECT_EQ(bulk.lines, single.lines) << where;
    EXPECT_EQ(bulk.maxLineLength, single.maxLineLength) << where;
    bulk.RecolourAll();
    single.RecolourAll();
    EXPECT_TRUE(bulk.lineColours == single.lineColours && bulk.lineBackground == single.lineBackground &&
                bulk.braceDepth == single.braceDepth && bulk.sectionNames == single.sectionNames &&
                bulk.sectionsChanged == single.sectionsChanged)
        << where;
  }
  // Out of range, as the one-line operations.
  CTextModel m;
  m.InsertLine("a", 0, true);
  m.InsertLine("b", 1, true);
  EXPECT_THROW(m.InsertLines(3, {"x"}), InvalidArgumentError);
  EXPECT_THROW(m.RemoveLines(2, 1), InvalidArgumentError);
  EXPECT_THROW(m.RemoveLines(1, 2), InvalidArgumentError);
  EXPECT_EQ(m.lines, (Lines_t{"a"}));  // the line that could go went first
}

}  // namespace

// Lines cleared wholesale (as the editor clears its text) and then refilled to
// the old count: the old lines' colourings must not be taken for the new ones.
TEST(RecolourCacheTest, LinesReplacedWholesaleAndRefilledToTheOldCountAreColouredAgain) {
  CSampleColorizer colorizer;
  LoadAll(colorizer);
  CTextModel m;
  m.colorizer = &colorizer;
  m.lines = {"PUB a", "x"};
  m.lineColours.assign(2, {});
  m.RecolourAll();
  m.lines.clear();
  m.lineColours.clear();
  m.InsertLine("", 0, true);
  m.SetLine("PUB 'b", 0);
  m.InsertLine("y", 1, false);
  m.RecolourAll();
  EXPECT_EQ(UnlikeFromScratch(m), "");
}
